// BitmapBuilder: writes Windows bitmap files in memory for tests, of any depth and compression,
// with the 12- or 40-byte header (or another declared size), with or without the "BM" file
// header, bottom-up or top-down, and with any field forced to a broken value.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace y4::test {

class BitmapBuilder {
public:
    // A picture of `width` x `height` pixels at `bitCount` bits per pixel, uncompressed.
    BitmapBuilder(std::int32_t width, std::int32_t height, int bitCount);

    // The 12-byte header: 16-bit sizes, 3-byte colour table entries.
    BitmapBuilder& coreHeader();
    // A 40-byte header that declares `size` as its size, padded with zeros to that size.
    BitmapBuilder& headerSize(std::uint32_t size);
    BitmapBuilder& withoutFileHeader();
    // Stores the rows top first and declares a negative height.
    BitmapBuilder& topDown();
    BitmapBuilder& compression(std::uint32_t compression);
    // Colour table entries as 0xRRGGBB. The colours-used field is 0 for a full table of the
    // depth, else the entry count, unless colorsUsed() sets it.
    BitmapBuilder& palette(std::vector<std::uint32_t> colours);
    BitmapBuilder& colorsUsed(std::uint32_t count);
    // The red, green and blue masks written after the header for bit-field compression.
    BitmapBuilder& masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue);
    // Pixel values row by row, bottom row first: palette indices for 1, 4 and 8 bits, the raw
    // little-endian value for 16, 24 (0xRRGGBB) and 32 bits. Rows are padded to 4 bytes.
    BitmapBuilder& pixels(std::vector<std::uint32_t> values);
    // The pixel bits exactly as given (run-length streams, short data), instead of pixels().
    BitmapBuilder& bits(std::vector<std::uint8_t> raw);
    BitmapBuilder& imageSize(std::uint32_t size);
    // The offset of the bits stored in the file header, instead of the real one.
    BitmapBuilder& bitsOffset(std::uint32_t offset);

    std::string build() const;

private:
    std::vector<std::uint8_t> packedBits() const;

    std::int32_t width_;
    std::int32_t height_;
    int bitCount_;
    bool core_ = false;
    std::uint32_t headerSize_ = 40;
    bool fileHeader_ = true;
    bool topDown_ = false;
    std::uint32_t compression_ = 0;
    std::vector<std::uint32_t> palette_;
    std::optional<std::uint32_t> colorsUsed_;
    std::optional<std::vector<std::uint32_t>> masks_;
    std::vector<std::uint32_t> pixels_;
    std::optional<std::vector<std::uint8_t>> bits_;
    std::uint32_t imageSize_ = 0;
    std::optional<std::uint32_t> bitsOffset_;
};

// The bytes of `text` as the decoder takes them.
std::span<const std::uint8_t> asBytes(const std::string& text);

}  // namespace y4::test
