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

std::vector<FrameTiming> FrameBench::measure(const std::string& model, long long faces, int runs) {
    std::string error;
    const auto context = OffscreenContext::create(kWidth, kHeight, &error);
    if (!context) {
        std::fprintf(stderr, "y4bench: no frame rates: %s\n", error.c_str());
        return {};
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

    std::vector<FrameTiming> out;
    for (const bool textured : {false, true}) {
        if (textured) {
            scene.setTextured();
        } else {
            scene.setSolid();
        }
        const std::string mode = textured ? "textured" : "solid";
        scene.setDrawPath(SceneRenderer::DrawPath::VertexArrays);
        out.push_back({"frame_" + mode, secondsPerFrame(view, faces, runs)});
        scene.setDrawPath(SceneRenderer::DrawPath::FaceByFace);
        out.push_back({"frame_" + mode + "_face_by_face", secondsPerFrame(view, faces, runs)});
    }
    reader.reset();
    return out;
}

}  // namespace y4::bench
