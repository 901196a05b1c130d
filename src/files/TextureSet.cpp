// The texture set: RGBA texture bytes with the colour key, and the device calls that build and
// release the textures.
#include "TextureSet.h"

#include <unordered_map>

namespace y4 {

namespace {
// Pixels of exactly this colour are transparent in a texture.
constexpr std::uint8_t kKeyRed = 255;
constexpr std::uint8_t kKeyGreen = 0;
constexpr std::uint8_t kKeyBlue = 255;
}  // namespace

std::vector<std::uint8_t> TextureSet::textureBytes(const RGBImage& image, int& size) {
    size = 0;
    const std::size_t width = image.sizeX > 0 ? static_cast<std::size_t>(image.sizeX) : 0;
    const std::size_t height = image.sizeY > 0 ? static_cast<std::size_t>(image.sizeY) : 0;
    // A texture is square; an image wider than tall has no square of sizeX rows to give.
    if (width == 0 || height < width || image.data.size() < width * height * 3) {
        return {};
    }
    // The square is the last sizeX rows: the top of an ordinary bottom-up picture.
    const std::uint8_t* in = image.data.data() + (height - width) * width * 3;
    std::vector<std::uint8_t> rgba(width * width * 4);
    for (std::size_t i = 0; i < width * width; ++i, in += 3) {
        std::uint8_t* out = rgba.data() + 4 * i;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        const bool key = in[0] == kKeyRed && in[1] == kKeyGreen && in[2] == kKeyBlue;
        out[3] = key ? 0 : 255;
    }
    size = static_cast<int>(width);
    return rgba;
}

void TextureSet::createTextures(TextureDevice* device, std::size_t nameCount) {
    if (!device) {
        return;
    }
    // Names left from an earlier build would otherwise never be released.
    deleteTextures(device);
    if (nameCount == 0) {
        return;
    }
    generated_.assign(nameCount, 0);
    filled_.assign(nameCount, false);
    device->generate(generated_);
    textureNames = generated_;
    // Positions that share one image share its texture; the first of them is uploaded.
    std::unordered_map<const RGBImage*, std::size_t> uploaded;
    for (std::size_t k = 0; k < nameCount && k < images.size(); ++k) {
        if (!images[k]) {
            continue;
        }
        if (const auto it = uploaded.find(images[k].get()); it != uploaded.end()) {
            textureNames[k] = textureNames[it->second];
            filled_[k] = filled_[it->second];
            continue;
        }
        uploaded.emplace(images[k].get(), k);
        int size = 0;
        const std::vector<std::uint8_t> rgba = textureBytes(*images[k], size);
        if (!rgba.empty()) {
            device->upload(textureNames[k], size, rgba);
            filled_[k] = true;
        }
    }
}

void TextureSet::deleteTextures(TextureDevice* device) {
    if (device && !generated_.empty()) {
        device->release(generated_);
    }
    generated_.clear();
    textureNames.clear();
    filled_.clear();
}

}  // namespace y4
