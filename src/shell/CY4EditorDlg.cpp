// CY4EditorDlg: the controls and their arrangement, the start-up, the reset for a model, the
// projection pair and the exit.
#include "shell/CY4EditorDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/CDisplayPropertiesDialog.h"
#include "dialogs/CGridPropertiesDialog.h"
#include "dialogs/CObjectTreeDialog.h"
#include "dialogs/CPlaceholderToolDialog.h"
#include "dialogs/CProjectionPropertiesDialog.h"
#include "dialogs/CTransformPropertiesDialog.h"
#include "platform/SettingsStore.h"
#include "platform/TraceLog.h"
#include "shell/CViewArea.h"
#include "shell/EditorIcon.h"
#include "shell/SettingsRegistry.h"

namespace y4 {

namespace {

const QString kTitle = QStringLiteral("Y4Editor v1.0F");

// The width of one button column; the centre and flip buttons take half of it each.
constexpr int kColumnWidth = 112;

QPushButton* makeButton(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(caption));
    return button;
}

// A text whose caption names it for screen readers, while its text changes with the editor's
// state.
QLabel* makeStateText(const char* caption, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(caption));
    label->setAccessibleName(QString::fromLatin1(caption));
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QColor backgroundOf(const DisplaySettings& display) {
    return QColor::fromRgbF(display.backgroundR, display.backgroundG, display.backgroundB);
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
    createToolDialogs();
    enableTransformButtons(false);
    save_->setEnabled(false);
    load_->setEnabled(true);
    grid_.gridSpacing = GridSettings::kDefaultSpacing;
    initControls();
    loadSettings();
    showProjectionMode();
    resize(sizeHint());
    objectTreeDialog_->show();
}

void CY4EditorDlg::createControls() {
    auto* layout = new QHBoxLayout(this);
    auto* view = new QWidget;
    view->setObjectName(QStringLiteral("view"));
    view->setAutoFillBackground(true);
    viewArea_ = new CViewArea(createReadouts(), view, createModeTexts(), this);
    layout->addWidget(viewArea_, 1);
    layout->addLayout(createButtonColumns());
}

QWidget* CY4EditorDlg::createReadouts() {
    auto* readouts = new QWidget;
    auto* grid = new QGridLayout(readouts);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    const auto addReadout = [&](const char* caption, int row, int column) {
        auto* label = new QLabel(QString::fromLatin1(caption), readouts);
        auto* value = new QLabel(QStringLiteral("n/a"), readouts);
        value->setObjectName(QString::fromLatin1(caption));
        value->setAccessibleDescription(QString::fromLatin1(caption));
        value->setMinimumWidth(column == 0 ? 100 : 150);
        grid->addWidget(label, row, column);
        grid->addWidget(value, row, column + 1);
        return value;
    };
    // The entity readout stands above the object readout, both at the right.
    entitySpace_ = addReadout("EntitySpace:", 0, 3);
    windowSpace_ = addReadout("WindowSpace:", 1, 0);
    objectSpace_ = addReadout("ObjectSpace:", 1, 3);
    grid->setColumnStretch(2, 1);
    return readouts;
}

QWidget* CY4EditorDlg::createModeTexts() {
    auto* texts = new QWidget;
    auto* row = new QHBoxLayout(texts);
    row->setContentsMargins(0, 0, 0, 0);
    editMode_ = makeStateText("EditMode", texts);
    pickMode_ = makeStateText("PickMode", texts);
    selectedObject_ = makeStateText("Selected Object", texts);
    editMode_->setFixedWidth(100);
    pickMode_->setFixedWidth(100);
    row->addWidget(editMode_);
    row->addWidget(pickMode_);
    row->addWidget(selectedObject_, 1);
    return texts;
}

QLayout* CY4EditorDlg::createButtonColumns() {
    // One grid of four half columns: column A is the first two, column B the last two; the
    // centre and flip buttons take a half column each, the wide buttons all four.
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    for (int column = 0; column < 4; ++column) {
        grid->setColumnMinimumWidth(column, kColumnWidth / 2);
        grid->setColumnStretch(column, 1);
    }
    int row = 0;
    const auto addPair = [&](QWidget* a, QWidget* b) {
        grid->addWidget(a, row, 0, 1, 2);
        if (b != nullptr) {
            grid->addWidget(b, row, 2, 1, 2);
        }
        ++row;
    };
    const auto addWide = [&](QWidget* widget) { grid->addWidget(widget, row++, 0, 1, 4); };
    const auto addGap = [&](int height) { grid->setRowMinimumHeight(row++, height); };

    const char* const axes[] = {"X", "Y", "Z"};
    const auto axisButtons = [&](const char* command, std::array<QPushButton*, 3>& buttons) {
        for (int i = 0; i < 3; ++i) {
            buttons[i] = makeButton((std::string(command) + axes[i]).c_str(), this);
        }
    };
    axisButtons("Translate", translate_);
    axisButtons("Rotate", rotate_);
    axisButtons("Scale", scale_);
    axisButtons("Stretch", stretch_);
    axisButtons("Cent", cent_);
    axisButtons("Flip", flip_);
    viewMove_ = makeButton("Move", this);
    viewZoom_ = makeButton("Zoom", this);
    viewRotate_ = makeButton("Rotate", this);

    for (int i = 0; i < 3; ++i) {
        addPair(translate_[i], rotate_[i]);
    }
    addGap(6);
    for (int i = 0; i < 3; ++i) {
        addPair(scale_[i], stretch_[i]);
    }
    addGap(14);
    QPushButton* const viewButtons[] = {viewMove_, viewZoom_, viewRotate_};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(viewButtons[i], row, 0, 1, 2);
        grid->addWidget(cent_[i], row, 2);
        grid->addWidget(flip_[i], row, 3);
        ++row;
    }
    addGap(14);

