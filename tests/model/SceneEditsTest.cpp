// The scene kept in step through every edit the core offers, on a loaded model of each variant:
// removals of single records (which leave holes in the lists until the scene compacts), purges,
// new faces and vertices, corners moved to other vertices. After each step every vertex lists
// exactly the faces that use it, in the order they came to use it; every list holds exactly the
// records still in the scene, in order; ids are unique and below their bound; and the tree lists
// every vertex under exactly the faces that name it. Also the compact face list itself, far from
// any pool.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ModelGenerator.h"
#include "SceneBuilder.h"
#include "files/Reader.h"
#include "model/TreeListing.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

// What the scene must hold: each vertex's faces in order, as a plain model of the edits.
class Shadow {
public:
    explicit Shadow(const Reader& r) {
        for (const SubEntity* s : r.subEntities) {
            for (Face* f : s->faces) {
                useCorners(f);
            }
        }
        for (Vertex* v : r.vertices) {
            faces_[v];
        }
    }
    void useCorners(Face* f) {
        for (Vertex* corner : distinctCorners(f)) {
            faces_[corner].push_back(f);
        }
    }
    void dropFace(Face* f) {
        for (Vertex* corner : distinctCorners(f)) {
            std::erase(faces_[corner], f);
        }
    }
    void dropVertex(Vertex* v) { faces_.erase(v); }
    void addVertex(Vertex* v) { faces_[v]; }
    void moveCorner(Face* f, Vertex* from, Vertex* to) {
        std::erase(faces_[from], f);
        faces_[to].push_back(f);
    }
    const std::vector<Face*>& facesOf(Vertex* v) { return faces_.at(v); }
    std::size_t vertexCount() const { return faces_.size(); }

    static std::vector<Vertex*> distinctCorners(const Face* f) {
        std::vector<Vertex*> out;
        for (Vertex* c : {f->vertexA, f->vertexB, f->vertexC}) {
            if (std::find(out.begin(), out.end(), c) == out.end()) {
                out.push_back(c);
            }
        }
        return out;
    }

private:
    std::map<Vertex*, std::vector<Face*>> faces_;
};

// Every list against the records it may hold, every id, every vertex's faces and listings.
void expectInStep(Reader& r, SceneTree& tree, Shadow& shadow) {
    std::set<std::uint32_t> ids[SceneObject::kKinds];
    auto idOf = [&](const SceneObject* record) {
        EXPECT_FALSE(record->takenOut()) << record->name() << " is still listed";
        EXPECT_LT(record->id(), r.idBound(record->kind()));
        EXPECT_TRUE(ids[record->kind()].insert(record->id()).second) << "id given twice";
    };
    std::size_t counted = 0;
    for (const Entity* e : r.entities) {
        idOf(e);
        for (const Entity* child : e->children) {
            EXPECT_EQ(child->parent, e);
        }
    }
    for (const SubEntity* s : r.subEntities) {
        idOf(s);
        EXPECT_EQ(std::count(s->parent->subEntities.begin(), s->parent->subEntities.end(), s), 1);
        for (const Face* f : s->faces) {
            EXPECT_EQ(f->parent, s);
            ++counted;
        }
    }
    EXPECT_EQ(counted, r.faces.size());
    for (const Face* f : r.faces) {
        idOf(f);
    }
    ASSERT_EQ(r.vertices.size(), shadow.vertexCount());
    for (Vertex* v : r.vertices) {
        idOf(v);
        ASSERT_TRUE(v->faces == shadow.facesOf(v)) << v->name() << " of " << v->subEntity->name();
        // One listing per corner that names the vertex, under a listed face.
        std::size_t expected = 0;
        for (const Face* f : v->faces) {
            if (f->treeItem != kNoItem) {
                expected += static_cast<std::size_t>((f->vertexA == v) + (f->vertexB == v) +
                                                     (f->vertexC == v));
            }
        }
        const std::vector<TreeItem> listings = v->treeItems(tree);
        ASSERT_EQ(listings.size(), expected) << v->name();
        for (TreeItem item : listings) {
            EXPECT_EQ(tree.itemData(item), v);
            const auto* face = static_cast<const Face*>(tree.itemData(tree.parentItem(item)));
            EXPECT_TRUE(face && v->faces.contains(face));
        }
    }
}

template <class List>
auto pickFrom(const List& list, std::mt19937& random) {
    const auto all = list.toVector();
    return all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(random)];
}

