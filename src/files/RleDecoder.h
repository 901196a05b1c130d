// RleDecoder: expands the run-length encoded pixel bits of 8-bit (RLE8) and 4-bit (RLE4)
// bitmaps into a 24-bit picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "BitmapPalette.h"
#include "RGBImage.h"

namespace y4 {

class RleDecoder {
public:
    // Expands `bits` (RLE8 when `bitsPerPixel` is 8, RLE4 when it is 4) into `image`, whose
    // sizes are set and whose data holds sizeX * sizeY black pixels, bottom row first. Pixels
    // the stream skips or never reaches stay black; runs past the end of a row or of the
    // picture are cut off.
    // Whether `byteCount` bytes of run-length data can reach the last row of a picture of
    // `width` x `rows` pixels: every two bytes move at most as far as half a delta escape
    // (255 rows and 255 pixels). Data that cannot is no picture of that size.
    static bool canReachLastRow(std::size_t byteCount, std::int64_t width, std::int64_t rows);

    static void expand(std::span<const std::uint8_t> bits, int bitsPerPixel,
                       const BitmapPalette& palette, RGBImage& image);
};

}  // namespace y4
