// GLTest: the fixture of the renderer tests: an off-screen GL context per test, a view over the
// test's own settings, and models built or loaded by the test, listed in a tree as the editor
// lists them. The light is flat (ambient only), so every drawn colour is the material's own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FrameCheck.h"
#include "SceneBuilder.h"
#include "model/SceneTree.h"
#include "view/GLTextureDevice.h"
#include "view/OffscreenContext.h"
#include "view/SceneRenderer.h"
#include "view/ViewRenderer.h"

namespace y4::test {

// A model and what draws it.
class TestModel {
public:
    // An empty model, filled by the test through `build`.
    explicit TestModel(const DisplaySettings& display);
    // A model file loaded as the editor loads it, textures made by `device`.
    TestModel(const DisplaySettings& display, const std::string& path, TextureDevice& device);

    // Lists the scene in the tree (all checked) and draws it in `view`'s frames.
    void show(ViewRenderer& view);

    SceneTree tree;
    std::unique_ptr<Reader> reader;
    gen::SceneBuilder build;
    SceneRenderer renderer;
};

class GLTest : public testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    GLTest();
    void SetUp() override;

    // The frame's size; a fixture may change it before SetUp.
    int width = kWidth;
    int height = kHeight;

    // Draws a frame and reads it back.
    RGBImage frame();
    Rgb background() const;
    Rgb colourOf(const float* rgb) const { return rgbOf(rgb[0], rgb[1], rgb[2]); }
    // The camera straight down the Z axis from `distance` away, no turn.
    void lookAlongZ(float distance);
    // The orthographic box (-10.24..10.24 by -7.68..7.68) straight down the Z axis, with the
    // axes, grids and backdrops.
    void lookDownOrthographic();
    // Where a scene point lands in the window on the last frame (x, y upwards).
    std::array<double, 3> project(double x, double y, double z) const;

    DisplaySettings display;
    ProjectionSettings projection;
    GridSettings grid;
    std::unique_ptr<OffscreenContext> context;
    std::unique_ptr<ViewRenderer> view;
    GLTextureDevice textureDevice;
};

// A triangle of three new vertices, file coordinates, normals facing the camera.
Face* addTriangle(gen::SceneBuilder& build, SubEntity* s, gen::Point a, gen::Point b, gen::Point c);

}  // namespace y4::test
