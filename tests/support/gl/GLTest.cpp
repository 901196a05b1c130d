// The renderer test fixture.
#include "GLTest.h"

#include <GL/glu.h>

#include "model/TreeListing.h"
#include "view/FrameCapture.h"

namespace y4::test {

TestModel::TestModel(const DisplaySettings& display)
    : reader(std::make_unique<Reader>(&tree, "TEST.Y4P", Reader::NewModel{})),
      build(*reader),
      renderer(*reader, &tree, display) {}

TestModel::TestModel(const DisplaySettings& display, const std::string& path, TextureDevice& device)
    : reader([&] {
          Reader::Options options;
          options.textureDevice = &device;
          return std::make_unique<Reader>(&tree, ModelSource::chosen(path), options);
      }()),
      build(*reader),
      renderer(*reader, &tree, display) {}

void TestModel::show(ViewRenderer& view) {
    TreeListing::buildTree(tree, reader->root());
    view.drawScene = [this](int mouseMode) { renderer.drawScene(mouseMode); };
}

GLTest::GLTest() {
    display.ambientR = display.ambientG = display.ambientB = 0.8f;
    display.diffuseR = display.diffuseG = display.diffuseB = 0.0f;
    display.specularR = display.specularG = display.specularB = 0.0f;
}

void GLTest::SetUp() {
    std::string error;
    context = OffscreenContext::create(width, height, &error);
    ASSERT_TRUE(context) << error;
    view = std::make_unique<ViewRenderer>(display, projection, grid);
    view->setViewportSize(width, height);
    view->initGL();
    view->drawAxesGridsAndBackdrops = false;
}

RGBImage GLTest::frame() {
    EXPECT_TRUE(view->render());
    return FrameCapture::read(width, height);
}

Rgb GLTest::background() const {
    return rgbOf(display.backgroundR, display.backgroundG, display.backgroundB);
}

void GLTest::lookAlongZ(float distance) {
    view->cameraRotation[0] = view->cameraRotation[1] = view->cameraRotation[2] = 0;
    view->cameraTranslation[0] = view->cameraTranslation[1] = 0;
    view->cameraTranslation[2] = -distance;
}

void GLTest::lookDownOrthographic() {
    lookAlongZ(0);
    view->setProjectionMode(ProjectionSettings::kOrthogonal);
    view->drawAxesGridsAndBackdrops = true;
}

std::array<double, 3> GLTest::project(double x, double y, double z) const {
    std::array<double, 3> out{};
    gluProject(x, y, z, view->savedModelview, view->savedProjection, view->savedViewport, &out[0],
               &out[1], &out[2]);
    return out;
}

Face* addTriangle(gen::SceneBuilder& build, SubEntity* s, gen::Point a, gen::Point b,
                  gen::Point c) {
    const int first = build.addVertex(s, a, {0, 0, 1}, 0, 0);
    build.addVertex(s, b, {0, 0, 1}, 1, 0);
    build.addVertex(s, c, {0, 0, 1}, 0, 1);
    return build.addFace(s, first, first + 1, first + 2);
}

}  // namespace y4::test
