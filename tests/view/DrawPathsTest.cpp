// The vertex arrays draw the same pixels as face-by-face drawing, on every sample in every
// mode, with markers, normals, selection, highlight and hidden faces.
#include "support/gl/GLTest.h"
#include "view/VertexBuffer.h"

namespace y4 {
namespace {

class DrawPathsTest : public test::GLTest, public testing::WithParamInterface<const char*> {
protected:
    DrawPathsTest() {
        width = 320;
        height = 240;
    }
};

TEST_P(DrawPathsTest, VertexArraysGiveTheSamePixelsAsFaceByFaceDrawing) {
    test::TestModel model(display, std::string(Y4_SAMPLES_DIR) + "/" + GetParam(), textureDevice);
    Reader& r = *model.reader;
    // The editor's own light and colours, and its camera after the load.
    const bool terrain = r.fileType == Reader::kY4T;
    display = DisplaySettings::defaults(terrain);
    projection = ProjectionSettings::defaults(terrain);
    view->setLighting();
    view->resetForModel(&r);
    view->setProjection();
    model.show(*view);
    // A selection, a highlight and a hidden face, so that faces and markers change colour and
    // runs break.
    for (std::size_t k = 0; k < r.faces.size(); k += 7) {
        r.faces[k]->selected = 1;
        r.faces[k]->vertexA->selected = 1;
    }
    for (std::size_t k = 3; k < r.faces.size(); k += 5) {
        r.faces[k]->marked = 1;
    }
    model.tree.setCheck(r.faces[r.faces.size() / 2]->treeItem, false);

    SceneRenderer& renderer = model.renderer;
    // Arrays in buffer objects, arrays in memory (as OpenGL 1.1 has them), face by face.
    const auto compare = [&](const char* what) {
        renderer.setDrawPath(SceneRenderer::DrawPath::VertexArrays);
        renderer.invalidateAll();
        const RGBImage buffered = frame();
        VertexBuffer::setBufferObjectsAllowed(false);
        renderer.invalidateAll();
        const RGBImage inMemory = frame();
        VertexBuffer::setBufferObjectsAllowed(true);
        renderer.setDrawPath(SceneRenderer::DrawPath::FaceByFace);
        const RGBImage faceByFace = frame();
        EXPECT_TRUE(test::framesMatch(buffered, faceByFace, 1)) << what;
        EXPECT_TRUE(test::framesMatch(inMemory, faceByFace, 1)) << what << ", arrays in memory";
    };
    renderer.setSolid();
    compare("solid");
    renderer.setTextured();
    compare("textured");
    renderer.setWireframe();
    compare("wireframe");
    renderer.setShowNormals(true);
    renderer.setShowVertices(false);
    renderer.setTextured();
    compare("textured with normals, no vertices");
    view->drawAxesGridsAndBackdrops = true;
    grid.gridXY = grid.gridYZ = grid.gridXZ = 1;
    renderer.setSolid();
    compare("solid with grids");
}

INSTANTIATE_TEST_SUITE_P(Samples, DrawPathsTest,
                         testing::Values("CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"),
                         [](const testing::TestParamInfo<const char*>& sample) {
                             const std::string name = sample.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace y4
