// SceneTree: the object tree as one plain structure in the core, and the in-memory EntityTree.
// Each item carries a scene record, a check state and a label derived from the record (its name,
// with " (*)" while it is marked deleted) unless one was set explicitly. A model of a million
// faces has four million items, so items are small, creating no object per item, and every
// operation costs time in proportion to what it changes. Views follow the tree through
// SceneTreeObserver, which announces each change before and after it happens.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EntityTree.h"

namespace y4 {

// Told of every change of a SceneTree. Rows are positions among the parent's children;
// kNoItem as a parent means the top level. Between an "about to" call and its partner the tree
// is unchanged; after the partner it shows the change.
class SceneTreeObserver {
public:
    virtual ~SceneTreeObserver() = default;
    virtual void itemsAboutToBeInserted(TreeItem parent, int first, int last) = 0;
    virtual void itemsInserted(TreeItem parent, int first, int last) = 0;
    virtual void itemsAboutToBeRemoved(TreeItem parent, int first, int last) = 0;
    virtual void itemsRemoved(TreeItem parent, int first, int last) = 0;
    // The label or check state of the children first..last of `parent` changed.
    virtual void itemsChanged(TreeItem parent, int first, int last) = 0;
    // The labels or check states of `top` and of any of the items below it changed.
    virtual void subtreeChanged(TreeItem top) = 0;
    virtual void treeAboutToBeReset() = 0;
    virtual void treeReset() = 0;
    virtual void selectionChanged(TreeItem previous, TreeItem current) = 0;
};

class SceneTree final : public EntityTree {
public:
    SceneTree();
    ~SceneTree() override;

    // EntityTree. An insert under a parent that is not in the tree inserts nothing and returns
    // kNoItem; a sibling (`after`, `before`) that is not a child of the parent appends the item.
    // Edits of handles that are not in the tree are ignored; queries of them answer empty.
    TreeItem insertItem(TreeItem parent, SceneObject* record, TreeItem after = kNoItem) override;
    TreeItem insertItemBefore(TreeItem parent, SceneObject* record, TreeItem before) override;
    void deleteItem(TreeItem item) override;
    void deleteAllItems() override;
    void setItemText(TreeItem item, std::string_view text) override;
    void resetItemText(TreeItem item) override;
    void resetSubtreeText(TreeItem top) override;
    std::string itemText(TreeItem item) const override;
    void setCheck(TreeItem item, bool checked) override;
    bool check(TreeItem item) const override;
    SceneObject* itemData(TreeItem item) const override;
    TreeItem parentItem(TreeItem item) const override;
    std::vector<TreeItem> listings(const SceneObject* vertex) const override;
    TreeItem firstListing(const SceneObject* vertex) const override;
    TreeItem nextListing(TreeItem listing) const override;
    void selectItem(TreeItem item) override;
    TreeItem selectedItem() const override { return selected_; }
    // Batches nest. Removals inside a batch are announced at its end, one contiguous range of
    // rows at a time (from the last range of a parent to its first), and label and check changes
    // after them as one range per parent, then the subtrees relabelled; inserts are announced at
    // once. Until the batch ends,
    // child, row and childCount still show the items whose removal is pending (as the observers
    // were told), while contains() is already false for them and their records have lost their
    // handles. Observers must not edit the tree from a notification.
    void beginUpdate() override;
    void endUpdate() override;

    // A rebuild: beginReset announces treeAboutToBeReset (after clearing the selection) and
    // deletes every item; the edits until the matching endReset are not announced one by one,
    // endReset announces treeReset. Nestable. This is how a model of millions of items is listed
    // without one announcement per item. deleteAllItems is an empty rebuild.
    void beginReset();
    void endReset();
    // Takes over every item of `other` (which is left empty), with nothing selected, announced
    // to this tree's observers as one reset; `other`'s observers are told nothing. The records
    // keep their handles, which now lead into this tree. This is how a model read beside the
    // open one replaces it while the views stay attached to the same tree.
    void takeItemsOf(SceneTree& other);

    // Navigation, for views and tests, each in constant time. kNoItem as a parent means the top
    // level; child answers kNoItem for a row out of range, row answers -1 for a stale handle.
    int childCount(TreeItem parent) const;
    TreeItem child(TreeItem parent, int row) const;
    int row(TreeItem item) const;
    // Number of items in the tree (items whose removal is pending are no longer counted).
    std::size_t size() const;
    bool contains(TreeItem item) const;
    // Reserves room for `count` items, before building a large tree.
    void reserve(std::size_t count);

    void addObserver(SceneTreeObserver* observer);
    void removeObserver(SceneTreeObserver* observer);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    TreeItem selected_ = kNoItem;
};

}  // namespace y4
