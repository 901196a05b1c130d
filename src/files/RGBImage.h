// RGBImage: a decoded bitmap, sizeX by sizeY pixels of three bytes R, G, B, rows without
// padding, the bottom row first.
#pragma once

#include <cstdint>
#include <vector>

namespace y4 {

struct RGBImage {
    std::int32_t sizeX = 0;
    std::int32_t sizeY = 0;
    std::vector<std::uint8_t> data;
};

}  // namespace y4
