// Listing a scene in the object tree: order, labels, handles in the records, rebuilds, and
// hierarchies deeper than a recursion could take. (A face's corners relisted after an edit are
// held to the records by the soak's invariants and the Attributes dialog's tests.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SceneBuilder.h"
#include "ShadowView.h"
#include "files/Reader.h"
#include "model/TreeListing.h"

namespace y4 {
namespace {

using test::Lines;
using test::ShadowView;

// A scene built record by record.
struct Model {
    Reader reader{nullptr, "/x/LIST.Y4P", Reader::NewModel{}};
    gen::SceneBuilder build{reader};

    SubEntity* mesh(Entity* e, int vertexCount) {
        SubEntity* s = build.addSubEntity(e, 0);
        for (int k = 0; k < vertexCount; ++k) {
            build.addVertex(s, {0, 0, 0}, {0, 0, 0}, 0, 0);
        }
        return s;
    }
};

TEST(TreeListing, BuildTreeListsEntitiesThenSubEntitiesThenFacesWithCornersAToC) {
    Model m;
    Entity* ship = m.build.addEntity(nullptr, "Ship");
    Entity* hull = m.build.addEntity(ship, "Hull");
    Entity* keel = m.build.addEntity(hull, "Keel");
    m.build.addFace(m.mesh(keel, 3), 2, 0, 1);
    SubEntity* deck = m.mesh(ship, 5);
    Face* f0 = m.build.addFace(deck, 0, 1, 2);
    Face* f1 = m.build.addFace(deck, 2, 1, 3);
    f1->deleted = 1;
    m.build.addEntity(ship, "Mast");  // made after the sub-entity, listed before it
    Vertex* const* v = deck->vertices.span().data();

    SceneTree tree;
    ShadowView view(tree);
    TreeListing::buildTree(tree, m.reader.root());
    EXPECT_EQ(view.take(), (Lines{"will reset", "reset"}));
    EXPECT_EQ(ShadowView::outline(tree), R"(Ship
  Hull
    Keel
      SubEntity[0]
        Face[0]
          Vertex[2]
          Vertex[0]
          Vertex[1]
  Mast
  SubEntity[0]
    Face[0]
      Vertex[0]
      Vertex[1]
      Vertex[2]
    Face[1] (*)
      Vertex[2]
      Vertex[1]
      Vertex[3]
)");
    EXPECT_EQ(tree.size(), 18u);

    // Each record holds its items; a vertex one per face that lists it, an unused one none.
    for (Entity* e : m.reader.entities) {
        EXPECT_EQ(tree.itemData(e->treeItem), e);
    }
    EXPECT_EQ(tree.itemData(deck->treeItem), deck);
    EXPECT_EQ(tree.itemData(f1->treeItem), f1);
    ASSERT_EQ(v[1]->treeItems(tree).size(), 2u);
    EXPECT_EQ(tree.parentItem(v[1]->treeItems(tree)[0]), f0->treeItem);
    EXPECT_EQ(tree.parentItem(v[1]->treeItems(tree)[1]), f1->treeItem);
    EXPECT_EQ(tree.itemData(v[1]->treeItems(tree)[1]), v[1]);
    EXPECT_TRUE(v[4]->treeItems(tree).empty());

    // A rebuild deselects first, while the old item still shows, and replaces every handle.
    tree.selectItem(v[3]->treeItems(tree)[0]);
    const TreeItem selected = tree.selectedItem();
    tree.setCheck(hull->treeItem, false);
    view.take();
    TreeListing::buildTree(tree, m.reader.root());
    EXPECT_EQ(view.take(),
              (Lines{"selected " + std::to_string(selected) + " -> 0", "will reset", "reset"}));
    EXPECT_EQ(tree.size(), 18u);
    EXPECT_TRUE(tree.check(hull->treeItem));
    EXPECT_EQ(v[1]->treeItems(tree).size(), 2u);
    EXPECT_EQ(tree.itemData(keel->treeItem), keel);

    // An empty rebuild takes every handle out of the records.
    TreeListing::buildTree(tree, nullptr);
    EXPECT_EQ(tree.size(), 0u);
    EXPECT_TRUE(v[1]->treeItems(tree).empty());
    EXPECT_EQ(ship->treeItem, kNoItem);
    EXPECT_EQ(deck->treeItem, kNoItem);
}

TEST(TreeListing, DeepHierarchiesAreListedWithoutRecursion) {
    Model m;
    Entity* e = m.build.addEntity(nullptr, "L0");
    for (int level = 1; level <= Scene::kMaxLevel; ++level) {
        e = m.build.addEntity(e, "L" + std::to_string(level));
    }
    Face* f = m.build.addFace(m.mesh(e, 1), 0, 0, 0);
    f->vertexA = f->vertexB = f->vertexC = nullptr;
    SceneTree tree;
    TreeListing::buildTree(tree, m.reader.root());
    EXPECT_EQ(tree.size(), Scene::kMaxLevel + 1u + 2u);
    int depth = 0;
    for (TreeItem item = e->treeItem; tree.parentItem(item) != kNoItem;
         item = tree.parentItem(item)) {
        ++depth;
    }
    EXPECT_EQ(depth, Scene::kMaxLevel);
    EXPECT_EQ(tree.itemText(e->treeItem), "L255");

    // A corrupted hierarchy that loops back ends at the depth a scene can hold.
    e->subEntities.clear();
    e->children.push_back(m.reader.root());
    TreeListing::buildTree(tree, m.reader.root());
    EXPECT_EQ(tree.size(), Scene::kMaxLevel + 1u);
    e->children.clear();
}

}  // namespace
}  // namespace y4
