// OffscreenContext: a GL context that draws into memory, with no window and no display server
// (Mesa's surfaceless EGL platform with a pixel buffer), for the headless renderer, the
// benchmark and the GL tests. Depth 24 bits, RGB without alpha, like the editor's view.
#pragma once

#include <memory>
#include <string>

namespace y4 {

class OffscreenContext {
public:
    // A context of `width` x `height` pixels, made current; null with the reason in `error`.
    static std::unique_ptr<OffscreenContext> create(int width, int height, std::string* error);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    void makeCurrent();
    int width() const { return width_; }
    int height() const { return height_; }

private:
    OffscreenContext() = default;
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace y4
