// ViewMouse: what the left mouse button and the camera keys do in the 3D view. The view's mouse
// mode (chosen by the transform commands, the pick buttons and the backdrop "Move" buttons)
// decides what a drag does: move, turn or zoom the camera, slide a backdrop within its plane,
// or move or turn the selection through the document, one undo step per drag. A click in a pick
// mode picks the vertex or normal tip under the pointer. Every movement over the view updates the
// coordinate readouts. Positions are device pixels of the view, y downwards.
#pragma once

#include <array>

#include "view/ViewCamera.h"
#include "view/ViewMouseHandler.h"

class QLabel;

namespace y4 {

class CDrawFrame;
class ModelDocument;
class SceneViewLink;
struct GridSettings;
struct ProjectionSettings;

class ViewMouse : public ViewMouseHandler {
public:
    // The view's mouse modes.
    enum MouseMode {
        kNoMode = 0,
        kTranslateX = 1,
        kTranslateY = 2,
        kTranslateZ = 3,
        kRotateX = 4,
        kRotateY = 5,
        kRotateZ = 6,
        kStretchX = 10,
        kStretchY = 11,
        kStretchZ = 12,
        kViewMove = 13,
        kViewZoom = 14,
        kViewRotate = 15,
        kPickVertex = 16,
        kMoveBackdropXY = 17,
        kMoveBackdropYZ = 18,
        kMoveBackdropXZ = 19,
        kPickNormal = 20,
    };
    // What a drag edits.
    enum EditKind {
        kEditView = 0,
        kEditTranslate = 1,
        kEditRotate = 2,
        kEditScale = 3,
        kEditStretch = 4,
        kEditPickVertex = 5,
        kEditPickNormal = 6,
    };
    // The three readouts: window, object and entity coordinates.
    struct Readouts {
        QLabel* window;
        QLabel* object;
        QLabel* entity;
    };

    // Everything given must outlive the handler. The backdrop drags move the backdrops of
    // `grid`, the settings the view draws from.
    ViewMouse(CDrawFrame& frame, ModelDocument& document, const SceneViewLink& link,
              ProjectionSettings& projection, GridSettings& grid, Readouts readouts);

    void OnLButtonDown(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    // A, Z, Q and W turn the camera.
    bool OnKeyDown(int key) override;

    // The scene point under (x, y) in the plane through the origin parallel to the screen.
    std::array<double, 3> unprojectMouse(int x, int y) const;
    void updateReadouts(int x, int y);
    void pickVertex(int x, int y);
    void pickNormal(int x, int y);

    // A mode command: the mode and edit kind, with the drag deltas cleared; the stretch modes
    // also start from factors of 1.
    void setMode(int mouseMode, int editKind);
    bool dragging() const { return dragging_; }
    void setDragging(bool on);

    // The drag step's deltas, as the last step left them.
    const float* dragTranslate() const { return dragTranslate_; }
    const float* dragRotate() const { return dragRotate_; }

private:
    void pick(int x, int y, bool normals);
    // The mode's change of the camera or of the drag deltas for a step of (dx, dy).
    void dragStep(float dx, float dy);
    void moveBackdrop(int mouseMode, float dx, float dy);
    // The step's edit of the selection, by the edit kind.
    void transformSelection();

    CDrawFrame& frame_;
    ModelDocument& document_;
    const SceneViewLink& link_;
    GridSettings& grid_;
    Readouts readouts_;
    ViewCamera camera_;

    float dragTranslate_[3] = {0, 0, 0};
    // Degrees.
    float dragRotate_[3] = {0, 0, 0};
    float dragStretch_[3] = {1, 1, 1};
    std::array<double, 3> dragStart_{};
    std::array<double, 3> dragEnd_{};
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
    bool dragging_ = false;
};

}  // namespace y4
