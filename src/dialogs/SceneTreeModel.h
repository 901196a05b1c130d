// SceneTreeModel: the core's object tree as Qt's item views see it. It holds no item of its own:
// an index carries the tree item's handle, and every question is answered by the tree in
// constant time, so a tree of millions of items costs the view only what it shows. The tree's
// will/did announcements become row inserts and removals and its label and check changes
// become dataChanged, so views keep what was expanded and selected; only a rebuild of the tree
// is a reset.
#pragma once

#include <QAbstractItemModel>
#include <functional>

#include "model/SceneTree.h"

namespace y4 {

class SceneTreeModel : public QAbstractItemModel, private SceneTreeObserver {
    Q_OBJECT

public:
    // Asked to switch the display of an item's record when the user clicks its check box. The
    // check shown is always the tree's: it changes when the tree announces it.
    using DisplaySwitch = std::function<void(TreeItem item, bool displayed)>;

    // `tree` must outlive the model.
    SceneTreeModel(SceneTree& tree, DisplaySwitch displaySwitch, QObject* parent = nullptr);
    ~SceneTreeModel() override;
    SceneTreeModel(const SceneTreeModel&) = delete;
    SceneTreeModel& operator=(const SceneTreeModel&) = delete;

    SceneTree& tree() const { return tree_; }
    void setDisplaySwitch(DisplaySwitch displaySwitch);

    // The tree item an index shows (kNoItem for the invalid index), and the index of an item
    // (invalid for kNoItem and for items not in the tree).
    TreeItem itemAt(const QModelIndex& index) const;
    QModelIndex indexOf(TreeItem item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // A check state sent here goes to the display switch; nothing else is editable.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The tree's selected item is now `current` (kNoItem: nothing). Also sent after each
    // rebuild, once the views know the new items.
    void selectedItemChanged(y4::TreeItem current);

private:
    void itemsAboutToBeInserted(TreeItem parent, int first, int last) override;
    void itemsInserted(TreeItem parent, int first, int last) override;
    void itemsAboutToBeRemoved(TreeItem parent, int first, int last) override;
    void itemsRemoved(TreeItem parent, int first, int last) override;
    void itemsChanged(TreeItem parent, int first, int last) override;
    void subtreeChanged(TreeItem top) override;
    void treeAboutToBeReset() override;
    void treeReset() override;
    void selectionChanged(TreeItem previous, TreeItem current) override;

    // The index of an item the tree still shows, also one whose removal is being announced.
    QModelIndex shownIndex(TreeItem item) const;

    SceneTree& tree_;
    DisplaySwitch displaySwitch_;
    bool resetting_ = false;
};

}  // namespace y4
