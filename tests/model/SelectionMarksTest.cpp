// The records a tree selection marks, and only those: a few kinds by hand, and what the document
// never selects (marks cleared outside the selection, a face without a corner). The soak run
// holds every selection it makes to a model of its own of what each kind covers.
#include <gtest/gtest.h>

#include <string>

#include "SceneBuilder.h"
#include "files/Reader.h"
#include "model/SelectionMarks.h"

namespace y4 {
namespace {

// Two groups under a root: the first with a sub-entity of two faces sharing an edge and a vertex
// no face uses, the second with one face.
struct SelectionMarksScene : testing::Test {
    SelectionMarksScene() {
        for (int k = 0; k < 5; ++k) {
            build.addVertex(mesh, {0, 0, 0}, {0, 0, 0}, 0, 0);
        }
        build.addFace(mesh, 0, 1, 2);
        f1 = build.addFace(mesh, 2, 1, 3);
        for (int k = 0; k < 3; ++k) {
            build.addVertex(other, {0, 0, 0}, {0, 0, 0}, 0, 0);
        }
        g = build.addFace(other, 0, 1, 2);
    }

    // The marked records, one letter per kind and its position in the scene's list.
    std::string marks() const {
        std::string out;
        auto add = [&out](const auto& list, char kind) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                out += list[i]->selected ? kind + std::to_string(i) + " " : "";
            }
        };
        add(scene.entities, 'E');
        add(scene.subEntities, 'S');
        add(scene.faces, 'F');
        add(scene.vertices, 'V');
        return out;
    }

    Reader scene{nullptr, "/x/MARKS.Y4P", Reader::NewModel{}};
    gen::SceneBuilder build{scene};
    Entity* root = build.addEntity(nullptr, "Root");
    Entity* left = build.addEntity(root, "Left");
    Entity* right = build.addEntity(root, "Right");
    SubEntity* mesh = build.addSubEntity(left, 0);
    SubEntity* other = build.addSubEntity(right, 0);
    Face* f1 = nullptr;
    Face* g = nullptr;
};

TEST_F(SelectionMarksScene, EachKindMarksWhatItCovers) {
    // A face: itself and its corners, not the face that shares two of them.
    SelectionMarks::apply(f1, 1);
    EXPECT_EQ(marks(), "F1 V1 V2 V3 ");
    SelectionMarks::apply(f1, 0);
    EXPECT_EQ(marks(), "");

    // A sub-entity: itself, its faces and their corners, not a vertex no face uses.
    SelectionMarks::apply(mesh, 1);
    EXPECT_EQ(marks(), "S0 F0 F1 V0 V1 V2 V3 ");
    SelectionMarks::apply(mesh, 0);

    // A vertex: itself, even one no face uses.
    SelectionMarks::apply(mesh->vertices[4], 1);
    SelectionMarks::apply(other->vertices[1], 1);
    EXPECT_EQ(marks(), "V4 V6 ");

    // Clearing a selection leaves marks outside it alone.
    SelectionMarks::apply(mesh, 0);
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
        e = build.addEntity(e, "Deep");
    }
    SubEntity* deepest = build.addSubEntity(e, 0);
    build.addVertex(deepest, {0, 0, 0}, {0, 0, 0}, 0, 0);
    build.addFace(deepest, 0, 0, 0);
    SelectionMarks::apply(root, 1);
    for (Entity* each : scene.entities) {
        ASSERT_EQ(each->selected, 1);
    }
    EXPECT_EQ(deepest->vertices[0]->selected, 1);
    EXPECT_EQ(mesh->vertices[4]->selected, 0);
}

}  // namespace
}  // namespace y4
