// TextureSet: a model's decoded bitmap images (one per bitmap name, an entry may be empty; names
// that lead to the same file share its image) and the GL texture names built from them, one
// per bitmap name: names that share an image share its texture, uploaded once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "RGBImage.h"
#include "platform/TextureDevice.h"

namespace y4 {

class TextureSet {
public:
    // The RGBA texture of an image: alpha 0 for pixels of exactly (255, 0, 255), else 255; an
    // image taller than wide keeps its last sizeX rows. `size` receives the side. Empty for an
    // image wider than tall, which draws untextured.
    static std::vector<std::uint8_t> textureBytes(const RGBImage& image, int& size);

    // Generates `nameCount` texture names and uploads each present image to the texture of
    // the first position that shows it; later positions with the same image take that texture.
    // Without a device nothing is created.
    void createTextures(TextureDevice* device, std::size_t nameCount);
    // Deletes the textures and forgets their names.
    void deleteTextures(TextureDevice* device);
    void freeImages() { images.clear(); }
    // Whether texture k was filled with an image by the last build; a texture left empty (no
    // image, or an image wider than tall) draws untextured.
    bool isFilled(std::size_t k) const { return k < filled_.size() && filled_[k]; }

    std::vector<std::shared_ptr<const RGBImage>> images;
    std::vector<TextureName> textureNames;

private:
    std::vector<TextureName> generated_;
    std::vector<bool> filled_;
};

}  // namespace y4
