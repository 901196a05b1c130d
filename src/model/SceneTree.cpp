// The object tree's operations, over the storage of SceneTreeImpl.h. Labels are not stored:
// they are derived from the record when asked, unless one was set explicitly.
#include "SceneTree.h"

#include "SceneTreeImpl.h"

namespace y4 {

TreeItem SceneTree::insertItem(TreeItem parent, SceneObject* record, TreeItem after) {
    return d_->insert(parent, record, after == kNoItem ? Impl::Place::Last : Impl::Place::After,
                      after);
}

TreeItem SceneTree::insertItemBefore(TreeItem parent, SceneObject* record, TreeItem before) {
    return d_->insert(parent, record, Impl::Place::Before, before);
}

void SceneTree::deleteItem(TreeItem item) {
    if (!d_->isItem(item)) {
        return;
    }
    d_->markRemoved(item);
    if (d_->updateDepth == 0) {
        d_->flushAllRemovals();
    }
}

void SceneTree::deleteAllItems() {
    beginReset();
    endReset();
}

void SceneTree::beginReset() {
    d_->select(kNoItem);
    if (d_->resetDepth++ == 0) {
        d_->tell([](SceneTreeObserver& o) { o.treeAboutToBeReset(); });
    }
    d_->removeAll();
}

void SceneTree::endReset() {
    if (d_->resetDepth > 0 && --d_->resetDepth == 0) {
        d_->tell([](SceneTreeObserver& o) { o.treeReset(); });
    }
}

void SceneTree::takeItemsOf(SceneTree& other) {
    if (&other == this) {
        return;
    }
    other.d_->select(kNoItem);
    beginReset();
    d_->swapStorage(*other.d_);
    endReset();
}

void SceneTree::setItemText(TreeItem item, std::string_view text) {
    if (!d_->isItem(item)) {
        return;
    }
    d_->texts[item] = std::string(text);
    d_->nodes[item].flags |= kExplicitText;
    d_->changed(item);
}

void SceneTree::resetItemText(TreeItem item) {
    // With no explicit text anywhere and no one to tell, the label follows the record already:
    // marking a whole scene then costs nothing per item.
    if (d_->texts.empty() && d_->observers.empty()) {
        return;
    }
    if (!d_->isItem(item)) {
        return;
    }
    Impl::Node& n = d_->nodes[item];
    if (n.flags & kExplicitText) {
        d_->texts.erase(item);
        n.flags &= static_cast<std::uint8_t>(~kExplicitText);
    }
    // Announced even without an explicit text: the record's deleted mark may have changed.
    d_->changed(item);
}

void SceneTree::resetSubtreeText(TreeItem top) {
    if ((d_->texts.empty() && d_->observers.empty()) || !d_->isItem(top)) {
        return;
    }
    // Explicit labels are few: find those in the subtree instead of walking it.
    std::vector<TreeItem> explicitBelow;
    for (const auto& entry : d_->texts) {
        if (d_->isInSubtree(entry.first, top)) {
            explicitBelow.push_back(entry.first);
        }
    }
    for (TreeItem item : explicitBelow) {
        d_->texts.erase(item);
        d_->nodes[item].flags &= static_cast<std::uint8_t>(~kExplicitText);
    }
    d_->subtreeChanged(top);
}

std::string SceneTree::itemText(TreeItem item) const {
    if (!d_->isHeld(item)) {
        return {};
    }
    const Impl::Node& n = d_->nodes[item];
    if (n.flags & kExplicitText) {
        return d_->texts.at(item);
    }
    std::string text;
    if (n.record) {
        n.record->appendName(text);
        if (n.record->deleted) {
            text.append(" (*)");
        }
    }
    return text;
}

void SceneTree::setCheck(TreeItem item, bool checked) {
    if (!d_->isItem(item)) {
        return;
    }
    Impl::Node& n = d_->nodes[item];
    if (((n.flags & kChecked) != 0) == checked) {
        return;
    }
    n.flags ^= kChecked;
    d_->changed(item);
}

bool SceneTree::check(TreeItem item) const {
    return d_->isHeld(item) && (d_->nodes[item].flags & kChecked);
}

SceneObject* SceneTree::itemData(TreeItem item) const {
    return d_->isHeld(item) ? d_->nodes[item].record : nullptr;
}

TreeItem SceneTree::parentItem(TreeItem item) const {
    return d_->isHeld(item) ? d_->nodes[item].parent : kNoItem;
}

std::vector<TreeItem> SceneTree::listings(const SceneObject* vertex) const {
    return d_->listingsOf(vertex);
}

TreeItem SceneTree::firstListing(const SceneObject* vertex) const {
    return d_->firstListingOf(vertex);
}

TreeItem SceneTree::nextListing(TreeItem listing) const {
    return d_->isItem(listing) ? d_->nodes[listing].nextListing : kNoItem;
}

void SceneTree::selectItem(TreeItem item) {
    if (item == kNoItem || d_->isItem(item)) {
        d_->select(item);
    }
}

void SceneTree::beginUpdate() {
    ++d_->updateDepth;
}

void SceneTree::endUpdate() {
    if (d_->updateDepth == 0 || --d_->updateDepth > 0) {
        return;
    }
    d_->flushAllRemovals();
    d_->flushChanges();
    d_->flushSubtrees();
}

int SceneTree::childCount(TreeItem parent) const {
    return d_->hasList(parent) ? d_->count(parent) : 0;
}

TreeItem SceneTree::child(TreeItem parent, int row) const {
    return d_->hasList(parent) ? d_->childAt(parent, row) : kNoItem;
}

int SceneTree::row(TreeItem item) const {
    return d_->isHeld(item) ? d_->rowOf(item) : -1;
}

std::size_t SceneTree::size() const {
    return d_->liveCount;
}

bool SceneTree::contains(TreeItem item) const {
    return d_->isItem(item);
}

void SceneTree::reserve(std::size_t count) {
    count = std::min(count, kMaxItems);
    d_->nodes.reserve(count + 1);
    // Each item is one child somewhere; blocks are rounded up to a power of two.
    d_->pool.reserve(std::min(count + count / 2, kMaxPool));
}

void SceneTree::addObserver(SceneTreeObserver* observer) {
    if (observer &&
        std::find(d_->observers.begin(), d_->observers.end(), observer) == d_->observers.end()) {
        d_->observers.push_back(observer);
    }
}

void SceneTree::removeObserver(SceneTreeObserver* observer) {
    std::erase(d_->observers, observer);
}

}  // namespace y4
