// VertexBuffer: vertex data (or indices) handed to GL once and drawn from on every frame. Where
// the context has buffer objects (OpenGL 1.5 on) the data lives in one, so that frames do not
// hand it over again; otherwise it stays in memory and is drawn as a plain OpenGL 1.1 vertex
// array. Either way the drawing code sets the same array pointers through pointer().
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace y4 {

class VertexBuffer {
public:
    enum class Kind { Vertices, Indices };

    explicit VertexBuffer(Kind kind = Kind::Vertices) : kind_(kind) {}
    // GL context current when a buffer object was made.
    ~VertexBuffer();
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    VertexBuffer(VertexBuffer&& other) noexcept;
    VertexBuffer& operator=(VertexBuffer&&) = delete;

    // GL context current: replaces the contents.
    void assign(const void* data, std::size_t bytes);
    template <class T>
    void assign(const std::vector<T>& data) {
        assign(data.data(), data.size() * sizeof(T));
    }
    void clear();
    bool empty() const { return size_ == 0; }

    // GL context current: binds the buffer and gives what the gl*Pointer and glDrawElements
    // calls take for the data `offset` bytes in.
    const void* pointer(std::size_t offset = 0) const;
    // Unbinds buffer objects after drawing, so that later arrays are read from memory again.
    static void unbindAll();

    // Whether buffer objects are used where the context has them; off, every buffer is drawn
    // from memory (tests check both ways give the same pixels).
    static void setBufferObjectsAllowed(bool allowed);

private:
    Kind kind_;
    unsigned int buffer_ = 0;
    std::vector<std::uint8_t> bytes_;
    std::size_t size_ = 0;
};

}  // namespace y4
