// y4render: draws a model as the editor shows it right after loading it, with no window and no
// display server, and writes the picture as a PNG: for modders, file-manager thumbnails and
// tests. The model is loaded and drawn by the editor's own Reader and renderer, off-screen.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "RenderOptions.h"
#include "files/DisplayStateFile.h"
#include "files/Reader.h"
#include "model/SceneTree.h"
#include "model/TreeListing.h"
#include "platform/PathResolver.h"
#include "view/FrameCapture.h"
#include "view/GLTextureDevice.h"
#include "view/OffscreenContext.h"
#include "view/PngFile.h"
#include "view/SceneRenderer.h"
#include "view/ViewRenderer.h"

namespace {

using Clock = std::chrono::steady_clock;

int fail(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}

// Loads the model as the editor does: the chosen path upper-cased, textures decoded and
// uploaded, listed in a tree, the groups its display-state file switched off left off.
std::unique_ptr<y4::Reader> load(const std::string& argument, y4::SceneTree& tree,
                                 y4::TextureDevice& device) {
    const std::string path = std::filesystem::absolute(argument).lexically_normal().string();
    // Checked first, so the message is this program's one line, not also the loader's.
    if (!y4::PathResolver::resolveExisting(path)) {
        throw std::runtime_error("Error: Could not open file " + argument +
                                 ": No such file or directory");
    }
    y4::Reader::Options options;
    options.textureDevice = &device;
    auto reader = std::make_unique<y4::Reader>(&tree, y4::ModelSource::chosen(path), options);
    if (!reader->loaded()) {
        throw std::runtime_error("Error: Could not open file " + argument + ": " +
                                 reader->openError());
    }
    y4::TreeListing::buildTree(tree, reader->root());
    y4::DisplayStateFile::load(*reader, reader->displayStatePath());
    return reader;
}

void applyMode(y4::SceneRenderer& scene, const y4::RenderOptions& o) {
    switch (o.mode) {
        case y4::RenderOptions::Mode::Textured:
            scene.setTextured();
            break;
        case y4::RenderOptions::Mode::Wireframe:
            scene.setWireframe();
            break;
        case y4::RenderOptions::Mode::Solid:
            scene.setSolid();
            break;
    }
    scene.setShowVertices(o.vertices);
    scene.setShowNormals(o.normals);
}

// Draws `count` more frames, each finished as a buffer swap would, and returns frames per
// second.
double measureFrames(y4::ViewRenderer& view, int count) {
    const auto start = Clock::now();
    for (int k = 0; k < count; ++k) {
        view.render();
        y4::FrameCapture::finish();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return seconds > 0 ? count / seconds : 0;
}

int run(const y4::RenderOptions& o) {
    std::string error;
    const auto context = y4::OffscreenContext::create(o.width, o.height, &error);
    if (!context) {
        return fail(error);
    }
    y4::SceneTree tree;
    y4::GLTextureDevice device;
    std::unique_ptr<y4::Reader> reader;
    try {
        reader = load(o.model, tree, device);
    } catch (const std::exception& e) {
        return fail(e.what());
    }

    // The default settings, with the terrain defaults for a terrain, as the editor has them
    // after loading the model with nothing stored.
    const bool terrain = reader->fileType == y4::Reader::kY4T;
    const y4::DisplaySettings display = y4::DisplaySettings::defaults(terrain);
    y4::ProjectionSettings projection = y4::ProjectionSettings::defaults(terrain);
    y4::GridSettings grid;
    grid.gridXY = grid.gridYZ = grid.gridXZ = o.grids ? 1 : 0;

    y4::ViewRenderer view(display, projection, grid);
    view.setViewportSize(o.width, o.height);
    view.initGL();
    view.backdrops().createTextures(grid);
    view.resetForModel(reader.get());
    view.setProjection();
    view.drawAxesGridsAndBackdrops = o.grids;
    y4::SceneRenderer scene(*reader, &tree, display);
    applyMode(scene, o);
    view.drawScene = [&scene](int mouseMode) { scene.drawScene(mouseMode); };

    view.render();
    const y4::RGBImage frame = y4::FrameCapture::read(o.width, o.height);
    try {
        y4::PngFile::write(std::filesystem::absolute(o.output).lexically_normal().string(), frame);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    if (o.frames > 0) {
        std::printf("fps %.1f\n", measureFrames(view, o.frames));
    }
    // The textures go with the context still current.
    reader.reset();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string problem;
    const std::optional<y4::RenderOptions> options = y4::RenderOptions::parse(args, &problem);
    if (!options) {
        if (problem.empty()) {
            std::fputs(y4::RenderOptions::kHelp, stdout);
            return 0;
        }
        std::fprintf(stderr, "y4render: %s\n\n%s", problem.c_str(), y4::RenderOptions::kHelp);
        return 2;
    }
    return run(*options);
}