    objects_ = makeButton("Objects...", this);
    textures_ = makeButton("Textures...", this);
    displayButton_ = makeButton("Display...", this);
    transforms_ = makeButton("Transforms...", this);
    grids_ = makeButton("Grids...", this);
    projections_ = makeButton("Projections...", this);
    attributes_ = makeButton("Attributes...", this);
    for (QPushButton* button :
         {objects_, textures_, displayButton_, transforms_, grids_, projections_, attributes_}) {
        addWide(button);
    }
    addGap(14);

    perspective_ = new QCheckBox(QStringLiteral("Perspective"), this);
    orthogonal_ = new QCheckBox(QStringLiteral("Orthogonal"), this);
    vertices_ = new QCheckBox(QStringLiteral("Vertices"), this);
    normals_ = new QCheckBox(QStringLiteral("Normals"), this);
    solid_ = new QRadioButton(QStringLiteral("Solid"), this);
    wireframe_ = new QRadioButton(QStringLiteral("Wireframe"), this);
    textured_ = new QRadioButton(QStringLiteral("Textured"), this);
    addPair(perspective_, solid_);
    addPair(orthogonal_, wireframe_);
    addPair(vertices_, textured_);
    addPair(normals_, nullptr);
    // One of the two projections is always chosen: clicking the chosen one keeps it.
    projectionPair_ = new QButtonGroup(this);
    projectionPair_->addButton(perspective_);
    projectionPair_->addButton(orthogonal_);
    connect(perspective_, &QCheckBox::clicked, this, &CY4EditorDlg::OnCheckPerspective);
    connect(orthogonal_, &QCheckBox::clicked, this, &CY4EditorDlg::OnCheckOrthogonal);

    // The file commands stay at the bottom, whatever the window's height.
    grid->setRowStretch(row++, 1);
    load_ = makeButton("Load Y4 File", this);
    discard_ = makeButton("Discard Changes", this);
    commit_ = makeButton("Commit Changes", this);
    save_ = makeButton("Save Y4 File", this);
    exit_ = makeButton("Exit", this);
    for (QPushButton* button : {load_, discard_, commit_, save_}) {
        addWide(button);
    }
    addGap(12);
    addWide(exit_);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    // The columns, not the captions, decide the widths, so that the columns line up.
    for (int i = 0; i < grid->count(); ++i) {
        if (QWidget* widget = grid->itemAt(i)->widget(); qobject_cast<QPushButton*>(widget)) {
            widget->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        }
    }
    return grid;
}

