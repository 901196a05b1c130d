// SceneTree::Impl: the storage of the object tree. Items live in one array indexed by their
// handle (slot 0 is the invisible top level); each item's children are a run of handles in one
// shared pool, carved in blocks of a power of two and recycled per block size, and each item
// knows its position in its parent's run, so rows are read in constant time both ways. The
// listings of each vertex are chained through their items, from a table indexed by the vertex's
// id. Inside a batch, removals and label changes are gathered and announced per parent (or per
// subtree) at its end. Both arrays take huge pages (LargeMemory), so the first listing of four
// million items does not stall on page faults. Only SceneTree.cpp includes this header.
#pragma once

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "Entity.h"
#include "Face.h"
#include "SceneTree.h"
#include "SubEntity.h"
#include "Vertex.h"
#include "platform/LargeMemory.h"

namespace y4 {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
// Rows are ints, so no parent may hold more children than an int counts.
constexpr std::size_t kMaxItems = static_cast<std::size_t>(std::numeric_limits<int>::max()) - 1;
constexpr std::size_t kMaxPool = kNone - 1;

constexpr std::uint8_t kNoBlock = 0xFF;
// The first block holds four children: a face item and its three corners fit exactly.
constexpr std::uint8_t kFirstBlockClass = 2;
constexpr std::uint8_t kBlockClasses = 32;

// Item flags. A slot is free while neither kLive nor kRemoved is set.
constexpr std::uint8_t kLive = 1;
// Deleted inside a batch; still in its parent's children until the batch announces it.
constexpr std::uint8_t kRemoved = 2;
constexpr std::uint8_t kChecked = 4;
constexpr std::uint8_t kExplicitText = 8;
// Label or check changed inside a batch, not yet announced.
constexpr std::uint8_t kChanged = 16;
// On a parent: some children carry kRemoved, or kChanged.
constexpr std::uint8_t kPendingRemovals = 32;
constexpr std::uint8_t kPendingChanges = 64;
// On an item: labels of its subtree changed inside a batch, not yet announced.
constexpr std::uint8_t kPendingSubtree = 128;

[[noreturn]] void tooManyItems() {
    throw std::length_error("The object tree has too many items.");
}

// The one handle an entity, sub-entity or face holds; null for a vertex.
TreeItem* singleHandle(SceneObject* record) {
    switch (record->kind()) {
        case SceneObject::kEntity:
            return &static_cast<Entity*>(record)->treeItem;
        case SceneObject::kSubEntity:
            return &static_cast<SubEntity*>(record)->treeItem;
        case SceneObject::kFace:
            return &static_cast<Face*>(record)->treeItem;
        default:
            return nullptr;
    }
}

// Takes `item` out of the entity, sub-entity or face that holds it.
void forgetHandle(SceneObject* record, TreeItem item) {
    if (TreeItem* held = record ? singleHandle(record) : nullptr) {
        *held = *held == item ? kNoItem : *held;
    }
}

// Whether `record` is a vertex whose listings the tree keeps.
bool isListedVertex(const SceneObject* record) {
    return record && record->kind() == SceneObject::kVertex && record->id() != SceneObject::kNoId;
}

}  // namespace

struct SceneTree::Impl {
    struct Node {
        SceneObject* record = nullptr;
        // For a free slot: the next free slot.
        TreeItem parent = kNoItem;
        // Index in the parent's block; equal to the row except while a removal is announced.
        std::uint32_t pos = 0;
        // A vertex's listing has no children: it keeps the previous listing of its vertex
        // where other items keep their block.
        union {
            std::uint32_t childBegin = 0;
            TreeItem previousListing;
        };
        std::uint32_t childCount = 0;
        // The next listing of the same vertex.
        TreeItem nextListing = kNoItem;
        std::uint8_t blockClass = kNoBlock;
        std::uint8_t flags = 0;
    };
    static_assert(sizeof(Node) <= 32);
    // The first and last listing of a vertex.
    struct Listings {
        TreeItem first = kNoItem;
        TreeItem last = kNoItem;
    };

    explicit Impl(TreeItem& selectedItem) : selected(selectedItem) { clear(); }

