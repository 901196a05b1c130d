// CY4EditorDlg: the start-up, the tool dialogs, the settings, the reset for a model, the
// controls that follow the document, the background mouse handlers and the exit.
#include "shell/CY4EditorDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/CAttributesDialog.h"
#include "dialogs/CDisplayPropertiesDialog.h"
#include "dialogs/CGridPropertiesDialog.h"
#include "dialogs/CObjectTreeDialog.h"
#include "dialogs/CProjectionPropertiesDialog.h"
#include "dialogs/CTexturesDialog.h"
#include "dialogs/CTransformPropertiesDialog.h"
#include "document/ModelDocument.h"
#include "platform/SettingsStore.h"
#include "platform/TraceLog.h"
#include "shell/CShortcutsDialog.h"
#include "shell/CStatusLine.h"
#include "shell/CViewArea.h"
#include "shell/EditorIcon.h"
#include "shell/FileProgressDialog.h"
#include "shell/RecentModels.h"
#include "shell/SettingsRegistry.h"
#include "shell/ShortcutTable.h"
#include "shell/ViewMouse.h"
#include "shell/ViewNavigator.h"
#include "view/CDrawFrame.h"
#include "view/SceneViewLink.h"

namespace y4 {

namespace {

const QString kTitle = QStringLiteral("Y4Editor v1.0F");

// How long the start waits for the view's GL context.
constexpr int kViewWaitMilliseconds = 5000;

// The background band around the view in which a press keeps a drag going.
constexpr int kBackgroundBand = 5;

Reader::Options readerOptions(CDrawFrame& frame) {
    Reader::Options options;
    options.textureDevice = &frame.textureDevice();
    return options;
}

}  // namespace

CY4EditorDlg::CY4EditorDlg(SettingsStore& store, const std::string& logPath, QWidget* parent)
    : QDialog(parent), store_(store), logPath_(logPath) {
    setWindowTitle(kTitle);
    OnInitDialog();
}

CY4EditorDlg::~CY4EditorDlg() {
    if (!ended_) {
        DestroyWindow();
    }
}

void CY4EditorDlg::OnInitDialog() {
    TraceLog::global().open(logPath_);
    setWindowIcon(editorIcon());
    createControls();
    createComforts();
    // The model's textures are made in the view's context; the view draws the model.
    document_ = std::make_unique<ModelDocument>(readerOptions(*frame_));
    link_ = std::make_unique<SceneViewLink>(*frame_, *document_, display_);
    mouse_ =
        std::make_unique<ViewMouse>(*frame_, *document_, *link_, projection_, grid_,
                                    ViewMouse::Readouts{windowSpace_, objectSpace_, entitySpace_});
    frame_->setMouseHandler(mouse_.get());
    navigator_ = std::make_unique<ViewNavigator>(*frame_, *document_, projection_);
    frame_->setNavigationHandler(navigator_.get());
    statusLine_ = new CStatusLine(*document_, *frame_, this);
    static_cast<QBoxLayout*>(layout())->addWidget(statusLine_);
    connect(statusLine_, &CStatusLine::shortcutsRequested, this, &CY4EditorDlg::showShortcuts);
    document_->addObserver(this);
    createToolDialogs();
    connectControls();
    createShortcuts();
    startAutosave();
    enableTransformButtons(false);
    save_->setEnabled(false);
    load_->setEnabled(true);
    grid_.gridSpacing = GridSettings::kDefaultSpacing;
    initControls();
    // The GL state and the backdrop textures follow once the view is first shown.
    loadSettings();
    resize(sizeHint());
    objectTreeDialog_->show();
}

void CY4EditorDlg::createToolDialogs() {
    // Every tool dialog is opened by its button and asks for a redraw when it closes.
    const auto wire = [this](CToolDialog& dialog, QPushButton& opener) {
        dialog.openWith(opener);
        connect(&dialog, &CToolDialog::redrawRequested, this, &CY4EditorDlg::RenderScene);
    };
    // The tree window shows the document's tree and asks the document for every edit; the
    // main window switches the view's modes for it. "Selected Object" follows the document's
    // selection in this window's own handler.
    objectTreeDialog_ = std::make_unique<CObjectTreeDialog>(*document_, this);
    wire(*objectTreeDialog_, *objects_);
    connect(objectTreeDialog_.get(), &CObjectTreeDialog::pickModeRequested, this,
            &CY4EditorDlg::enterPickMode);
    connect(objectTreeDialog_.get(), &CObjectTreeDialog::pasteDrawRequested, this,
            &CY4EditorDlg::drawPickFrame);
    connect(objectTreeDialog_.get(), &CObjectTreeDialog::addFaceRequested, this,
            &CY4EditorDlg::OnAddFace);
    connect(normals_, &QCheckBox::toggled, objectTreeDialog_.get(),
            &CObjectTreeDialog::setNormalsChecked);
    objects_->setEnabled(false);
    texturesDialog_ = std::make_unique<CTexturesDialog>(*document_, this);
    wire(*texturesDialog_, *textures_);

    displayDialog_ = std::make_unique<CDisplayPropertiesDialog>(display_, store_, this);
    wire(*displayDialog_, *displayButton_);
    connect(displayDialog_.get(), &CDisplayPropertiesDialog::lightingChanged, this, [this] {
        frame_->setLighting();
        RenderScene();
    });
    transformDialog_ =
        std::make_unique<CTransformPropertiesDialog>(frame_->view().transform, store_, this);
    wire(*transformDialog_, *transforms_);
    gridDialog_ = std::make_unique<CGridPropertiesDialog>(grid_, store_, this);
    wire(*gridDialog_, *grids_);
    connect(gridDialog_.get(), &CGridPropertiesDialog::backdropsChanged, this, [this] {
        frame_->loadBackdrops(grid_);
        RenderScene();
    });
    connect(gridDialog_.get(), &CGridPropertiesDialog::backdropImageChosen, this,
            [this](BackdropPlane plane, const std::shared_ptr<RGBImage>& image) {
                if (image) {
                    frame_->setBackdropImage(static_cast<Backdrops::Plane>(plane), *image);
                    RenderScene();
                }
            });
    connect(gridDialog_.get(), &CGridPropertiesDialog::backdropMoveRequested, this,
            &CY4EditorDlg::OnBackdropMove);
    projectionDialog_ = std::make_unique<CProjectionPropertiesDialog>(projection_, store_, this);
    wire(*projectionDialog_, *projections_);
    connect(projectionDialog_.get(), &CProjectionPropertiesDialog::projectionChanged, this, [this] {
        frame_->setProjection();
        RenderScene();
    });

    attributesDialog_ = std::make_unique<CAttributesDialog>(*document_, this);
    wire(*attributesDialog_, *attributes_);
}

void CY4EditorDlg::createShortcuts() {
    // A key pressed while its button is disabled because the button's tool dialog is open
    // brings that dialog to the front.
    ShortcutTable::Commands commands{
        {QStringLiteral("Undo"), [this] { undo(); }},
        {QStringLiteral("Redo"), [this] { redo(); }},
        {QStringLiteral("Frame Selection"), [this] { navigator_->frameSelection(); }},
        {QStringLiteral("Frame Model"), [this] { navigator_->frameModel(); }},
        {QStringLiteral("Keyboard shortcuts"), [this] { showShortcuts(); }},
    };
    const std::pair<QPushButton*, QDialog*> toolDialogs[] = {
        {objects_, objectTreeDialog_.get()},
        {textures_, texturesDialog_.get()},
        {displayButton_, displayDialog_.get()},
        {transforms_, transformDialog_.get()},
        {grids_, gridDialog_.get()},
        {projections_, projectionDialog_.get()},
        {attributes_, attributesDialog_.get()}};
    for (const auto& [opener, dialog] : toolDialogs) {
        commands[opener->text()] = [dialog] {
            if (dialog->isVisible()) {
                dialog->raise();
                dialog->activateWindow();
            }
        };
    }
    ShortcutTable::install(*this, commands);
}

void CY4EditorDlg::showShortcuts() {
    if (shortcutsDialog_ == nullptr) {
        shortcutsDialog_ = new CShortcutsDialog(this);
    }
    shortcutsDialog_->show();
    shortcutsDialog_->raise();
    shortcutsDialog_->activateWindow();
}

void CY4EditorDlg::undo() {
    if (document_ && document_->canUndo()) {
        mouse_->setDragging(false);
        document_->undo();
        RenderScene();
    }
}

void CY4EditorDlg::redo() {
    if (document_ && document_->canRedo()) {
        mouse_->setDragging(false);
        document_->redo();
        RenderScene();
    }
}

void CY4EditorDlg::initControls() {
    for (QWidget* control : {static_cast<QWidget*>(save_), static_cast<QWidget*>(discard_),
                             static_cast<QWidget*>(commit_)}) {
        control->setEnabled(false);
    }
    setDrawModeChecks();

    QWidget* const modelControls[] = {
        solid_,    textured_,      wireframe_,  vertices_, normals_,     cent_[0],    cent_[1],
        cent_[2],  flip_[0],       flip_[1],    flip_[2],  viewMove_,    viewZoom_,   viewRotate_,
        textures_, displayButton_, transforms_, grids_,    projections_, attributes_, preferences_};
    for (QWidget* control : modelControls) {
        control->setEnabled(false);
    }

    perspective_->setChecked(true);
    perspective_->setEnabled(false);
    orthogonal_->setEnabled(false);
    projection_.projectionMode = ProjectionSettings::kPerspective;

    for (QLabel* text : {editMode_, pickMode_, selectedObject_}) {
        text->clear();
        text->setEnabled(false);
    }
    const Reader* reader = document_->reader();
    // The camera is reset, and placed for the model.
    frame_->resetForModel(reader);
    if (reader == nullptr) {
        setWindowTitle(kTitle);
        return;
    }
    setWindowTitle(kTitle + " - " + QString::fromStdString(reader->fileName));
    for (QWidget* control : modelControls) {
        control->setEnabled(true);
    }
    save_->setEnabled(true);
    perspective_->setEnabled(true);
    orthogonal_->setEnabled(true);
}

void CY4EditorDlg::setDrawModeChecks() {
    solid_->setChecked(true);
    vertices_->setChecked(true);
    normals_->setChecked(false);
}

void CY4EditorDlg::enableTransformButtons(bool enable) {
    for (const auto* buttons : {&translate_, &rotate_, &scale_}) {
        for (QPushButton* button : *buttons) {
            button->setEnabled(enable);
        }
    }
    // Stretching cannot be chosen from the buttons.
    for (QPushButton* button : stretch_) {
        button->setEnabled(false);
    }
}

void CY4EditorDlg::loadSettings() {
    const Reader* reader = document_->reader();
    const bool terrain = reader != nullptr && reader->fileType == Reader::kY4T;
    loadDisplaySettings(store_, display_, terrain);
    loadTransformSettings(store_, frame_->view().transform);
    loadGridSettings(store_, grid_,
                     [this](const GridSettings& grid) { frame_->loadBackdrops(grid); });
    loadProjectionSettings(store_, projection_, terrain);
    frame_->setLighting();
    frame_->setProjection();
    showProjectionMode();
}

void CY4EditorDlg::showProjectionMode() {
    const bool perspective = projection_.projectionMode == ProjectionSettings::kPerspective;
    (perspective ? perspective_ : orthogonal_)->setChecked(true);
}

const TransformSettings& CY4EditorDlg::transformSettings() const {
    return frame_->view().transform;
}

SceneRenderer* CY4EditorDlg::sceneRenderer() const {
    return link_ ? link_->renderer() : nullptr;
}

bool CY4EditorDlg::waitForView() {
    if (!isVisible()) {
        show();
    }
    QElapsedTimer waited;
    waited.start();
    while (!frame_->hasContext() && waited.elapsed() < kViewWaitMilliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return frame_->hasContext();
}

void CY4EditorDlg::RenderScene() {
    if (frame_ != nullptr) {
        frame_->render();
    }
}

// The settings take the choice even before the view has its context, which then starts with it.
void CY4EditorDlg::OnCheckPerspective() {
    projection_.projectionMode = ProjectionSettings::kPerspective;
    frame_->setPerspective();
}

void CY4EditorDlg::OnCheckOrthogonal() {
    projection_.projectionMode = ProjectionSettings::kOrthogonal;
    frame_->setOrthogonal();
}

void CY4EditorDlg::enableCommitAndDiscard() {
    commit_->setEnabled(true);
    discard_->setEnabled(true);
}

// ---- the controls that follow the document ----

// Every change of what a save writes makes the snapshot commands usable.
void CY4EditorDlg::recordsChanged(const RecordChange& change) {
    if (change.aspects != RecordChange::kHighlight) {
        enableCommitAndDiscard();
    }
}

void CY4EditorDlg::recordsAdded(const RecordSet&) {
    enableCommitAndDiscard();
}

void CY4EditorDlg::bitmapsChanged() {
    enableCommitAndDiscard();
}

void CY4EditorDlg::modifiedChanged(bool modified) {
    if (modified) {
        enableCommitAndDiscard();
    }
}

void CY4EditorDlg::selectionChanged(const SelectionChange& change) {
    std::string path = "NULL";
    if (change.current != nullptr) {
        path.clear();
        change.current->appendPathName(path);
    }
    selectedObject_->setText(QString::fromStdString(path));
    selectedObject_->setEnabled(true);
    enableTransformButtons(change.current != nullptr);
}

// ---- the window's background ----

void CY4EditorDlg::mousePressEvent(QMouseEvent* event) {
    // A press outside the view has no place in the view to drag from.
    mouse_->setDragging(false);
    QDialog::mousePressEvent(event);
}

void CY4EditorDlg::mouseReleaseEvent(QMouseEvent* event) {
    mouse_->setDragging(false);
    QDialog::mouseReleaseEvent(event);
}

void CY4EditorDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint() * devicePixelRatio();
    const int w = frame_->view().viewportWidth();
    const int h = frame_->view().viewportHeight();
    const bool inBand = p.x() >= kBackgroundBand && p.x() <= w - kBackgroundBand &&
                        h - p.y() >= kBackgroundBand && h - p.y() <= h - kBackgroundBand;
    if (!inBand) {
        mouse_->setDragging(false);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

// ---- the end ----

void CY4EditorDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CY4EditorDlg::confirmExit() {
    const bool modified = document_->isModified();
    if (!saveChangesFirst()) {
        return false;
    }
    // The user chose to lose the edits: their recovery copy goes with them.
    if (modified && document_->isModified()) {
        document_->removeRecoveryCopy();
    }
    return true;
}

void CY4EditorDlg::done(int result) {
    // A load or save in progress ends first.
    if (FileProgressDialog::running()) {
        return;
    }
    if (!ended_) {
        if (!confirmExit()) {
            return;
        }
        DestroyWindow();
    }
    QDialog::done(result);
}

void CY4EditorDlg::DestroyWindow() {
    ended_ = true;
    // The renderer and the mouse handlers go before the model they read.
    frame_->setMouseHandler(nullptr);
    frame_->setNavigationHandler(nullptr);
    mouse_.reset();
    navigator_.reset();
    delete statusLine_;
    statusLine_ = nullptr;
    link_.reset();
    document_->removeObserver(this);
    // Each dialog enables its opening button again as it goes. The tree window shows the
    // document's tree, so it goes before the document.
    displayDialog_.reset();
    transformDialog_.reset();
    gridDialog_.reset();
    projectionDialog_.reset();
    attributesDialog_.reset();
    objectTreeDialog_.reset();
    texturesDialog_.reset();
    // The model's textures are deleted in the view's context.
    document_.reset();
    frame_->withContext([this] { frame_->view().backdrops().releaseTextures(); });
    TraceLog::global().close();
}

}  // namespace y4
