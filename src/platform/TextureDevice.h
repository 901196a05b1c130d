// TextureDevice: the seam through which the core creates, fills and deletes GL texture objects.
// The view implements it with OpenGL; tests record the calls; y4tool passes none.
#pragma once

#include <cstdint>
#include <span>

namespace y4 {

using TextureName = std::uint32_t;

class TextureDevice {
public:
    virtual ~TextureDevice() = default;
    // Fills `names` with new texture names.
    virtual void generate(std::span<TextureName> names) = 0;
    // Binds `name` as a 2-D texture (repeat in S and T, linear magnification, nearest
    // minification, modulate) and uploads level 0: `size` x `size` RGBA bytes, no border.
    virtual void upload(TextureName name, int size, std::span<const std::uint8_t> rgba) = 0;
    virtual void release(std::span<const TextureName> names) = 0;
};

}  // namespace y4
