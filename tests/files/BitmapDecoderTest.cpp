// The bitmap decoder on bitmaps the tests write themselves: every depth and compression, both
// header sizes, with and without the file header, top-down rows, and broken files.
#include "files/BitmapDecoder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/BitmapBuilder.h"

namespace y4 {
namespace {

using test::asBytes;
using test::BitmapBuilder;

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

// Pixels given as 0xRRGGBB, as the R, G, B bytes of an image.
std::vector<std::uint8_t> rgb(std::initializer_list<std::uint32_t> colours) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t c : colours) {
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

// The decoded image; a failure fails the test and gives an empty image.
RGBImage decoded(const std::string& file) {
    // A copy of exactly the file's size, so that AddressSanitizer sees any read past its end.
    const std::vector<std::uint8_t> exact(file.begin(), file.end());
    std::variant<RGBImage, BitmapError> result = BitmapDecoder::decode(exact);
    if (!std::holds_alternative<RGBImage>(result)) {
        ADD_FAILURE() << "decoding failed with error "
                      << static_cast<int>(std::get<BitmapError>(result));
        return {};
    }
    return std::get<RGBImage>(std::move(result));
}

std::optional<BitmapError> errorOf(const std::string& file) {
    const std::vector<std::uint8_t> exact(file.begin(), file.end());
    std::variant<RGBImage, BitmapError> result = BitmapDecoder::decode(exact);
    if (const BitmapError* error = std::get_if<BitmapError>(&result)) {
        return *error;
    }
    return std::nullopt;
}

void expectImage(const RGBImage& image, int sizeX, int sizeY,
                 const std::vector<std::uint8_t>& data) {
    EXPECT_EQ(image.sizeX, sizeX);
    EXPECT_EQ(image.sizeY, sizeY);
    EXPECT_EQ(image.data, data);
}

const std::vector<std::uint32_t> kGreys16 = {
    0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777,
    0x888888, 0x999999, 0xAAAAAA, 0xBBBBBB, 0xCCCCCC, 0xDDDDDD, 0xEEEEEE, 0xFFFFFF};

TEST(BitmapDecoder, UncompressedDepthsGiveRgbRowsWithoutPadding) {
    // 1 bit: a 3-pixel row takes one byte plus three of padding.
    expectImage(decoded(BitmapBuilder(3, 2, 1)
                            .palette({0x102030, 0xA0B0C0})
                            .pixels({1, 0, 1, 0, 1, 1})
                            .build()),
                3, 2, rgb({0xA0B0C0, 0x102030, 0xA0B0C0, 0x102030, 0xA0B0C0, 0xA0B0C0}));
    // 1 bit over more than one byte per row.
    {
        std::vector<std::uint32_t> bits(10, 0);
        bits[8] = 1;
        const RGBImage image =
            decoded(BitmapBuilder(10, 1, 1).palette({0x000000, 0xFFFFFF}).pixels(bits).build());
        ASSERT_EQ(image.data.size(), 30u);
        EXPECT_EQ(image.data[8 * 3], 0xFF);
        EXPECT_EQ(image.data[9 * 3], 0x00);
    }
    // 4 bits, odd width.
    expectImage(decoded(BitmapBuilder(3, 1, 4).palette(kGreys16).pixels({15, 1, 10}).build()), 3, 1,
                rgb({0xFFFFFF, 0x111111, 0xAAAAAA}));
    // 8 bits through a short palette; indices beyond it are black.
    expectImage(decoded(BitmapBuilder(2, 2, 8)
                            .palette({0xFF0000, 0x00FF00, 0x0000FF})
                            .pixels({2, 0, 1, 200})
                            .build()),
                2, 2, rgb({0x0000FF, 0xFF0000, 0x00FF00, 0x000000}));
    // 16 bits without masks: x RRRRR GGGGG BBBBB, widened with rounding.
    expectImage(decoded(BitmapBuilder(3, 1, 16).pixels({0x7C00, 0x4210, 0x0001}).build()), 3, 1,
                rgb({0xFF0000, 0x848484, 0x000008}));
    // 24 bits, 3 wide: 9 pixel bytes and 3 of padding per file row, none in the image.
    {
        const std::string file =
            BitmapBuilder(3, 2, 24)
                .pixels({0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112})
                .build();
        EXPECT_EQ(file.size(), 54u + 2 * 12);
        expectImage(decoded(file), 3, 2,
                    rgb({0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112}));
    }
    // 32 bits: B, G, R and an unused byte that has no say.
    expectImage(decoded(BitmapBuilder(2, 1, 32).pixels({0xFF102030, 0x00405060}).build()), 2, 1,
                rgb({0x102030, 0x405060}));
}

TEST(BitmapDecoder, BitFieldMasksAreScaledToEightBits) {
    // 5-6-5: full channels are 255; green 32 of 63 is 130, red 16 of 31 is 132.
    expectImage(decoded(BitmapBuilder(3, 1, 16)
                            .compression(kBitFields)
                            .masks(0xF800, 0x07E0, 0x001F)
                            .pixels({0xF800, 0x0400, 0x801F})
                            .build()),
                3, 1, rgb({0xFF0000, 0x008200, 0x8400FF}));
    // 32 bits with 10-bit channels in the high bits and a missing (zero) blue mask.
    expectImage(decoded(BitmapBuilder(2, 1, 32)
                            .compression(kBitFields)
                            .masks(0xFFC00000, 0x003FF000, 0)
                            .pixels({0xFFC00000 | 0x00000FFF, 512u << 12})
                            .build()),
                2, 1, rgb({0xFF0000, 0x008000}));
    // Without the file header, the pixels follow the three masks.
    expectImage(decoded(BitmapBuilder(1, 1, 16)
                            .compression(kBitFields)
                            .masks(0xF800, 0x07E0, 0x001F)
                            .pixels({0x07E0})
                            .withoutFileHeader()
                            .build()),
                1, 1, rgb({0x00FF00}));
}

TEST(BitmapDecoder, TopDownFilesGiveTheImageOfTheirBottomUpTwin) {
    const std::vector<std::uint32_t> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const std::vector<std::uint32_t> colours = {0x010203, 0x040506, 0x070809, 0x0A0B0C,
                                                0x0D0E0F, 0x101112, 0x131415, 0x161718,
                                                0x191A1B, 0x1C1D1E, 0x1F2021, 0x222324};
    struct Case {
        int bitCount;
        std::vector<std::uint32_t> palette;
        std::vector<std::uint32_t> pixels;
    };
    std::vector<std::uint32_t> ones(12);
    for (std::size_t i = 0; i < ones.size(); ++i) {
        ones[i] = i % 3 == 0 ? 1 : 0;
    }
    const std::vector<Case> cases = {
        {1, {0x000000, 0xFFFFFF}, ones},
        {4, kGreys16, indices},
        {8, colours, indices},
        {16, {}, {0x7C00, 0x03E0, 0x001F, 0x1234, 0, 0x7FFF, 1, 2, 3, 4, 5, 6}},
        {24, {}, colours},
        {32, {}, colours}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        const RGBImage bottomUp =
            decoded(BitmapBuilder(3, 4, c.bitCount).palette(c.palette).pixels(c.pixels).build());
        const RGBImage topDown = decoded(
            BitmapBuilder(3, 4, c.bitCount).palette(c.palette).pixels(c.pixels).topDown().build());
        EXPECT_EQ(topDown.sizeY, 4);
        EXPECT_EQ(topDown.data, bottomUp.data);
    }
}

TEST(BitmapDecoder, HeadersShortLongAndWithoutFileHeader) {
    const std::vector<std::uint32_t> palette = {0x336699, 0xCC9900};
    // The 12-byte header with 3-byte table entries, with and without the file header.
    for (bool fileHeader : {true, false}) {
        SCOPED_TRACE(fileHeader);
        BitmapBuilder core = BitmapBuilder(2, 1, 1).coreHeader().palette(palette).pixels({1, 0});
        if (!fileHeader) {
            core.withoutFileHeader();
        }
        expectImage(decoded(core.build()), 2, 1, rgb({0xCC9900, 0x336699}));
        BitmapBuilder core24 = BitmapBuilder(1, 1, 24).coreHeader().pixels({0x123456});
        if (!fileHeader) {
            core24.withoutFileHeader();
        }
        expectImage(decoded(core24.build()), 1, 1, rgb({0x123456}));
    }
    // A 40-byte header without "BM": the pixels follow the header and its colour table, here
    // a table of three entries declared by the colours-used field.
    expectImage(decoded(BitmapBuilder(2, 1, 8)
                            .palette({0x000001, 0x000002, 0xABCDEF})
                            .pixels({2, 1})
                            .withoutFileHeader()
                            .build()),
                2, 1, rgb({0xABCDEF, 0x000002}));
    // The file header's offset is where the pixels are, whatever lies before them.
    {
        std::string file = BitmapBuilder(1, 1, 24).pixels({0x0A0B0C}).bitsOffset(54 + 4).build();
        file.insert(54, "\xEE\xEE\xEE\xEE", 4);
        expectImage(decoded(file), 1, 1, rgb({0x0A0B0C}));
    }
    // A 24-bit file may carry a colour table; it is stepped over.
    expectImage(decoded(BitmapBuilder(1, 1, 24)
                            .palette({0xFFFFFF, 0xFFFFFF})
                            .pixels({0x010203})
                            .withoutFileHeader()
                            .build()),
                1, 1, rgb({0x010203}));
    // The later, longer headers are not read.
    for (std::uint32_t size : {108u, 124u, 64u, 0u}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 24).headerSize(size).pixels({0}).build()),
                  BitmapError::UnknownFormat);
        EXPECT_EQ(
            errorOf(
                BitmapBuilder(1, 1, 24).headerSize(size).pixels({0}).withoutFileHeader().build()),
            BitmapError::UnknownFormat);
    }
    for (const std::string& file :
         {std::string(), std::string("BM"), std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14),
          std::string("\x28\0", 2)}) {
        EXPECT_EQ(errorOf(file), BitmapError::UnknownFormat) << file.size();
    }
}

