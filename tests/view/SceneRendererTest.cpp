// The model in the frame: where faces land, their colours, the display switches and deletion,
// the wireframe, the markers' window positions in the pick modes, and the vertex arrays kept
// current through the invalidate calls. Every check reads pixels back.
#include "view/SceneRenderer.h"

#include <cmath>

#include "model/TreeListing.h"
#include "support/gl/GLTest.h"

namespace y4 {
namespace {

using gen::Point;
using test::GLTest;
using test::Rgb;
using test::TestModel;

class SceneRendererTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        lookAlongZ(10);
    }
    // A face-on triangle centred on file point (cx, cy), reaching `s` from its centre.
    static Face* triangleAt(TestModel& m, SubEntity* s, float cx, float cy, float size = 1) {
        return test::addTriangle(m.build, s, {cx - size, cy - size, 0}, {cx, cy + size, 0},
                                 {cx + size, cy - size, 0});
    }
    // The pixel where file point (x, y, z) lands on the last frame (the root at the origin).
    Rgb at(const RGBImage& f, float x, float y, float z = 0) const {
        const auto p = project(-x, -y, -z);
        return test::pixelAt(f, static_cast<int>(std::floor(p[0])),
                             static_cast<int>(std::floor(p[1])));
    }
    // The pixel at the centroid of the triangle made by triangleAt.
    Rgb centre(const RGBImage& f, float cx, float cy, float size = 1) const {
        return at(f, cx, cy - size / 3, 0);
    }
    Rgb solid() const { return colourOf(&display.solidR); }
};

TEST_F(SceneRendererTest, ATriangleLandsWhereGluProjectPutsItsCorners) {
    TestModel m(display);
    SubEntity* s = m.build.addSubEntity(m.build.addEntity(nullptr, "Root"), -1);
    triangleAt(m, s, 0.5f, 0.5f, 2);
    m.renderer.setShowVertices(false);
    m.show(*view);
    const RGBImage f = frame();
    EXPECT_EQ(centre(f, 0.5f, 0.5f, 2), solid());
    // Just inside each corner (a tenth of the way to the centroid) the face; just outside it
    // the background.
    const float cx = 0.5f, cy = 0.5f - 2.0f / 3;
    for (const auto& [x, y] :
         {std::pair{-1.5f, -1.5f}, std::pair{0.5f, 2.5f}, std::pair{2.5f, -1.5f}}) {
        EXPECT_EQ(at(f, x + (cx - x) * 0.1f, y + (cy - y) * 0.1f), solid()) << x << ", " << y;
        EXPECT_EQ(at(f, x - (cx - x) * 0.1f, y - (cy - y) * 0.1f), background()) << x << ", " << y;
    }
    // Seen from behind, the face is culled.
    view->cameraRotation[1] = 180;
    EXPECT_TRUE(test::regionIs(frame(), {0, 0, kWidth, kHeight}, background()));
}

TEST_F(SceneRendererTest, FacesShowTheSelectHighlightAndSolidColours) {
    TestModel m(display);
    SubEntity* s = m.build.addSubEntity(m.build.addEntity(nullptr, "Root"), -1);
    const float xs[] = {-4.5f, -1.5f, 1.5f, 4.5f};
    Face* plain = triangleAt(m, s, xs[0], 0);
    Face* marked = triangleAt(m, s, xs[1], 0);
    Face* selected = triangleAt(m, s, xs[2], 0);
    Face* both = triangleAt(m, s, xs[3], 0);
    marked->marked = 1;
    selected->selected = 1;
    both->marked = both->selected = 1;
    m.show(*view);
    RGBImage f = frame();
    EXPECT_EQ(centre(f, xs[0], 0), solid());
    EXPECT_EQ(centre(f, xs[1], 0), colourOf(&display.highlightR));
    EXPECT_EQ(centre(f, xs[2], 0), colourOf(&display.selectR));
    EXPECT_EQ(centre(f, xs[3], 0), colourOf(&display.selectR));

    // Marks changed and announced; the colours come from the settings of each frame.
    plain->selected = 1;
    selected->selected = 0;
    m.renderer.invalidateMarks(*plain);
    m.renderer.invalidateMarks(*selected);
    display.highlightR = 0.25f;
    f = frame();
    EXPECT_EQ(centre(f, xs[0], 0), colourOf(&display.selectR));
    EXPECT_EQ(centre(f, xs[1], 0), colourOf(&display.highlightR));
    EXPECT_EQ(centre(f, xs[2], 0), solid());
}

