// CObjectTreeDialog: the tree view over the adapter, the mirrored selection, the buttons with
// their rules and handlers, and their arrangement.
#include "dialogs/CObjectTreeDialog.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "dialogs/CCreateShapeDialog.h"
#include "document/ModelDocument.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/SceneObject.h"
#include "model/SubEntity.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

// The gaps between the groups of buttons in a column.
constexpr int kGroupGap = 10;

template <class T>
T* recordAs(SceneObject* record, int kind) {
    return record != nullptr && record->kind() == kind ? static_cast<T*>(record) : nullptr;
}

}  // namespace

CObjectTreeDialog::CObjectTreeDialog(ModelDocument& document, QWidget* parent)
    : CToolDialog(QStringLiteral("Object Tree Hierarchy"), parent),
      document_(document),
      tree_(document.tree()),
      model_(new SceneTreeModel(
          tree_,
          [&document](TreeItem item, bool displayed) {
              document.setDisplayed(document.tree().itemData(item), displayed);
          },
          this)),
      view_(new QTreeView(this)),
      selectRequest_([&document](TreeItem item) { document.select(item); }) {
    view_->setObjectName(QStringLiteral("Object Tree"));
    view_->setAccessibleName(QStringLiteral("Object Tree"));
    view_->setHeaderHidden(true);
    // Rows of one height let the view place millions of them without measuring each.
    view_->setUniformRowHeights(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setDragDropMode(QAbstractItemView::NoDragDrop);
    view_->setAnimated(false);
    view_->setModel(model_);
    // After the view's own handlers, so that the view has taken in the new items.
    connect(model_, &QAbstractItemModel::modelReset, this, &CObjectTreeDialog::expandFirstLevel);
    connect(model_, &SceneTreeModel::selectedItemChanged, this,
            &CObjectTreeDialog::OnSelchangedTree);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CObjectTreeDialog::onViewSelectionChanged);

    createButtons();
    layoutControls();
    expandFirstLevel();
    showSelectedItem(tree_.selectedItem());
    document_.addObserver(this);
    refreshButtons();
}

CObjectTreeDialog::~CObjectTreeDialog() {
    document_.removeObserver(this);
}

void CObjectTreeDialog::setSelectRequest(SelectRequest request) {
    selectRequest_ = std::move(request);
}

void CObjectTreeDialog::setDisplaySwitch(SceneTreeModel::DisplaySwitch displaySwitch) {
    model_->setDisplaySwitch(std::move(displaySwitch));
}

void CObjectTreeDialog::setNormalsChecked(bool checked) {
    normalsChecked_ = checked;
    refreshButtons();
}

void CObjectTreeDialog::createButtons() {
    const auto make = [this](const char* caption, void (CObjectTreeDialog::*handler)()) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(caption));
        button->setAutoDefault(false);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    deselect_ = make("Deselect", &CObjectTreeDialog::OnButtonDeselect);
    displayAll_ = make("Display All", &CObjectTreeDialog::OnButtonDisplayAll);
    hideAll_ = make("Hide All", &CObjectTreeDialog::OnButtonHideAll);
    pickVertex_ = make("Pick Vertex", &CObjectTreeDialog::OnButtonPickVertex);
    pickNormal_ = make("Pick Normal", &CObjectTreeDialog::OnButtonPickNormal);
    addGroup_ = make("Add Group", &CObjectTreeDialog::OnButtonAddGroup);
    addSubEntity_ = make("Add SubEntity", &CObjectTreeDialog::OnButtonAddSubEntity);
    addFace_ = make("Add Face", &CObjectTreeDialog::OnButtonAddFace);
    delete_ = make("Delete", &CObjectTreeDialog::OnButtonDelete);
    copy_ = make("Copy", &CObjectTreeDialog::OnButtonCopy);
    paste_ = make("Paste", &CObjectTreeDialog::OnButtonPaste);
    // Never offered: moving vertices is not built yet.
    moveVertices_ = make("Move Vertices", &CObjectTreeDialog::onButtonMovevertices);
    splitFace_ = make("Split Face", &CObjectTreeDialog::OnButtonSplitFace);
    createShape_ = make("Create Shape", &CObjectTreeDialog::OnButtonCreateShape);
    // "Hide Hidden" does nothing, so it may always be pressed.
    hideHidden_ = make("Hide Hidden", &CObjectTreeDialog::OnButtonHideHidden);
    hideHidden_->setEnabled(true);
    close_ = makeCloseButton();
}

