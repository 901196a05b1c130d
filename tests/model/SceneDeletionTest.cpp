// Two-stage deletion: Delete/Undelete labels in the object tree, the purge at commit of faces,
// sub-entities and nested entities, its trace lines, and a large random purge in any list order
// against a plain step-by-step reference of the same algorithm.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "ModelGenerator.h"
#include "SceneBuilder.h"
#include "ShadowView.h"
#include "files/Reader.h"
#include "model/TreeListing.h"
#include "platform/TraceLog.h"
#include "support/SceneDump.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::Lines;
using test::ShadowView;

// The fourteen lines that the removal of one face writes.
const Lines kFaceLines = [] {
    Lines out;
    for (const char* step : {"1", "2", "3", "4", "5", "m_pEntityTree->DeleteItem()", "delete f"}) {
        out.push_back(std::string("Reader::deleteObject(f) - before ") + step);
        out.push_back(std::string("Reader::deleteObject(f) - after ") + step);
    }
    return out;
}();

// The lines that `action` writes to the process's trace log.
template <class Action>
Lines traced(Action action) {
    test::TempDir dir;
    EXPECT_TRUE(TraceLog::global().open(dir.file("Y4Editor.log")));
    action();
    TraceLog::global().close();
    const std::string text = test::TempDir::read(dir.file("Y4Editor.log"));
    EXPECT_TRUE(text.empty() || text.back() == '\n') << "the log ends in a partial line";
    std::istringstream stream(text);
    Lines out;
    for (std::string line; std::getline(stream, line);) {
        out.push_back(line);
    }
    return out;
}

// The lines of a purge: `early` faces removed with their sub-entity or entity, then `single`
// faces removed one by one.
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
    for (const char* line : {"before 1", "before 2", "after 2"}) {
        out.push_back(std::string("Reader::finalDelete() - ") + line);
    }
    return out;
}

// Every item from `top` down shows its record's name, with " (*)" when `deleted`, and every
// record there carries that mark.
void expectLabels(const SceneTree& tree, TreeItem top, bool deleted) {
    const SceneObject* record = tree.itemData(top);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(tree.itemText(top), record->name() + (deleted ? " (*)" : ""));
    EXPECT_EQ(record->deleted, deleted ? 1 : 0) << record->name();
    for (int row = 0; row < tree.childCount(top); ++row) {
        expectLabels(tree, tree.child(top, row), deleted);
    }
}

// Every handle a record of the scene holds is its own item in the tree, and the tree has no other
// items.
void expectTreeMatchesRecords(const Reader& r, const SceneTree& tree) {
    std::set<TreeItem> items;
    auto held = [&](const SceneObject* record, TreeItem item) {
        EXPECT_TRUE(tree.contains(item) && tree.itemData(item) == record)
            << record->name() << " holds a stale handle";
        EXPECT_TRUE(items.insert(item).second) << "item " << item << " held twice";
    };
    std::for_each(r.entities.begin(), r.entities.end(), [&](auto* e) { held(e, e->treeItem); });
    std::for_each(r.subEntities.begin(), r.subEntities.end(),
                  [&](auto* s) { held(s, s->treeItem); });
    std::for_each(r.faces.begin(), r.faces.end(), [&](auto* f) { held(f, f->treeItem); });
    for (const Vertex* v : r.vertices) {
        for (TreeItem x : v->treeItems(tree)) {
            held(v, x);
        }
    }
    EXPECT_EQ(tree.size(), items.size());
}

// The tree after the purge lists what a fresh listing of the remaining scene lists. Replaces
// every handle, so it comes last.
void expectTreeAsIfListedAfresh(Reader& r, const SceneTree& tree) {
    SceneTree fresh;
    r.m_pEntityTree = &fresh;
    TreeListing::buildTree(fresh, r.root());
    EXPECT_EQ(ShadowView::outline(tree), ShadowView::outline(fresh));
    r.m_pEntityTree = nullptr;
}

