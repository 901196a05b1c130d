// Binary PPM encoding of an RGBImage.
#include "PpmImage.h"

#include <cstddef>

namespace y4 {

std::string PpmImage::encode(const RGBImage& image) {
    const std::size_t width = image.sizeX > 0 ? static_cast<std::size_t>(image.sizeX) : 0;
    const std::size_t rowBytes = width * 3;
    std::size_t height = image.sizeY > 0 ? static_cast<std::size_t>(image.sizeY) : 0;
    // Never read past the pixels, whatever the sizes say.
    if (rowBytes == 0 || image.data.size() / rowBytes < height) {
        height = rowBytes == 0 ? 0 : image.data.size() / rowBytes;
    }
    std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    out.reserve(out.size() + rowBytes * height);
    // The image holds the bottom row first; a PPM starts at the top.
    for (std::size_t row = height; row-- > 0;) {
        const auto* bytes = reinterpret_cast<const char*>(image.data.data() + row * rowBytes);
        out.append(bytes, rowBytes);
    }
    return out;
}

}  // namespace y4
