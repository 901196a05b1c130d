// Listing the scene records in the object tree, and relisting a face's corners.
#include "TreeListing.h"

#include <vector>

#include "Scene.h"

namespace y4 {

namespace {

// Corners of a face, in the order they are listed.
void listCorners(EntityTree& tree, TreeItem faceItem, const Face& face) {
    TreeItem after = kNoItem;
    for (Vertex* corner : {face.vertexA, face.vertexB, face.vertexC}) {
        const TreeItem item = TreeListing::insertVertexItem(tree, faceItem, after, corner);
        after = item != kNoItem ? item : after;
    }
}

// Number of items that listing `root` makes, at most (every face with three corners).
std::size_t countItems(const Entity& root) {
    std::size_t count = 0;
    std::vector<std::pair<const Entity*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [entity, depth] = pending.back();
        pending.pop_back();
        count += 1 + entity->subEntities.size();
        for (const SubEntity* s : entity->subEntities) {
            count += s ? 4 * s->faces.size() : 0;
        }
        if (depth < Scene::kMaxLevel) {
            for (const Entity* child : entity->children) {
                if (child) {
                    pending.emplace_back(child, depth + 1);
                }
            }
        }
    }
    return count;
}

// Keeps a rebuild bracketed also when an exception passes.
class ResetScope {
public:
    explicit ResetScope(SceneTree& tree) : tree_(tree) { tree_.beginReset(); }
    ~ResetScope() { tree_.endReset(); }
    ResetScope(const ResetScope&) = delete;
    ResetScope& operator=(const ResetScope&) = delete;

private:
    SceneTree& tree_;
};

}  // namespace

TreeItem TreeListing::insertEntityItem(EntityTree& tree, TreeItem parentItem, Entity* entity) {
    if (!entity) {
        return kNoItem;
    }
    const TreeItem top = tree.insertItem(parentItem, entity);
    if (top == kNoItem) {
        return kNoItem;
    }
    entity->treeItem = top;
    // Depth first without recursion: a frame per entity on the path from `entity`.
    struct Frame {
        Entity* entity;
        TreeItem item;
        std::size_t nextChild;
    };
    std::vector<Frame> path{{entity, top, 0}};
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.nextChild < frame.entity->children.size()) {
            Entity* child = frame.entity->children[frame.nextChild++];
            if (!child || path.size() > static_cast<std::size_t>(Scene::kMaxLevel)) {
                continue;
            }
            const TreeItem item = tree.insertItem(frame.item, child);
            if (item != kNoItem) {
                child->treeItem = item;
                path.push_back({child, item, 0});
            }
            continue;
        }
        for (SubEntity* s : frame.entity->subEntities) {
            const TreeItem subItem = insertSubEntityItem(tree, frame.item, s);
            if (subItem == kNoItem) {
                continue;
            }
            for (Face* f : s->faces) {
                insertFaceItem(tree, subItem, f);
            }
        }
        path.pop_back();
    }
    return top;
}

TreeItem TreeListing::insertSubEntityItem(EntityTree& tree, TreeItem entityItem,
                                          SubEntity* subEntity, TreeItem beforeItem) {
    if (!subEntity) {
        return kNoItem;
    }
    const TreeItem item = beforeItem == kNoItem
                              ? tree.insertItem(entityItem, subEntity)
                              : tree.insertItemBefore(entityItem, subEntity, beforeItem);
    if (item != kNoItem) {
        subEntity->treeItem = item;
    }
    return item;
}

TreeItem TreeListing::insertFaceItem(EntityTree& tree, TreeItem subEntityItem, Face* face) {
    if (!face) {
        return kNoItem;
    }
    const TreeItem item = tree.insertItem(subEntityItem, face);
    if (item == kNoItem) {
        return kNoItem;
    }
    face->treeItem = item;
    listCorners(tree, item, *face);
    return item;
}

TreeItem TreeListing::insertVertexItem(EntityTree& tree, TreeItem faceItem, TreeItem afterItem,
                                       Vertex* vertex) {
    if (!vertex) {
        return kNoItem;
    }
    // The tree keeps the listing among the vertex's.
    return tree.insertItem(faceItem, vertex, afterItem);
}

void TreeListing::buildTree(SceneTree& tree, Entity* root) {
    tree.selectItem(kNoItem);
    ResetScope reset(tree);
    if (root) {
        tree.reserve(countItems(*root));
        insertEntityItem(tree, kNoItem, root);
    }
}

void TreeListing::relistFaceCorners(SceneTree& tree, Face* face) {
    if (!face || !tree.contains(face->treeItem)) {
        return;
    }
    const TreeItem faceItem = face->treeItem;
    TreeUpdateScope batch(&tree);
    std::vector<TreeItem> listings;
    for (int row = 0; row < tree.childCount(faceItem); ++row) {
        listings.push_back(tree.child(faceItem, row));
    }
    for (auto it = listings.rbegin(); it != listings.rend(); ++it) {
        tree.deleteItem(*it);
    }
    listCorners(tree, faceItem, *face);
}

}  // namespace y4
