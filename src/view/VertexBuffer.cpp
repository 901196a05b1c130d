// Buffer objects where the context has them, memory otherwise.
#define GL_GLEXT_PROTOTYPES 1
#include "VertexBuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace y4 {

namespace {

bool allowed = true;

// Buffer objects came with OpenGL 1.5. Asked once, with a context current: every context of the
// program comes from the same implementation.
bool contextHasBufferObjects() {
    static const bool has = [] {
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        int major = 0;
        int minor = 0;
        if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2) {
            return false;
        }
        return major > 1 || (major == 1 && minor >= 5);
    }();
    return has;
}

GLenum target(VertexBuffer::Kind kind) {
    return kind == VertexBuffer::Kind::Indices ? GL_ELEMENT_ARRAY_BUFFER : GL_ARRAY_BUFFER;
}

}  // namespace

void VertexBuffer::setBufferObjectsAllowed(bool on) {
    allowed = on;
}

VertexBuffer::VertexBuffer(VertexBuffer&& other) noexcept
    : kind_(other.kind_),
      buffer_(std::exchange(other.buffer_, 0)),
      bytes_(std::move(other.bytes_)),
      size_(std::exchange(other.size_, 0)) {}

VertexBuffer::~VertexBuffer() {
    clear();
}

void VertexBuffer::clear() {
    if (buffer_) {
        glDeleteBuffers(1, &buffer_);
        buffer_ = 0;
    }
    bytes_.clear();
    bytes_.shrink_to_fit();
    size_ = 0;
}

void VertexBuffer::assign(const void* data, std::size_t bytes) {
    clear();
    size_ = bytes;
    if (bytes == 0) {
        return;
    }
    if (allowed && contextHasBufferObjects()) {
        glGenBuffers(1, &buffer_);
        glBindBuffer(target(kind_), buffer_);
        glBufferData(target(kind_), static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
        glBindBuffer(target(kind_), 0);
        if (glGetError() == GL_NO_ERROR) {
            return;
        }
        // No room in the driver: keep the data in memory.
        glDeleteBuffers(1, &buffer_);
        buffer_ = 0;
    }
    bytes_.resize(bytes);
    std::memcpy(bytes_.data(), data, bytes);
}

const void* VertexBuffer::pointer(std::size_t offset) const {
    if (buffer_) {
        glBindBuffer(target(kind_), buffer_);
        return reinterpret_cast<const void*>(offset);
    }
    if (contextHasBufferObjects()) {
        glBindBuffer(target(kind_), 0);
    }
    return bytes_.data() + offset;
}

void VertexBuffer::unbindAll() {
    if (contextHasBufferObjects()) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
}

}  // namespace y4
