// Two-stage deletion: Delete/Undelete labels in the object tree, the purge at commit of faces,
// sub-entities and nested entities in any list order, its trace lines, and a large random purge
// against a plain step-by-step reference of the same algorithm.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ModelGenerator.h"
#include "SceneBuilder.h"
#include "files/Reader.h"
#include "model/SceneTree.h"
#include "model/TreeListing.h"
#include "platform/TraceLog.h"
#include "support/SceneDump.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;

// The fourteen lines that the removal of one face writes.
const Lines kFaceLines = [] {
    Lines out;
    for (const char* step : {"1", "2", "3", "4", "5", "m_pEntityTree->DeleteItem()", "delete f"}) {
        out.push_back(std::string("Reader::deleteObject(f) - before ") + step);
        out.push_back(std::string("Reader::deleteObject(f) - after ") + step);
    }
    return out;
}();

// The process's trace log, written to a private folder for one test.
class LogCapture {
public:
    LogCapture() { EXPECT_TRUE(TraceLog::global().open(dir_.file("Y4Editor.log"))); }
    ~LogCapture() { TraceLog::global().close(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Closes the log and returns its lines.
    Lines lines() {
        TraceLog::global().close();
        const std::string text = test::TempDir::read(dir_.file("Y4Editor.log"));
        Lines out;
        std::size_t begin = 0;
        for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos;
             begin = end + 1) {
            out.push_back(text.substr(begin, end - begin));
        }
        EXPECT_EQ(begin, text.size()) << "the log ends in a partial line";
        return out;
    }

private:
    test::TempDir dir_;
};

// The lines of a purge: `early` faces removed with their sub-entity or entity, then the faces
// removed one by one.
Lines purgeLines(std::size_t early, std::size_t single) {
    Lines out;
    for (std::size_t k = 0; k < early; ++k) {
        out.insert(out.end(), kFaceLines.begin(), kFaceLines.end());
    }
    out.push_back("Reader::finalDelete() - before 1");
    for (std::size_t k = 0; k < single; ++k) {
        out.push_back("Reader::finalDelete() - before deleteObject(*fi)");
        out.insert(out.end(), kFaceLines.begin(), kFaceLines.end());
        out.push_back("Reader::finalDelete() - after deleteObject(*fi)");
    }
    out.push_back("Reader::finalDelete() - before 1");
    out.push_back("Reader::finalDelete() - before 2");
    out.push_back("Reader::finalDelete() - after 2");
    return out;
}

// A scene built record by record and listed in an object tree.
struct Listed {
    SceneTree tree;
    std::unique_ptr<Reader> reader =
        std::make_unique<Reader>(nullptr, "/x/DELETE.Y4P", Reader::NewModel{});
    gen::SceneBuilder build{*reader};

