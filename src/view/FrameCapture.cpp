// Reading the frame back.
#include "FrameCapture.h"

#include <GL/gl.h>

namespace y4 {

RGBImage FrameCapture::read(int width, int height) {
    RGBImage image;
    if (width <= 0 || height <= 0) {
        return image;
    }
    image.sizeX = width;
    image.sizeY = height;
    image.data.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    finish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.data.data());
    return image;
}

void FrameCapture::finish() {
    glFinish();
}

}  // namespace y4
