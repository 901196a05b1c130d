// Record labels, copy rules and the "Selected Object" path text.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/Entity.h"
#include "model/Face.h"
#include "model/RecordList.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"

namespace y4 {
namespace {

TEST(SceneObject, LabelsFollowKindAndIndexUntilNamed) {
    Entity e(nullptr, 4);
    SubEntity s(&e, 2);
    Face f(&s, 17);
    Vertex v(nullptr, 7);
    EXPECT_EQ(e.name(), "<undefined>");
    EXPECT_EQ(s.name(), "SubEntity[2]");
    EXPECT_EQ(f.name(), "Face[17]");
    EXPECT_EQ(v.name(), "Vertex[7]");
    EXPECT_EQ(Vertex(nullptr, -3).name(), "Vertex[-3]");
    EXPECT_TRUE(v.nameEquals("Vertex[7]"));

    // Names are cut to 63 characters; a name set on a sub-entity replaces its label.
    e.setName(std::string(64, 'x'));
    EXPECT_EQ(e.name(), std::string(63, 'x'));
    e.setName("");
    EXPECT_TRUE(e.nameEquals(""));
    s.setName(std::string(200, 'z'));
    EXPECT_EQ(s.name(), std::string(63, 'z'));
    EXPECT_FALSE(s.nameEquals("SubEntity[2]"));

    // A vertex made for a face joins the face's sub-entity and lists the face; addFace lists a
    // face once.
    Vertex corner(&f, 0);
    EXPECT_EQ(corner.subEntity, &s);
    Face other(&s, 18);
    corner.addFace(&f);
    corner.addFace(&other);
    corner.addFace(&other);
    EXPECT_EQ(corner.faces, (std::vector<Face*>{&f, &other}));
}

// Sets every mark of the base to a value other than its default.
void fillBase(SceneObject& r) {
    r.selected = r.changed = r.created = r.marked = r.deleted = 1;
    r.displayed = 0;
}

// A copy carries every mark but `created`, which stays 0; it is made by no scene, so it has no
// id.
void expectBaseCopied(const SceneObject& copy, const SceneObject& source) {
    auto fields = [](const SceneObject& r) {
        return std::tuple(r.kind(), int{r.selected}, int{r.changed}, int{r.displayed},
                          int{r.marked}, int{r.deleted});
    };
    EXPECT_EQ(fields(copy), fields(source));
    EXPECT_EQ(copy.created, 0) << "created is never copied";
    EXPECT_EQ(copy.id(), SceneObject::kNoId);
}

// The fields of each kind that its copy takes from the source.
auto entityFields(auto& e) {
    return std::tie(e.entityID, e.parentEntityID, e.childEntityID, e.level, e.positionX,
                    e.positionY, e.positionZ, e.rotateX, e.rotateY, e.rotateZ, e.numFaces,
                    e.numVertices, e.auxA, e.auxB, e.firstFaceIndex, e.firstVertexIndex, e.children,
                    e.subEntities, e.treeItem);
}
auto entitySums(const Entity& e) {
    return std::tuple(e.cumulativeOffset(), e.cumulativeRotation(), e.placed(),
                      e.absolutePosition());
}
auto subEntityFields(auto& s) {
    return std::tie(s.faces, s.vertices, s.bitmapIndex, s.treeItem);
}
auto faceFields(auto& f) {
    return std::tie(f.vertexA, f.vertexB, f.vertexC, f.indexA, f.indexB, f.indexC, f.bitmapIndex,
                    f.treeItem);
}
auto vertexFields(const Vertex& v) {
    return std::tuple(v.X, v.Y, v.Z, v.normalX, v.normalY, v.normalZ, v.textureU, v.textureV);
}

TEST(SceneObject, CopiesFollowTheRulesOfEachKind) {
    // An entity copy keeps its name, its numbers, both lists and its item, but no parent.
    Entity grand(nullptr, 0);
    Entity source(&grand, 3);
    fillBase(source);
    source.setName("Turret");
    Entity child(&source, 4);
    SubEntity mesh(&source, 0);
    entityFields(source) =
        std::tuple(4, 2, 5, 1, 1.0f, 2.0f, 3.0f, 0.1f, 0.2f, 0.3f, 12, 8, 7, -5141, 40, 41,
                   RecordList<Entity>{&child}, RecordList<SubEntity>{&mesh}, TreeItem{77});
    source.setCumulative({1.5f, 2.5f, 3.5f}, {-0.25f, -0.5f, -0.75f});
    const Entity copy(source, 9);
    expectBaseCopied(copy, source);
    EXPECT_EQ(entityFields(copy), entityFields(source));
    EXPECT_EQ(entitySums(copy), entitySums(source));
    EXPECT_EQ(copy.index, 9);
    EXPECT_EQ(copy.name(), "Turret");
    EXPECT_EQ(copy.parent, nullptr);
    EXPECT_EQ(Entity(grand, 1).name(), "<undefined>");

    // A sub-entity copy is labelled with its new index whatever its source was called.
    SubEntity subSource(&source, 2);
    fillBase(subSource);
    subSource.setName("Hull plates");
    Face face(&subSource, 0);
    Vertex corner(&face, 0);
    subEntityFields(subSource) =
        std::tuple(RecordList<Face>{&face}, RecordList<Vertex>{&corner}, 6, TreeItem{12});
    const SubEntity subCopy(subSource, 5);
    expectBaseCopied(subCopy, subSource);
    EXPECT_EQ(subEntityFields(subCopy), subEntityFields(subSource));
    EXPECT_EQ(subCopy.name(), "SubEntity[5]");
    EXPECT_EQ(subCopy.index, 5);
    EXPECT_EQ(subCopy.parent, nullptr);

    // A face copy keeps its corners and their numbers.
    Face faceSource(&subSource, 4);
    fillBase(faceSource);
    faceSource.setName("Odd face");
    Vertex a(nullptr, 0), b(nullptr, 1), c(nullptr, 2);
    faceFields(faceSource) = std::tuple(&a, &b, &c, 5, 6, 7, 3, TreeItem{99});
    const Face faceCopy(faceSource, 11);
    expectBaseCopied(faceCopy, faceSource);
    EXPECT_EQ(faceFields(faceCopy), faceFields(faceSource));
    EXPECT_EQ(faceCopy.name(), "Face[11]");
    EXPECT_EQ(faceCopy.parent, nullptr);

    // A vertex copy has its numbers but no owner, no faces and no listings.
    Vertex vertexSource(&face, 1);
    fillBase(vertexSource);
    vertexSource.setName("Tip");
    std::tie(vertexSource.X, vertexSource.Y, vertexSource.Z, vertexSource.normalX,
             vertexSource.normalY, vertexSource.normalZ, vertexSource.textureU,
             vertexSource.textureV) = std::tuple(1, -2, 3.5f, 0.5f, -0.5f, 0.25f, 0.75f, 0.125f);
    vertexSource.addFace(&faceSource);
    const Vertex vertexCopy(vertexSource, 7);
    expectBaseCopied(vertexCopy, vertexSource);
    EXPECT_EQ(vertexFields(vertexCopy), vertexFields(vertexSource));
    EXPECT_EQ(vertexCopy.name(), "Vertex[7]");
    EXPECT_EQ(vertexCopy.subEntity, nullptr);
    EXPECT_TRUE(vertexCopy.faces.empty());
}

TEST(SceneObject, PathNamesWalkUpTheOwners) {
    Entity root(nullptr, 0);
    root.setName("Root");
    Entity arm(&root, 1);
    arm.setName("Arm one");
    Entity hand(&arm, 2);
    hand.setName("Hand");
    SubEntity mesh(&arm, 0);
    Face face(&mesh, 3);
    Vertex vertex(&face, 7);
    SubEntity orphan(nullptr, 4);
    Face loose(nullptr, 5);
    Vertex alone(nullptr, 6);
    Entity unnamed(nullptr, 8);
    // The face between vertex and sub-entity does not appear; records without owners end at
    // themselves. Each appends to what the caller passes.
    const std::pair<const SceneObject*, const char*> cases[] = {
        {&hand, "Hand; Arm one; Root; "},
        {&mesh, "SubEntity[0]; Arm one; Root; "},
        {&face, "Face[3]; SubEntity[0]; Arm one; Root; "},
        {&vertex, "Vertex[7]; SubEntity[0]; Arm one; Root; "},
        {&orphan, "SubEntity[4]; "},
        {&loose, "Face[5]; "},
        {&alone, "Vertex[6]; "},
        {&unnamed, "<undefined>; "},
    };
    for (const auto& [record, expected] : cases) {
        std::string out = "keep: ";
        record->appendPathName(out);
        EXPECT_EQ(out, std::string("keep: ") + expected);
    }
}

}  // namespace
}  // namespace y4