    void list() {
        reader->m_pEntityTree = &tree;
        TreeListing::buildTree(tree, reader->root());
    }
    // A sub-entity with four corners and three faces: (0 1 2), (0 2 3) and the degenerate
    // (3 3 1), which lists corner 3 twice.
    SubEntity* quad(Entity* e) {
        SubEntity* s = build.addSubEntity(e, 0);
        for (int k = 0; k < 4; ++k) {
            build.addVertex(s, {static_cast<float>(k), 0, 0}, {0, 1, 0}, 0, 0);
        }
        build.addFace(s, 0, 1, 2);
        build.addFace(s, 0, 2, 3);
        build.addFace(s, 3, 3, 1);
        return s;
    }
};

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

void subtree(const SceneTree& tree, TreeItem top, std::vector<TreeItem>& out) {
    out.push_back(top);
    for (int row = 0; row < tree.childCount(top); ++row) {
        subtree(tree, tree.child(top, row), out);
    }
}

// Every item of the subtree shows its record's name, with " (*)" when `deleted`, and every
// record there carries that mark.
void expectSubtreeLabels(const SceneTree& tree, TreeItem top, bool deleted) {
    std::vector<TreeItem> items;
    subtree(tree, top, items);
    for (TreeItem item : items) {
        const SceneObject* record = tree.itemData(item);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(tree.itemText(item), record->name() + (deleted ? " (*)" : ""));
        EXPECT_EQ(record->deleted, deleted ? 1 : 0) << record->name();
    }
}

// Every handle a record holds is its item in the tree, every item belongs to a record of the
// scene, and there are no other items.
void expectTreeMatchesRecords(const Reader& r, const SceneTree& tree) {
    std::unordered_set<const SceneObject*> live;
    std::size_t handles = 0;
    auto held = [&](const SceneObject* record, TreeItem item) {
        live.insert(record);
        ++handles;
        EXPECT_TRUE(tree.contains(item)) << record->name() << " holds a stale handle";
        EXPECT_EQ(tree.itemData(item), record);
    };
    for (const Entity* e : r.entities) {
        held(e, e->treeItem);
    }
    for (const SubEntity* s : r.subEntities) {
        held(s, s->treeItem);
    }
    for (const Face* f : r.faces) {
        held(f, f->treeItem);
    }
    for (const Vertex* v : r.vertices) {
        std::for_each(v->treeItems.begin(), v->treeItems.end(), [&](TreeItem x) { held(v, x); });
    }
    EXPECT_EQ(tree.size(), handles);
    std::vector<TreeItem> items;
    for (int row = 0; row < tree.childCount(kNoItem); ++row) {
        subtree(tree, tree.child(kNoItem, row), items);
    }
    EXPECT_EQ(items.size(), handles);
    for (TreeItem item : items) {
        EXPECT_TRUE(live.count(tree.itemData(item))) << "item " << item << " of a removed record";
    }
}

// Stands in for the window's view: before a removal is done it reads the label of every item
// that goes, and with it the item's record, so a record destroyed before its items' removal is
// announced is read after its end.
class ReadingView : public SceneTreeObserver {
public:
    explicit ReadingView(SceneTree& tree) : tree_(tree) { tree_.addObserver(this); }
    ~ReadingView() override { tree_.removeObserver(this); }
    ReadingView(const ReadingView&) = delete;
    ReadingView& operator=(const ReadingView&) = delete;

    void itemsAboutToBeRemoved(TreeItem parent, int first, int last) override {
        for (int row = first; row <= last; ++row) {
            read(tree_.child(parent, row));
        }
        removedRows += static_cast<std::size_t>(last - first + 1);
    }
    void itemsChanged(TreeItem parent, int first, int last) override {
        for (int row = first; row <= last; ++row) {
            labels_ += tree_.itemText(tree_.child(parent, row)).size();
        }
    }
    void itemsAboutToBeInserted(TreeItem, int, int) override {}
    void itemsInserted(TreeItem, int, int) override {}
    void itemsRemoved(TreeItem, int, int) override {}
    void treeAboutToBeReset() override {}
    void treeReset() override {}
    void selectionChanged(TreeItem, TreeItem) override {}

    std::size_t removedRows = 0;

private:
    void read(TreeItem item) {
        EXPECT_NE(tree_.itemData(item), nullptr);
        labels_ += tree_.itemText(item).size();
        for (int row = 0; row < tree_.childCount(item); ++row) {
            read(tree_.child(item, row));
        }
    }

