// FrameBench: frames drawn per second at 640 x 480 off-screen, in solid and textured mode, by the
// vertex arrays and by face-by-face drawing (the yardstick), with the model loaded and the camera
// placed as the editor places it after loading.
#pragma once

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

    // Times `model` (`faces` faces), the fastest of `runs` runs of each kind. Empty when no
    // off-screen GL context can be had (the reason on standard error).
    static std::vector<FrameTiming> measure(const std::string& model, long long faces, int runs);
};

}  // namespace y4::bench
