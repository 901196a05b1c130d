// CObjectTreeDialog: the tree view over the adapter, the mirrored selection, the buttons and
// their arrangement.
#include "dialogs/CObjectTreeDialog.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "model/SceneObject.h"
#include "model/Vertex.h"

namespace y4 {

namespace {

// Until display switches are edits of the document, a check box switches its record here: the
// record's switch and the check of each of its items (a vertex has one per corner listing).
void switchDisplayInPlace(SceneTree& tree, TreeItem item, bool displayed) {
    SceneObject* record = tree.itemData(item);
    if (record == nullptr) {
        return;
    }
    record->displayed = displayed ? 1 : 0;
    TreeUpdateScope batch(&tree);
    if (record->kind() == SceneObject::kVertex) {
        for (const TreeItem listing : static_cast<Vertex*>(record)->treeItems(tree)) {
            tree.setCheck(listing, displayed);
        }
    }
    tree.setCheck(item, displayed);
}

// The gaps between the groups of buttons in a column.
constexpr int kGroupGap = 10;

}  // namespace

CObjectTreeDialog::CObjectTreeDialog(SceneTree& tree, QWidget* parent)
    : CToolDialog(QStringLiteral("Object Tree Hierarchy"), parent),
      tree_(tree),
      model_(new SceneTreeModel(
          tree,
          [&tree](TreeItem item, bool displayed) { switchDisplayInPlace(tree, item, displayed); },
          this)),
      view_(new QTreeView(this)),
      selectRequest_([&tree](TreeItem item) { tree.selectItem(item); }) {
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
            &CObjectTreeDialog::onTreeSelectionChanged);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CObjectTreeDialog::onViewSelectionChanged);

    createButtons();
    layoutControls();
    expandFirstLevel();
    showSelectedItem(tree_.selectedItem());
}

CObjectTreeDialog::~CObjectTreeDialog() = default;

void CObjectTreeDialog::setSelectRequest(SelectRequest request) {
    selectRequest_ = std::move(request);
}

void CObjectTreeDialog::setDisplaySwitch(SceneTreeModel::DisplaySwitch displaySwitch) {
    model_->setDisplaySwitch(std::move(displaySwitch));
}

void CObjectTreeDialog::createButtons() {
    const auto make = [this](const char* caption) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(caption));
        button->setAutoDefault(false);
        button->setEnabled(false);
        return button;
    };
    deselect_ = make("Deselect");
    displayAll_ = make("Display All");
    hideAll_ = make("Hide All");
    pickVertex_ = make("Pick Vertex");
    pickNormal_ = make("Pick Normal");
    addGroup_ = make("Add Group");
    addSubEntity_ = make("Add SubEntity");
    addFace_ = make("Add Face");
    delete_ = make("Delete");
    copy_ = make("Copy");
    paste_ = make("Paste");
    moveVertices_ = make("Move Vertices");
    splitFace_ = make("Split Face");
    createShape_ = make("Create Shape");
    // "Hide Hidden" does nothing, so it may always be pressed.
    hideHidden_ = make("Hide Hidden");
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

void CObjectTreeDialog::onTreeSelectionChanged(TreeItem item) {
    showSelectedItem(item);
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

}  // namespace y4
