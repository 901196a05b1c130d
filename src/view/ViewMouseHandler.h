// ViewMouseHandler: what the 3D view does with the left mouse button, supplied by its owner.
// Positions are in device pixels of the view, y downwards.
#pragma once

namespace y4 {

class ViewMouseHandler {
public:
    virtual ~ViewMouseHandler() = default;
    virtual void OnLButtonDown(int x, int y) = 0;
    virtual void OnLButtonUp(int x, int y) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
};

}  // namespace y4