void CObjectTreeDialog::layoutControls() {
    // The tree takes what the two button columns leave; every button has the size of the
    // widest.
    int width = 0;
    for (QPushButton* button : findChildren<QPushButton*>()) {
        width = std::max(width, button->sizeHint().width());
    }
    const auto column = [&](std::initializer_list<QPushButton*> buttons) {
        auto* layout = new QVBoxLayout;
        layout->setSpacing(0);
        for (QPushButton* button : buttons) {
            if (button == nullptr) {
                layout->addSpacing(kGroupGap);
                continue;
            }
            button->setFixedWidth(width);
            layout->addWidget(button);
        }
        return layout;
    };
    QVBoxLayout* left =
        column({deselect_, displayAll_, hideAll_, pickVertex_, pickNormal_, nullptr, addGroup_,
                addSubEntity_, addFace_, nullptr, delete_, copy_, paste_});
    left->addStretch(1);
    QVBoxLayout* right = column({moveVertices_, splitFace_, createShape_, nullptr, hideHidden_});
    right->addStretch(1);
    right->addWidget(close_);
    right->addSpacing(15);
    close_->setFixedWidth(width);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 10, 5);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addSpacing(5);
    layout->addLayout(left);
    layout->addSpacing(10);
    layout->addLayout(right);
    resize(600, 420);
}

void CObjectTreeDialog::showSelectedItem(TreeItem item) {
    const QScopedValueRollback<bool> guard(mirroring_, true);
    QItemSelectionModel& selection = *view_->selectionModel();
    const QModelIndex index = model_->indexOf(item);
    if (!index.isValid()) {
        selection.clear();
        return;
    }
    const QModelIndexList shown = selection.selectedIndexes();
    if (shown.size() != 1 || shown.front() != index || selection.currentIndex() != index) {
        selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    }
    // Opens the item's ancestors: a vertex picked in the 3D view shows in its face.
    view_->scrollTo(index);
}

void CObjectTreeDialog::onViewSelectionChanged() {
    if (mirroring_) {
        return;
    }
    const QModelIndexList chosen = view_->selectionModel()->selectedIndexes();
    const TreeItem wanted = chosen.isEmpty() ? kNoItem : model_->itemAt(chosen.front());
    if (wanted != tree_.selectedItem() && selectRequest_) {
        selectRequest_(wanted);
    }
    // A request that was not followed leaves the view showing the tree's selection again.
    if (wanted != tree_.selectedItem()) {
        showSelectedItem(tree_.selectedItem());
    }
}

