// ViewNavigator: steering the camera without choosing a mouse mode, as modern editors do: the
// wheel zooms, a middle-button drag orbits, Shift with the middle button (or the right button)
// pans, and the framing commands show the selection or the whole model. It goes through the
// same camera moves as the left button's view modes, so their factors and limits hold, and it
// leaves the left button's mode and the mode texts alone.
#pragma once

#include "model/SceneBounds.h"
#include "view/ViewCamera.h"
#include "view/ViewNavigationHandler.h"

namespace y4 {

class CDrawFrame;
class ModelDocument;
struct ProjectionSettings;

class ViewNavigator : public ViewNavigationHandler {
public:
    // A wheel notch zooms as a zoom drag over this many device pixels.
    static constexpr float kNotchPixels = 15.0f;

    // Everything given must outlive the navigator.
    ViewNavigator(CDrawFrame& frame, const ModelDocument& document, ProjectionSettings& projection);

    void beginDrag(Drag drag, int x, int y) override;
    void dragTo(int x, int y) override;
    void endDrag() override;
    void wheel(double notches) override;

    // The selected record's box fills the view (the whole model's while nothing is selected).
    void frameSelection();
    // The box of everything displayed fills the view.
    void frameModel();

private:
    void frameBox(const SceneBox& box);
    // After a move: the projection again when the box changed, and a new frame.
    void redraw(bool projectionChanged);

    CDrawFrame& frame_;
    const ModelDocument& document_;
    ViewCamera camera_;
    Drag drag_ = kOrbit;
    bool dragging_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
};

}  // namespace y4
