// Loading, uploading and drawing the backdrop bitmaps.
#include "Backdrops.h"

#include <GL/gl.h>

#include <string>

#include "GLTextureDevice.h"
#include "files/BitmapLoader.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

bool shown(const GridSettings& g, Backdrops::Plane plane) {
    switch (plane) {
        case Backdrops::XY:
            return g.bitmapXY != 0;
        case Backdrops::YZ:
            return g.bitmapYZ != 0;
        case Backdrops::XZ:
            return g.bitmapXZ != 0;
    }
    return false;
}

const std::string& fileName(const GridSettings& g, Backdrops::Plane plane) {
    switch (plane) {
        case Backdrops::YZ:
            return g.bitmapYZName;
        case Backdrops::XZ:
            return g.bitmapXZName;
        case Backdrops::XY:
            break;
    }
    return g.bitmapXYName;
}

// The axis word of the plane's messages.
const char* axisName(Backdrops::Plane plane) {
    switch (plane) {
        case Backdrops::YZ:
            return "Y axis";
        case Backdrops::XZ:
            return "Z axis";
        case Backdrops::XY:
            break;
    }
    return "X axis";
}

// Corner (u, v) of the plane's backdrop in file coordinates: the grid's square from min to max
// on both axes of the plane, shifted by the plane's two offsets. Along the plane's first axis
// the picture runs from max to min.
std::array<float, 3> corner(const GridSettings& g, Backdrops::Plane plane, int u, int v) {
    const float a = u == 0 ? g.gridMax : g.gridMin;
    const float b = v == 0 ? g.gridMin : g.gridMax;
    switch (plane) {
        case Backdrops::YZ:
            return {g.gridYZOffset, b + g.gridYZ_OffsetY, a + g.gridYZ_OffsetZ};
        case Backdrops::XZ:
            return {a + g.gridXZ_OffsetX, g.gridXZOffset, b + g.gridXZ_OffsetZ};
        case Backdrops::XY:
            break;
    }
    return {a + g.gridXY_OffsetX, b + g.gridXY_OffsetY, g.gridXYOffset};
}

void refuse(const std::string& text) {
    prompt().showMessage(text, MessageIcon::Exclamation);
}

}  // namespace

void Backdrops::load(const GridSettings& grid) {
    for (const Plane plane : {XY, YZ, XZ}) {
        if (!shown(grid, plane)) {
            continue;
        }
        const std::string& name = fileName(grid, plane);
        const std::string message =
            std::string("Error: Invalid DIB Bitmap File: ") + axisName(plane) + ": " + name;
        std::unique_ptr<RGBImage> image = loadBitmapImage(name);
        uploaded_[plane] = false;
        if (!image) {
            images_[plane].reset();
            refuse(message);
            return;
        }
        // A picture that is not square has no texture to show; the plane shows none rather
        // than what its texture held before.
        if (image->sizeX != image->sizeY) {
            images_[plane].reset();
            refuse(message + ": SizeX != SizeY");
            return;
        }
        images_[plane] = std::move(image);
        if (texturesExist_) {
            upload(plane);
        }
    }
}

void Backdrops::createTextures(const GridSettings& grid) {
    if (texturesExist_) {
        return;
    }
    glGenTextures(3, textures_.data());
    texturesExist_ = true;
    for (const Plane plane : {XY, YZ, XZ}) {
        if (shown(grid, plane) && images_[plane]) {
            upload(plane);
        }
    }
}

void Backdrops::releaseTextures() {
    if (texturesExist_) {
        glDeleteTextures(3, textures_.data());
    }
    texturesExist_ = false;
    uploaded_ = {false, false, false};
}

void Backdrops::upload(Plane plane) {
    const RGBImage& image = *images_[plane];
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    // Larger pictures than GL takes stay without texture, and the plane without backdrop.
    uploaded_[plane] = image.sizeX > 0 && image.sizeX <= largest;
    if (!uploaded_[plane]) {
        return;
    }
    GLTextureDevice::uploadLevel0(textures_[plane], image.sizeX, image.sizeY, GL_RGB,
                                  image.data.data());
}

void Backdrops::draw(const GridSettings& grid) const {
    for (const Plane plane : {YZ, XZ, XY}) {
        if (!shown(grid, plane) || !images_[plane] || !uploaded_[plane]) {
            continue;
        }
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textures_[plane]);
        glColor4f(1, 1, 1, grid.gridBitmapOpacity);
        static constexpr int kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        // Once in each winding, so that it shows from both sides although back faces are
        // culled.
        for (const bool reversed : {false, true}) {
            glBegin(GL_QUADS);
            for (int k = 0; k < 4; ++k) {
                const int* uv = kCorners[reversed ? 3 - k : k];
                const std::array<float, 3> p = corner(grid, plane, uv[0], uv[1]);
                glTexCoord2f(static_cast<float>(uv[0]), static_cast<float>(uv[1]));
                glVertex3f(-p[0], -p[1], -p[2]);
            }
            glEnd();
        }
    }
    glDisable(GL_TEXTURE_2D);
}

}  // namespace y4