void CObjectTreeDialog::OnSelchangedTree(TreeItem item) {
    showSelectedItem(item);
    refreshButtons();
    std::string path;
    if (const SceneObject* record = tree_.itemData(item)) {
        record->appendPathName(path);
    } else {
        path = "NULL";
    }
    emit selectedObjectChanged(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}

void CObjectTreeDialog::expandFirstLevel() {
    for (int row = 0; row < model_->rowCount(); ++row) {
        view_->expand(model_->index(row, 0));
    }
}

// ---- the rules ----

void CObjectTreeDialog::refreshButtons() {
    const bool loaded = document_.hasModel();
    SceneObject* selected = document_.selectedRecord();
    const bool copied = document_.copySource() != nullptr;
    // Deselect also lets go of a copied record.
    deselect_->setEnabled(selected != nullptr || copied);
    displayAll_->setEnabled(loaded && !allDisplayed_);
    hideAll_->setEnabled(loaded && !allHidden_);
    pickVertex_->setEnabled(loaded);
    pickNormal_->setEnabled(loaded && normalsChecked_);

    addGroup_->setEnabled(document_.canAddGroup(selected));
    addSubEntity_->setEnabled(document_.canAddSubEntity(selected));
    createShape_->setEnabled(addSubEntity_->isEnabled());
    addFace_->setEnabled(document_.canAddFace(selected));
    splitFace_->setEnabled(document_.canSplitFace(selected));
    delete_->setText(selected != nullptr && selected->deleted ? QStringLiteral("Undelete")
                                                              : QStringLiteral("Delete"));
    delete_->setEnabled(document_.canDelete(selected));
    copy_->setEnabled(document_.canCopy(selected));
    // With nothing selected, Paste stays offered to say that it needs a destination.
    paste_->setEnabled(selected != nullptr ? document_.canPaste(selected) : copied);
}

void CObjectTreeDialog::modelReplaced() {
    allDisplayed_ = false;
    allHidden_ = false;
    refreshButtons();
}

void CObjectTreeDialog::recordsChanged(const RecordChange&) {
    refreshButtons();
}

void CObjectTreeDialog::recordsAdded(const RecordSet&) {
    refreshButtons();
}

void CObjectTreeDialog::recordsRemoved(const RecordSet&) {
    refreshButtons();
}

void CObjectTreeDialog::displayChanged(const DisplayChange&) {
    if (!switchingAll_) {
        allDisplayed_ = false;
        allHidden_ = false;
    }
    refreshButtons();
}

void CObjectTreeDialog::selectionChanged(const SelectionChange&) {
    refreshButtons();
}

// ---- the handlers ----

void CObjectTreeDialog::OnButtonDeselect() {
    document_.deselect();
    refreshButtons();
}

void CObjectTreeDialog::setAllDisplayed(bool on) {
    if (!document_.hasModel()) {
        return;
    }
    {
        const QScopedValueRollback<bool> guard(switchingAll_, true);
        document_.setAllDisplayed(on);
    }
    allDisplayed_ = on;
    allHidden_ = !on;
    refreshButtons();
}

void CObjectTreeDialog::OnButtonDisplayAll() {
    setAllDisplayed(true);
}

void CObjectTreeDialog::OnButtonHideAll() {
    setAllDisplayed(false);
}

void CObjectTreeDialog::OnButtonPickVertex() {
    emit pickModeRequested(kPickVertexMode, kPickVertexKind, QStringLiteral("Vertex"));
}

void CObjectTreeDialog::OnButtonPickNormal() {
    emit pickModeRequested(kPickNormalMode, kPickNormalKind, QStringLiteral("Normal"));
}

void CObjectTreeDialog::OnButtonAddGroup() {
    document_.addGroup(recordAs<Entity>(document_.selectedRecord(), SceneObject::kEntity));
}

void CObjectTreeDialog::OnButtonAddSubEntity() {
    document_.addSubEntity(recordAs<Entity>(document_.selectedRecord(), SceneObject::kEntity));
}

void CObjectTreeDialog::OnButtonAddFace() {
    if (document_.canAddFace(document_.selectedRecord())) {
        emit addFaceRequested();
    }
}

void CObjectTreeDialog::OnButtonDelete() {
    // The document refuses the root and a terrain's own record with their messages, and
    // selects what it undeleted again.
    document_.toggleDeleted(document_.selectedRecord());
    refreshButtons();
}

void CObjectTreeDialog::OnButtonCopy() {
    document_.copy(document_.selectedRecord());
    refreshButtons();
}

void CObjectTreeDialog::OnButtonPaste() {
    const SceneObject* source = document_.copySource();
    if (source == nullptr) {
        return;
    }
    SceneObject* destination = document_.selectedRecord();
    // The document shows the message of a refused pair.
    document_.paste(destination);
    if (destination != nullptr && destination != source) {
        emit pasteDrawRequested();
    }
    refreshButtons();
}

void CObjectTreeDialog::onButtonMovevertices() {
    prompt().showMessage("Still need to implement onButtonMovevertices()", MessageIcon::None);
}

void CObjectTreeDialog::OnButtonSplitFace() {
    // The new half is selected; the old face's corner items are listed again.
    document_.splitFace(recordAs<Face>(document_.selectedRecord(), SceneObject::kFace));
}

void CObjectTreeDialog::OnButtonCreateShape() {
    CCreateShapeDialog dialog(*this, this);
    dialog.exec();
}

void CObjectTreeDialog::CreateShape(ShapeKind, float length, float width, float height,
                                    float radius, int lengthSegments, int widthSegments,
                                    int heightSegments) {
    reportShapeParameters(length, width, height, radius, lengthSegments, widthSegments,
                          heightSegments);
}

}  // namespace y4
