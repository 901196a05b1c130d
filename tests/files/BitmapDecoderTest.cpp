// The bitmap decoder on bitmaps the tests write themselves: every depth and compression, both
// header sizes, with and without the file header, top-down rows, and broken files.
#include "files/BitmapDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BitmapBuilder.h"

namespace y4 {
namespace {

using test::BitmapBuilder;
using enum BitmapError;

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t K = 0x000000, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF;

// Decodes a copy of exactly the file's size, so that AddressSanitizer sees any read past its end.
std::variant<RGBImage, BitmapError> decode(const std::string& file,
                                           std::size_t length = std::string::npos) {
    return BitmapDecoder::decode(
        std::vector<std::uint8_t>(file.begin(), file.begin() + std::min(length, file.size())));
}

std::optional<BitmapError> errorOf(const std::string& file) {
    const auto result = decode(file);
    return std::holds_alternative<BitmapError>(result) ? std::get<BitmapError>(result)
                                                       : std::optional<BitmapError>();
}

// The file decodes to a sizeX x sizeY image of these 0xRRGGBB pixels, bottom row first.
void expectImage(const std::string& file, int sizeX, int sizeY,
                 const std::vector<std::uint32_t>& colours) {
    const auto result = decode(file);
    const RGBImage* image = std::get_if<RGBImage>(&result);
    ASSERT_TRUE(image) << "error " << static_cast<int>(std::get<BitmapError>(result));
    std::vector<std::uint8_t> rgb;
    for (const std::uint32_t c : colours) {
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(c >> 16),
                               static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
    }
    EXPECT_EQ(image->sizeX, sizeX);
    EXPECT_EQ(image->sizeY, sizeY);
    EXPECT_EQ(image->data, rgb);
}

const std::vector<std::uint32_t> kGreys16 = {
    0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777,
    0x888888, 0x999999, 0xAAAAAA, 0xBBBBBB, 0xCCCCCC, 0xDDDDDD, 0xEEEEEE, 0xFFFFFF};

TEST(BitmapDecoder, EveryDepthGivesRgbRowsWithoutPadding) {
    // 1 bit: a 3-pixel row is one byte and three of padding; 10 pixels take two bytes.
    expectImage(BitmapBuilder(3, 2, 1, {1, 0, 1, 0, 1, 1}, {R, B}).build(), 3, 2,
                {B, R, B, R, B, B});
    expectImage(BitmapBuilder(10, 1, 1, {0, 0, 0, 0, 0, 0, 0, 1, 1, 0}, {K, W}).build(), 10, 1,
                {K, K, K, K, K, K, K, W, W, K});
    // 4 bits, odd width; 8 bits through a short palette, where indices beyond it are black.
    expectImage(BitmapBuilder(3, 1, 4, {15, 1, 10}, kGreys16).build(), 3, 1,
                {0xFFFFFF, 0x111111, 0xAAAAAA});
    expectImage(BitmapBuilder(2, 2, 8, {2, 0, 1, 200}, {R, G, B}).build(), 2, 2, {B, R, G, K});
    // 16 bits without masks: x RRRRR GGGGG BBBBB, widened with rounding.
    expectImage(BitmapBuilder(3, 1, 16, {0x7C00, 0x4210, 0x0001}).build(), 3, 1,
                {R, 0x848484, 0x000008});
    // 24 bits, 3 wide: 9 pixel bytes and 3 of padding per file row, none in the image.
    const std::vector<std::uint32_t> six = {0x010203, 0x040506, 0x070809,
                                            0x0A0B0C, 0x0D0E0F, 0x101112};
    const std::string padded = BitmapBuilder(3, 2, 24, six).build();
    EXPECT_EQ(padded.size(), 54u + 2 * 12);
    expectImage(padded, 3, 2, six);
    // 32 bits: B, G, R and an unused byte that has no say.
    expectImage(BitmapBuilder(2, 1, 32, {0xFF102030, 0x00405060}).build(), 2, 1,
                {0x102030, 0x405060});

    // Bit fields: 5-6-5 full channels are 255, green 32 of 63 is 130, red 16 of 31 is 132.
    expectImage(
        BitmapBuilder(3, 1, 16, {0xF800, 0x0400, 0x801F}).masks({0xF800, 0x7E0, 0x1F}).build(), 3,
        1, {R, 0x008200, 0x8400FF});
    // 10-bit channels in the high bits and a missing (zero) blue mask.
    expectImage(BitmapBuilder(2, 1, 32, {0xFFC00FFF, 512u << 12})
                    .masks({0xFFC00000, 0x003FF000, 0})
                    .build(),
                2, 1, {R, 0x008000});
    // Without the file header, the pixels follow the three masks.
    expectImage(
        BitmapBuilder(1, 1, 16, {0x07E0}).masks({0xF800, 0x7E0, 0x1F}).fileHeader(false).build(), 1,
        1, {G});
}

TEST(BitmapDecoder, TopDownFilesGiveTheImageOfTheirBottomUpTwin) {
    const std::vector<std::uint32_t> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const std::vector<std::uint32_t> colours = {0x010203, 0x040506, 0x070809, 0x0A0B0C,
                                                0x0D0E0F, 0x101112, 0x131415, 0x161718,
                                                0x191A1B, 0x1C1D1E, 0x1F2021, 0x222324};
    const std::vector<std::uint32_t> ones = {1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0};
    const std::vector<std::uint32_t> words = {0x7C00, 0x03E0, 0x001F, 0x1234, 0, 0x7FFF,
                                              1,      2,      3,      4,      5, 6};
    for (const BitmapBuilder& file :
         {BitmapBuilder(3, 4, 1, ones, {K, W}), BitmapBuilder(3, 4, 4, indices, kGreys16),
          BitmapBuilder(3, 4, 8, indices, colours), BitmapBuilder(3, 4, 16, words),
          BitmapBuilder(3, 4, 24, colours), BitmapBuilder(3, 4, 32, colours)}) {
        const auto bottomUp = decode(file.build());
        const auto topDown = decode(BitmapBuilder(file).topDown().build());
        ASSERT_TRUE(std::holds_alternative<RGBImage>(bottomUp));
        ASSERT_TRUE(std::holds_alternative<RGBImage>(topDown));
        EXPECT_EQ(std::get<RGBImage>(topDown).sizeY, 4);
        EXPECT_EQ(std::get<RGBImage>(topDown).data, std::get<RGBImage>(bottomUp).data);
    }
}

TEST(BitmapDecoder, HeadersShortLongAndWithoutFileHeader) {
    // The 12-byte header with 3-byte table entries, with and without the file header.
    for (const bool fileHeader : {true, false}) {
        expectImage(BitmapBuilder(2, 1, 1, {1, 0}, {0x336699, 0xCC9900})
                        .core()
                        .fileHeader(fileHeader)
                        .build(),
                    2, 1, {0xCC9900, 0x336699});
        expectImage(BitmapBuilder(1, 1, 24, {0x123456}).core().fileHeader(fileHeader).build(), 1, 1,
                    {0x123456});
    }
    // Without "BM" the pixels follow the header and its colour table, here three entries long
    // as the colours-used field says; a 24-bit file's table is stepped over.
    expectImage(BitmapBuilder(2, 1, 8, {2, 1}, {1, 2, 0xABCDEF}).fileHeader(false).build(), 2, 1,
                {0xABCDEF, 2});
    expectImage(BitmapBuilder(1, 1, 24, {0x010203}, {W, W}).fileHeader(false).build(), 1, 1,
                {0x010203});
    // The file header's offset is where the pixels are, whatever lies before them.
    std::string gap = BitmapBuilder(1, 1, 24, {0x0A0B0C}).bitsOffset(54 + 4).build();
    gap.insert(54, "\xEE\xEE\xEE\xEE", 4);
    expectImage(gap, 1, 1, {0x0A0B0C});

    // The later, longer headers are not read, nor files too short to have a header.
    for (const std::uint32_t size : {108u, 124u, 64u, 0u}) {
        for (const bool fileHeader : {true, false}) {
            EXPECT_EQ(
                errorOf(
                    BitmapBuilder(1, 1, 24, {0}).headerSize(size).fileHeader(fileHeader).build()),
                UnknownFormat);
        }
    }
    for (const std::string& file : {std::string(), std::string("BM"), std::string("\x28\0", 2),
                                    std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14)}) {
        EXPECT_EQ(errorOf(file), UnknownFormat) << file.size();
    }
}

TEST(BitmapDecoder, RunLengthRunsEscapesAndClipping) {
    // Row 0: a run of 2 red, an absolute stretch of 3 (padded to 4 bytes), end of line.
    // Row 1: a delta of 1 right and 1 up, so row 1 stays black and row 2 starts at x 1.
    // Row 2: a run of 9 white is cut at the row's end; end of bitmap; the rest is ignored.
    const std::vector<std::uint32_t> palette = {K, R, G, B, W};
    expectImage(BitmapBuilder(5, 4, 8, {}, palette)
                    .rle({2, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 1, 1, 9, 4, 0, 1, 5, 1})
                    .build(),
                5, 4, {R, R, G, B, W, K, K, K, K, K, K, W, W, W, W, K, K, K, K, K});
    // Data ending early, even inside a delta or an absolute stretch, leaves the rest black.
    for (const std::vector<std::uint8_t>& bits :
         {std::vector<std::uint8_t>{1, 1}, {1, 1, 0}, {1, 1, 0, 2, 1}, {1, 1, 0, 5, 9}}) {
        expectImage(BitmapBuilder(3, 1, 8, {}, palette).rle(bits).build(), 3, 1, {R, K, K});
    }
    // The image-size field bounds the stream; runs and deltas never leave the picture.
    expectImage(BitmapBuilder(2, 2, 8, {}, palette).rle({1, 2, 1, 3}).imageSize(2).build(), 2, 2,
                {G, K, K, K});
    expectImage(
        BitmapBuilder(2, 1, 8, {}, palette).rle({0, 2, 255, 255, 200, 1, 0, 0, 0, 0, 2, 3}).build(),
        2, 1, {K, K});

    // 4 bits. Row 0: a run of 5 alternates 0xF and 0x1; a run of 4 against the edge of the
    // 7-pixel row is cut after 2. Row 1: an absolute stretch of 5 nibbles, 3 bytes padded to 4.
    expectImage(BitmapBuilder(7, 2, 4, {}, kGreys16)
                    .rle({5, 0xF1, 4, 0x23, 0, 0, 0, 5, 0xAB, 0xCD, 0xE0, 0, 1, 0x70, 0, 1})
                    .build(),
                7, 2,
                {W, 0x111111, W, 0x111111, W, 0x222222, 0x333333, 0xAAAAAA, 0xBBBBBB, 0xCCCCCC,
                 0xDDDDDD, 0xEEEEEE, 0x777777, K});
    // Run-length data stored top-down does not exist.
    EXPECT_EQ(errorOf(BitmapBuilder(2, 1, 4, {}, kGreys16).rle({2, 0x11, 0, 1}).topDown().build()),
              ConversionFailed);
}

TEST(BitmapDecoder, BrokenFilesAreRefusedWithTheirReason) {
    const std::vector<std::uint8_t> someBits(16, 0);
    const std::pair<std::string, BitmapError> cases[] = {
        // Sizes that make no picture, and sizes too large to hold, before any pixel data.
        {BitmapBuilder(0, 1, 24).build(), ConversionFailed},
        {BitmapBuilder(-3, 1, 24).build(), ConversionFailed},
        {BitmapBuilder(1, 0, 24).build(), ConversionFailed},
        {BitmapBuilder(0, 5, 8, {}, kGreys16).core().build(), ConversionFailed},
        {BitmapBuilder(0x7FFFFFFF, 0x7FFFFFFF, 24).build(), OutOfMemory},
        {BitmapBuilder(0x7FFFFFFF, -0x7FFFFFFF - 1, 24).build(), OutOfMemory},
        {BitmapBuilder(1 << 13, (1 << 13) + 1, 8).compression(kRle8).build(), OutOfMemory},
        {BitmapBuilder(65535, 65535, 24).core().build(), OutOfMemory},
        // Depths and compressions that do not go together.
        {BitmapBuilder(1, 1, 4).compression(kRle8).bits(someBits).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 8).compression(kRle4).bits(someBits).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 24).masks({1, 2, 4}).bits(someBits).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 24).compression(4).bits(someBits).build(), ConversionFailed},
        // Pixel data, colour tables, masks or the pixel offset beyond the end of the file.
        {BitmapBuilder(2, 2, 24).bits(std::vector<std::uint8_t>(13)).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 24, {0}).bitsOffset(59).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 8, {0}).colorsUsed(0xFFFFFFFF).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 8, {0}).build(), ConversionFailed},
        {BitmapBuilder(1, 1, 16).compression(3).build(), ConversionFailed},  // no masks
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(errorOf(cases[i].first), cases[i].second) << "case " << i;
    }
    for (const int bitCount : {0, 2, 3, 12, 48, 64}) {
        EXPECT_EQ(errorOf(BitmapBuilder(1, 1, bitCount).bits(someBits).build()), ConversionFailed)
            << bitCount;
    }
    // The last row needs its pixels, not its padding.
    expectImage(BitmapBuilder(1, 2, 24).bits({1, 2, 3, 0, 4, 5, 6}).build(), 1, 2,
                {0x030201, 0x060504});

    // Every truncation of good files is refused or decoded within the bytes it has.
    for (const std::string& file :
         {BitmapBuilder(3, 2, 8, {0, 1, 0, 1, 1, 0}, {0x123456, 0x654321}).build(),
          BitmapBuilder(3, 2, 4, {1, 2, 3, 4, 5, 6}, kGreys16).core().fileHeader(false).build(),
          BitmapBuilder(2, 2, 16, {1, 2, 3, 4}).masks({0xF800, 0x7E0, 0x1F}).build(),
          BitmapBuilder(4, 2, 8, {}, kGreys16)
              .rle({2, 1, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 1, 1, 0, 1})
              .build()}) {
        for (std::size_t length = 0; length <= file.size(); ++length) {
            const auto result = decode(file, length);
            if (const RGBImage* image = std::get_if<RGBImage>(&result)) {
                EXPECT_EQ(image->data.size(),
                          static_cast<std::size_t>(image->sizeX) * image->sizeY * 3);
            }
        }
    }
}

