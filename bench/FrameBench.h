// FrameBench: frames drawn per second at 640 x 480 off-screen, in solid and textured mode, by the
// vertex arrays and by face-by-face drawing (the yardstick), with the model loaded and the camera
// placed as the editor places it after loading.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace y4::bench {

struct FrameTiming {
    std::string op;
    double secondsPerFrame;
};

class FrameBench {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    // The names of what is timed: each mode by the vertex arrays, then face by face.
    static std::vector<std::string> kinds();
    // Times one kind of frame of `model` (`faces` faces), the fastest of `runs` runs. Each kind
    // is meant for a process of its own: face-by-face drawing leaves the C library's allocator
    // in a state that slows whatever is drawn after it in the same process by up to half.
    // Empty when no off-screen GL context can be had (the reason on standard error) or the kind
    // is unknown.
    static std::optional<FrameTiming> measure(const std::string& model, long long faces, int runs,
                                              const std::string& kind);
};

}  // namespace y4::bench
