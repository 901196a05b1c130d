// CY4EditorDlg ("Y4Editor v1.0F"): the editor's main window. It hosts the 3D view with its
// coordinate readouts and mode texts, the command buttons and draw-mode controls, and owns the
// settings groups and the tool dialogs, which it creates hidden at start-up and destroys at exit.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "files/RGBImage.h"
#include "model/SceneTree.h"
#include "shell/DisplaySettings.h"
#include "shell/GridSettings.h"
#include "shell/ProjectionSettings.h"
#include "shell/TransformSettings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace y4 {

class CDisplayPropertiesDialog;
class CGridPropertiesDialog;
class CObjectTreeDialog;
class CProjectionPropertiesDialog;
class CToolDialog;
class CTransformPropertiesDialog;
class CViewArea;
class SettingsStore;

class CY4EditorDlg : public QDialog {
    Q_OBJECT

public:
    // Runs the start-up: opens the trace log at `logPath` ("Y4Editor.log" in the current folder
    // for the editor), creates the tool dialogs hidden, resets the controls for no model and
    // loads the four settings groups from `store`, which must outlive the window.
    CY4EditorDlg(SettingsStore& store, const std::string& logPath, QWidget* parent = nullptr);
    // Runs the exit steps unless the window has already ended.
    ~CY4EditorDlg() override;

    // Resets the controls and the title for the current model (so far: for no model).
    void initControls();
    // Enables or disables the object transform buttons; the stretch buttons stay disabled.
    void enableTransformButtons(bool enable);

    const DisplaySettings& displaySettings() const { return display_; }
    const TransformSettings& transformSettings() const { return transform_; }
    const GridSettings& gridSettings() const { return grid_; }
    const ProjectionSettings& projectionSettings() const { return projection_; }
    // The picture shown on a backdrop plane (XY, YZ, XZ), or null.
    const RGBImage* backdropImage(int plane) const;

    // Where the 3D view sits; the view replaces the placeholder there.
    CViewArea& viewArea() const { return *viewArea_; }

public slots:
    // Draws a new frame of the view.
    void RenderScene();
    void OnCheckPerspective();
    void OnCheckOrthogonal();

protected:
    // Exit, Escape, Enter, the window's close button: every way of ending the window runs the
    // exit steps first.
    void done(int result) override;
    // Enter ends the window as the dialog's OK command, unless a push button has the focus (the
    // button then takes it).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnInitDialog();
    void DestroyWindow();
    void createControls();
    QWidget* createReadouts();
    QWidget* createModeTexts();
    QLayout* createButtonColumns();
    void createToolDialogs();
    void loadSettings();
    // The Perspective and Orthogonal pair shows the projection mode of the settings.
    void showProjectionMode();

    SettingsStore& store_;
    std::string logPath_;
    bool ended_ = false;

    DisplaySettings display_;
    // The factors of the transform commands, read by the view's mouse handlers.
    TransformSettings transform_;
    GridSettings grid_;
    ProjectionSettings projection_;
    std::array<std::shared_ptr<RGBImage>, 3> backdropImages_;
    // The object tree that the tree window shows; it outlives the dialogs.
    SceneTree objectTree_;

    // The tool dialogs, in the order in which the exit destroys them.
    std::unique_ptr<CDisplayPropertiesDialog> displayDialog_;
    std::unique_ptr<CTransformPropertiesDialog> transformDialog_;
    std::unique_ptr<CGridPropertiesDialog> gridDialog_;
    std::unique_ptr<CProjectionPropertiesDialog> projectionDialog_;
    std::unique_ptr<CToolDialog> attributesDialog_;
    std::unique_ptr<CObjectTreeDialog> objectTreeDialog_;
    std::unique_ptr<CToolDialog> texturesDialog_;

    CViewArea* viewArea_ = nullptr;

    // The controls, by caption.
    QPushButton* load_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* commit_ = nullptr;
    QPushButton* discard_ = nullptr;
    QPushButton* exit_ = nullptr;
    QRadioButton* textured_ = nullptr;
    QRadioButton* solid_ = nullptr;
    QRadioButton* wireframe_ = nullptr;
    QCheckBox* vertices_ = nullptr;
    QCheckBox* normals_ = nullptr;
    QCheckBox* perspective_ = nullptr;
    QCheckBox* orthogonal_ = nullptr;
    QButtonGroup* projectionPair_ = nullptr;
    // X, Y, Z each.
    std::array<QPushButton*, 3> translate_{};
    std::array<QPushButton*, 3> rotate_{};
    std::array<QPushButton*, 3> scale_{};
    std::array<QPushButton*, 3> stretch_{};
    std::array<QPushButton*, 3> cent_{};
    std::array<QPushButton*, 3> flip_{};
    QPushButton* viewMove_ = nullptr;
    QPushButton* viewZoom_ = nullptr;
    QPushButton* viewRotate_ = nullptr;
    QPushButton* objects_ = nullptr;
    QPushButton* textures_ = nullptr;
    QPushButton* displayButton_ = nullptr;
    QPushButton* transforms_ = nullptr;
    QPushButton* grids_ = nullptr;
    QPushButton* projections_ = nullptr;
    QPushButton* attributes_ = nullptr;
    QLabel* windowSpace_ = nullptr;
    QLabel* objectSpace_ = nullptr;
    QLabel* entitySpace_ = nullptr;
    QLabel* editMode_ = nullptr;
    QLabel* pickMode_ = nullptr;
    QLabel* selectedObject_ = nullptr;
};

}  // namespace y4