    SceneTree& tree_;
    std::size_t labels_ = 0;
};

// The tree after the purge lists what a fresh listing of the remaining scene lists. Replaces
// every handle, so it comes last.
void expectTreeAsIfListedAfresh(Reader& r, const SceneTree& tree) {
    SceneTree fresh;
    r.m_pEntityTree = &fresh;
    TreeListing::buildTree(fresh, r.root());
    EXPECT_EQ(outline(tree), outline(fresh));
    r.m_pEntityTree = nullptr;
}

template <class T>
std::vector<T*> live(const std::vector<T*>& list) {
    std::vector<T*> out;
    std::copy_if(list.begin(), list.end(), std::back_inserter(out),
                 [](const T* r) { return !r->deleted; });
    return out;
}

TEST(SceneDeletion, DeleteAndUndeleteRelabelTheWholeSubtree) {
    Listed m;
    Entity* root = m.build.addEntity(nullptr, "Root");
    Entity* arm = m.build.addEntity(root, "Arm");
    Entity* hand = m.build.addEntity(arm, "Hand");
    SubEntity* box = m.build.addSubEntity(hand, 0);
    m.build.addBox(box, {0, 0, 0}, {1, 1, 1});
    SubEntity* armQuad = m.quad(arm);
    Entity* leg = m.build.addEntity(root, "Leg");
    SubEntity* legQuad = m.quad(leg);
    m.list();
    const std::string plain = outline(m.tree);

    // A face deleted by itself first: its corners stay unmarked.
    Face* early = box->faces[3];
    m.reader->markFace(early, 1);
    EXPECT_EQ(m.tree.itemText(early->treeItem), "Face[3] (*)");
    EXPECT_EQ(early->vertexA->deleted, 0);
    expectSubtreeLabels(m.tree, early->vertexA->treeItems.front(), false);

    m.reader->markEntity(arm, 1);
    expectSubtreeLabels(m.tree, arm->treeItem, true);
    // Every corner listing of every vertex below, and nothing outside.
    for (const SubEntity* s : {box, armQuad}) {
        for (const Vertex* v : s->vertices) {
            EXPECT_FALSE(v->treeItems.empty());
            for (TreeItem item : v->treeItems) {
                EXPECT_EQ(m.tree.itemText(item), v->name() + " (*)");
            }
        }
    }
    EXPECT_EQ(m.tree.itemText(root->treeItem), "Root");
    expectSubtreeLabels(m.tree, leg->treeItem, false);

    // Undelete restores the plain names everywhere below, the earlier face's too.
    m.reader->markEntity(arm, 0);
    expectSubtreeLabels(m.tree, root->treeItem, false);
    EXPECT_EQ(outline(m.tree), plain);

    // A sub-entity marks its faces and vertices but not its entity.
    m.reader->markSubEntity(legQuad, 1);
    expectSubtreeLabels(m.tree, legQuad->treeItem, true);
    EXPECT_EQ(leg->deleted, 0);
    EXPECT_EQ(m.tree.itemText(leg->treeItem), "Leg");
    m.reader->markSubEntity(legQuad, 0);
    EXPECT_EQ(outline(m.tree), plain);

    // Marking without a tree only sets the marks.
    m.reader->m_pEntityTree = nullptr;
    m.reader->markEntity(leg, 1);
    EXPECT_EQ(legQuad->vertices[3]->deleted, 1);
    m.reader->markEntity(leg, 0);
    EXPECT_EQ(legQuad->faces[0]->deleted, 0);
}

TEST(SceneDeletion, PurgedFacesLeaveTheirCornersAndTheirListings) {
    Listed m;
    Entity* root = m.build.addEntity(nullptr, "Root");
    SubEntity* first = m.quad(root);
    SubEntity* s = m.quad(root);
    m.list();
    Face* f0 = s->faces[0];
    Face* f1 = s->faces[1];
    Face* f2 = s->faces[2];
    Vertex* const* v = s->vertices.data();

    // The corner listings under the faces that go, and what each corner holds before.
    std::vector<TreeItem> goneItems;
    for (const Face* f : {f1, f2}) {
        for (int row = 0; row < m.tree.childCount(f->treeItem); ++row) {
            goneItems.push_back(m.tree.child(f->treeItem, row));
        }
    }
    ASSERT_EQ(goneItems.size(), 6u);
    std::vector<std::vector<TreeItem>> keptItems;
    for (int k = 0; k < 4; ++k) {
        std::vector<TreeItem> kept;
        for (TreeItem item : v[k]->treeItems) {
            if (std::find(goneItems.begin(), goneItems.end(), item) == goneItems.end()) {
                kept.push_back(item);
            }
        }
        keptItems.push_back(kept);
    }
    const std::vector<SubEntity*> subs = m.reader->subEntities;
    const std::vector<Vertex*> vertices = m.reader->vertices;
    const TreeItem f1Item = f1->treeItem;

    m.reader->markFace(f1, 1);
    m.reader->markFace(f2, 1);
    LogCapture log;
    m.reader->finalDelete();
    EXPECT_EQ(log.lines(), purgeLines(0, 2));

    EXPECT_EQ(s->faces, std::vector<Face*>{f0});
    EXPECT_EQ(m.reader->faces,
              (std::vector<Face*>{first->faces[0], first->faces[1], first->faces[2], f0}));
    EXPECT_EQ(v[0]->faces, std::vector<Face*>{f0});
    EXPECT_EQ(v[1]->faces, std::vector<Face*>{f0});
    EXPECT_EQ(v[2]->faces, std::vector<Face*>{f0});
    EXPECT_TRUE(v[3]->faces.empty());
    // The corners stay, listed only under the faces that remain.
    EXPECT_EQ(m.reader->vertices, vertices);
    EXPECT_EQ(m.reader->subEntities, subs);
    EXPECT_EQ(s->vertices.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(v[k]->treeItems, keptItems[static_cast<std::size_t>(k)]) << k;
    }
    EXPECT_FALSE(m.tree.contains(f1Item));
    for (TreeItem item : goneItems) {
        EXPECT_FALSE(m.tree.contains(item));
    }
    expectTreeMatchesRecords(*m.reader, m.tree);
    EXPECT_EQ(outline(m.tree), R"(Root
  SubEntity[0]
    Face[0]
      Vertex[0]
      Vertex[1]
      Vertex[2]
    Face[1]
      Vertex[0]
      Vertex[2]
      Vertex[3]
    Face[2]
      Vertex[3]
      Vertex[3]
      Vertex[1]
  SubEntity[1]
    Face[0]
      Vertex[0]
      Vertex[1]
      Vertex[2]
)");

    // An immediate removal outside a purge takes the face out the same way.
    Face* g = first->faces[2];
    m.reader->deleteObject(g);
    EXPECT_EQ(first->faces.size(), 2u);
    EXPECT_TRUE(first->vertices[3]->faces.size() == 1 && first->vertices[3]->faces[0] != g);
    expectTreeMatchesRecords(*m.reader, m.tree);
    expectTreeAsIfListedAfresh(*m.reader, m.tree);
}

TEST(SceneDeletion, PurgedSubEntityTakesItsFacesVerticesAndItems) {
    Listed m;
    Entity* root = m.build.addEntity(nullptr, "Root");
    Entity* part = m.build.addEntity(root, "Part");
    SubEntity* gone = m.build.addSubEntity(part, 0);
    m.build.addBox(gone, {0, 0, 0}, {1, 2, 3});
    SubEntity* kept = m.quad(part);
    m.list();
    const std::vector<TreeItem> goneItems = [&] {
        std::vector<TreeItem> items;
        subtree(m.tree, gone->treeItem, items);
        return items;
    }();
    ASSERT_EQ(goneItems.size(), 1u + 12u * 4u);

    m.reader->markSubEntity(gone, 1);
    LogCapture log;
    m.reader->finalDelete();
    EXPECT_EQ(log.lines(), purgeLines(12, 0));

    EXPECT_EQ(m.reader->entities, (std::vector<Entity*>{root, part}));
    EXPECT_EQ(part->subEntities, std::vector<SubEntity*>{kept});
    EXPECT_EQ(m.reader->subEntities, std::vector<SubEntity*>{kept});
    EXPECT_EQ(m.reader->faces, kept->faces);
    EXPECT_EQ(m.reader->vertices, kept->vertices);
    for (TreeItem item : goneItems) {
        EXPECT_FALSE(m.tree.contains(item));
    }
    expectTreeMatchesRecords(*m.reader, m.tree);
    EXPECT_EQ(outline(m.tree).substr(0, 29), "Root\n  Part\n    SubEntity[1]\n");
    expectTreeAsIfListedAfresh(*m.reader, m.tree);
}

TEST(SceneDeletion, PurgeWithNothingMarkedOnlyTraces) {
    Listed m;
    Entity* root = m.build.addEntity(nullptr, "Root");
    m.quad(m.build.addEntity(root, "Child"));
    m.list();
    const std::string scene = test::SceneDump::text(*m.reader);
    const std::string tree = outline(m.tree);
    LogCapture log;
    m.reader->finalDelete();
    EXPECT_EQ(log.lines(),
              (Lines{"Reader::finalDelete() - before 1", "Reader::finalDelete() - before 1",
                     "Reader::finalDelete() - before 2", "Reader::finalDelete() - after 2"}));
    EXPECT_EQ(test::SceneDump::text(*m.reader), scene);
    EXPECT_EQ(outline(m.tree), tree);
}

TEST(SceneDeletion, NestedEntitiesGoOnceWhateverTheListOrder) {
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Listed m;
        Entity* root = m.build.addEntity(nullptr, "Root");
        Entity* a = m.build.addEntity(root, "A");
        Entity* a1 = m.build.addEntity(a, "A1");
        Entity* a1a = m.build.addEntity(a1, "A1a");
        m.build.addEntity(a1, "A1b");
        Entity* a2 = m.build.addEntity(a, "A2");
        Entity* b = m.build.addEntity(root, "B");
        Entity* b1 = m.build.addEntity(b, "B1");
        Entity* b2 = m.build.addEntity(b, "B2");
        for (Entity* e : {root, a, a1, a1a, a2, b, b1, b2}) {
            m.quad(e);
        }
        m.build.addBox(a1a->subEntities[0], {0, 0, 0}, {1, 1, 1});
        m.list();
        ReadingView view(m.tree);

        std::mt19937 random(seed);
        std::shuffle(m.reader->entities.begin() + 1, m.reader->entities.end(), random);
        std::shuffle(m.reader->subEntities.begin(), m.reader->subEntities.end(), random);
        std::shuffle(m.reader->faces.begin(), m.reader->faces.end(), random);
        std::shuffle(m.reader->vertices.begin(), m.reader->vertices.end(), random);

        // A child deleted before its parent, a grandchild's parent, a sibling's child, and one
        // face of a group that stays.
        m.reader->markEntity(a1, 1);
        m.reader->markEntity(a, 1);
        m.reader->markEntity(b1, 1);
        m.reader->markFace(b->subEntities[0]->faces[1], 1);
        const auto entities = live(m.reader->entities);
        const auto subEntities = live(m.reader->subEntities);
        const auto faces = live(m.reader->faces);
        const auto vertices = live(m.reader->vertices);
        const std::size_t goneFaces = m.reader->faces.size() - faces.size();

        LogCapture log;
        m.reader->finalDelete();
        EXPECT_EQ(log.lines(), purgeLines(goneFaces - 1, 1));
        EXPECT_EQ(m.reader->entities, entities);
        EXPECT_EQ(m.reader->subEntities, subEntities);
        EXPECT_EQ(m.reader->faces, faces);
        EXPECT_EQ(m.reader->vertices, vertices);
        EXPECT_EQ(root->children, std::vector<Entity*>{b});
        EXPECT_EQ(b->children, std::vector<Entity*>{b2});
        EXPECT_EQ(b->subEntities[0]->faces.size(), 2u);
        expectTreeMatchesRecords(*m.reader, m.tree);
        EXPECT_GT(view.removedRows, 0u);
        expectTreeAsIfListedAfresh(*m.reader, m.tree);
    }
}

