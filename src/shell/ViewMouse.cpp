// ViewMouse: drags, zoom, picking, the readouts and the camera keys.
#include "shell/ViewMouse.h"

#include <QLabel>
#include <algorithm>
#include <cstdio>

#include "dialogs/CChooseVertexDialog.h"
#include "document/ModelDocument.h"
#include "model/PickCandidates.h"
#include "shell/GridSettings.h"
#include "view/CDrawFrame.h"
#include "view/SceneRenderer.h"
#include "view/SceneViewLink.h"

namespace y4 {

namespace {

// Degrees per camera key press, times the rotation factor.
constexpr float kKeyTurn = 4.0f;

QString coordinates(double x, double y) {
    char text[96];
    std::snprintf(text, sizeof text, "%5.2f, %5.2f", x, y);
    return QString::fromLatin1(text);
}

QString coordinates(double x, double y, double z) {
    char text[160];
    std::snprintf(text, sizeof text, "%5.2f, %5.2f, %5.2f", x, y, z);
    return QString::fromLatin1(text);
}

}  // namespace

ViewMouse::ViewMouse(CDrawFrame& frame, ModelDocument& document, const SceneViewLink& link,
                     ProjectionSettings& projection, GridSettings& grid, Readouts readouts)
    : frame_(frame),
      document_(document),
      link_(link),
      grid_(grid),
      readouts_(readouts),
      camera_(frame.view(), projection) {}

std::array<double, 3> ViewMouse::unprojectMouse(int x, int y) const {
    return frame_.view().unprojectMouse(x, y);
}

void ViewMouse::updateReadouts(int x, int y) {
    const ViewRenderer& view = frame_.view();
    const int wx = x;
    const int wy = view.viewportHeight() - y;
    if (wx < 0 || wx > view.viewportWidth() || wy < 0 || wy > view.viewportHeight()) {
        return;
    }
    const std::array<double, 3> p = unprojectMouse(x, y);
    // The readouts speak file coordinates, the negated scene coordinates.
    readouts_.object->setText(coordinates(-p[0], -p[1], -p[2]));
    readouts_.window->setText(coordinates(wx, wy));
    if (const SceneObject* record = document_.selectedRecord()) {
        const Position a = record->absolutePosition();
        readouts_.entity->setText(coordinates(a[0] - p[0], a[1] - p[1], a[2] - p[2]));
    } else {
        readouts_.entity->setText(QStringLiteral("n/a"));
    }
}

void ViewMouse::setMode(int mouseMode, int editKind) {
    ViewRenderer& view = frame_.view();
    view.mouseMode = mouseMode;
    view.editKind = editKind;
    std::fill(std::begin(dragTranslate_), std::end(dragTranslate_), 0.0f);
    std::fill(std::begin(dragRotate_), std::end(dragRotate_), 0.0f);
    if (editKind == kEditStretch) {
        std::fill(std::begin(dragStretch_), std::end(dragStretch_), 1.0f);
    }
}

void ViewMouse::setDragging(bool on) {
    dragging_ = on;
    if (!on) {
        document_.endDrag();
    }
}

void ViewMouse::OnLButtonDown(int x, int y) {
    if (!document_.hasModel()) {
        return;
    }
    lastMouseX_ = x;
    lastMouseY_ = y;
    dragging_ = true;
    dragStart_ = unprojectMouse(x, y);
    const ViewRenderer& view = frame_.view();
    if (view.mouseMode == kPickVertex) {
        pickVertex(x, y);
        document_.setEditNormals(false);
        return;
    }
    if (view.mouseMode == kPickNormal) {
        pickNormal(x, y);
        document_.setEditNormals(true);
        return;
    }
    // The whole drag, this first step of no length included, is one undo step.
    if (view.editKind >= kEditTranslate && view.editKind <= kEditStretch) {
        document_.beginDrag();
    }
    OnMouseMove(x, y);
}

void ViewMouse::OnLButtonUp(int x, int y) {
    lastMouseX_ = x;
    lastMouseY_ = y;
    setDragging(false);
}

void ViewMouse::OnMouseMove(int x, int y) {
    if (document_.hasModel()) {
        updateReadouts(x, y);
    }
    const float dx = static_cast<float>(x - lastMouseX_) * ViewCamera::kPixelStep;
    const float dy = static_cast<float>(y - lastMouseY_) * ViewCamera::kPixelStep;
    if (!dragging_) {
        return;
    }
    dragStart_ = unprojectMouse(lastMouseX_, lastMouseY_);
    dragEnd_ = unprojectMouse(x, y);
    dragStep(dx, dy);
    if (document_.hasModel()) {
        transformSelection();
    }
    lastMouseX_ = x;
    lastMouseY_ = y;
    frame_.render();
}

void ViewMouse::dragStep(float dx, float dy) {
    ViewRenderer& view = frame_.view();
    const TransformSettings& t = view.transform;
    const auto moved = [&](int axis, float scale) {
        const auto k = static_cast<std::size_t>(axis);
        return static_cast<float>((dragEnd_[k] - dragStart_[k]) * scale);
    };
    switch (view.mouseMode) {
        case kTranslateX:
            dragTranslate_[0] = moved(0, t.translateXScale);
            break;
        case kTranslateY:
            dragTranslate_[1] = moved(1, t.translateYScale);
            break;
        case kTranslateZ:
            dragTranslate_[2] = moved(2, t.translateZScale);
            break;
        case kRotateX:
            dragRotate_[1] = -dx * t.rotateXScale;
            break;
        case kRotateY:
            dragRotate_[0] = dy * t.rotateXScale;
            break;
        case kRotateZ:
            dragRotate_[2] = dy * t.rotateXScale;
            break;
        case kViewMove:
            camera_.move(dx, dy);
            break;
        case kViewZoom:
            if (camera_.zoom(dy)) {
                frame_.setProjection();
            }
            break;
        case kViewRotate:
            camera_.rotate(dx, dy);
            break;
        case kMoveBackdropXY:
        case kMoveBackdropYZ:
        case kMoveBackdropXZ:
            moveBackdrop(view.mouseMode, dx, dy);
            break;
        default:
            // The stretch modes keep the factors their command set; the pick modes pick on the
            // press only.
            break;
    }
}

// The offsets are file coordinates. Every backdrop moves by the X translation factor, whichever
// axes its plane spans.
void ViewMouse::moveBackdrop(int mouseMode, float dx, float dy) {
    const float scale = frame_.view().transform.translateXScale;
    GridSettings& g = grid_;
    switch (mouseMode) {
        case kMoveBackdropXY:
            g.gridXY_OffsetX -= dx * scale;
            g.gridXY_OffsetY -= dy * scale;
            break;
        case kMoveBackdropYZ:
            g.gridYZ_OffsetZ += dx * scale;
            g.gridYZ_OffsetY -= dy * scale;
            break;
        case kMoveBackdropXZ:
            g.gridXZ_OffsetZ += dx * scale;
            g.gridXZ_OffsetX += dy * scale;
            break;
        default:
            break;
    }
}

void ViewMouse::transformSelection() {
    const int kind = frame_.view().editKind;
    if (kind < kEditTranslate || kind > kEditStretch) {
        return;
    }
    // A drag that something ended on the way (an undo) goes on as a new undo step.
    if (!document_.dragging()) {
        document_.beginDrag();
    }
    const float* deltas = kind == kEditTranslate ? dragTranslate_
                          : kind == kEditRotate  ? dragRotate_
                                                 : dragStretch_;
    document_.transformSelection(deltas[0], deltas[1], deltas[2], kind);
}

void ViewMouse::pickVertex(int x, int y) {
    pick(x, y, false);
}

void ViewMouse::pickNormal(int x, int y) {
    pick(x, y, true);
}

void ViewMouse::pick(int x, int y, bool normals) {
    const SceneRenderer* renderer = link_.renderer();
    const Reader* reader = document_.reader();
    if (renderer == nullptr || reader == nullptr) {
        return;
    }
    const double wx = x;
    const double wy = frame_.view().viewportHeight() - y;
    const WindowPositions& drawn = renderer->windowPositions();
    const std::vector<Vertex*> candidates = PickCandidates::find(
        reader->vertices, wx, wy,
        [&](const Vertex& v) { return normals ? drawn.findNormalTip(&v) : drawn.findVertex(&v); });
    if (candidates.size() == 1) {
        document_.choosePickedVertex(candidates.front());
    } else if (candidates.size() > 1) {
        CChooseVertexDialog chooser(
            &frame_, normals ? QStringLiteral("Choose Normal") : QStringLiteral("Choose Vertex"),
            candidates, document_);
        QObject::connect(&chooser, &CChooseVertexDialog::redrawRequested, &frame_,
                         &CDrawFrame::render);
        if (chooser.exec() != QDialog::Accepted) {
            document_.clearHighlight();
            document_.select(kNoItem);
        }
    }
    frame_.render();
}

bool ViewMouse::OnKeyDown(int key) {
    ViewRenderer& view = frame_.view();
    const float turn = kKeyTurn * view.transform.rotateXScale;
    switch (key) {
        case Qt::Key_A:
            view.cameraRotation[0] += turn;
            view.cameraRotation[1] = 0;
            break;
        case Qt::Key_Z:
            view.cameraRotation[0] -= turn;
            view.cameraRotation[1] = 0;
            break;
        case Qt::Key_Q:
            view.cameraRotation[1] -= turn;
            view.cameraRotation[0] = 0;
            break;
        case Qt::Key_W:
            view.cameraRotation[1] += turn;
            view.cameraRotation[0] = 0;
            break;
        default:
            return false;
    }
    frame_.render();
    frame_.setFocus();
    return true;
}

}  // namespace y4
