// FrameCapture: the pixels of the frame just drawn, read back from GL as an RGB image (bottom
// row first, like a decoded bitmap), for the headless renderer, the benchmark and the tests.
#pragma once

#include "files/RGBImage.h"

namespace y4 {

class FrameCapture {
public:
    // GL context current: the colour buffer's `width` x `height` pixels from the lower left.
    static RGBImage read(int width, int height);
    // GL context current: waits until everything asked of GL is drawn, as a buffer swap does.
    static void finish();
};

}  // namespace y4