// The purge exactly as described, step by step, on copies of every list: which records go,
// what remains in which order, and the trace lines it writes.
class ReferencePurge {
public:
    // Runs before the real purge, so the links are read from the records themselves.
    explicit ReferencePurge(const Reader& r)
        : entities(r.entities), subEntities(r.subEntities), faces(r.faces), vertices(r.vertices) {
        for (const Entity* e : r.entities) {
            children[e] = e->children;
            entitySubs[e] = e->subEntities;
        }
        for (const SubEntity* s : r.subEntities) {
            subFaces[s] = s->faces;
            subVertices[s] = s->vertices;
        }
        for (const Vertex* v : r.vertices) {
            vertexFaces[v] = v->faces;
        }
    }

    void finalDelete() {
        visitFromLast(std::vector<Entity*>(entities), [&](Entity* e) { deleteEntity(e); });
        visitFromLast(std::vector<SubEntity*>(subEntities), [&](SubEntity* s) { deleteSub(s); });
        log.push_back("Reader::finalDelete() - before 1");
        visitFromLast(std::vector<Face*>(faces), [&](Face* f) {
            log.push_back("Reader::finalDelete() - before deleteObject(*fi)");
            deleteFace(f);
            log.push_back("Reader::finalDelete() - after deleteObject(*fi)");
        });
        log.push_back("Reader::finalDelete() - before 1");
        log.push_back("Reader::finalDelete() - before 2");
        visitFromLast(std::vector<Vertex*>(vertices), [&](Vertex* v) { deleteVertex(v); });
        log.push_back("Reader::finalDelete() - after 2");
    }

