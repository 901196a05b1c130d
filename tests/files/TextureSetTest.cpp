// The texture set through a recording texture device: the colour key, the square crop, and
// which names are generated, filled and released.
#include "files/TextureSet.h"

#include <gtest/gtest.h>

#include "support/RecordingTextureDevice.h"

namespace y4 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An image whose pixels are (row, column, 7), bottom row first.
std::unique_ptr<RGBImage> image(int sizeX, int sizeY) {
    auto out = std::make_unique<RGBImage>();
    out->sizeX = sizeX;
    out->sizeY = sizeY;
    for (int y = 0; y < sizeY; ++y) {
        for (int x = 0; x < sizeX; ++x) {
            out->data.insert(out->data.end(), {static_cast<std::uint8_t>(y),
                                               static_cast<std::uint8_t>(x), std::uint8_t{7}});
        }
    }
    return out;
}

TEST(TextureSet, TextureBytesKeyOutMagentaAndKeepTheLastSquareRows) {
    // Only exactly (255, 0, 255) is transparent.
    RGBImage keyed{2, 2, {255, 0, 255, 254, 0, 255, 255, 1, 255, 0, 0, 0}};
    int size = 0;
    EXPECT_EQ(TextureSet::textureBytes(keyed, size),
              (Bytes{255, 0, 255, 0, 254, 0, 255, 255, 255, 1, 255, 255, 0, 0, 0, 255}));
    EXPECT_EQ(size, 2);

    // 64 x 128: a 64 x 64 texture made of rows 64 to 127.
    const Bytes rgba = TextureSet::textureBytes(*image(64, 128), size);
    EXPECT_EQ(size, 64);
    ASSERT_EQ(rgba.size(), 64u * 64 * 4);
    EXPECT_EQ(rgba[0], 64);  // first texel: row 64
    const std::size_t last = (63 * 64 + 5) * 4;
    EXPECT_EQ(Bytes(rgba.begin() + last, rgba.begin() + last + 4), (Bytes{127, 5, 7, 255}));

    // Wider than tall, or not holding its pixels: no texture.
    size = 9;
    EXPECT_TRUE(TextureSet::textureBytes(*image(4, 2), size).empty());
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(TextureSet::textureBytes(RGBImage{4, 4, {}}, size).empty());
    EXPECT_TRUE(TextureSet::textureBytes(RGBImage{}, size).empty());
}

TEST(TextureSet, CreateAndDeleteGoThroughTheDevice) {
    test::RecordingTextureDevice device;
    TextureSet set;
    set.images.push_back(image(2, 2));
    set.images.push_back(nullptr);      // a bitmap whose file could not be read
    set.images.push_back(image(8, 4));  // wider than tall: left empty
    set.images.push_back(image(1, 3));
    set.createTextures(&device, 4);
    EXPECT_EQ(device.calls,
              (std::vector<std::string>{"generate 1 2 3 4", "upload 1 2x2", "upload 4 1x1"}));
    EXPECT_EQ(set.textureNames, (std::vector<TextureName>{1, 2, 3, 4}));
    EXPECT_EQ((std::vector<bool>{set.isFilled(0), set.isFilled(1), set.isFilled(2), set.isFilled(3),
                                 set.isFilled(4)}),
              (std::vector<bool>{true, false, false, true, false}));
    EXPECT_EQ(device.uploads.back().rgba, (Bytes{2, 0, 7, 255}));

    // Rebuilding releases the names of the earlier build first; deleting releases the names
    // generated, however many bitmaps there are by then, and only once.
    set.createTextures(&device, 4);
    set.images.push_back(image(2, 2));
    set.deleteTextures(&device);
    set.deleteTextures(&device);
    EXPECT_EQ(std::vector<std::string>(device.calls.begin() + 3, device.calls.end()),
              (std::vector<std::string>{"release 1 2 3 4", "generate 5 6 7 8", "upload 5 2x2",
                                        "upload 8 1x1", "release 5 6 7 8"}));
    EXPECT_TRUE(set.textureNames.empty());
    EXPECT_FALSE(set.isFilled(0));
    EXPECT_TRUE(device.live.empty());

    // Fewer names than images: only the named ones are filled.
    set.createTextures(&device, 1);
    EXPECT_EQ(device.calls.back(), "upload 9 2x2");
    set.deleteTextures(&device);
    EXPECT_TRUE(device.live.empty());

    // No device: nothing is created, and there is nothing to delete.
    set.createTextures(nullptr, 1);
    EXPECT_TRUE(set.textureNames.empty());
    set.deleteTextures(nullptr);
}

}  // namespace
}  // namespace y4