TEST(SceneEdits, AdjacencyListsIdsAndListingsStayInStepThroughEveryEdit) {
    for (const char* name : {"GEN.Y4P", "GEN.Y4D", "GEN.Y4T"}) {
        SCOPED_TRACE(name);
        test::TempDir dir;
        gen::GeneratorOptions options;
        options.faces = 1200;
        options.groups = 14;
        options.subEntities = std::string(name) == "GEN.Y4T" ? 6 : 2;
        options.seed = 3;
        gen::ModelGenerator::write(options, dir.file(name));
        SceneTree tree;
        Reader::Options split;  // a nested model is split in two, to check the ids it takes over
        split.parseSplit = std::filesystem::file_size(dir.file(name)) / 2;
        Reader r(&tree, dir.file(name), split);
        TreeListing::buildTree(tree, r.root());
        gen::SceneBuilder build(r);
        Shadow shadow(r);
        ASSERT_NO_FATAL_FAILURE(expectInStep(r, tree, shadow));
        // A fresh load numbers every kind from 0 in list order.
        std::uint32_t next = 0;
        for (const Face* f : r.faces) {
            ASSERT_EQ(f->id(), next++);
        }
        EXPECT_EQ(r.idBound(SceneObject::kFace), next);

        std::mt19937 random(17);
        auto chance = [&](int percent) {
            return std::uniform_int_distribution<int>(0, 99)(random) < percent;
        };
        for (int step = 0; step < 300 && r.faces.size() > 20; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            const int action = std::uniform_int_distribution<int>(0, 9)(random);
            if (action <= 2) {
                Face* f = pickFrom(r.faces, random);
                shadow.dropFace(f);
                r.deleteObject(f);
            } else if (action == 3) {
                // A vertex no face uses any more.
                for (Vertex* v : r.vertices) {
                    if (v->faces.empty()) {
                        shadow.dropVertex(v);
                        r.deleteObject(v);
                        break;
                    }
                }
            } else if (action == 4 && r.subEntities.size() > 2 && chance(30)) {
                SubEntity* s = pickFrom(r.subEntities, random);
                for (Face* f : s->faces) {
                    shadow.dropFace(f);
                }
                for (Vertex* v : s->vertices) {
                    shadow.dropVertex(v);
                }
                r.deleteObject(s);
            } else if (action == 5) {
                // A purge of a few faces marked at random.
                for (Face* f : r.faces) {
                    if (chance(2)) {
                        r.markFace(f, 1);
                        shadow.dropFace(f);
                    }
                }
                r.finalDelete();
            } else if (action <= 7) {
                // A new face, over vertices old or new.
                SubEntity* s = pickFrom(r.subEntities, random);
                if (s->vertices.size() < 3 || chance(30)) {
                    build.addVertex(s, {1, 2, 3}, {0, 1, 0}, 0.5f, 0.5f);
                    shadow.addVertex(s->vertices.back());
                }
                auto corner = [&] {
                    return std::uniform_int_distribution<int>(
                        0, static_cast<int>(s->vertices.size()) - 1)(random);
                };
                Face* f = build.addFace(s, corner(), corner(), corner());
                shadow.useCorners(f);
                if (s->treeItem != kNoItem) {
                    TreeListing::insertFaceItem(tree, s->treeItem, f);
                }
            } else if (action == 8) {
                // A corner moved to another vertex of the sub-entity, as the Attributes dialog
                // moves it.
                Face* f = pickFrom(r.faces, random);
                SubEntity* s = f->parent;
                Vertex* to = pickFrom(s->vertices, random);
                const std::vector<Vertex*> corners = Shadow::distinctCorners(f);
                if (corners.size() == 3 &&
                    std::find(corners.begin(), corners.end(), to) == corners.end()) {
                    Vertex* from = f->vertexB;
                    from->faces.remove(f);
                    f->vertexB = to;
                    to->addFace(f);
                    shadow.moveCorner(f, from, to);
                    TreeListing::relistFaceCorners(tree, f);
                }
            } else if (chance(50)) {
                r.compact();
            }
            ASSERT_NO_FATAL_FAILURE(expectInStep(r, tree, shadow));
        }
        // Ids of destroyed records are given again: the bound stays near the records held.
        r.compact();
        EXPECT_LE(r.idBound(SceneObject::kFace), 1200u + 300u);
    }
}

TEST(SceneEdits, AFaceListFarFromItsFacesKeepsWholePointers) {
    // Faces on the stack are far from a vertex in a pool: the list turns to plain pointers,
    // keeps its order through growth and removal, and copies.
    Reader r(nullptr, "/x/FAR.Y4P", Reader::NewModel{});
    Vertex* pooled = r.create<Vertex>(nullptr, 0);
    Face* near = r.create<Face>(nullptr, 0);
    std::vector<Face> far;
    far.reserve(40);
    pooled->faces.push_back(near);
    for (int k = 0; k < 40; ++k) {
        pooled->faces.push_back(&far.emplace_back(nullptr, k));
    }
    pooled->faces.push_back(near);
    ASSERT_EQ(pooled->faces.size(), 42u);
    EXPECT_EQ(pooled->faces[1], &far[0]);
    EXPECT_EQ(pooled->faces.back(), near);
    pooled->faces.remove(near);
    EXPECT_EQ(pooled->faces.size(), 40u);
    EXPECT_TRUE(pooled->faces.removeFirst(&far[3]));
    EXPECT_FALSE(pooled->faces.removeFirst(&far[3]));
    const FaceList copy = pooled->faces;
    EXPECT_EQ(copy, pooled->faces);
    EXPECT_EQ(copy[3], &far[4]);
    pooled->faces.clear();
    EXPECT_TRUE(pooled->faces.empty());
    r.destroy(near);
    r.destroy(pooled);
}

}  // namespace
}  // namespace y4