TEST(SceneDeletion, MarksRelabelTheSubtreeAndThePurgeRemovesWhatIsMarked) {
    // The entities list as built (a child after its parent) and reversed: the purge visits it
    // from the last, so a child goes before its parent or with it, and each record goes once.
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reversed" : "as built");
        SceneTree tree;
        Reader reader(&tree, "/x/DELETE.Y4P", Reader::NewModel{});
        gen::SceneBuilder build(reader);
        // Four corners and three faces: (0 1 2), (0 2 3) and (3 3 1), which lists corner 3 twice.
        auto quad = [&](Entity* e) {
            SubEntity* sub = build.addSubEntity(e, 0);
            for (int k = 0; k < 4; ++k) {
                build.addVertex(sub, {static_cast<float>(k), 0, 0}, {0, 1, 0}, 0, 0);
            }
            build.addFace(sub, 0, 1, 2);
            build.addFace(sub, 0, 2, 3);
            build.addFace(sub, 3, 3, 1);
            return sub;
        };
        Entity* root = build.addEntity(nullptr, "Root");
        SubEntity* s = quad(root);
        Entity* arm = build.addEntity(root, "Arm");
        SubEntity* box = build.addSubEntity(build.addEntity(arm, "Hand"), 0);
        build.addBox(box, {0, 0, 0}, {1, 1, 1});
        Entity* leg = build.addEntity(root, "Leg");
        SubEntity* legQuad = quad(leg);
        TreeListing::buildTree(tree, root);
        ShadowView view(tree);
        const std::string plain = ShadowView::outline(tree);

        // A face deleted by itself first: its corners stay unmarked.
        Face* early = box->faces[3];
        reader.markFace(early, 1);
        EXPECT_EQ(tree.itemText(early->treeItem), "Face[3] (*)");
        expectLabels(tree, early->vertexA->treeItems(tree).front(), false);
        // Delete marks everything below, every corner listing of every vertex included, and nothing
        // outside; Undelete restores the plain names everywhere below, the earlier face's too.
        reader.markEntity(arm, 1);
        expectLabels(tree, arm->treeItem, true);
        EXPECT_EQ(tree.itemText(root->treeItem), "Root");
        expectLabels(tree, leg->treeItem, false);
        reader.markEntity(arm, 0);
        expectLabels(tree, root->treeItem, false);
        EXPECT_EQ(ShadowView::outline(tree), plain);
        // A sub-entity marks its faces and vertices but not its entity, announced as one change
        // of its subtree.
        view.changes = 0;
        view.take();
        reader.markSubEntity(legQuad, 1);
        EXPECT_EQ(view.take(), Lines{"subtree " + std::to_string(legQuad->treeItem)});
        expectLabels(tree, legQuad->treeItem, true);
        EXPECT_EQ(leg->deleted, 0);
        EXPECT_EQ(tree.itemText(leg->treeItem), "Leg");
        view.compareSettled();

        // The purge takes an entity with its subtree, a sub-entity whose entity stays, and two
        // faces whose corners stay; each goes from every list and the tree.
        reader.markEntity(arm, 1);
        reader.markFace(s->faces[1], 1);
        reader.markFace(s->faces[2], 1);
        if (reversed) {
            std::reverse(reader.entities.span().begin() + 1, reader.entities.span().end());
        }
        Face* f0 = s->faces[0];
        const std::vector<Vertex*> corners = s->vertices.toVector();
        tree.selectItem(corners[3]->treeItems(tree)[0]);  // the selection goes with its item
        EXPECT_EQ(traced([&] { reader.finalDelete(); }), purgeLines(12 + 3, 2));
        view.compareSettled();
        EXPECT_EQ(tree.selectedItem(), kNoItem);
        EXPECT_EQ(reader.entities, (std::vector<Entity*>{root, leg}));
        EXPECT_EQ(root->children, std::vector<Entity*>{leg});
        EXPECT_TRUE(leg->subEntities.empty());
        EXPECT_EQ(reader.subEntities, std::vector<SubEntity*>{s});
        EXPECT_EQ(reader.faces, std::vector<Face*>{f0});
        EXPECT_EQ(s->faces, std::vector<Face*>{f0});
        EXPECT_EQ(reader.vertices, corners);
        EXPECT_EQ(s->vertices, corners);
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(corners[k]->faces, k < 3 ? std::vector<Face*>{f0} : std::vector<Face*>{})
                << k;
        }
        expectTreeMatchesRecords(reader, tree);
        const std::string outline = ShadowView::outline(tree);
        EXPECT_EQ(outline, R"(Root
  Leg
  SubEntity[0]
    Face[0]
      Vertex[0]
      Vertex[1]
      Vertex[2]
)");

        // A purge with nothing marked only writes its own lines.
        const std::string scene = test::SceneDump::text(reader);
        EXPECT_EQ(traced([&] { reader.finalDelete(); }), purgeLines(0, 0));
        EXPECT_EQ(test::SceneDump::text(reader), scene);
        EXPECT_EQ(ShadowView::outline(tree), outline);

        // An immediate removal outside a purge takes the face out the same way.
        reader.deleteObject(f0);
        EXPECT_TRUE(s->faces.empty() && reader.faces.empty() && corners[0]->faces.empty());
        view.compareSettled();
        expectTreeMatchesRecords(reader, tree);
        expectTreeAsIfListedAfresh(reader, tree);
    }
}