TEST_F(SceneRendererTest, UncheckedAndDeletedRecordsAreNotDrawn) {
    // Root -> A (sub-entity SA: faces 1, 2) and Root -> B -> C (sub-entity SC: face 3).
    TestModel m(display);
    Entity* root = m.build.addEntity(nullptr, "Root");
    Entity* a = m.build.addEntity(root, "A");
    Entity* b = m.build.addEntity(root, "B");
    Entity* c = m.build.addEntity(b, "C");
    SubEntity* sa = m.build.addSubEntity(a, -1);
    SubEntity* sc = m.build.addSubEntity(c, -1);
    Face* one = triangleAt(m, sa, -3, 0);
    Face* two = triangleAt(m, sa, 0, 0);
    triangleAt(m, sc, 3, 0);
    m.show(*view);
    const auto shown = [&](std::initializer_list<bool> expected) {
        const RGBImage f = frame();
        const float xs[] = {-3, 0, 3};
        int k = 0;
        for (const bool on : expected) {
            EXPECT_EQ(centre(f, xs[k], 0), on ? solid() : background()) << "face " << k + 1;
            ++k;
        }
    };
    shown({true, true, true});

    m.tree.setCheck(two->treeItem, false);
    m.renderer.invalidateDisplaySwitches();
    shown({true, false, true});
    EXPECT_EQ(two->displayed, 0);
    m.tree.setCheck(two->treeItem, true);
    m.renderer.invalidateDisplaySwitches();

    // Entities' and sub-entities' switches are read on every frame.
    m.tree.setCheck(sa->treeItem, false);
    shown({false, false, true});
    m.tree.setCheck(sa->treeItem, true);
    // A hidden entity hides its children whatever their own switches say.
    m.tree.setCheck(b->treeItem, false);
    ASSERT_TRUE(m.tree.check(c->treeItem));
    shown({true, true, false});
    m.tree.setCheck(b->treeItem, true);
    m.tree.setCheck(root->treeItem, false);
    shown({false, false, false});
    m.tree.setCheck(root->treeItem, true);

    // Deleted records are not drawn.
    m.reader->markFace(one, 1);
    m.renderer.invalidateMarks(*one);
    shown({false, true, true});
    m.reader->markEntity(c, 1);
    shown({false, true, false});
    m.reader->markSubEntity(sa, 1);
    shown({false, false, false});

    // Hide All and Display All: every record and every tree item.
    m.reader->markEntity(root, 0);
    m.renderer.invalidateMarks(*root);
    shown({true, true, true});
    m.renderer.setAllDisplayed(0);
    shown({false, false, false});
    EXPECT_FALSE(m.tree.check(one->vertexA->treeItems(m.tree).front()));
    EXPECT_EQ(one->vertexA->displayed, 0);
    EXPECT_FALSE(m.tree.check(root->treeItem));
    m.renderer.setAllDisplayed(1);
    shown({true, true, true});
    EXPECT_TRUE(m.tree.check(one->vertexA->treeItems(m.tree).front()));
    EXPECT_EQ(two->displayed, 1);

    // A scene never listed in a tree draws nothing.
    TestModel unlisted(display);
    triangleAt(unlisted, unlisted.build.addSubEntity(unlisted.build.addEntity(nullptr, "R"), -1), 0,
               0);
    view->drawScene = [&](int mode) { unlisted.renderer.drawScene(mode); };
    EXPECT_TRUE(test::regionIs(frame(), {0, 0, kWidth, kHeight}, background()));
}

