// GLTextureDevice: the TextureDevice of the view, making the model's textures with OpenGL. The
// owner of the GL context may pass a function that makes the context current before each call.
#pragma once

#include <functional>

#include "platform/TextureDevice.h"

namespace y4 {

class GLTextureDevice : public TextureDevice {
public:
    explicit GLTextureDevice(std::function<void()> makeCurrent = {})
        : makeCurrent_(std::move(makeCurrent)) {}

    void generate(std::span<TextureName> names) override;
    void upload(TextureName name, int size, std::span<const std::uint8_t> rgba) override;
    void release(std::span<const TextureName> names) override;

    // GL context current: binds `name` as a 2-D texture (repeat in S and T, linear
    // magnification, nearest minification, modulate) and uploads level 0 of `width` x `height`
    // tightly packed pixels of `format` (GL_RGB or GL_RGBA), as many components as it has.
    static void uploadLevel0(TextureName name, int width, int height, unsigned int format,
                             const void* pixels);

private:
    void current() const;
    std::function<void()> makeCurrent_;
};

}  // namespace y4
