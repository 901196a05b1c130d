// The Reader's bitmaps reloaded after a rename: one image per bitmap name, also when a file
// cannot be read, and the list's later edits staying in range.
#include <gtest/gtest.h>

#include <filesystem>

#include "BitmapWriter.h"
#include "files/Reader.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/RecordingTextureDevice.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using test::ModelFixture;
using test::TempDir;
using test::testPrompt;

// The width of each image, or 0 for an empty entry.
std::vector<int> imageWidths(const Reader& r) {
    std::vector<int> out;
    for (const auto& image : r.textures.images) {
        out.push_back(image ? image->sizeX : 0);
    }
    return out;
}

void writeBitmap(const TempDir& dir, const std::string& name, int side) {
    ASSERT_TRUE(gen::BitmapWriter::write(dir.file(name + ".BMP"), side, side, [](int, int) {
        return gen::Rgb{1, 2, 3};
    }));
}

void expectOpenFailure(const std::string& path) {
    testPrompt().expectMessage("Failed to open DIB file " + path + ".\n");
}

TEST(ReaderBitmaps, ReloadReplacesTheImagesAndStaysAlignedWhenAFileIsMissing) {
    TempDir dir;
    const std::string path =
        ModelFixture::write(dir, "TINY.Y4P", test::kTinyY4P, {{"RED", 2, 2}, {"BLUE", 4, 4}});
    test::RecordingTextureDevice device;
    Reader::Options options;
    options.textureDevice = &device;
    Reader r(nullptr, path, options);
    writeBitmap(dir, "GREEN", 8);
    r.addBitmap("GREEN");

    // A rename frees the images first; the reload gives one per name again. Reloading without
    // freeing replaces the list instead of growing it.
    r.freeImages();
    r.reloadImages();
    EXPECT_EQ(imageWidths(r), (std::vector<int>{2, 4, 8}));
    r.reloadImages();
    EXPECT_EQ(imageWidths(r), (std::vector<int>{2, 4, 8}));

    // The second file disappears: the first image stays, the rest are empty entries.
    std::filesystem::remove(dir.path() + "/BLUE.BMP");
    r.deleteTextures();
    r.freeImages();
    expectOpenFailure(dir.path() + "/BLUE.BMP");
    testPrompt().expectMessage("Error: Could not load bitmaps");
    EXPECT_THROW(r.reloadImages(), ImageReloadError);
    EXPECT_EQ(imageWidths(r), (std::vector<int>{2, 0, 0}));

    // The caller goes on building the textures: one name per bitmap, the present image filled.
    device.calls.clear();
    r.createTextures();
    ASSERT_EQ(device.calls.size(), 2u);
    EXPECT_EQ(device.calls[1], "upload " + std::to_string(r.textures.textureNames[0]) + " 2x2");

    // Later edits of the list stay in range.
    r.removeBitmap(2);
    r.removeBitmap(1);
    EXPECT_EQ(imageWidths(r), (std::vector<int>{2}));
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"RED"}));
}

}  // namespace
}  // namespace y4