    TreeItem& selected;
    std::vector<Node, LargeAllocator<Node>> nodes;
    std::vector<TreeItem, LargeAllocator<TreeItem>> pool;
    std::vector<Listings, LargeAllocator<Listings>> listings;
    std::array<std::uint32_t, kBlockClasses> freeBlocks{};
    TreeItem freeNodes = kNone;
    std::size_t liveCount = 0;
    std::unordered_map<TreeItem, std::string> texts;
    std::vector<SceneTreeObserver*> observers;
    int updateDepth = 0;
    int resetDepth = 0;
    std::vector<TreeItem> removalParents;
    std::vector<TreeItem> changeParents;
    std::vector<TreeItem> changedSubtrees;
    // While removals of one parent are announced from the last to the first, its block is split:
    // the rows before gapStart are in place, the rows after it sit gapLength slots further on.
    TreeItem gapParent = kNone;
    std::uint32_t gapStart = 0;
    std::uint32_t gapLength = 0;
    std::vector<TreeItem> walk;

    // ---- queries ----

    bool isLive(TreeItem x) const { return x < nodes.size() && (nodes[x].flags & kLive); }
    bool isItem(TreeItem x) const { return x != kNoItem && isLive(x); }
    // Live or awaiting its announced removal: still visible to observers.
    bool isHeld(TreeItem x) const {
        return x != kNoItem && x < nodes.size() && (nodes[x].flags & (kLive | kRemoved));
    }
    // A vertex's listing holds no children.
    bool isParent(TreeItem x) const {
        return x == kNoItem || (isLive(x) && !isListedVertex(nodes[x].record));
    }
    // Has a list of children to show: the top level, or a live or removed item.
    bool hasList(TreeItem x) const { return x == kNoItem || isHeld(x); }

    TreeItem* block(const Node& n) { return pool.data() + n.childBegin; }

    int count(TreeItem parent) const {
        return static_cast<int>(nodes[parent].childCount - (parent == gapParent ? gapLength : 0));
    }

    int rowOf(TreeItem x) const {
        const Node& n = nodes[x];
        const bool behindGap = n.parent == gapParent && n.pos >= gapStart;
        return static_cast<int>(n.pos - (behindGap ? gapLength : 0));
    }

    TreeItem childAt(TreeItem parent, int row) const {
        if (row < 0 || row >= count(parent)) {
            return kNoItem;
        }
        auto pos = static_cast<std::uint32_t>(row);
        if (parent == gapParent && pos >= gapStart) {
            pos += gapLength;
        }
        return pool[nodes[parent].childBegin + pos];
    }

    bool isInSubtree(TreeItem x, TreeItem top) const {
        for (; x != kNoItem; x = nodes[x].parent) {
            if (x == top) {
                return true;
            }
        }
        return false;
    }

    // ---- announcements ----

    template <class Call>
    void tell(Call call) {
        for (std::size_t i = 0; i < observers.size(); ++i) {
            call(*observers[i]);
        }
    }
    // Structure and label changes are kept back during a rebuild; the reset covers them.
    template <class Call>
    void tellShape(Call call) {
        if (resetDepth == 0) {
            tell(call);
        }
    }

    void select(TreeItem item) {
        if (item == selected) {
            return;
        }
        const TreeItem previous = selected;
        selected = item;
        tell([&](SceneTreeObserver& o) { o.selectionChanged(previous, item); });
    }

    // ---- storage ----

    std::uint32_t takeBlock(std::uint8_t blockClass) {
        std::uint32_t& head = freeBlocks[blockClass];
        if (head != kNone) {
            const std::uint32_t begin = head;
            head = pool[begin];
            return begin;
        }
        const std::size_t size = std::size_t{1} << blockClass;
        if (pool.size() + size > kMaxPool) {
            tooManyItems();
        }
        const auto begin = static_cast<std::uint32_t>(pool.size());
        pool.resize(pool.size() + size);
        return begin;
    }

    void giveBlock(std::uint32_t begin, std::uint8_t blockClass) {
        pool[begin] = freeBlocks[blockClass];
        freeBlocks[blockClass] = begin;
    }

