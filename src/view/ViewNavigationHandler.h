// ViewNavigationHandler: what the 3D view does with the middle and right buttons and the wheel,
// which steer the camera whatever the left button's mode, supplied by its owner. Positions are
// in device pixels of the view, y downwards.
#pragma once

namespace y4 {

class ViewNavigationHandler {
public:
    // What a drag with the middle or right button does.
    enum Drag { kOrbit, kPan };

    virtual ~ViewNavigationHandler() = default;
    virtual void beginDrag(Drag drag, int x, int y) = 0;
    virtual void dragTo(int x, int y) = 0;
    virtual void endDrag() = 0;
    // Wheel turns in notches (one click of a common wheel), positive away from the user;
    // fractions come from fine-grained wheels and touchpads.
    virtual void wheel(double notches) = 0;
};

}  // namespace y4
