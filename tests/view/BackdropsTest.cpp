// Backdrops: loaded from the grid settings with their messages, uploaded as RGB pictures of any
// square size, and drawn on their planes with the backdrop opacity.
#include "view/Backdrops.h"

#include "BitmapWriter.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"
#include "support/gl/GLTest.h"

namespace y4 {
namespace {

using test::testPrompt;

class BackdropsTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        lookDownOrthographic();
        view->backdrops().createTextures(grid);
    }
    void TearDown() override { view->backdrops().releaseTextures(); }

    // A bitmap of one colour, or of a colour per pixel.
    std::string bitmap(const std::string& name, int width, int height, gen::Rgb colour) {
        const std::string path = dir_.file(name);
        EXPECT_TRUE(
            gen::BitmapWriter::write(path, width, height, [=](int, int) { return colour; }));
        return path;
    }
    // A region inside the XY backdrop's square, away from the axes (lower left of the view:
    // file x and y positive).
    static constexpr test::Region kInside = {110, 15, 140, 40};

    test::TempDir dir_;
};

TEST_F(BackdropsTest, OpacityZeroIsInvisibleAndOneHidesWhatLiesBehind) {
    grid.bitmapXY = 1;
    // 3 x 3: rows of 9 bytes, which GL must not take as padded to 12.
    grid.bitmapXYName = dir_.file("PLAN.BMP");
    ASSERT_TRUE(gen::BitmapWriter::write(grid.bitmapXYName, 3, 3, [](int x, int y) {
        return gen::Rgb{static_cast<std::uint8_t>(200), static_cast<std::uint8_t>(40 + 60 * y),
                        static_cast<std::uint8_t>(90 + 50 * x)};
    }));
    view->backdrops().load(grid);
    ASSERT_NE(view->backdrops().image(Backdrops::XY), nullptr);

    grid.gridBitmapOpacity = 1;
    RGBImage f = frame();
    // The picture runs from max to min along x and from min to max along y: the centre of
    // texel column 0, row 2 (the top row) lies at file (6.67, 6.67). Magnification is linear,
    // so the pixels next to it are a few levels off.
    const auto p = project(-20.0 / 3, -20.0 / 3, 0);
    const int x = static_cast<int>(p[0]);
    const int y = static_cast<int>(p[1]);
    EXPECT_TRUE(test::regionIs(f, {x - 1, y - 1, x + 1, y + 1}, {200, 160, 90}, 4));

    grid.gridBitmapOpacity = 0;
    EXPECT_TRUE(test::regionIs(frame(), kInside, background(), 1));
    // The same after a model, faces and markers, is drawn first and away from the region.
    test::TestModel m(display);
    SubEntity* s = m.build.addSubEntity(m.build.addEntity(nullptr, "Root"), -1);
    test::addTriangle(m.build, s, {-9, -7, 0}, {-8, -5, 0}, {-7, -7, 0});
    m.show(*view);
    EXPECT_TRUE(test::regionIs(frame(), kInside, background(), 1));

    // Switched off: not drawn.
    grid.gridBitmapOpacity = 1;
    grid.bitmapXY = 0;
    EXPECT_TRUE(test::regionIs(frame(), kInside, background(), 1));
}

TEST_F(BackdropsTest, RefusedFilesAreReportedAndStopTheLoading) {
    grid.bitmapXY = grid.bitmapYZ = 1;
    grid.bitmapXYName = bitmap("WIDE.BMP", 256, 128, {1, 2, 3});
    grid.bitmapYZName = bitmap("SIDE.BMP", 8, 8, {1, 2, 3});
    testPrompt().expectMessage("Error: Invalid DIB Bitmap File: X axis: " + grid.bitmapXYName +
                               ": SizeX != SizeY");
    view->backdrops().load(grid);
    EXPECT_EQ(view->backdrops().image(Backdrops::XY), nullptr);
    EXPECT_EQ(view->backdrops().image(Backdrops::YZ), nullptr);

    // A good XY picture, then a file that cannot be read on YZ: the XY picture stays.
    grid.bitmapXYName = bitmap("PLAN.BMP", 4, 4, {10, 220, 30});
    grid.bitmapYZName = dir_.file("MISSING.BMP");
    testPrompt().expectMessage("Failed to open DIB file " + grid.bitmapYZName + ".\n");
    testPrompt().expectMessage("Error: Invalid DIB Bitmap File: Y axis: " + grid.bitmapYZName);
    view->backdrops().load(grid);
    ASSERT_NE(view->backdrops().image(Backdrops::XY), nullptr);
    EXPECT_EQ(view->backdrops().image(Backdrops::XY)->sizeX, 4);
    EXPECT_EQ(view->backdrops().image(Backdrops::YZ), nullptr);
    grid.gridBitmapOpacity = 1;
    EXPECT_TRUE(test::regionIs(frame(), kInside, {10, 220, 30}));

    // Loading XY again with a picture that is not square: the plane shows no backdrop rather
    // than the picture it had.
    grid.bitmapYZ = 0;
    grid.bitmapXYName = bitmap("TALL.BMP", 4, 8, {1, 2, 3});
    testPrompt().expectMessage("Error: Invalid DIB Bitmap File: X axis: " + grid.bitmapXYName +
                               ": SizeX != SizeY");
    view->backdrops().load(grid);
    EXPECT_TRUE(test::regionIs(frame(), kInside, background(), 1));
}

TEST_F(BackdropsTest, PicturesLoadedBeforeTheContextAreUploadedWithIt) {
    view->backdrops().releaseTextures();
    grid.bitmapXY = 1;
    grid.gridBitmapOpacity = 1;
    grid.bitmapXYName = bitmap("PLAN.BMP", 16, 16, {10, 220, 30});
    view->backdrops().load(grid);
    EXPECT_TRUE(test::regionIs(frame(), kInside, background(), 1));
    view->backdrops().createTextures(grid);
    EXPECT_TRUE(test::regionIs(frame(), kInside, {10, 220, 30}));
}

}  // namespace
}  // namespace y4