    // Makes room for one more child of `parent`.
    void makeRoom(TreeItem parent) {
        const Node& p = nodes[parent];
        if (p.blockClass != kNoBlock && p.childCount < (std::uint32_t{1} << p.blockClass)) {
            return;
        }
        const std::uint8_t grown = p.blockClass == kNoBlock
                                       ? kFirstBlockClass
                                       : static_cast<std::uint8_t>(p.blockClass + 1);
        if (grown >= kBlockClasses) {
            tooManyItems();
        }
        const std::uint32_t begin = takeBlock(grown);
        Node& n = nodes[parent];
        std::copy_n(pool.begin() + n.childBegin, n.childCount, pool.begin() + begin);
        if (n.blockClass != kNoBlock) {
            giveBlock(n.childBegin, n.blockClass);
        }
        n.childBegin = begin;
        n.blockClass = grown;
    }

    TreeItem takeNode() {
        if (freeNodes != kNone) {
            const TreeItem x = freeNodes;
            freeNodes = nodes[x].parent;
            nodes[x] = Node{};
            return x;
        }
        if (nodes.size() > kMaxItems) {
            tooManyItems();
        }
        nodes.emplace_back();
        return static_cast<TreeItem>(nodes.size() - 1);
    }

    // Frees `top` and every item below it; all of them are already marked removed.
    void freeSubtree(TreeItem top) {
        walk.assign(1, top);
        while (!walk.empty()) {
            const TreeItem x = walk.back();
            walk.pop_back();
            Node& n = nodes[x];
            if (n.childCount > 0) {
                walk.insert(walk.end(), block(n), block(n) + n.childCount);
            }
            if (n.blockClass != kNoBlock) {
                giveBlock(n.childBegin, n.blockClass);
            }
            if (n.flags & kExplicitText) {
                texts.erase(x);
            }
            n = Node{};
            n.parent = freeNodes;
            freeNodes = x;
        }
    }

    void clear() {
        nodes.assign(1, Node{});
        pool.clear();
        freeBlocks.fill(kNone);
        freeNodes = kNone;
        liveCount = 0;
        texts.clear();
        removalParents.clear();
        changeParents.clear();
        changedSubtrees.clear();
        listings.clear();
        gapParent = kNone;
    }

    // ---- vertex listings ----

    void link(TreeItem x, const SceneObject* vertex) {
        const std::uint32_t id = vertex->id();
        if (id >= listings.size()) {
            listings.resize(std::max<std::size_t>(id + 1, listings.size() + listings.size() / 2));
        }
        Listings& ends = listings[id];
        Node& n = nodes[x];
        n.previousListing = ends.last;
        n.nextListing = kNoItem;
        if (ends.last != kNoItem) {
            nodes[ends.last].nextListing = x;
        } else {
            ends.first = x;
        }
        ends.last = x;
    }

    void unlink(TreeItem x) {
        Node& n = nodes[x];
        Listings& ends = listings[n.record->id()];
        if (n.previousListing != kNoItem) {
            nodes[n.previousListing].nextListing = n.nextListing;
        } else {
            ends.first = n.nextListing;
        }
        if (n.nextListing != kNoItem) {
            nodes[n.nextListing].previousListing = n.previousListing;
        } else {
            ends.last = n.previousListing;
        }
        n.previousListing = n.nextListing = kNoItem;
    }

    TreeItem firstListingOf(const SceneObject* vertex) const {
        return isListedVertex(vertex) && vertex->id() < listings.size()
                   ? listings[vertex->id()].first
                   : kNoItem;
    }

    std::vector<TreeItem> listingsOf(const SceneObject* vertex) const {
        std::vector<TreeItem> out;
        for (TreeItem x = firstListingOf(vertex); x != kNoItem; x = nodes[x].nextListing) {
            out.push_back(x);
        }
        return out;
    }

    // ---- edits ----

    enum class Place { Last, After, Before };

