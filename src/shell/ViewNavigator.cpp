// The wheel, the middle and right buttons and the framing commands of the view.
#include "shell/ViewNavigator.h"

#include "document/ModelDocument.h"
#include "view/CDrawFrame.h"

namespace y4 {

ViewNavigator::ViewNavigator(CDrawFrame& frame, const ModelDocument& document,
                             ProjectionSettings& projection)
    : frame_(frame), document_(document), camera_(frame.view(), projection) {}

// Without a model the view has nothing to steer about, as with the left button.
void ViewNavigator::beginDrag(Drag drag, int x, int y) {
    if (!document_.hasModel()) {
        return;
    }
    drag_ = drag;
    dragging_ = true;
    lastX_ = x;
    lastY_ = y;
}

void ViewNavigator::dragTo(int x, int y) {
    if (!dragging_) {
        return;
    }
    const float dx = static_cast<float>(x - lastX_) * ViewCamera::kPixelStep;
    const float dy = static_cast<float>(y - lastY_) * ViewCamera::kPixelStep;
    lastX_ = x;
    lastY_ = y;
    if (drag_ == kPan) {
        camera_.move(dx, dy);
    } else {
        camera_.rotate(dx, dy);
    }
    redraw(false);
}

void ViewNavigator::endDrag() {
    dragging_ = false;
}

void ViewNavigator::wheel(double notches) {
    if (!document_.hasModel()) {
        return;
    }
    // Turning the wheel away zooms in, as dragging down in the zoom mode does.
    const auto dy = static_cast<float>(notches * kNotchPixels * ViewCamera::kPixelStep);
    redraw(camera_.zoom(dy));
}

void ViewNavigator::frameSelection() {
    const SceneObject* record = document_.selectedRecord();
    if (record == nullptr) {
        frameModel();
        return;
    }
    frameBox(SceneBounds::ofRecord(*record));
}

void ViewNavigator::frameModel() {
    const Reader* reader = document_.reader();
    if (reader == nullptr) {
        return;
    }
    if (const std::optional<SceneBox> box = SceneBounds::ofModel(*reader)) {
        frameBox(*box);
    }
}

void ViewNavigator::frameBox(const SceneBox& box) {
    redraw(camera_.frame(box.low, box.high));
}

void ViewNavigator::redraw(bool projectionChanged) {
    if (projectionChanged) {
        frame_.setProjection();
    }
    frame_.render();
}

}  // namespace y4
