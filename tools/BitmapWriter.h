// BitmapWriter: writes 24-bit Windows bitmaps for the generated models' textures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace y4::gen {

struct Rgb {
    std::uint8_t r, g, b;
};

class BitmapWriter {
public:
    // The bytes of a bottom-up 24-bit bitmap with the "BM" header; `pixel(x, y)` gives the
    // colour of each pixel, y = 0 being the bottom row.
    static std::string encode(int width, int height, const std::function<Rgb(int, int)>& pixel);
    // Writes the file; false when it cannot be written.
    static bool write(const std::string& path, int width, int height,
                      const std::function<Rgb(int, int)>& pixel);
};

}  // namespace y4::gen