// The purge in its plain step-by-step form, done by hand on a second copy of the scene: which
// records go, what remains in which order, and the trace lines it writes.
class ReferencePurge {
public:
    explicit ReferencePurge(Reader& r) : r_(r) {}

    void finalDelete() {
        visitFromLast(r_.entities, [&](Entity* e) { deleteEntity(e); });
        visitFromLast(r_.subEntities, [&](SubEntity* s) { deleteSub(s); });
        log.push_back("Reader::finalDelete() - before 1");
        visitFromLast(r_.faces, [&](Face* f) {
            log.push_back("Reader::finalDelete() - before deleteObject(*fi)");
            deleteFace(f);
            log.push_back("Reader::finalDelete() - after deleteObject(*fi)");
        });
        log.push_back("Reader::finalDelete() - before 1");
        log.push_back("Reader::finalDelete() - before 2");
        visitFromLast(r_.vertices, [&](Vertex* v) { deleteVertex(v); });
        log.push_back("Reader::finalDelete() - after 2");
        std::for_each(removed_.begin(), removed_.end(), [&](SceneObject* x) { r_.destroy(x); });
        removedCount = removed_.size();
    }

    std::size_t removedCount = 0;
    Lines log;

private:
    // The marked elements of the list as it was, from the last, skipping those already removed.
    template <class List, class Remove>
    void visitFromLast(const List& list, Remove remove) {
        const auto snapshot = list.toVector();
        for (std::size_t i = snapshot.size(); i-- > 0;) {
            if (!removed_.count(snapshot[i]) && snapshot[i]->deleted) {
                remove(snapshot[i]);
            }
        }
    }
    // Removes the owned records from the last, each taking itself out of `list`.
    template <class List, class Remove>
    static void drain(List& list, Remove remove) {
        while (!list.empty()) {
            remove(list.back());
        }
    }
    template <class List, class T>
    static void takeOut(List& list, const T* record) {
        ASSERT_TRUE(list.remove(record));
    }
    void deleteEntity(Entity* e) {
        drain(e->children, [&](Entity* child) { deleteEntity(child); });
        drain(e->subEntities, [&](SubEntity* s) { deleteSub(s); });
        takeOut(r_.entities, e);
        if (e->parent) {
            takeOut(e->parent->children, e);
        }
        removed_.insert(e);
    }
    void deleteSub(SubEntity* s) {
        drain(s->faces, [&](Face* f) { deleteFace(f); });
        drain(s->vertices, [&](Vertex* v) { deleteVertex(v); });
        takeOut(r_.subEntities, s);
        takeOut(s->parent->subEntities, s);
        removed_.insert(s);
    }
    void deleteFace(Face* f) {
        log.insert(log.end(), kFaceLines.begin(), kFaceLines.end());
        if (f->parent) {
            takeOut(f->parent->faces, f);
        }
        takeOut(r_.faces, f);
        for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
            if (corner) {
                corner->faces.remove(f);
            }
        }
        removed_.insert(f);
    }
    void deleteVertex(Vertex* v) {
        takeOut(r_.vertices, v);
        takeOut(v->subEntity->vertices, v);
        v->faces.clear();
        removed_.insert(v);
    }

    Reader& r_;
    std::unordered_set<SceneObject*> removed_;
};

