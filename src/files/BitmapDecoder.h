// BitmapDecoder: the editor's own reader of Windows bitmaps (with or without the "BM" file
// header; 12- and 40-byte headers; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, RLE8,
// RLE4 and bit-field masks). It never reads outside the bytes it is given and refuses absurd
// dimensions, and run-length data that cannot fill its picture, before allocating.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <variant>

#include "RGBImage.h"

namespace y4 {

enum class BitmapError {
    UnknownFormat,     // a header size other than 12 or 40, or no header at all
    ConversionFailed,  // truncated or inconsistent data, unsupported depth or compression
    OutOfMemory,       // dimensions too large to hold
    OverLimit,         // larger than the caller allows (see decode)
};

class BitmapDecoder {
public:
    // The largest picture decoded, in pixels.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;
    // The largest file read: the largest picture at 32 bits per pixel, with room for headers.
    static constexpr std::size_t kMaxFileBytes =
        static_cast<std::size_t>(kMaxPixels) * 4 + (std::size_t{1} << 20);

    // The picture as a bottom-up 24-bit image (a top-down file gives the same image as its
    // bottom-up twin), or the reason it cannot be read. A picture that would take more than
    // `maxImageBytes` bytes is not decoded (OverLimit), and neither is run-length data too
    // short to reach the picture's last row, however it is encoded (ConversionFailed).
    static std::variant<RGBImage, BitmapError> decode(
        std::span<const std::uint8_t> bytes,
        std::size_t maxImageBytes = std::numeric_limits<std::size_t>::max());
};

}  // namespace y4
