// The records a tree selection marks, and only those.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Scene.h"
#include "model/SelectionMarks.h"

namespace y4 {
namespace {

// Two groups under a root: the first with a sub-entity of two faces sharing an edge and a
// vertex no face uses, the second with one face.
struct SelectionMarksScene : testing::Test {
    SelectionMarksScene() {
        root = entity(nullptr);
        left = entity(root);
        right = entity(root);
        mesh = subEntity(left);
        for (int i = 0; i < 5; ++i) {
            v.push_back(vertex(mesh));
        }
        f0 = face(mesh, v[0], v[1], v[2]);
        f1 = face(mesh, v[2], v[1], v[3]);
        other = subEntity(right);
        w = {vertex(other), vertex(other), vertex(other)};
        g = face(other, w[0], w[1], w[2]);
    }

    Entity* entity(Entity* parent) {
        Entity* e = scene.create<Entity>(parent, static_cast<int>(scene.entities.size()));
        if (parent) {
            parent->children.push_back(e);
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
        Vertex* x = scene.create<Vertex>(nullptr, static_cast<int>(s->vertices.size()));
        x->subEntity = s;
        s->vertices.push_back(x);
        scene.vertices.push_back(x);
        return x;
    }
    Face* face(SubEntity* s, Vertex* a, Vertex* b, Vertex* c) {
        Face* f = scene.create<Face>(s, static_cast<int>(s->faces.size()));
        f->vertexA = a;
        f->vertexB = b;
        f->vertexC = c;
        s->faces.push_back(f);
        scene.faces.push_back(f);
        return f;
    }

    // The marked records, one letter per kind and its position in the scene's list.
    std::string marks() const {
        std::string out;
        auto add = [&out](const auto& list, char kind) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list[i]->selected) {
                    out += kind + std::to_string(i) + " ";
                }
            }
        };
        add(scene.entities, 'E');
        add(scene.subEntities, 'S');
        add(scene.faces, 'F');
        add(scene.vertices, 'V');
        return out;
    }

    Scene scene;
    Entity* root;
    Entity* left;
    Entity* right;
    SubEntity* mesh;
    SubEntity* other;
    std::vector<Vertex*> v;
    std::vector<Vertex*> w;
    Face* f0;
    Face* f1;
    Face* g;
};

TEST_F(SelectionMarksScene, EachKindMarksWhatItCovers) {
    // A face: itself and its corners, not the face that shares two of them.
    SelectionMarks::apply(f1, 1);
    EXPECT_EQ(marks(), "F1 V1 V2 V3 ");
    SelectionMarks::apply(f1, 0);
    EXPECT_EQ(marks(), "");

    // A sub-entity: itself, its faces and their corners; the unused vertex stays unmarked.
    SelectionMarks::apply(mesh, 1);
    EXPECT_EQ(marks(), "S0 F0 F1 V0 V1 V2 V3 ");
    SelectionMarks::apply(mesh, 0);

    // An entity: the whole subtree, but not its parent or siblings.
    SelectionMarks::apply(left, 1);
    EXPECT_EQ(marks(), "E1 S0 F0 F1 V0 V1 V2 V3 ");
    SelectionMarks::apply(left, 0);
    SelectionMarks::apply(root, 1);
    EXPECT_EQ(marks(), "E0 E1 E2 S0 S1 F0 F1 F2 V0 V1 V2 V3 V5 V6 V7 ");
    SelectionMarks::apply(root, 0);
    EXPECT_EQ(marks(), "");

    // A vertex: itself, even one no face uses.
    SelectionMarks::apply(v[4], 1);
    SelectionMarks::apply(w[1], 1);
    EXPECT_EQ(marks(), "V4 V6 ");

    // Clearing a selection leaves marks outside it alone.
    SelectionMarks::apply(mesh, 0);
    EXPECT_EQ(marks(), "V4 V6 ");
    SelectionMarks::apply(nullptr, 1);
    EXPECT_EQ(marks(), "V4 V6 ");

    // A face with a corner not yet chosen.
    g->vertexB = nullptr;
    SelectionMarks::apply(g, 1);
    EXPECT_EQ(marks(), "F2 V4 V5 V6 V7 ");
}

TEST_F(SelectionMarksScene, DeepHierarchiesAreMarkedWithoutRecursion) {
    Entity* e = left;
    for (int level = 2; level <= Scene::kMaxLevel; ++level) {
        e = entity(e);
    }
    SubEntity* deepest = subEntity(e);
    Vertex* x = vertex(deepest);
    face(deepest, x, x, x);
    SelectionMarks::apply(root, 1);
    for (Entity* each : scene.entities) {
        ASSERT_EQ(each->selected, 1);
    }
    EXPECT_EQ(x->selected, 1);
    EXPECT_EQ(v[4]->selected, 0);
}

}  // namespace
}  // namespace y4