    std::vector<Entity*> entities;
    std::vector<SubEntity*> subEntities;
    std::vector<Face*> faces;
    std::vector<Vertex*> vertices;
    std::unordered_map<const Entity*, std::vector<Entity*>> children;
    std::unordered_map<const Entity*, std::vector<SubEntity*>> entitySubs;
    std::unordered_map<const SubEntity*, std::vector<Face*>> subFaces;
    std::unordered_map<const SubEntity*, std::vector<Vertex*>> subVertices;
    std::unordered_map<const Vertex*, std::vector<Face*>> vertexFaces;
    std::unordered_set<const SceneObject*> removed;
    Lines log;

private:
    // The elements that remain in front of the current position, each marked one removed.
    template <class T, class Remove>
    void visitFromLast(const std::vector<T*>& snapshot, Remove remove) {
        for (std::size_t i = snapshot.size(); i-- > 0;) {
            if (!removed.count(snapshot[i]) && snapshot[i]->deleted) {
                remove(snapshot[i]);
            }
        }
    }
    template <class T>
    static void takeOut(std::vector<T*>& list, const T* record) {
        auto it = std::find(list.rbegin(), list.rend(), record);
        ASSERT_NE(it, list.rend());
        list.erase(std::next(it).base());
    }
    void deleteEntity(Entity* e) {
        for (auto& list = children[e]; !list.empty();) {
            deleteEntity(list.back());
        }
        for (auto& list = entitySubs[e]; !list.empty();) {
            deleteSub(list.back());
        }
        takeOut(entities, e);
        if (const Entity* parent = e->parent) {
            takeOut(children[parent], e);
        }
        removed.insert(e);
    }
    void deleteSub(SubEntity* s) {
        for (auto& list = subFaces[s]; !list.empty();) {
            deleteFace(list.back());
        }
        for (auto& list = subVertices[s]; !list.empty();) {
            deleteVertex(list.back());
        }
        takeOut(subEntities, s);
        takeOut(entitySubs[s->parent], s);
        removed.insert(s);
    }
    void deleteFace(Face* f) {
        log.insert(log.end(), kFaceLines.begin(), kFaceLines.end());
        if (const SubEntity* parent = f->parent) {
            takeOut(subFaces[parent], f);
        }
        takeOut(faces, f);
        for (const Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
            if (corner) {
                std::erase(vertexFaces[corner], f);
            }
        }
        removed.insert(f);
    }
    void deleteVertex(Vertex* v) {
        takeOut(vertices, v);
        takeOut(subVertices[v->subEntity], v);
        vertexFaces[v].clear();
        removed.insert(v);
    }
};

