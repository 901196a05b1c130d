// SceneTreeModel: indexes over tree handles, and the tree's announcements as model signals.
#include "dialogs/SceneTreeModel.h"

#include <utility>
#include <vector>

#include "model/SceneObject.h"

namespace y4 {

namespace {

const QList<int> kShownRoles = {Qt::DisplayRole, Qt::CheckStateRole};

}  // namespace

SceneTreeModel::SceneTreeModel(SceneTree& tree, DisplaySwitch displaySwitch, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), displaySwitch_(std::move(displaySwitch)) {
    tree_.addObserver(this);
}

SceneTreeModel::~SceneTreeModel() {
    tree_.removeObserver(this);
}

void SceneTreeModel::setDisplaySwitch(DisplaySwitch displaySwitch) {
    displaySwitch_ = std::move(displaySwitch);
}

TreeItem SceneTreeModel::itemAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeItem>(index.internalId()) : kNoItem;
}

QModelIndex SceneTreeModel::indexOf(TreeItem item) const {
    return tree_.contains(item) ? shownIndex(item) : QModelIndex();
}

QModelIndex SceneTreeModel::shownIndex(TreeItem item) const {
    const int row = tree_.row(item);
    return row < 0 ? QModelIndex() : createIndex(row, 0, static_cast<quintptr>(item));
}

QModelIndex SceneTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || parent.column() > 0) {
        return {};
    }
    const TreeItem item = tree_.child(itemAt(parent), row);
    return item == kNoItem ? QModelIndex() : createIndex(row, 0, static_cast<quintptr>(item));
}

QModelIndex SceneTreeModel::parent(const QModelIndex& child) const {
    return child.isValid() ? shownIndex(tree_.parentItem(itemAt(child))) : QModelIndex();
}

int SceneTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : tree_.childCount(itemAt(parent));
}

int SceneTreeModel::columnCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : 1;
}

bool SceneTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant SceneTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const TreeItem item = itemAt(index);
    switch (role) {
        case Qt::DisplayRole: {
            const std::string text = tree_.itemText(item);
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        case Qt::CheckStateRole:
            return tree_.check(item) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool SceneTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || !displaySwitch_) {
        return false;
    }
    const TreeItem item = itemAt(index);
    if (!tree_.contains(item)) {
        return false;
    }
    displaySwitch_(item, value.toInt() != Qt::Unchecked);
    return true;
}

Qt::ItemFlags SceneTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    // A corner listing stays a leaf; any other item may gain children.
    const SceneObject* record = tree_.itemData(itemAt(index));
    if (record && record->kind() == SceneObject::kVertex) {
        flags |= Qt::ItemNeverHasChildren;
    }
    return flags;
}

void SceneTreeModel::itemsAboutToBeInserted(TreeItem parent, int first, int last) {
    beginInsertRows(shownIndex(parent), first, last);
}

void SceneTreeModel::itemsInserted(TreeItem, int, int) {
    endInsertRows();
}

void SceneTreeModel::itemsAboutToBeRemoved(TreeItem parent, int first, int last) {
    beginRemoveRows(shownIndex(parent), first, last);
}

void SceneTreeModel::itemsRemoved(TreeItem, int, int) {
    endRemoveRows();
}

void SceneTreeModel::itemsChanged(TreeItem parent, int first, int last) {
    const QModelIndex shownParent = shownIndex(parent);
    emit dataChanged(index(first, 0, shownParent), index(last, 0, shownParent), kShownRoles);
}

// Qt's views know no change of a whole subtree: the item and then each parent's children below
// it are announced as one range per parent, as the tree announced relabels before it could
// announce a subtree at once.
void SceneTreeModel::subtreeChanged(TreeItem top) {
    const QModelIndex shownTop = shownIndex(top);
    emit dataChanged(shownTop, shownTop, kShownRoles);
    std::vector<std::pair<TreeItem, QModelIndex>> pending{{top, shownTop}};
    while (!pending.empty()) {
        const auto [item, shown] = pending.back();
        pending.pop_back();
        const int count = tree_.childCount(item);
        if (count == 0) {
            continue;
        }
        emit dataChanged(index(0, 0, shown), index(count - 1, 0, shown), kShownRoles);
        for (int row = count - 1; row >= 0; --row) {
            const TreeItem child = tree_.child(item, row);
            if (tree_.childCount(child) > 0) {
                pending.emplace_back(child, index(row, 0, shown));
            }
        }
    }
}

void SceneTreeModel::treeAboutToBeReset() {
    resetting_ = true;
    beginResetModel();
}

void SceneTreeModel::treeReset() {
    endResetModel();
    resetting_ = false;
    emit selectedItemChanged(tree_.selectedItem());
}

void SceneTreeModel::selectionChanged(TreeItem, TreeItem current) {
    // Inside a rebuild the views know no items yet: the reset's end tells them.
    if (!resetting_) {
        emit selectedItemChanged(current);
    }
}

}  // namespace y4
