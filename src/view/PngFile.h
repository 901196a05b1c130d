// PngFile: RGB images written to and read from PNG files through libpng, the rows turned round
// on the way (an RGBImage holds the bottom row first, a PNG the top row).
#pragma once

#include <optional>
#include <string>

#include "files/RGBImage.h"

namespace y4 {

class PngFile {
public:
    // Writes the image safely (a temporary file renamed over the target). Throws IoError.
    static void write(const std::string& path, const RGBImage& image);
    // The picture as RGB, or nothing when the file cannot be read as a PNG.
    static std::optional<RGBImage> read(const std::string& path);
};

}  // namespace y4
