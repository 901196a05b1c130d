// ViewRenderer: the 3D view without a window: the fixed GL state, light 0, the viewport and the
// two projections, the camera, and the frame every redraw follows (the model, then the axes,
// grids and backdrops). The Qt widget and the headless renderer each own one; the window system
// only supplies the GL context, which must be current for every call that says so.
#pragma once

#include <functional>

#include "Backdrops.h"
#include "shell/DisplaySettings.h"
#include "shell/GridSettings.h"
#include "shell/ProjectionSettings.h"
#include "shell/TransformSettings.h"

namespace y4 {

class Reader;

class ViewRenderer {
public:
    // The camera after a reset: turned 195 degrees about X and 315 about Y, at the origin.
    static constexpr float kResetRotationX = 195.0f;
    static constexpr float kResetRotationY = 315.0f;
    // The camera never starts closer than this to the origin.
    static constexpr float kNearestStart = -0.5f;

    // The settings belong to the owner and must outlive the view; a change takes effect through
    // setLighting, setProjection or the next frame.
    ViewRenderer(const DisplaySettings& display, ProjectionSettings& projection,
                 const GridSettings& grid);

    // GL context current: the fixed render state, the light and the projection.
    void initGL();
    // GL context current: the clear colour and light 0, fixed relative to the eye.
    void setLighting();
    // The drawing area in device pixels; takes effect with the next setProjection.
    void setViewportSize(int width, int height);
    // GL context current: the viewport and the projection of the projection settings.
    void setProjection();
    // GL context current: the Perspective and Orthogonal pair. Only the mode changes; both
    // parameter sets stay as they are.
    void setProjectionMode(int mode);

    // Camera and mouse state back to their start.
    void resetView();
    // The camera distance for a newly loaded model, from its bounding box.
    void placeCamera(const Reader& reader);
    // What the editor does to the view when a model is loaded (or none is): reset, place the
    // camera for the model, perspective projection (taking effect with setProjection).
    void resetForModel(const Reader* reader);

    // GL context current: draws one frame. A frame asked for while one is being drawn is
    // dropped (false); the outer frame goes on undisturbed.
    bool render();
    bool renderBusy() const { return renderBusy_; }
    // Frames drawn so far.
    long long frameCount() const { return frames_; }

    // The model's part of the frame, drawn under the camera transform with the mouse mode;
    // none while no model is loaded.
    std::function<void(int mouseMode)> drawScene;
    // Whether frames show the axes, grids and backdrops.
    bool drawAxesGridsAndBackdrops = true;

    Backdrops& backdrops() { return backdrops_; }
    int viewportWidth() const { return width_; }
    int viewportHeight() const { return height_; }

    // The step factors of the transform commands and of mouse drags.
    TransformSettings transform;
    float cameraTranslation[3] = {0, 0, 0};
    // Degrees about X, Y and Z.
    float cameraRotation[3] = {kResetRotationX, kResetRotationY, 0};
    // The camera's matrices and the viewport, captured on every frame for the mouse code.
    double savedModelview[16] = {};
    double savedProjection[16] = {};
    int savedViewport[4] = {};
    int mouseMode = 0;
    int editKind = 0;

private:
    void applyCamera() const;

    const DisplaySettings& display_;
    ProjectionSettings& projection_;
    const GridSettings& grid_;
    Backdrops backdrops_;
    int width_ = 1;
    int height_ = 1;
    bool renderBusy_ = false;
    long long frames_ = 0;
};

}  // namespace y4
