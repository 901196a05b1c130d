// Backdrops: the bitmaps shown on the three grid planes (XY, YZ, XZ) for lining a model up with
// plans or photographs: their images, loaded from the grid settings' file names, their GL
// textures (square RGB pictures of any size), and their drawing.
#pragma once

#include <array>
#include <memory>

#include "files/RGBImage.h"
#include "shell/GridSettings.h"

namespace y4 {

class Backdrops {
public:
    enum Plane { XY = 0, YZ = 1, XZ = 2 };

    Backdrops() = default;
    Backdrops(const Backdrops&) = delete;
    Backdrops& operator=(const Backdrops&) = delete;

    // Loads the bitmap of every plane whose switch is set, in the order XY, YZ, XZ, and uploads
    // it once the textures exist. A file that cannot be read, or whose picture is not square,
    // is reported ("Error: Invalid DIB Bitmap File: X axis: <file>", with ": SizeX != SizeY"
    // for the second) and leaves its plane without a backdrop; the planes after it are not
    // loaded and keep what they showed. The grid loader's backdrop reload.
    void load(const GridSettings& grid);
    // GL context current: makes the three textures and uploads the images already loaded
    // (those of planes switched on). Once, when the context exists.
    void createTextures(const GridSettings& grid);
    // GL context current: deletes the textures.
    void releaseTextures();
    // GL context current: draws every plane whose switch is set and whose image is present, in
    // the order YZ, XZ, XY, each from both sides.
    void draw(const GridSettings& grid) const;

    const RGBImage* image(Plane plane) const { return images_[plane].get(); }

private:
    void upload(Plane plane);

    std::array<std::unique_ptr<RGBImage>, 3> images_;
    std::array<unsigned int, 3> textures_ = {0, 0, 0};
    // Whether each texture holds its plane's current image.
    std::array<bool, 3> uploaded_ = {false, false, false};
    bool texturesExist_ = false;
};

}  // namespace y4
