// Timing frames of a generated model off-screen.
#include "FrameBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "files/Reader.h"
#include "model/SceneTree.h"
#include "model/TreeListing.h"
#include "view/FrameCapture.h"
#include "view/GLTextureDevice.h"
#include "view/OffscreenContext.h"
#include "view/SceneRenderer.h"
#include "view/ViewRenderer.h"

namespace y4::bench {

namespace {

using Clock = std::chrono::steady_clock;

// The fastest time per frame of `runs` runs of a few frames each, each frame finished as a
// buffer swap would finish it.
double secondsPerFrame(ViewRenderer& view, long long faces, int runs) {
    const int frames = static_cast<int>(std::clamp(2000000LL / faces, 2LL, 100LL));
    view.render();  // the arrays are built on the first frame
    FrameCapture::finish();
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        for (int k = 0; k < frames; ++k) {
            view.render();
            FrameCapture::finish();
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / frames);
    }
    return best;
}

}  // namespace

std::vector<std::string> FrameBench::kinds() {
    return {"frame_solid", "frame_solid_face_by_face", "frame_textured",
            "frame_textured_face_by_face"};
}

std::optional<FrameTiming> FrameBench::measure(const std::string& model, long long faces, int runs,
                                               const std::string& kind) {
    const auto known = kinds();
    if (std::find(known.begin(), known.end(), kind) == known.end()) {
        return std::nullopt;
    }
    std::string error;
    const auto context = OffscreenContext::create(kWidth, kHeight, &error);
    if (!context) {
        std::fprintf(stderr, "y4bench: no frame rates: %s\n", error.c_str());
        return std::nullopt;
    }
    SceneTree tree;
    GLTextureDevice device;
    Reader::Options options;
    options.textureDevice = &device;
    auto reader = std::make_unique<Reader>(&tree, ModelSource::chosen(model), options);
    TreeListing::buildTree(tree, reader->root());

    const DisplaySettings display = DisplaySettings::defaults(false);
    ProjectionSettings projection = ProjectionSettings::defaults(false);
    const GridSettings grid;
    ViewRenderer view(display, projection, grid);
    view.setViewportSize(kWidth, kHeight);
    view.initGL();
    view.resetForModel(reader.get());
    view.setProjection();
    SceneRenderer scene(*reader, &tree, display);
    view.drawScene = [&scene](int mouseMode) { scene.drawScene(mouseMode); };

    if (kind.starts_with("frame_textured")) {
        scene.setTextured();
    } else {
        scene.setSolid();
    }
    scene.setDrawPath(kind.ends_with("_face_by_face") ? SceneRenderer::DrawPath::FaceByFace
                                                      : SceneRenderer::DrawPath::VertexArrays);
    const FrameTiming out{kind, secondsPerFrame(view, faces, runs)};
    // The textures go with the context still current.
    reader.reset();
    return out;
}

}  // namespace y4::bench
