// The frame, the camera and the projections, read back from an off-screen frame.
#include "view/ViewRenderer.h"

#include <GL/gl.h>

#include <cmath>

#include "support/gl/GLTest.h"

namespace y4 {
namespace {

using test::GLTest;
using test::Region;

class ViewRendererTest : public GLTest {
protected:
    // A point marker of size 5 at a scene point, in the point colour, as the frame's model.
    void drawPointAt(float x, float y, float z) {
        view->drawScene = [=, this](int) {
            glPointSize(5);
            glColor3f(display.pointR, display.pointG, display.pointB);
            glBegin(GL_POINTS);
            glVertex3f(x, y, z);
            glEnd();
        };
    }
    // The point's pixels are around (x, y) and the projection puts it there.
    void expectPointAt(double x, double y) {
        const RGBImage f = frame();
        const auto p = project(pointX_, pointY_, pointZ_);
        EXPECT_NEAR(p[0], x, 1e-3);
        EXPECT_NEAR(p[1], y, 1e-3);
        const int px = static_cast<int>(x);
        const int py = static_cast<int>(y);
        EXPECT_TRUE(test::regionIs(f, {px - 1, py - 1, px + 2, py + 2},
                                   test::rgbOf(display.pointR, display.pointG, display.pointB)));
        EXPECT_TRUE(test::regionIs(f, {px - 8, py - 8, px - 4, py - 4}, background()));
    }
    float pointX_ = 0, pointY_ = 0, pointZ_ = 0;
    void point(float x, float y, float z) {
        pointX_ = x;
        pointY_ = y;
        pointZ_ = z;
        drawPointAt(x, y, z);
    }
};

TEST_F(ViewRendererTest, EmptyFrameIsTheBackgroundAndTheCameraStartsAtTheModel) {
    EXPECT_TRUE(test::regionIs(frame(), {0, 0, kWidth, kHeight}, background(), 1));

    view->cameraRotation[0] = 10;
    view->cameraTranslation[1] = 3;
    view->mouseMode = 16;
    view->editKind = 5;
    view->resetView();
    EXPECT_EQ(view->cameraRotation[0], 195.0f);
    EXPECT_EQ(view->cameraRotation[1], 315.0f);
    EXPECT_EQ(view->cameraRotation[2], 0.0f);
    for (const float t : view->cameraTranslation) {
        EXPECT_EQ(t, 0.0f);
    }
    EXPECT_EQ(view->mouseMode, 0);
    EXPECT_EQ(view->editKind, 0);

    // The camera distance comes from the bounding box's maxima, never nearer than 0.5.
    test::TestModel model(display);
    view->placeCamera(*model.reader);
    EXPECT_EQ(view->cameraTranslation[2], -0.5f);
    model.reader->maxX = 1;
    model.reader->maxY = 2;
    model.reader->maxZ = 3;
    view->placeCamera(*model.reader);
    EXPECT_EQ(view->cameraTranslation[2], -8.0f);
    model.reader->maxX = 0.3f;
    model.reader->maxY = model.reader->maxZ = 0;
    view->placeCamera(*model.reader);
    EXPECT_EQ(view->cameraTranslation[2], -0.5f);

    // A model load resets the camera, places it and returns to perspective.
    projection.projectionMode = ProjectionSettings::kOrthogonal;
    view->cameraRotation[2] = 5;
    view->resetForModel(model.reader.get());
    EXPECT_EQ(view->cameraRotation[2], 0.0f);
    EXPECT_EQ(view->cameraTranslation[2], -0.5f);
    EXPECT_EQ(projection.projectionMode, ProjectionSettings::kPerspective);
}

TEST_F(ViewRendererTest, ProjectionsPlaceAKnownPointAndSwitchingKeepsBothParameterSets) {
    lookAlongZ(0);
    view->setProjection();
    // Perspective: 45 degrees vertically, aspect 4:3; (0, 1, -5) lies 1/5 up from the axis,
    // at cot(22.5 degrees) / 5 of the half height.
    point(0, 1, -5);
    const double f = 1 / std::tan(22.5 * 3.14159265358979 / 180);
    expectPointAt(kWidth / 2.0, (1 + f / 5) * kHeight / 2.0);

    // Orthogonal: the box -10.24..10.24 by -7.68..7.68 fills the view.
    const ProjectionSettings before = projection;
    view->setProjectionMode(ProjectionSettings::kOrthogonal);
    point(5, -3, 0);
    expectPointAt((5 + 10.24) / 20.48 * kWidth, (-3 + 7.68) / 15.36 * kHeight);

    // Back to perspective: both parameter sets are as they were, and so is the picture.
    view->setProjectionMode(ProjectionSettings::kPerspective);
    ProjectionSettings expected = before;
    EXPECT_EQ(projection, expected);
    view->setProjectionMode(ProjectionSettings::kOrthogonal);
    expected.projectionMode = ProjectionSettings::kOrthogonal;
    EXPECT_EQ(projection, expected);
    view->setProjectionMode(ProjectionSettings::kPerspective);
    point(0, 1, -5);
    expectPointAt(kWidth / 2.0, (1 + f / 5) * kHeight / 2.0);
}

TEST_F(ViewRendererTest, AViewOfNoHeightOrWidthDividesByNothing) {
    for (const auto& [w, h] : {std::pair{kWidth, 0}, std::pair{0, kHeight}, std::pair{0, 0}}) {
        view->setViewportSize(w, h);
        view->setProjection();
        frame();
        for (const double m : view->savedProjection) {
            EXPECT_TRUE(std::isfinite(m)) << w << " x " << h;
        }
        EXPECT_EQ(view->savedViewport[2], w);
        EXPECT_EQ(view->savedViewport[3], h);
    }
}

TEST_F(ViewRendererTest, TheRedrawGuardIsClearedWhenTheModelsDrawingFails) {
    view->drawScene = [](int) { throw std::runtime_error("drawing failed"); };
    EXPECT_THROW(view->render(), std::runtime_error);
    EXPECT_FALSE(view->renderBusy());
}

}  // namespace
}  // namespace y4