TEST(BitmapDecoder, Rle8RunsEscapesAndClipping) {
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const std::uint32_t K = 0x000000, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF;
    // Row 0: a run of 2 red, an absolute stretch of 3 (padded to 4 bytes), end of line.
    // Row 1: a delta of 1 right and 1 up, so row 1 stays black and row 2 starts at x 1.
    // Row 2: a run of 9 white is cut at the row's end; end of bitmap; the rest is ignored.
    expectImage(decoded(BitmapBuilder(5, 4, 8)
                            .compression(kRle8)
                            .palette(palette)
                            .bits({2, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 1, 1, 9, 4, 0, 1, 5, 1})
                            .build()),
                5, 4, rgb({R, R, G, B, W, K, K, K, K, K, K, W, W, W, W, K, K, K, K, K}));
    // Data ending early, even inside a delta or an absolute stretch, leaves the rest black.
    for (const std::vector<std::uint8_t>& bits :
         {std::vector<std::uint8_t>{1, 1}, {1, 1, 0}, {1, 1, 0, 2, 1}, {1, 1, 0, 5, 9}}) {
        const RGBImage image =
            decoded(BitmapBuilder(3, 1, 8).compression(kRle8).palette(palette).bits(bits).build());
        EXPECT_EQ(image.data, rgb({R, K, K})) << bits.size();
    }
    // The image-size field bounds the stream; runs never leave the picture.
    expectImage(decoded(BitmapBuilder(2, 2, 8)
                            .compression(kRle8)
                            .palette(palette)
                            .imageSize(2)
                            .bits({1, 2, 1, 3})
                            .build()),
                2, 2, rgb({G, K, K, K}));
    expectImage(decoded(BitmapBuilder(2, 1, 8)
                            .compression(kRle8)
                            .palette(palette)
                            .bits({0, 2, 255, 255, 200, 1, 0, 0, 0, 0, 2, 3})
                            .build()),
                2, 1, rgb({K, K}));
}