TEST(BitmapDecoder, NoMorePictureThanTheDataCanFillOrTheCallerAllows) {
    // (A file that declares far more than its data can fill is HostileModelTest's.) Deltas move 255
    // rows each: one cannot reach row 599 of 600, three can.
    const std::vector<std::uint8_t> delta = {0, 2, 0, 255};
    EXPECT_EQ(errorOf(BitmapBuilder(3, 600, 8, {}, {K}).rle(delta).build()), ConversionFailed);
    std::vector<std::uint8_t> deltas;
    for (int k = 0; k < 3; ++k) {
        deltas.insert(deltas.end(), delta.begin(), delta.end());
    }
    expectImage(BitmapBuilder(3, 600, 8, {}, {K}).rle(deltas).build(), 3, 600,
                std::vector<std::uint32_t>(1800, K));
    EXPECT_EQ(errorOf(BitmapBuilder(2, 2, 4, {}, kGreys16).rle({}).build()), ConversionFailed);

    // The caller's limit counts three bytes a pixel, whatever the file's depth.
    const std::string file = BitmapBuilder(4, 4, 8, std::vector<std::uint32_t>(16), {R}).build();
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());
    EXPECT_EQ(std::get<BitmapError>(BitmapDecoder::decode(bytes, 47)), OverLimit);
    EXPECT_EQ(std::get<RGBImage>(BitmapDecoder::decode(bytes, 48)).data.size(), 48u);
}

}  // namespace
}  // namespace y4
