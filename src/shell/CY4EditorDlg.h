// CY4EditorDlg ("Y4Editor v1.0F"): the editor's main window. It hosts the 3D view with its
// coordinate readouts and mode texts, the command buttons and draw-mode controls, and owns the
// model (a ModelDocument), the view's renderer link and mouse handlers, the settings groups and
// the tool dialogs, which it creates hidden at start-up and destroys at exit. Its controls
// follow the document: they call it, and refresh when it announces a change.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "document/DocumentObserver.h"
#include "shell/AutosaveSettings.h"
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
class QTimer;

namespace y4 {

class CDisplayPropertiesDialog;
class CDrawFrame;
class CGridPropertiesDialog;
class CAttributesDialog;
class CObjectTreeDialog;
class CProjectionPropertiesDialog;
class CShortcutsDialog;
class CStatusLine;
class CTexturesDialog;
class CToolDialog;
class CTransformPropertiesDialog;
class CViewArea;
class ModelDocument;
class RecentModels;
class RecentModelsButton;
class SceneRenderer;
class SceneViewLink;
class SettingsStore;
class ViewMouse;
class ViewNavigator;

class CY4EditorDlg : public QDialog, private DocumentObserver {
    Q_OBJECT

public:
    // Runs the start-up: opens the trace log at `logPath` ("Y4Editor.log" in the current folder
    // for the editor), creates the view, the document and the tool dialogs hidden, resets the
    // controls for no model and loads the four settings groups from `store`, which must outlive
    // the window.
    CY4EditorDlg(SettingsStore& store, const std::string& logPath, QWidget* parent = nullptr);
    // Runs the exit steps unless the window has already ended (without asking anything).
    ~CY4EditorDlg() override;

    // Resets the controls, the view and the title for the current model, or for none.
    void initControls();
    // Enables or disables the object transform buttons; the stretch buttons stay disabled.
    void enableTransformButtons(bool enable);

    // "Load Y4 File" with `path` in place of the open dialog's answer: the model named on the
    // command line. False when it was not opened.
    bool openModel(const std::string& path);
    // Where the first open dialog starts while no model was ever loaded (the bundled samples).
    void setSamplesFolder(std::string folder) { samplesFolder_ = std::move(folder); }
    // Shows the window if needed and waits until the view has its GL context, which a model's
    // textures need. False when it never came.
    bool waitForView();

    ModelDocument& document() const { return *document_; }
    CDrawFrame& drawFrame() const { return *frame_; }
    ViewMouse& viewMouse() const { return *mouse_; }
    // The wheel, the middle and right buttons and the framing keys.
    ViewNavigator& viewNavigator() const { return *navigator_; }
    CStatusLine& statusLine() const { return *statusLine_; }
    // The open model's renderer; null until a frame was drawn with it.
    SceneRenderer* sceneRenderer() const;
    CObjectTreeDialog& objectTreeDialog() const { return *objectTreeDialog_; }
    CAttributesDialog& attributesDialog() const { return *attributesDialog_; }
    CTexturesDialog& texturesDialog() const { return *texturesDialog_; }

    const DisplaySettings& displaySettings() const { return display_; }
    const TransformSettings& transformSettings() const;
    const GridSettings& gridSettings() const { return grid_; }
    const ProjectionSettings& projectionSettings() const { return projection_; }

    // Where the 3D view sits, with its readouts and mode texts.
    CViewArea& viewArea() const { return *viewArea_; }

    // For a program about to end on an error: the open model written beside it under a new
    // name (see ModelDocument::writeCrashCopy). Never throws.
    std::string writeCrashCopy() noexcept;

public slots:
    // Draws a new frame of the view at once.
    void RenderScene();
    void OnCheckPerspective();
    void OnCheckOrthogonal();

    // The model workflow. A save returns whether the model was written.
    void OnButtonLoad();
    bool OnButtonSave();
    void OnButtonCommitChanges();
    void OnButtonDiscardChanges();

    // The draw-mode controls.
    void OnRadioSolid();
    void OnRadioTextured();
    void OnRadioWireframe();
    void OnCheckVertices();
    void OnCheckNormals();

    // The object and view commands; `axis` 0, 1, 2 for X, Y, Z.
    void OnButtonTranslate(int axis);
    void OnButtonRotate(int axis);
    void OnButtonScale(int axis);
    void OnButtonStretch(int axis);
    void OnButtonViewMove();
    void OnButtonViewZoom();
    void OnButtonViewRotate();
    void OnButtonCent(int axis);
    void OnButtonFlip(int axis);
    // The main window's part of the object tree's "Pick Vertex" and "Pick Normal": the texts
    // and the view's pick mode, drawn at once so that the markers' window positions are known.
    void OnButtonPickVertex();
    void OnButtonPickNormal();
    // A pick mode asked for by the object tree window: its text, the view's mouse mode and edit
    // kind, and a frame drawn at once.
    void enterPickMode(int mouseMode, int editKind, const QString& pickModeText);
    // One frame drawn at once in the vertex pick mode, the mode restored after it: a paste's
    // vertices get the window positions that picking searches.
    void drawPickFrame();
    // The tree window's "Add Face": the New Face dialog, modal, for the selected sub-entity.
    void OnAddFace();
    // The view drags a backdrop in its plane: mouse mode 17, 18 or 19.
    void OnBackdropMove(int mouseMode);

