// Fuzz target of the bitmap decoder: every image it returns holds exactly sizeX * sizeY pixels
// of three bytes.
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return y4::fuzz::check(data, size, "bmp");
}
