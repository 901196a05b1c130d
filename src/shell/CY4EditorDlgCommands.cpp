// CY4EditorDlg: the draw-mode controls, the object and view commands of the button columns
// (most choose what a drag in the view does; the scale, centre and flip commands act at once),
// the main window's part of the object tree window's pick commands, its paste frame and its
// "Add Face".
#include <QCheckBox>
#include <QLabel>

#include "dialogs/CNewFaceDialog.h"
#include "dialogs/CObjectTreeDialog.h"
#include "document/ModelDocument.h"
#include "model/SubEntity.h"
#include "shell/CY4EditorDlg.h"
#include "shell/ViewMouse.h"
#include "view/CDrawFrame.h"
#include "view/SceneRenderer.h"

namespace y4 {

namespace {

const char* const kAxes[] = {"X", "Y", "Z"};

QString axisName(const char* command, int axis) {
    return QString::fromLatin1(command) + kAxes[axis];
}

}  // namespace

// ---- draw modes ----

void CY4EditorDlg::OnRadioSolid() {
    if (document_->hasModel()) {
        document_->setTexturing(false);
        document_->setDrawMode(SceneRenderer::kTriangles);
        RenderScene();
    }
}

void CY4EditorDlg::OnRadioTextured() {
    if (document_->hasModel()) {
        document_->setTexturing(true);
        document_->setDrawMode(SceneRenderer::kTriangles);
        RenderScene();
    }
}

void CY4EditorDlg::OnRadioWireframe() {
    if (document_->hasModel()) {
        document_->setTexturing(false);
        document_->setDrawMode(SceneRenderer::kLines);
        RenderScene();
    }
}

void CY4EditorDlg::OnCheckVertices() {
    if (document_->hasModel()) {
        document_->setShowVertices(vertices_->isChecked());
        RenderScene();
    }
}

void CY4EditorDlg::OnCheckNormals() {
    if (document_->hasModel()) {
        document_->setShowNormals(normals_->isChecked());
        RenderScene();
    }
}

// ---- the mode texts ----

void CY4EditorDlg::showEditMode(const QString& name) {
    editMode_->setText(name);
    editMode_->setEnabled(true);
    pickMode_->clear();
    pickMode_->setEnabled(false);
}

void CY4EditorDlg::showPickMode(const QString& name) {
    editMode_->clear();
    editMode_->setEnabled(false);
    pickMode_->setText(name);
    pickMode_->setEnabled(true);
}

// ---- object commands ----

void CY4EditorDlg::OnButtonTranslate(int axis) {
    showEditMode(axisName("Translate", axis));
    mouse_->setMode(ViewMouse::kTranslateX + axis, ViewMouse::kEditTranslate);
}

void CY4EditorDlg::OnButtonRotate(int axis) {
    showEditMode(axisName("Rotate", axis));
    mouse_->setMode(ViewMouse::kRotateX + axis, ViewMouse::kEditRotate);
}

void CY4EditorDlg::OnButtonStretch(int axis) {
    showEditMode(axisName("Stretch", axis));
    mouse_->setMode(ViewMouse::kStretchX + axis, ViewMouse::kEditStretch);
}

void CY4EditorDlg::OnButtonScale(int axis) {
    showEditMode(axisName("Scale", axis));
    const TransformSettings& t = frame_->view().transform;
    float factors[3] = {1.0f, 1.0f, 1.0f};
    factors[axis] = axis == 0 ? t.scaleXScale : axis == 1 ? t.scaleYScale : t.scaleZScale;
    document_->scaleSelection(factors[0], factors[1], factors[2]);
    enableCommitAndDiscard();
    RenderScene();
}

// ---- view commands ----

void CY4EditorDlg::OnButtonViewMove() {
    showEditMode(QStringLiteral("ViewMove"));
    mouse_->setMode(ViewMouse::kViewMove, ViewMouse::kEditView);
}

void CY4EditorDlg::OnButtonViewZoom() {
    showEditMode(QStringLiteral("ViewZoom"));
    mouse_->setMode(ViewMouse::kViewZoom, ViewMouse::kEditView);
}

void CY4EditorDlg::OnButtonViewRotate() {
    showEditMode(QStringLiteral("ViewRotate"));
    mouse_->setMode(ViewMouse::kViewRotate, ViewMouse::kEditView);
}

void CY4EditorDlg::OnButtonCent(int axis) {
    // Looking along X, Y or Z at the model's centre line; the distance stays.
    static constexpr float kTurns[3][2] = {{180, 90}, {270, 90}, {180, 0}};
    ViewRenderer& view = frame_->view();
    view.cameraRotation[0] = kTurns[axis][0];
    view.cameraRotation[1] = kTurns[axis][1];
    view.cameraRotation[2] = 0;
    view.cameraTranslation[0] = 0;
    view.cameraTranslation[1] = 0;
    RenderScene();
}

void CY4EditorDlg::OnButtonFlip(int axis) {
    // Flipping about X and about Z give the same turn.
    frame_->view().cameraRotation[axis == 1 ? 0 : 1] += 180;
    RenderScene();
}

// ---- picking and the backdrops ----

void CY4EditorDlg::OnButtonPickVertex() {
    enterPickMode(ViewMouse::kPickVertex, ViewMouse::kEditPickVertex, QStringLiteral("Vertex"));
}

void CY4EditorDlg::OnButtonPickNormal() {
    enterPickMode(ViewMouse::kPickNormal, ViewMouse::kEditPickNormal, QStringLiteral("Normal"));
}

void CY4EditorDlg::enterPickMode(int mouseMode, int editKind, const QString& pickModeText) {
    showPickMode(pickModeText);
    mouse_->setMode(mouseMode, editKind);
    RenderScene();
}

void CY4EditorDlg::drawPickFrame() {
    ViewRenderer& view = frame_->view();
    const int mode = view.mouseMode;
    view.mouseMode = ViewMouse::kPickVertex;
    RenderScene();
    view.mouseMode = mode;
}

void CY4EditorDlg::OnAddFace() {
    SceneObject* record = document_->selectedRecord();
    if (!document_->canAddFace(record)) {
        return;
    }
    // The dialog belongs to the tree window that asked for it; the document computes the world
    // positions again with the face.
    CNewFaceDialog dialog(*document_, static_cast<SubEntity&>(*record), objectTreeDialog_.get());
    dialog.exec();
    RenderScene();
}

void CY4EditorDlg::OnBackdropMove(int mouseMode) {
    // The backdrop modes have no name: the mode texts no longer claim the previous command.
    showEditMode(QString());
    mouse_->setMode(mouseMode, ViewMouse::kEditView);
}

}  // namespace y4