TEST(SceneDeletion, RandomPurgeMatchesTheStepByStepReference) {
    gen::GeneratorOptions options;
    options.faces = 4000;
    options.groups = 48;
    options.depth = 6;
    options.subEntities = 3;
    options.seed = 11;
    for (unsigned seed : {3u, 4u, 5u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        SceneTree tree;
        const std::unique_ptr<Reader> reader = gen::ModelGenerator::generate(options, "/x/GEN.Y4P");
        Reader& r = *reader;
        r.m_pEntityTree = &tree;
        TreeListing::buildTree(tree, r.root());
        ASSERT_GE(r.faces.size(), 4000u);
        ReadingView view(tree);

        std::mt19937 random(seed);
        std::shuffle(r.entities.begin() + 1, r.entities.end(), random);
        std::shuffle(r.subEntities.begin(), r.subEntities.end(), random);
        std::shuffle(r.faces.begin(), r.faces.end(), random);
        std::shuffle(r.vertices.begin(), r.vertices.end(), random);

        // Delete and Undelete in a random order over every kind the tree offers, a random half
        // of each, then a second round that undeletes some.
        auto coin = [&](double p) { return std::bernoulli_distribution(p)(random); };
        for (int round = 0; round < 2; ++round) {
            const int flag = round == 0 ? 1 : 0;
            const double p = round == 0 ? 0.5 : 0.25;
            std::vector<Entity*> entities(r.entities.begin() + 1, r.entities.end());
            std::shuffle(entities.begin(), entities.end(), random);
            for (Entity* e : entities) {
                if (coin(p / 3)) {
                    r.markEntity(e, flag);
                }
            }
            for (SubEntity* s : r.subEntities) {
                if (coin(p / 2)) {
                    r.markSubEntity(s, flag);
                }
            }
            for (Face* f : r.faces) {
                if (coin(p)) {
                    r.markFace(f, flag);
                }
            }
        }
        // Vertices whose faces all go, by themselves.
        for (Vertex* v : r.vertices) {
            const bool unused = std::all_of(v->faces.begin(), v->faces.end(),
                                            [](const Face* f) { return f->deleted; });
            if (unused && !v->deleted && coin(0.5)) {
                r.markVertex(v, 1);
            }
        }

        ReferencePurge expected(r);
        expected.finalDelete();
        ASSERT_GT(expected.removed.size(), 1000u);
        ASSERT_GT(expected.faces.size(), 500u);
        LogCapture log;
        r.finalDelete();
        const Lines lines = log.lines();
        ASSERT_EQ(lines.size(), expected.log.size());
        EXPECT_TRUE(lines == expected.log) << "the purge's trace differs from the reference";

        EXPECT_EQ(r.entities, expected.entities);
        EXPECT_EQ(r.subEntities, expected.subEntities);
        EXPECT_EQ(r.faces, expected.faces);
        EXPECT_EQ(r.vertices, expected.vertices);
        int listMismatches = 0;
        for (const Entity* e : r.entities) {
            listMismatches += e->children != expected.children.at(e);
            listMismatches += e->subEntities != expected.entitySubs.at(e);
        }
        for (const SubEntity* s : r.subEntities) {
            listMismatches += s->faces != expected.subFaces.at(s);
            listMismatches += s->vertices != expected.subVertices.at(s);
        }
        for (const Vertex* v : r.vertices) {
            listMismatches += v->faces != expected.vertexFaces.at(v);
            listMismatches += v->deleted;
        }
        EXPECT_EQ(listMismatches, 0);
        expectTreeMatchesRecords(r, tree);

        // A second purge finds nothing left to do.
        const std::string scene = test::SceneDump::text(r);
        LogCapture again;
        r.finalDelete();
        EXPECT_EQ(again.lines(), purgeLines(0, 0));
        EXPECT_EQ(test::SceneDump::text(r), scene);
        expectTreeAsIfListedAfresh(r, tree);
    }
}

}  // namespace
}  // namespace y4
