// TreeListing: how the object tree lists a scene. Under an entity's item come its child
// entities (each with its whole subtree), then its sub-entities; under a sub-entity, its faces;
// under a face, the corners vertexA, vertexB and vertexC. A vertex appears once per face that
// lists it, and not at all when no face uses it. Every item is checked and its handle is stored
// in the record (treeItem), or kept by the tree among the vertex's listings.
#pragma once

#include "SceneTree.h"

namespace y4 {

class Entity;
class Face;
class SubEntity;
class Vertex;

class TreeListing {
public:
    // Appends the entity's item under `parentItem` (kNoItem: the top level) with its whole
    // subtree; returns the entity's item. Entities deeper than a scene may hold (Scene::kMaxLevel
    // levels below this one) are not listed, so a broken hierarchy cannot run away.
    static TreeItem insertEntityItem(EntityTree& tree, TreeItem parentItem, Entity* entity);
    // The sub-entity's item alone, appended under the entity's item, or right before
    // `beforeItem` when one is given (a paste that keeps the order of the entity's list).
    static TreeItem insertSubEntityItem(EntityTree& tree, TreeItem entityItem, SubEntity* subEntity,
                                        TreeItem beforeItem = kNoItem);
    // The face's item, appended under the sub-entity's item, with its three corners.
    static TreeItem insertFaceItem(EntityTree& tree, TreeItem subEntityItem, Face* face);
    // One corner listing under the face's item: right after `afterItem`, or last when it is
    // kNoItem.
    static TreeItem insertVertexItem(EntityTree& tree, TreeItem faceItem, TreeItem afterItem,
                                     Vertex* vertex);

    // Lists the scene from `root` afresh, with nothing selected, announced as one reset.
    static void buildTree(SceneTree& tree, Entity* root);
    // Lists the face's corners again after they changed: the old listings go (and leave their
    // vertices' listings), the three corners are listed anew in order.
    static void relistFaceCorners(SceneTree& tree, Face* face);
};

}  // namespace y4
