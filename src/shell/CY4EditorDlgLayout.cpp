// CY4EditorDlg: the controls, their arrangement and their connections to the handlers.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/CViewArea.h"
#include "shell/CY4EditorDlg.h"
#include "shell/RecentModelsButton.h"
#include "view/CDrawFrame.h"

namespace y4 {

namespace {

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

}  // namespace

void CY4EditorDlg::createControls() {
    // The status line goes below, once the model it shows exists.
    auto* outer = new QVBoxLayout(this);
    auto* layout = new QHBoxLayout;
    outer->addLayout(layout, 1);
    frame_ = new CDrawFrame(display_, projection_, grid_);
    viewArea_ = new CViewArea(createReadouts(), frame_, createModeTexts(), this);
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
    preferences_ = makeButton("Preferences...", this);
    for (QPushButton* button : {objects_, textures_, displayButton_, transforms_, grids_,
                                projections_, attributes_, preferences_}) {
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

    // The file commands stay at the bottom, whatever the window's height.
    grid->setRowStretch(row++, 1);
    load_ = makeButton("Load Y4 File", this);
    discard_ = makeButton("Discard Changes", this);
    commit_ = makeButton("Commit Changes", this);
    save_ = makeButton("Save Y4 File", this);
    exit_ = makeButton("Exit", this);
    recent_ = new RecentModelsButton([this](const std::string& path) { openRecent(path); }, this);
    recent_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    addPair(load_, recent_);
    for (QPushButton* button : {discard_, commit_, save_}) {
        addWide(button);
    }
    addGap(12);
    addWide(exit_);
    // The columns, not the captions, decide the widths, so that the columns line up.
    for (int i = 0; i < grid->count(); ++i) {
        if (QWidget* widget = grid->itemAt(i)->widget(); qobject_cast<QPushButton*>(widget)) {
            widget->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        }
    }
    return grid;
}

void CY4EditorDlg::connectControls() {
    const auto onClick = [this](QAbstractButton* button, auto handler) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    onClick(load_, &CY4EditorDlg::OnButtonLoad);
    onClick(save_, [this] { OnButtonSave(); });
    onClick(commit_, &CY4EditorDlg::OnButtonCommitChanges);
    onClick(discard_, &CY4EditorDlg::OnButtonDiscardChanges);
    onClick(exit_, &QDialog::reject);
    onClick(solid_, &CY4EditorDlg::OnRadioSolid);
    onClick(textured_, &CY4EditorDlg::OnRadioTextured);
    onClick(wireframe_, &CY4EditorDlg::OnRadioWireframe);
    onClick(vertices_, &CY4EditorDlg::OnCheckVertices);
    onClick(normals_, &CY4EditorDlg::OnCheckNormals);
    onClick(perspective_, &CY4EditorDlg::OnCheckPerspective);
    onClick(orthogonal_, &CY4EditorDlg::OnCheckOrthogonal);
    for (int axis = 0; axis < 3; ++axis) {
        const auto k = static_cast<std::size_t>(axis);
        onClick(translate_[k], [this, axis] { OnButtonTranslate(axis); });
        onClick(rotate_[k], [this, axis] { OnButtonRotate(axis); });
        onClick(scale_[k], [this, axis] { OnButtonScale(axis); });
        onClick(stretch_[k], [this, axis] { OnButtonStretch(axis); });
        onClick(cent_[k], [this, axis] { OnButtonCent(axis); });
        onClick(flip_[k], [this, axis] { OnButtonFlip(axis); });
    }
    onClick(viewMove_, &CY4EditorDlg::OnButtonViewMove);
    onClick(viewZoom_, &CY4EditorDlg::OnButtonViewZoom);
    onClick(viewRotate_, &CY4EditorDlg::OnButtonViewRotate);
}

}  // namespace y4
