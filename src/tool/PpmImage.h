// PpmImage: a decoded bitmap as a binary PPM (P6) file, the simplest picture format that every
// image viewer opens, so a bitmap can be seen exactly as the editor decoded it.
#pragma once

#include <string>

#include "files/RGBImage.h"

namespace y4 {

class PpmImage {
public:
    // The whole file: header and pixel rows, the top row first.
    static std::string encode(const RGBImage& image);
};

}  // namespace y4