TEST(SceneDeletion, RandomPurgeMatchesTheStepByStepReference) {
    const gen::GeneratorOptions options{
        .faces = 4000, .groups = 48, .depth = 6, .subEntities = 3, .seed = 11};
    for (unsigned seed : {3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        // The same model twice, its lists shuffled and its records marked alike.
        SceneTree tree;
        const std::unique_ptr<Reader> real = gen::ModelGenerator::generate(options, "/x/GEN.Y4P");
        const std::unique_ptr<Reader> copy = gen::ModelGenerator::generate(options, "/x/GEN.Y4P");
        real->m_pEntityTree = &tree;
        TreeListing::buildTree(tree, real->root());
        ShadowView view(tree, false);
        for (Reader* r : {real.get(), copy.get()}) {
            std::mt19937 random(seed);
            std::shuffle(r->entities.span().begin() + 1, r->entities.span().end(), random);
            std::shuffle(r->subEntities.span().begin(), r->subEntities.span().end(), random);
            std::shuffle(r->faces.span().begin(), r->faces.span().end(), random);
            std::shuffle(r->vertices.span().begin(), r->vertices.span().end(), random);
            // Delete, then Undelete, in a random order over a random part of every kind the tree
            // offers; then vertices whose faces all go, by themselves.
            auto coin = [&](double p) { return std::bernoulli_distribution(p)(random); };
            auto markSome = [&](const auto& list, double p, auto mark) {
                for (auto* record : list) {
                    if (coin(p)) {
                        mark(record);
                    }
                }
            };
            for (const auto& [flag, p] : {std::pair{1, 0.5}, std::pair{0, 0.25}}) {
                std::vector<Entity*> entities = r->entities.toVector();
                entities.erase(entities.begin());
                std::shuffle(entities.begin(), entities.end(), random);
                markSome(entities, p / 3, [&](Entity* e) { r->markEntity(e, flag); });
                markSome(r->subEntities, p / 2, [&](SubEntity* s) { r->markSubEntity(s, flag); });
                markSome(r->faces, p, [&](Face* f) { r->markFace(f, flag); });
            }
            for (Vertex* v : r->vertices) {
                if (std::all_of(v->faces.begin(), v->faces.end(),
                                [](const Face* f) { return f->deleted; }) &&
                    !v->deleted && coin(0.5)) {
                    r->markVertex(v, 1);
                }
            }
        }

        ReferencePurge expected(*copy);
        expected.finalDelete();
        ASSERT_GT(expected.removedCount, 1000u);
        ASSERT_GT(copy->faces.size(), 500u);
        const Lines lines = traced([&] { real->finalDelete(); });
        ASSERT_EQ(lines.size(), expected.log.size());
        EXPECT_TRUE(lines == expected.log) << "the purge's trace differs from the reference";
        EXPECT_EQ(test::SceneDump::text(*real), test::SceneDump::text(*copy));
        view.compareSettled();
        expectTreeMatchesRecords(*real, tree);
        expectTreeAsIfListedAfresh(*real, tree);
    }
}

}  // namespace
}  // namespace y4
