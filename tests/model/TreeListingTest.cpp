// Listing a scene in the object tree: order, labels, handles in the records, rebuilds and the
// relisting of a face's corners.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/Scene.h"
#include "model/TreeListing.h"

namespace y4 {
namespace {

// Records made by hand, joined to their owners and the scene's lists.
struct Model {
    Scene scene;

    Entity* entity(Entity* parent, const char* name) {
        Entity* e = scene.create<Entity>(parent, static_cast<int>(scene.entities.size()));
        e->setName(name);
        if (parent) {
            parent->children.push_back(e);
            e->level = parent->level + 1;
        }
        scene.entities.push_back(e);
        return e;
    }
    SubEntity* subEntity(Entity* parent) {
        SubEntity* s = scene.create<SubEntity>(parent, static_cast<int>(scene.subEntities.size()));
        parent->subEntities.push_back(s);
        scene.subEntities.push_back(s);
        return s;
    }
    Vertex* vertex(SubEntity* s) {
        Vertex* v = scene.create<Vertex>(nullptr, static_cast<int>(s->vertices.size()));
        v->subEntity = s;
        s->vertices.push_back(v);
        scene.vertices.push_back(v);
        return v;
    }
    Face* face(SubEntity* s, Vertex* a, Vertex* b, Vertex* c) {
        Face* f = scene.create<Face>(s, static_cast<int>(s->faces.size()));
        f->vertexA = a;
        f->vertexB = b;
        f->vertexC = c;
        for (Vertex* v : {a, b, c}) {
            if (v) {
                v->addFace(f);
            }
        }
        s->faces.push_back(f);
        scene.faces.push_back(f);
        return f;
    }
};

// The tree as indented labels, one item a line; unchecked items are marked "-".
void outlineBelow(const SceneTree& tree, TreeItem parent, int depth, std::string& out) {
    for (int row = 0; row < tree.childCount(parent); ++row) {
        const TreeItem item = tree.child(parent, row);
        out.append(2 * static_cast<std::size_t>(depth), ' ');
        out += (tree.check(item) ? "" : "-") + tree.itemText(item) + "\n";
        outlineBelow(tree, item, depth + 1, out);
    }
}
std::string outline(const SceneTree& tree) {
    std::string out;
    outlineBelow(tree, kNoItem, 0, out);
    return out;
}

class Recorder : public SceneTreeObserver {
public:
    void itemsAboutToBeInserted(TreeItem p, int f, int l) override { add("will insert", p, f, l); }
    void itemsInserted(TreeItem p, int f, int l) override { add("inserted", p, f, l); }
    void itemsAboutToBeRemoved(TreeItem p, int f, int l) override { add("will remove", p, f, l); }
    void itemsRemoved(TreeItem p, int f, int l) override { add("removed", p, f, l); }
    void itemsChanged(TreeItem p, int f, int l) override { add("changed", p, f, l); }
    void treeAboutToBeReset() override { lines.push_back("will reset"); }
    void treeReset() override { lines.push_back("reset"); }
    void selectionChanged(TreeItem previous, TreeItem current) override {
        lines.push_back("selected " + std::to_string(previous) + " -> " + std::to_string(current));
    }
    std::vector<std::string> take() { return std::exchange(lines, {}); }
    std::vector<std::string> lines;

private:
    void add(const char* what, TreeItem parent, int first, int last) {
        lines.push_back(std::string(what) + " " + std::to_string(parent) + " " +
                        std::to_string(first) + ".." + std::to_string(last));
    }
};

using Lines = std::vector<std::string>;

TEST(TreeListing, BuildTreeListsEntitiesThenSubEntitiesThenFacesWithCornersAToC) {
    Model m;
    Entity* ship = m.entity(nullptr, "Ship");
    Entity* hull = m.entity(ship, "Hull");
    Entity* keel = m.entity(hull, "Keel");
    SubEntity* keelMesh = m.subEntity(keel);
    Vertex* k[3] = {m.vertex(keelMesh), m.vertex(keelMesh), m.vertex(keelMesh)};
    m.face(keelMesh, k[2], k[0], k[1]);
    SubEntity* deck = m.subEntity(ship);
    Vertex* v[5] = {m.vertex(deck), m.vertex(deck), m.vertex(deck), m.vertex(deck), m.vertex(deck)};
    Face* f0 = m.face(deck, v[0], v[1], v[2]);
    Face* f1 = m.face(deck, v[2], v[1], v[3]);
    f1->deleted = 1;
    // Made after the sub-entity, listed before it.
    m.entity(ship, "Mast");

    SceneTree tree;
    Recorder recorder;
    tree.addObserver(&recorder);
    TreeListing::buildTree(tree, m.scene.root());
    EXPECT_EQ(recorder.take(), (Lines{"will reset", "reset"}));
    EXPECT_EQ(outline(tree), R"(Ship
  Hull
    Keel
      SubEntity[0]
        Face[0]
          Vertex[2]
          Vertex[0]
          Vertex[1]
  Mast
  SubEntity[1]
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
    for (Entity* e : m.scene.entities) {
        EXPECT_EQ(tree.itemData(e->treeItem), e);
    }
    EXPECT_EQ(tree.itemData(deck->treeItem), deck);
    EXPECT_EQ(tree.itemData(f1->treeItem), f1);
    ASSERT_EQ(v[1]->treeItems.size(), 2u);
    EXPECT_EQ(tree.parentItem(v[1]->treeItems[0]), f0->treeItem);
    EXPECT_EQ(tree.parentItem(v[1]->treeItems[1]), f1->treeItem);
    EXPECT_EQ(tree.itemData(v[1]->treeItems[1]), v[1]);
    EXPECT_TRUE(v[4]->treeItems.empty());

    // A rebuild deselects first, while the old item still shows, and replaces every handle.
    tree.selectItem(v[3]->treeItems[0]);
    const TreeItem selected = tree.selectedItem();
    tree.setCheck(hull->treeItem, false);
    recorder.take();
    TreeListing::buildTree(tree, m.scene.root());
    EXPECT_EQ(recorder.take(),
              (Lines{"selected " + std::to_string(selected) + " -> 0", "will reset", "reset"}));
    EXPECT_EQ(tree.size(), 18u);
    EXPECT_TRUE(tree.check(hull->treeItem));
    EXPECT_EQ(v[1]->treeItems.size(), 2u);
    EXPECT_EQ(tree.itemData(keel->treeItem), keel);

    TreeListing::buildTree(tree, nullptr);
    EXPECT_EQ(tree.size(), 0u);
    EXPECT_TRUE(v[1]->treeItems.empty());
    EXPECT_EQ(ship->treeItem, kNoItem);
    tree.removeObserver(&recorder);
}

TEST(TreeListing, PastedItemsKeepTheOrderOfTheLists) {
    Model m;
    Entity* root = m.entity(nullptr, "Terrain");
    SubEntity* a = m.subEntity(root);
    SubEntity* b = m.subEntity(root);
    SceneTree tree;
    TreeListing::buildTree(tree, root);

    // A sub-entity placed before the last one is listed before it.
    SubEntity* c = m.subEntity(root);
    Vertex* v[3] = {m.vertex(c), m.vertex(c), m.vertex(c)};
    Face* f = m.face(c, v[0], nullptr, v[2]);  // a corner not yet chosen is not listed
    const TreeItem cItem = TreeListing::insertSubEntityItem(tree, root->treeItem, c, b->treeItem);
    EXPECT_EQ(c->treeItem, cItem);
    TreeListing::insertFaceItem(tree, cItem, f);
    EXPECT_EQ(outline(tree), R"(Terrain
  SubEntity[0]
  SubEntity[2]
    Face[0]
      Vertex[0]
      Vertex[2]
  SubEntity[1]
)");
    EXPECT_EQ(a->treeItem, tree.child(root->treeItem, 0));

    // A group pasted under another gets its whole subtree.
    Entity* copy = m.entity(nullptr, "Copy");
    Entity* inner = m.entity(copy, "Inner");
    m.subEntity(inner);
    const TreeItem copyItem = TreeListing::insertEntityItem(tree, a->treeItem, copy);
    EXPECT_EQ(copy->treeItem, copyItem);
    EXPECT_EQ(tree.parentItem(inner->treeItem), copyItem);
    EXPECT_EQ(tree.childCount(inner->treeItem), 1);

    // Inserting under an item that is gone lists nothing and leaves the records alone.
    const TreeItem gone = b->treeItem;
    tree.deleteItem(gone);
    EXPECT_EQ(TreeListing::insertSubEntityItem(tree, gone, b), kNoItem);
    EXPECT_EQ(TreeListing::insertFaceItem(tree, gone, f), kNoItem);
    EXPECT_EQ(f->treeItem, tree.child(cItem, 0));
    EXPECT_EQ(TreeListing::insertVertexItem(tree, cItem, kNoItem, nullptr), kNoItem);
}

TEST(TreeListing, RelistFaceCornersReplacesTheListings) {
    Model m;
    Entity* root = m.entity(nullptr, "Root");
    SubEntity* s = m.subEntity(root);
    Vertex* v[4] = {m.vertex(s), m.vertex(s), m.vertex(s), m.vertex(s)};
    Face* f0 = m.face(s, v[0], v[1], v[2]);
    Face* f1 = m.face(s, v[1], v[2], v[3]);
    SceneTree tree;
    TreeListing::buildTree(tree, root);
    Recorder recorder;
    tree.addObserver(&recorder);

    f0->vertexB = v[3];
    TreeListing::relistFaceCorners(tree, f0);
    const std::string face = std::to_string(f0->treeItem);
    EXPECT_EQ(recorder.take(),
              (Lines{"will remove " + face + " 0..2", "removed " + face + " 0..2",
                     "will insert " + face + " 0..0", "inserted " + face + " 0..0",
                     "will insert " + face + " 1..1", "inserted " + face + " 1..1",
                     "will insert " + face + " 2..2", "inserted " + face + " 2..2"}));
    EXPECT_EQ(outline(tree), R"(Root
  SubEntity[0]
    Face[0]
      Vertex[0]
      Vertex[3]
      Vertex[2]
    Face[1]
      Vertex[1]
      Vertex[2]
      Vertex[3]
)");
    ASSERT_EQ(v[1]->treeItems.size(), 1u);
    EXPECT_EQ(tree.parentItem(v[1]->treeItems[0]), f1->treeItem);
    ASSERT_EQ(v[3]->treeItems.size(), 2u);
    EXPECT_EQ(tree.parentItem(v[3]->treeItems[1]), f0->treeItem);
    for (Vertex* vertex : v) {
        for (TreeItem item : vertex->treeItems) {
            EXPECT_EQ(tree.itemData(item), vertex);
        }
    }

    // Inside a batch of the caller, and twice in it, the result is the same.
    f0->vertexB = v[1];
    tree.beginUpdate();
    TreeListing::relistFaceCorners(tree, f0);
    TreeListing::relistFaceCorners(tree, f0);
    tree.endUpdate();
    EXPECT_EQ(tree.childCount(f0->treeItem), 3);
    EXPECT_EQ(tree.itemData(tree.child(f0->treeItem, 1)), v[1]);
    EXPECT_EQ(v[1]->treeItems.size(), 2u);
    EXPECT_EQ(v[3]->treeItems.size(), 1u);
    EXPECT_EQ(tree.size(), 10u);

    // A face that is not listed is left alone.
    Face* loose = m.face(s, v[0], v[1], v[3]);
    recorder.take();
    TreeListing::relistFaceCorners(tree, loose);
    TreeListing::relistFaceCorners(tree, nullptr);
    EXPECT_TRUE(recorder.lines.empty());
    tree.removeObserver(&recorder);
}

TEST(TreeListing, DeepHierarchiesAreListedWithoutRecursion) {
    Model m;
    Entity* e = m.entity(nullptr, "L0");
    for (int level = 1; level <= Scene::kMaxLevel; ++level) {
        e = m.entity(e, ("L" + std::to_string(level)).c_str());
    }
    m.face(m.subEntity(e), nullptr, nullptr, nullptr);
    SceneTree tree;
    TreeListing::buildTree(tree, m.scene.root());
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
    e->children.push_back(m.scene.root());
    TreeListing::buildTree(tree, m.scene.root());
    EXPECT_EQ(tree.size(), Scene::kMaxLevel + 1u);
    e->children.clear();
}

}  // namespace
}  // namespace y4
