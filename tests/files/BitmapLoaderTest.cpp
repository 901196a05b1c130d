// loadBitmapImage on bitmap files written into a temporary folder: the decoded image, the path
// rules, and the loader's messages.
#include "files/BitmapLoader.h"

#include <gtest/gtest.h>

#include "support/BitmapBuilder.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::BitmapBuilder;
using test::testPrompt;

// The caption of every message shown so far.
void expectErrorCaptions() {
    for (const test::ShownMessage& shown : testPrompt().shown) {
        EXPECT_EQ(shown.caption, "Error") << shown.text;
    }
}

TEST(BitmapLoader, LoadsThroughTheCaseInsensitivePath) {
    test::TempDir dir;
    dir.write("Textures/Brick.bmp", BitmapBuilder(2, 2, 8)
                                        .palette({0x102030, 0x405060, 0x708090})
                                        .pixels({2, 1, 0, 2})
                                        .build());
    // The model files name textures in upper case with backslashes.
    const std::unique_ptr<RGBImage> image = loadBitmapImage(dir.path() + "\\TEXTURES\\BRICK.BMP");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->sizeX, 2);
    EXPECT_EQ(image->sizeY, 2);
    EXPECT_EQ(image->data, (std::vector<std::uint8_t>{0x70, 0x80, 0x90, 0x40, 0x50, 0x60, 0x10,
                                                      0x20, 0x30, 0x70, 0x80, 0x90}));
    EXPECT_TRUE(testPrompt().shown.empty());

    // A 3-pixel-wide 24-bit file: 3 bytes of padding per file row, none in the image.
    const std::string padded = dir.write(
        "wide.bmp", BitmapBuilder(3, 1, 24).pixels({0x010203, 0x040506, 0x070809}).build());
    const std::unique_ptr<RGBImage> row = loadBitmapImage(padded);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->data, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(BitmapLoader, FailuresShowOneMessageAndGiveNull) {
    test::TempDir dir;
    const std::string missing = dir.path() + "\\NONE.BMP";
    testPrompt().expectMessage("Failed to open DIB file " + missing + ".\n");
    EXPECT_FALSE(loadBitmapImage(missing));

    // A folder is no bitmap file.
    dir.write("folder.bmp/inner", "");
    testPrompt().expectMessage("Failed to open DIB file " + dir.file("folder.bmp") + ".\n");
    EXPECT_FALSE(loadBitmapImage(dir.file("folder.bmp")));

    const std::string v5 =
        dir.write("v5.bmp", BitmapBuilder(1, 1, 24).headerSize(124).pixels({0}).build());
    const std::string v4 = dir.write(
        "v4.bmp", BitmapBuilder(1, 1, 24).headerSize(108).pixels({0}).withoutFileHeader().build());
    const std::string empty = dir.write("empty.bmp", "");
    testPrompt().expectMessage("Unknown DIB file format.");
    EXPECT_FALSE(loadBitmapImage(v5));
    testPrompt().expectMessage("Unknown DIB file format.");
    EXPECT_FALSE(loadBitmapImage(v4));
    testPrompt().expectMessage("Unknown DIB file format.");
    EXPECT_FALSE(loadBitmapImage(empty));

    std::string truncated = BitmapBuilder(4, 4, 24).pixels(std::vector<std::uint32_t>(16)).build();
    truncated.resize(truncated.size() - 20);
    const std::string shortFile = dir.write("short.bmp", truncated);
    testPrompt().expectMessage("Image file conversion error.");
    EXPECT_FALSE(loadBitmapImage(shortFile));

    const std::string huge = dir.write("huge.bmp", BitmapBuilder(100000, 100000, 24).build());
    testPrompt().expectMessage("Out of memory.");
    EXPECT_FALSE(loadBitmapImage(huge));

    EXPECT_EQ(testPrompt().shown.size(), 7u);
    expectErrorCaptions();
}

}  // namespace
}  // namespace y4
