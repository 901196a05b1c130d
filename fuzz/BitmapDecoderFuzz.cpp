// libFuzzer target: the bitmap decoder on arbitrary bytes. Every image it returns must hold
// exactly sizeX * sizeY pixels of three bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>

#include "files/BitmapDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::variant<y4::RGBImage, y4::BitmapError> result =
        y4::BitmapDecoder::decode(std::span<const std::uint8_t>(data, size));
    if (const y4::RGBImage* image = std::get_if<y4::RGBImage>(&result)) {
        if (image->sizeX <= 0 || image->sizeY <= 0 ||
            image->data.size() != static_cast<std::size_t>(image->sizeX) *
                                      static_cast<std::size_t>(image->sizeY) * 3) {
            std::abort();
        }
    }
    return 0;
}
