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
    uploadLevel0(name, size, size, GL_RGBA, rgba.data());
}

void GLTextureDevice::uploadLevel0(TextureName name, int width, int height, unsigned int format,
                                   const void* pixels) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // Rows of three bytes are not padded to four.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
}

void GLTextureDevice::release(std::span<const TextureName> names) {
    current();
    glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
}

}  // namespace y4