TEST(BitmapDecoder, Rle4RunsAlternateNibbles) {
    const std::uint32_t K = 0x000000;
    // Row 0: a run of 5 alternates 0xF and 0x1; a run of 4 against the edge of the 7-pixel
    // row is cut after 2. Row 1: an absolute stretch of 5 nibbles takes 3 bytes, padded to 4.
    expectImage(
        decoded(BitmapBuilder(7, 2, 4)
                    .compression(kRle4)
                    .palette(kGreys16)
                    .bits({5, 0xF1, 4, 0x23, 0, 0, 0, 5, 0xAB, 0xCD, 0xE0, 0, 1, 0x70, 0, 1})
                    .build()),
        7, 2,
        rgb({0xFFFFFF, 0x111111, 0xFFFFFF, 0x111111, 0xFFFFFF, 0x222222, 0x333333, 0xAAAAAA,
             0xBBBBBB, 0xCCCCCC, 0xDDDDDD, 0xEEEEEE, 0x777777, K}));
    // Run-length data stored top-down does not exist.
    EXPECT_EQ(errorOf(BitmapBuilder(2, 1, 4)
                          .compression(kRle4)
                          .palette(kGreys16)
                          .topDown()
                          .bits({2, 0x11, 0, 1})
                          .build()),
              BitmapError::ConversionFailed);
}

