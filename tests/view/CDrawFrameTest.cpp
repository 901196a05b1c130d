// The Qt view under the virtual X server: frames drawn at once and guarded, device pixels, and
// the same pixels as y4render draws off-screen for each sample.
#include "view/CDrawFrame.h"

#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>

#include "files/DisplayStateFile.h"
#include "model/TreeListing.h"
#include "support/TempDir.h"
#include "support/gl/FrameCheck.h"
#include "view/PngFile.h"
#include "view/SceneRenderer.h"

namespace y4 {
namespace {

class CDrawFrameTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "view_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
    }

    // Shows the view with a drawing area of `width` x `height` logical pixels and waits for
    // its GL context.
    void show(int width, int height) {
        frame.resize(width, height);
        frame.show();
        for (int k = 0; k < 200 && !(frame.hasContext() && frame.isVisible()); ++k) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        ASSERT_TRUE(frame.hasContext());
    }

    // The widget's frame as an RGB image, bottom row first.
    RGBImage grab() {
        const QImage image = frame.grabFramebuffer().convertToFormat(QImage::Format_RGB888);
        RGBImage out;
        out.sizeX = image.width();
        out.sizeY = image.height();
        for (int y = image.height() - 1; y >= 0; --y) {
            const uchar* row = image.constScanLine(y);
            out.data.insert(out.data.end(), row, row + 3 * image.width());
        }
        return out;
    }

    DisplaySettings display;
    ProjectionSettings projection;
    GridSettings grid;
    CDrawFrame frame{display, projection, grid};
};

TEST_F(CDrawFrameTest, AFrameIsDrawnAtOnceAndARedrawFromInsideItIsDropped) {
    show(320, 240);
    int inner = 0;
    frame.setSceneHook([&](int) {
        EXPECT_TRUE(frame.view().renderBusy());
        frame.render();
        EXPECT_TRUE(frame.view().renderBusy());
        ++inner;
    });
    const long long before = frame.view().frameCount();
    frame.render();
    EXPECT_EQ(frame.view().frameCount(), before + 1);
    EXPECT_EQ(inner, 1);
    EXPECT_FALSE(frame.view().renderBusy());
    // The frame drawn is the one the window shows; showing it draws no other.
    frame.setSceneHook({});
    QApplication::processEvents();
    EXPECT_EQ(frame.view().frameCount(), before + 1);
}

TEST_F(CDrawFrameTest, TheViewportIsInDevicePixels) {
    show(300, 200);
    frame.render();
    const qreal ratio = frame.devicePixelRatio();
    // The high-density run says which ratio its screen has.
    if (const char* expected = std::getenv("Y4_EXPECTED_PIXEL_RATIO")) {
        EXPECT_EQ(ratio, std::atof(expected));
    }
    EXPECT_EQ(frame.view().savedViewport[2], static_cast<int>(std::lround(300 * ratio)));
    EXPECT_EQ(frame.view().savedViewport[3], static_cast<int>(std::lround(200 * ratio)));
    EXPECT_EQ(grab().sizeX, frame.view().savedViewport[2]);
}

class CDrawFrameSampleTest
    : public CDrawFrameTest,
      public testing::WithParamInterface<std::pair<const char*, const char*>> {};

// The widget set up as the editor sets it up right after loading the model, and y4render of
// the same model: the same pixels.
TEST_P(CDrawFrameSampleTest, DrawsWhatY4renderDraws) {
    const auto [sample, mode] = GetParam();
    show(640, 480);
    ASSERT_EQ(frame.devicePixelRatio(), 1.0) << "y4render draws at 640 x 480 device pixels";
    const std::string model = std::string(Y4_SAMPLES_DIR) + "/" + sample;

    frame.makeCurrent();
    SceneTree tree;
    Reader::Options options;
    options.textureDevice = &frame.textureDevice();
    Reader reader(&tree, ModelSource::chosen(model), options);
    TreeListing::buildTree(tree, reader.root());
    DisplayStateFile::load(reader, reader.displayStateFileName());
    const bool terrain = reader.fileType == Reader::kY4T;
    display = DisplaySettings::defaults(terrain);
    projection = ProjectionSettings::defaults(terrain);
    frame.setLighting();
    frame.resetForModel(&reader);
    frame.view().drawAxesGridsAndBackdrops = false;
    SceneRenderer scene(reader, &tree, display);
    if (std::string(mode) == "textured") {
        scene.setTextured();
    } else if (std::string(mode) == "wireframe") {
        scene.setWireframe();
    }
    frame.setSceneHook([&](int mouseMode) { scene.drawScene(mouseMode); });
    const RGBImage widget = grab();
    const RGBImage again = grab();
    EXPECT_TRUE(test::framesMatch(again, widget, 0));
    frame.setSceneHook({});

    test::TempDir dir;
    const std::string png = dir.file("out.png");
    const std::string command =
        std::string(Y4RENDER_PATH) + " --mode " + mode + " '" + model + "' '" + png + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::optional<RGBImage> headless = PngFile::read(png);
    ASSERT_TRUE(headless);
    // Markers lie exactly on their faces, so a few of their pixels depend on how the depth
    // buffer rounds, which the window's and the off-screen buffers may do differently.
    EXPECT_TRUE(test::framesMatch(widget, *headless, 2, 16));
    frame.makeCurrent();
}

INSTANTIATE_TEST_SUITE_P(
    Samples, CDrawFrameSampleTest,
    testing::Values(std::pair{"CRATE.Y4P", "solid"}, std::pair{"GARDEN.Y4D", "solid"},
                    std::pair{"ISLAND.Y4T", "solid"}, std::pair{"CRATE.Y4P", "textured"},
                    std::pair{"GARDEN.Y4D", "wireframe"}),
    [](const testing::TestParamInfo<std::pair<const char*, const char*>>& sample) {
        const std::string name = sample.param.first;
        return name.substr(0, name.find('.')) + "_" + sample.param.second;
    });

}  // namespace
}  // namespace y4
