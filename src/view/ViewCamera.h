// ViewCamera: the camera moves that every way of steering the view shares: the left-button view
// modes, the wheel and the middle and right buttons move, turn and zoom through the same
// arithmetic and the same limits, and framing places the camera so that a box fills the view.
// It changes the view's camera fields and the projection settings; the caller redraws, and
// sets the projection again when a move says the orthographic box changed.
#pragma once

#include <array>

namespace y4 {

class ViewRenderer;
struct ProjectionSettings;

class ViewCamera {
public:
    // A pointer movement of one device pixel is this much of a drag step.
    static constexpr float kPixelStep = 0.2f;
    // The orthographic box never shrinks below this on either side of the centre.
    static constexpr float kSmallestBox = 0.1f;
    // How much of the view a framed box spans, across its larger extent.
    static constexpr double kFrameFill = 0.9;

    // Both must outlive the camera.
    ViewCamera(ViewRenderer& view, ProjectionSettings& projection);

    // One drag step of (dx, dy), the pointer's movement already scaled to drag units. Moving
    // and turning use the view's move and rotation factors.
    void move(float dx, float dy);
    void rotate(float dx, float dy);
    // Zooms by the view's zoom factor: the camera distance in perspective, the box in the
    // orthographic projection (true: the projection must be set again). A positive step
    // zooms in.
    bool zoom(float dy);

    // Moves the camera, keeping its direction, so that the box from `low` to `high` (scene
    // coordinates) fills the view with a small margin: in perspective by its distance, in the
    // orthographic projection by the box of the projection too (true: set it again). A box of
    // no size is framed as one of kSmallestBox on either side.
    bool frame(std::array<double, 3> low, std::array<double, 3> high);

private:
    ViewRenderer& view_;
    ProjectionSettings& projection_;
};

}  // namespace y4