TEST_F(SceneRendererTest, EditsShowOnceAnnouncedAndWireframeDrawsEveryEdge) {
    TestModel m(display);
    Entity* root = m.build.addEntity(nullptr, "Root");
    SubEntity* s = m.build.addSubEntity(root, -1);
    Face* face = triangleAt(m, s, 0, 0, 2);
    m.show(*view);
    EXPECT_EQ(centre(frame(), 0, 0, 2), solid());

    // Moving the whole triangle by 3 to the left (file x + 3), announced for one vertex: the
    // sub-entity's arrays are built again.
    for (Vertex* v : s->vertices) {
        v->X -= 3;
    }
    m.renderer.invalidateGeometry(*face->vertexA);
    RGBImage f = frame();
    EXPECT_EQ(centre(f, 3, 0, 2), solid());
    EXPECT_EQ(centre(f, 0, 0, 2), background());

    // A face added to the sub-entity and listed shows even before it is announced.
    TreeListing::insertFaceItem(m.tree, s->treeItem, triangleAt(m, s, -3, 0));
    EXPECT_EQ(centre(frame(), -3, 0), solid());

    // Wireframe: all three edges, nothing inside.
    m.renderer.setWireframe();
    f = frame();
    EXPECT_EQ(centre(f, 3, 0, 2), background());
    const int corners[3][2] = {{1, -2}, {3, 2}, {5, -2}};
    for (int k = 0; k < 3; ++k) {
        const int* p = corners[k];
        const int* q = corners[(k + 1) % 3];
        const auto mid = project(-(p[0] + q[0]) / 2.0, -(p[1] + q[1]) / 2.0, 0);
        const int x = static_cast<int>(mid[0]);
        const int y = static_cast<int>(mid[1]);
        EXPECT_TRUE(test::regionHas(f, {x - 1, y - 1, x + 2, y + 2}, solid())) << "edge " << k;
    }
    EXPECT_EQ(m.reader->drawMode, SceneRenderer::kLines);
    m.renderer.setSolid();
    EXPECT_EQ(m.reader->drawMode, SceneRenderer::kTriangles);
    EXPECT_EQ(m.reader->texturing, 0);
}

TEST_F(SceneRendererTest, PickModesRecordWhereTheMarkersLand) {
    TestModel m(display);
    Entity* root = m.build.addEntity(nullptr, "Root", {1, 0, 0});
    Face* face = triangleAt(m, m.build.addSubEntity(root, -1), 0, 0, 2);
    Vertex* v = face->vertexB;
    m.renderer.setShowNormals(true);
    m.show(*view);
    const WindowPositions& positions = m.renderer.windowPositions();

    // An ordinary frame records nothing.
    frame();
    EXPECT_EQ(positions.vertex(v), (WindowPositions::Point{}));

    // Vertex pick: the vertices, projected under the root's placement (file x 1).
    view->mouseMode = SceneRenderer::kPickVertexMode;
    frame();
    const auto expected = project(v->X - 1, v->Y, v->Z);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(positions.vertex(v)[k], expected[k], 1e-6);
    }
    EXPECT_EQ(positions.normalTip(v), (WindowPositions::Point{}));

    // Normal pick: the tips of the normals.
    view->mouseMode = SceneRenderer::kPickNormalMode;
    frame();
    const auto tip = project(v->X + v->normalX - 1, v->Y + v->normalY, v->Z + v->normalZ);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(positions.normalTip(v)[k], tip[k], 1e-6);
    }

    // Ordinary frames from elsewhere leave both untouched; so does a pick frame that draws no
    // markers.
    view->mouseMode = 0;
    view->cameraTranslation[0] = 2;
    frame();
    m.renderer.setShowVertices(false);
    view->mouseMode = SceneRenderer::kPickVertexMode;
    frame();
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(positions.vertex(v)[k], expected[k], 1e-6);
        EXPECT_NEAR(positions.normalTip(v)[k], tip[k], 1e-6);
    }
    // Everything changed (records may be gone): the positions are forgotten.
    m.renderer.invalidateAll();
    EXPECT_EQ(positions.vertex(v), (WindowPositions::Point{}));
}

}  // namespace
}  // namespace y4