    TreeItem insert(TreeItem parent, SceneObject* record, Place place, TreeItem sibling) {
        if (!isParent(parent)) {
            return kNoItem;
        }
        if (nodes[parent].flags & kPendingRemovals) {
            flushRemovals(parent);
        }
        const int last = count(parent);
        int row = last;
        if (place != Place::Last && isItem(sibling) && nodes[sibling].parent == parent) {
            row = rowOf(sibling) + (place == Place::After ? 1 : 0);
        }
        makeRoom(parent);
        const TreeItem x = takeNode();
        tellShape([&](SceneTreeObserver& o) { o.itemsAboutToBeInserted(parent, row, row); });
        TreeItem* children = block(nodes[parent]);
        for (int i = last; i > row; --i) {
            children[i] = children[i - 1];
            nodes[children[i]].pos = static_cast<std::uint32_t>(i);
        }
        children[row] = x;
        ++nodes[parent].childCount;
        Node& n = nodes[x];
        n.record = record;
        n.parent = parent;
        n.pos = static_cast<std::uint32_t>(row);
        n.flags = kLive | kChecked;
        ++liveCount;
        if (isListedVertex(record)) {
            link(x, record);
        }
        tellShape([&](SceneTreeObserver& o) { o.itemsInserted(parent, row, row); });
        return x;
    }

    // Marks `top` and everything below it removed and takes the handles out of the records;
    // the parent's children are compacted and the removal announced by flushRemovals.
    void markRemoved(TreeItem top) {
        if (selected != kNoItem && isInSubtree(selected, top)) {
            select(kNoItem);
        }
        walk.assign(1, top);
        while (!walk.empty()) {
            const TreeItem x = walk.back();
            walk.pop_back();
            Node& n = nodes[x];
            if (!(n.flags & kLive)) {
                continue;  // removed earlier in this batch, with its subtree
            }
            n.flags = static_cast<std::uint8_t>((n.flags & ~kLive) | kRemoved);
            --liveCount;
            if (isListedVertex(n.record)) {
                unlink(x);
            } else {
                forgetHandle(n.record, x);
            }
            if (n.childCount > 0) {
                walk.insert(walk.end(), block(n), block(n) + n.childCount);
            }
        }
        const TreeItem parent = nodes[top].parent;
        if (!(nodes[parent].flags & kPendingRemovals)) {
            nodes[parent].flags |= kPendingRemovals;
            removalParents.push_back(parent);
        }
    }

    // Takes the removed children out of `parent`'s block, announcing each contiguous range of
    // them from the last to the first. Each live child moves at most twice: once to the end of
    // the block behind the ranges already removed, once back when the gap closes.
    void flushRemovals(TreeItem parent) {
        Node& p = nodes[parent];
        if (!(p.flags & kPendingRemovals)) {
            return;
        }
        p.flags &= static_cast<std::uint8_t>(~kPendingRemovals);
        if (!isParent(parent)) {
            return;  // removed itself: its children go with it
        }
        const std::uint32_t size = p.childCount;
        std::uint32_t end = size;    // rows [0, end) not yet looked at, in place
        std::uint32_t moved = size;  // rows already kept sit at [moved, size)
        gapParent = parent;
        gapStart = size;
        gapLength = 0;
        auto live = [&](std::uint32_t pos) { return isLive(pool[p.childBegin + pos]); };
        while (end > 0) {
            std::uint32_t keepFrom = end;
            while (keepFrom > 0 && live(keepFrom - 1)) {
                --keepFrom;
            }
            if (keepFrom == 0) {
                break;
            }
            TreeItem* children = block(p);
            for (std::uint32_t i = end; i-- > keepFrom;) {
                children[--moved] = children[i];
                nodes[children[moved]].pos = moved;
            }
            std::uint32_t dropFrom = keepFrom;
            while (dropFrom > 0 && !live(dropFrom - 1)) {
                --dropFrom;
            }
            gapStart = keepFrom;
            gapLength = moved - keepFrom;
            const int first = static_cast<int>(dropFrom);
            const int last = static_cast<int>(keepFrom) - 1;
            tellShape([&](SceneTreeObserver& o) { o.itemsAboutToBeRemoved(parent, first, last); });
            gapStart = dropFrom;
            gapLength = moved - dropFrom;
            for (std::uint32_t i = dropFrom; i < keepFrom; ++i) {
                freeSubtree(pool[p.childBegin + i]);
            }
            tellShape([&](SceneTreeObserver& o) { o.itemsRemoved(parent, first, last); });
            end = dropFrom;
        }
        TreeItem* children = block(p);
        for (std::uint32_t i = moved; i < size; ++i) {
            children[end] = children[i];
            nodes[children[end]].pos = end;
            ++end;
        }
        p.childCount = end;
        gapParent = kNone;
        gapStart = 0;
        gapLength = 0;
    }