void CY4EditorDlg::createToolDialogs() {
    // Every tool dialog is opened by its button and asks for a redraw when it closes.
    const auto wire = [this](CToolDialog& dialog, QPushButton& opener) {
        dialog.openWith(opener);
        connect(&dialog, &CToolDialog::redrawRequested, this, &CY4EditorDlg::RenderScene);
    };
    objectTreeDialog_ = std::make_unique<CObjectTreeDialog>(objectTree_, this);
    wire(*objectTreeDialog_, *objects_);
    connect(objectTreeDialog_.get(), &CObjectTreeDialog::selectedObjectChanged, this,
            [this](const QString& path) {
                selectedObject_->setText(path);
                selectedObject_->setEnabled(true);
            });
    objects_->setEnabled(false);
    texturesDialog_ = std::make_unique<CPlaceholderToolDialog>(
        QStringLiteral("Textures"), QStringLiteral("No model loaded."), this);
    wire(*texturesDialog_, *textures_);

    displayDialog_ = std::make_unique<CDisplayPropertiesDialog>(display_, store_, this);
    wire(*displayDialog_, *displayButton_);
    connect(displayDialog_.get(), &CDisplayPropertiesDialog::lightingChanged, this,
            [this] { viewArea_->view()->setPalette(QPalette(backgroundOf(display_))); });
    transformDialog_ = std::make_unique<CTransformPropertiesDialog>(transform_, store_, this);
    wire(*transformDialog_, *transforms_);
    gridDialog_ = std::make_unique<CGridPropertiesDialog>(grid_, store_, this);
    wire(*gridDialog_, *grids_);
    connect(gridDialog_.get(), &CGridPropertiesDialog::backdropImageChosen, this,
            [this](BackdropPlane plane, std::shared_ptr<RGBImage> image) {
                backdropImages_[static_cast<std::size_t>(plane)] = std::move(image);
            });
    projectionDialog_ = std::make_unique<CProjectionPropertiesDialog>(projection_, store_, this);
    wire(*projectionDialog_, *projections_);

    attributesDialog_ = std::make_unique<CPlaceholderToolDialog>(
        QStringLiteral("Attributes"), QStringLiteral("Nothing selected."), this);
    wire(*attributesDialog_, *attributes_);
}

void CY4EditorDlg::initControls() {
    for (QWidget* control : {static_cast<QWidget*>(save_), static_cast<QWidget*>(discard_),
                             static_cast<QWidget*>(commit_)}) {
        control->setEnabled(false);
    }
    solid_->setChecked(true);
    vertices_->setChecked(true);
    normals_->setChecked(false);

    QWidget* const modelControls[] = {
        solid_,    textured_,      wireframe_,  vertices_, normals_,     cent_[0],   cent_[1],
        cent_[2],  flip_[0],       flip_[1],    flip_[2],  viewMove_,    viewZoom_,  viewRotate_,
        textures_, displayButton_, transforms_, grids_,    projections_, attributes_};
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
    setWindowTitle(kTitle);
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
    // Settings are loaded for no model, so with the ordinary defaults.
    loadDisplaySettings(store_, display_, false);
    loadTransformSettings(store_, transform_);
    loadGridSettings(store_, grid_);
    loadProjectionSettings(store_, projection_, false);
    viewArea_->view()->setPalette(QPalette(backgroundOf(display_)));
}

void CY4EditorDlg::showProjectionMode() {
    const bool perspective = projection_.projectionMode == ProjectionSettings::kPerspective;
    (perspective ? perspective_ : orthogonal_)->setChecked(true);
}

const RGBImage* CY4EditorDlg::backdropImage(int plane) const {
    return plane >= 0 && plane < 3 ? backdropImages_[static_cast<std::size_t>(plane)].get()
                                   : nullptr;
}

void CY4EditorDlg::RenderScene() {
    viewArea_->view()->update();
}

void CY4EditorDlg::OnCheckPerspective() {
    projection_.projectionMode = ProjectionSettings::kPerspective;
    RenderScene();
}

void CY4EditorDlg::OnCheckOrthogonal() {
    projection_.projectionMode = ProjectionSettings::kOrthogonal;
    RenderScene();
}

void CY4EditorDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CY4EditorDlg::done(int result) {
    if (!ended_) {
        DestroyWindow();
    }
    QDialog::done(result);
}

void CY4EditorDlg::DestroyWindow() {
    ended_ = true;
    // Each dialog enables its opening button again as it goes.
    displayDialog_.reset();
    transformDialog_.reset();
    gridDialog_.reset();
    projectionDialog_.reset();
    attributesDialog_.reset();
    objectTreeDialog_.reset();
    texturesDialog_.reset();
    TraceLog::global().close();
}

}  // namespace y4
