// EntityTree: the seam of the object tree control. Items carry a scene record, a label and a
// check state; the core inserts, relabels, checks, selects and deletes them through this
// interface. Handles are small integers; kNoItem means "none" (and "top level" as a parent).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace y4 {

class SceneObject;

using TreeItem = std::uint32_t;
inline constexpr TreeItem kNoItem = 0;

class EntityTree {
public:
    virtual ~EntityTree() = default;

    // Inserts an item for `record` as the last child of `parent`, or right after the sibling
    // `after` when one is given. Label: the record's, checked. An item of a vertex is one of its
    // listings (see listings) and holds no children.
    virtual TreeItem insertItem(TreeItem parent, SceneObject* record, TreeItem after = kNoItem) = 0;
    // Inserts an item for `record` under `parent` right before the sibling `before`.
    virtual TreeItem insertItemBefore(TreeItem parent, SceneObject* record, TreeItem before) = 0;
    // Deletes the item and everything below it. Every record that held one of the removed
    // handles (treeItem, or a listing of a vertex) loses it at the same time.
    virtual void deleteItem(TreeItem item) = 0;
    // Deletes every item (records lose their handles as above).
    virtual void deleteAllItems() = 0;

    // An explicit label that stays until resetItemText.
    virtual void setItemText(TreeItem item, std::string_view text) = 0;
    // The item shows its record's label again: the name, followed by " (*)" while the record
    // is marked deleted.
    virtual void resetItemText(TreeItem item) = 0;
    // The same for `top` and every item below it, announced as one change of the subtree:
    // how marking a group of a million faces relabels them.
    virtual void resetSubtreeText(TreeItem top) = 0;
    virtual std::string itemText(TreeItem item) const = 0;

    virtual void setCheck(TreeItem item, bool checked) = 0;
    virtual bool check(TreeItem item) const = 0;

    virtual SceneObject* itemData(TreeItem item) const = 0;
    virtual TreeItem parentItem(TreeItem item) const = 0;
    // The items that list `vertex` under its faces, in the order they were inserted (see
    // Vertex::treeItems). The tree keeps them for every vertex a scene made.
    virtual std::vector<TreeItem> listings(const SceneObject* vertex) const = 0;
    // The same one at a time, without building a list: the first listing, and the one after
    // `listing`; kNoItem after the last.
    virtual TreeItem firstListing(const SceneObject* vertex) const = 0;
    virtual TreeItem nextListing(TreeItem listing) const = 0;

    // kNoItem selects nothing.
    virtual void selectItem(TreeItem item) = 0;
    virtual TreeItem selectedItem() const = 0;

    // Between beginUpdate and endUpdate (nestable) the tree may gather its change
    // announcements, so that a purge of a million records is announced once per parent.
    virtual void beginUpdate() {}
    virtual void endUpdate() {}
};

// Brackets a batch of tree edits, also when an exception passes.
class TreeUpdateScope {
public:
    explicit TreeUpdateScope(EntityTree* tree) : tree_(tree) {
        if (tree_) {
            tree_->beginUpdate();
        }
    }
    ~TreeUpdateScope() {
        if (tree_) {
            tree_->endUpdate();
        }
    }
    TreeUpdateScope(const TreeUpdateScope&) = delete;
    TreeUpdateScope& operator=(const TreeUpdateScope&) = delete;

private:
    EntityTree* tree_;
};

}  // namespace y4