    void undo();
    void redo();
    // The "Keyboard shortcuts" list, in front.
    void showShortcuts();

    // "Preferences...": the autosave switch and interval, stored and applied on "OK".
    void OnButtonPreferences();

protected:
    // Exit, Escape, Enter, the window's close button: every way of ending the window asks to
    // save a modified model first, and stays open when that save did not happen.
    void done(int result) override;
    // Enter ends the window as the dialog's OK command, unless a push button has the focus (the
    // button then takes it).
    void keyPressEvent(QKeyEvent* event) override;
    // Mouse events on the window's own background, outside the view and the controls.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Start-up and exit.
    void OnInitDialog();
    void DestroyWindow();
    bool confirmExit();
    void createControls();
    QWidget* createReadouts();
    QWidget* createModeTexts();
    QLayout* createButtonColumns();
    void connectControls();
    void createToolDialogs();
    void createShortcuts();
    // The four settings groups, with the terrain defaults for a terrain model, and their effect
    // on the view.
    void loadSettings();
    // The Perspective and Orthogonal pair shows the projection mode of the settings.
    void showProjectionMode();
    void setDrawModeChecks();

    // The workflow.
    // The load with the open dialog, or with `givenPath` in its place; true when a model was
    // opened.
    bool runLoad(const std::string* givenPath);
    bool finishLoad(const std::string& path);
    std::string initialOpenPath() const;
    // The recent models and drops of model files on the window.
    void createComforts();
    // A recent model: opened as with "Load Y4 File", or, when it is gone, offered for removal.
    void openRecent(const std::string& path);
    void rememberRecent(const std::string& path);
    // Asks "Save changes?" for a modified model and saves on Yes; false when the answer was Yes
    // and the model was not saved, so that nothing may replace or drop it.
    bool saveChangesFirst();
    void enableCommitAndDiscard();
    bool commitWithProgress();

    // Autosave: the settings applied, the timer that ticks the document, the button wired.
    void startAutosave();
    void applyAutosaveSettings(const AutosaveSettings& settings);

    // The mode texts of the commands.
    void showEditMode(const QString& name);
    void showPickMode(const QString& name);

    // DocumentObserver: the controls that follow the model.
    void recordsChanged(const RecordChange& change) override;
    void recordsAdded(const RecordSet& set) override;
    void bitmapsChanged() override;
    void selectionChanged(const SelectionChange& change) override;
    void modifiedChanged(bool modified) override;

    SettingsStore& store_;
    std::string logPath_;
    std::string samplesFolder_;
    bool ended_ = false;

    DisplaySettings display_;
    GridSettings grid_;
    ProjectionSettings projection_;

    // The view, the model and the link between them; the renderer and the mouse handlers go
    // before the model, the model before the view.
    CDrawFrame* frame_ = nullptr;
    std::unique_ptr<ModelDocument> document_;
    std::unique_ptr<SceneViewLink> link_;
    std::unique_ptr<ViewMouse> mouse_;
    std::unique_ptr<ViewNavigator> navigator_;
    CStatusLine* statusLine_ = nullptr;
    CShortcutsDialog* shortcutsDialog_ = nullptr;

    // The tool dialogs, in the order in which the exit destroys them.
    std::unique_ptr<CDisplayPropertiesDialog> displayDialog_;
    std::unique_ptr<CTransformPropertiesDialog> transformDialog_;
    std::unique_ptr<CGridPropertiesDialog> gridDialog_;
    std::unique_ptr<CProjectionPropertiesDialog> projectionDialog_;
    std::unique_ptr<CAttributesDialog> attributesDialog_;
    std::unique_ptr<CObjectTreeDialog> objectTreeDialog_;
    std::unique_ptr<CTexturesDialog> texturesDialog_;

    CViewArea* viewArea_ = nullptr;

    // The controls, by caption.
    QPushButton* load_ = nullptr;
    RecentModelsButton* recent_ = nullptr;
    std::unique_ptr<RecentModels> recentModels_;
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
    QPushButton* preferences_ = nullptr;
    QTimer* autosaveTimer_ = nullptr;
    QLabel* windowSpace_ = nullptr;
    QLabel* objectSpace_ = nullptr;
    QLabel* entitySpace_ = nullptr;
    QLabel* editMode_ = nullptr;
    QLabel* pickMode_ = nullptr;
    QLabel* selectedObject_ = nullptr;
};

}  // namespace y4