    void flushAllRemovals() {
        // flushRemovals adds nothing to the list; index, as the list is read while it runs.
        for (std::size_t i = 0; i < removalParents.size(); ++i) {
            flushRemovals(removalParents[i]);
        }
        removalParents.clear();
    }

    void changed(TreeItem x) {
        const TreeItem parent = nodes[x].parent;
        if (updateDepth == 0) {
            const int row = rowOf(x);
            tellShape([&](SceneTreeObserver& o) { o.itemsChanged(parent, row, row); });
            return;
        }
        nodes[x].flags |= kChanged;
        if (!(nodes[parent].flags & kPendingChanges)) {
            nodes[parent].flags |= kPendingChanges;
            changeParents.push_back(parent);
        }
    }

    // One itemsChanged per parent, over the rows from its first to its last changed child.
    void flushChanges() {
        for (std::size_t i = 0; i < changeParents.size(); ++i) {
            const TreeItem parent = changeParents[i];
            Node& p = nodes[parent];
            if (!(p.flags & kPendingChanges)) {
                continue;
            }
            p.flags &= static_cast<std::uint8_t>(~kPendingChanges);
            if (!isParent(parent)) {
                continue;
            }
            int first = -1;
            int last = -1;
            const TreeItem* children = block(p);
            for (std::uint32_t pos = 0; pos < p.childCount; ++pos) {
                Node& n = nodes[children[pos]];
                if (n.flags & kChanged) {
                    n.flags &= static_cast<std::uint8_t>(~kChanged);
                    first = first < 0 ? static_cast<int>(pos) : first;
                    last = static_cast<int>(pos);
                }
            }
            if (first >= 0) {
                tellShape([&](SceneTreeObserver& o) { o.itemsChanged(parent, first, last); });
            }
        }
        changeParents.clear();
    }

    // A subtree's labels changed: announced at once, or at the end of the batch.
    void subtreeChanged(TreeItem top) {
        if (updateDepth == 0) {
            tellShape([&](SceneTreeObserver& o) { o.subtreeChanged(top); });
            return;
        }
        if (!(nodes[top].flags & kPendingSubtree)) {
            nodes[top].flags |= kPendingSubtree;
            changedSubtrees.push_back(top);
        }
    }

    void flushSubtrees() {
        for (std::size_t i = 0; i < changedSubtrees.size(); ++i) {
            const TreeItem top = changedSubtrees[i];
            nodes[top].flags &= static_cast<std::uint8_t>(~kPendingSubtree);
            if (isItem(top)) {
                tellShape([&](SceneTreeObserver& o) { o.subtreeChanged(top); });
            }
        }
        changedSubtrees.clear();
    }

    // Exchanges the items (with the vertices' listings) with `other`'s; observers, selection and
    // batch state stay.
    void swapStorage(Impl& other) {
        nodes.swap(other.nodes);
        listings.swap(other.listings);
        pool.swap(other.pool);
        freeBlocks.swap(other.freeBlocks);
        std::swap(freeNodes, other.freeNodes);
        std::swap(liveCount, other.liveCount);
        texts.swap(other.texts);
    }

    // Every record loses its handles, then every item goes (the vertices' listings with the
    // table that chains them).
    void removeAll() {
        for (std::size_t x = 1; x < nodes.size(); ++x) {
            const Node& n = nodes[x];
            if ((n.flags & kLive) && n.record) {
                forgetHandle(n.record, static_cast<TreeItem>(x));
            }
        }
        clear();
    }
};

SceneTree::SceneTree() : d_(std::make_unique<Impl>(selected_)) {}

SceneTree::~SceneTree() = default;

}  // namespace y4
