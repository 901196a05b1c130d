// GL texture names and RGBA uploads.
#include "GLTextureDevice.h"

#include <GL/gl.h>

namespace y4 {

void GLTextureDevice::current() const {
    if (makeCurrent_) {
        makeCurrent_();
    }
}

void GLTextureDevice::generate(std::span<TextureName> names) {
    current();
    static_assert(sizeof(TextureName) == sizeof(GLuint));
    glGenTextures(static_cast<GLsizei>(names.size()), names.data());
}

void GLTextureDevice::upload(TextureName name, int size, std::span<const std::uint8_t> rgba) {
    if (size <= 0 || rgba.size() < static_cast<std::size_t>(size) * size * 4) {
        return;
    }
    current();
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

void GLTextureDevice::release(std::span<const TextureName> names) {
    current();
    glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
}

}  // namespace y4