TEST(BitmapDecoder, BrokenFilesAreRefusedWithTheirReason) {
    using enum BitmapError;
    // Sizes that make no picture, and sizes too large to hold, before any pixel data.
    EXPECT_EQ(errorOf(BitmapBuilder(0, 1, 24).build()), ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(-3, 1, 24).build()), ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 0, 24).build()), ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(0, 5, 8).coreHeader().palette(kGreys16).build()),
              ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(0x7FFFFFFF, 0x7FFFFFFF, 24).build()), OutOfMemory);
    EXPECT_EQ(errorOf(BitmapBuilder(0x7FFFFFFF, -0x7FFFFFFF - 1, 24).build()), OutOfMemory);
    EXPECT_EQ(errorOf(BitmapBuilder(1 << 13, (1 << 13) + 1, 8).compression(kRle8).build()),
              OutOfMemory);
    EXPECT_EQ(errorOf(BitmapBuilder(65535, 65535, 24).coreHeader().build()), OutOfMemory);
    // Depths and compressions that do not go together.
    for (int bitCount : {0, 2, 3, 12, 48, 64}) {
        EXPECT_EQ(errorOf(BitmapBuilder(1, 1, bitCount).bits({0, 0, 0, 0, 0, 0, 0, 0}).build()),
                  ConversionFailed)
            << bitCount;
    }
    const std::vector<std::uint8_t> someBits(16, 0);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 4).compression(kRle8).bits(someBits).build()),
              ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 8).compression(kRle4).bits(someBits).build()),
              ConversionFailed);
    EXPECT_EQ(
        errorOf(
            BitmapBuilder(1, 1, 24).compression(kBitFields).masks(1, 2, 4).bits(someBits).build()),
        ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 24).compression(4).bits(someBits).build()),
              ConversionFailed);
    // Pixel data, colour tables, masks or the pixel offset beyond the end of the file.
    EXPECT_EQ(errorOf(BitmapBuilder(2, 2, 24).bits(std::vector<std::uint8_t>(13)).build()),
              ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 24).pixels({0}).bitsOffset(59).build()),
              ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 8).colorsUsed(0xFFFFFFFF).pixels({0}).build()),
              ConversionFailed);
    EXPECT_EQ(errorOf(BitmapBuilder(1, 1, 8).pixels({0}).build()), ConversionFailed);
    std::string masked = BitmapBuilder(1, 1, 16).compression(kBitFields).build();
    EXPECT_EQ(errorOf(masked), ConversionFailed);
    // The last row needs its pixels, not its padding.
    expectImage(decoded(BitmapBuilder(1, 2, 24).bits({1, 2, 3, 0, 4, 5, 6}).build()), 1, 2,
                rgb({0x030201, 0x060504}));
}

TEST(BitmapDecoder, EveryTruncationIsRefusedOrDecodedWithinTheFile) {
    const std::vector<std::string> files = {
        BitmapBuilder(3, 2, 8).palette({0x123456, 0x654321}).pixels({0, 1, 0, 1, 1, 0}).build(),
        BitmapBuilder(3, 2, 4)
            .coreHeader()
            .palette(kGreys16)
            .pixels({1, 2, 3, 4, 5, 6})
            .withoutFileHeader()
            .build(),
        BitmapBuilder(2, 2, 16)
            .compression(kBitFields)
            .masks(0xF800, 0x7E0, 0x1F)
            .pixels({1, 2, 3, 4})
            .build(),
        BitmapBuilder(4, 2, 8)
            .compression(kRle8)
            .palette(kGreys16)
            .bits({2, 1, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 1, 1, 0, 1})
            .build(),
    };
    for (const std::string& file : files) {
        for (std::size_t length = 0; length <= file.size(); ++length) {
            const std::vector<std::uint8_t> exact(file.begin(), file.begin() + length);
            std::variant<RGBImage, BitmapError> result = BitmapDecoder::decode(exact);
            if (const RGBImage* image = std::get_if<RGBImage>(&result)) {
                EXPECT_EQ(image->data.size(),
                          static_cast<std::size_t>(image->sizeX) * image->sizeY * 3);
            }
        }
    }
}

}  // namespace
}  // namespace y4
