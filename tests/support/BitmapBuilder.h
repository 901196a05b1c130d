// BitmapBuilder: writes Windows bitmap files in memory for tests, of any depth and compression,
// with the 12- or 40-byte header (or another declared size), with or without the "BM" file
// header, bottom-up or top-down, and with any field forced to a broken value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace y4::test {

class BitmapBuilder {
public:
    // `pixels` row by row, bottom row first: palette indices for 1, 4 and 8 bits, the raw
    // little-endian value for 16, 24 (0xRRGGBB) and 32 bits; rows are padded to 4 bytes.
    // `palette` holds 0xRRGGBB entries; the colours-used field is 0 for a full table of the
    // depth, else the entry count.
    BitmapBuilder(std::int32_t width, std::int32_t height, int bitCount,
                  std::vector<std::uint32_t> pixels = {}, std::vector<std::uint32_t> palette = {})
        : width_(width),
          height_(height),
          bitCount_(bitCount),
          pixels_(std::move(pixels)),
          palette_(std::move(palette)) {}

    // The 12-byte header: 16-bit sizes, 3-byte colour table entries.
    BitmapBuilder& core() { return set(headerSize_, 12u); }
    // A 40-byte header that declares `size`, padded with zeros to that size.
    BitmapBuilder& headerSize(std::uint32_t size) { return set(headerSize_, size); }
    // Whether the 14-byte file header ("BM", sizes, the pixel offset) leads.
    BitmapBuilder& fileHeader(bool on) { return set(fileHeader_, on); }
    // Rows stored top first under a negative height.
    BitmapBuilder& topDown() { return set(topDown_, true); }
    BitmapBuilder& compression(std::uint32_t value) { return set(compression_, value); }
    // Bit-field compression with these red, green and blue masks after the header.
    BitmapBuilder& masks(std::vector<std::uint32_t> rgb) { return set(masks_, rgb).compression(3); }
    // The pixel bits exactly as given (short or padded data), instead of the pixels.
    BitmapBuilder& bits(std::vector<std::uint8_t> raw) { return set(bits_, raw); }
    // A run-length stream of the depth's kind (RLE4 for 4 bits, else RLE8) as the pixel bits.
    BitmapBuilder& rle(std::vector<std::uint8_t> raw) {
        return bits(std::move(raw)).compression(bitCount_ == 4 ? 2 : 1);
    }
    BitmapBuilder& colorsUsed(std::uint32_t count) { return set(colorsUsed_, count); }
    BitmapBuilder& imageSize(std::uint32_t size) { return set(imageSize_, size); }
    // The pixel offset stored in the file header, instead of the real one.
    BitmapBuilder& bitsOffset(std::uint32_t offset) { return set(bitsOffset_, offset); }

    std::string build() const;

private:
    template <class Field, class Value>
    BitmapBuilder& set(Field& field, Value value) {
        field = std::move(value);
        return *this;
    }

    std::int32_t width_;
    std::int32_t height_;
    int bitCount_;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> palette_;
    std::uint32_t headerSize_ = 40;
    bool fileHeader_ = true;
    bool topDown_ = false;
    std::uint32_t compression_ = 0;
    std::vector<std::uint32_t> masks_;
    std::optional<std::vector<std::uint8_t>> bits_;
    std::optional<std::uint32_t> colorsUsed_;
    std::uint32_t imageSize_ = 0;
    std::optional<std::uint32_t> bitsOffset_;
};

}  // namespace y4::test
