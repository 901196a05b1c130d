// Record labels, copy rules and the "Selected Object" path text.
#include <gtest/gtest.h>

#include <string>

#include "model/Entity.h"
#include "model/Face.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"

namespace y4 {
namespace {

TEST(SceneObject, DefaultLabelsFollowKindAndIndex) {
    Entity e(nullptr, 4);
    SubEntity s(&e, 2);
    Face f(&s, 17);
    Vertex v(nullptr, 7);
    EXPECT_EQ(e.name(), "<undefined>");
    EXPECT_EQ(s.name(), "SubEntity[2]");
    EXPECT_EQ(f.name(), "Face[17]");
    EXPECT_EQ(v.name(), "Vertex[7]");
    EXPECT_EQ(Vertex(nullptr, -3).name(), "Vertex[-3]");
    EXPECT_EQ(e.kind(), SceneObject::kEntity);
    EXPECT_EQ(s.kind(), SceneObject::kSubEntity);
    EXPECT_EQ(f.kind(), SceneObject::kFace);
    EXPECT_EQ(v.kind(), SceneObject::kVertex);

    // The defaults of the marks.
    for (const SceneObject* r : {static_cast<SceneObject*>(&e), static_cast<SceneObject*>(&s),
                                 static_cast<SceneObject*>(&f), static_cast<SceneObject*>(&v)}) {
        EXPECT_EQ(r->selected, 0);
        EXPECT_EQ(r->changed, 0);
        EXPECT_EQ(r->created, 0);
        EXPECT_EQ(r->displayed, 1);
        EXPECT_EQ(r->marked, 0);
        EXPECT_EQ(r->deleted, 0);
    }
    EXPECT_EQ(e.auxA, 1);
    EXPECT_EQ(s.bitmapIndex, -1);
    EXPECT_EQ(f.bitmapIndex, -1);
    EXPECT_EQ(s.parent, &e);
    EXPECT_EQ(f.parent, &s);

    // A vertex made for a face joins the face's sub-entity and lists the face; addFace lists
    // a face once.
    Vertex corner(&f, 0);
    EXPECT_EQ(corner.subEntity, &s);
    ASSERT_EQ(corner.faces.size(), 1u);
    EXPECT_EQ(corner.faces[0], &f);
    Face other(&s, 18);
    corner.addFace(&f);
    corner.addFace(&other);
    corner.addFace(&other);
    EXPECT_EQ(corner.faces, (std::vector<Face*>{&f, &other}));
}

TEST(SceneObject, NamesAreCutTo63Characters) {
    Entity e(nullptr, 0);
    const std::string long64(64, 'x');
    e.setName(long64);
    EXPECT_EQ(e.name(), std::string(63, 'x'));
    e.setName(std::string(63, 'y'));
    EXPECT_EQ(e.name(), std::string(63, 'y'));
    e.setName("");
    EXPECT_EQ(e.name(), "");
    EXPECT_TRUE(e.nameEquals(""));

    // A name set on a sub-entity replaces its default label; the index no longer shows.
    SubEntity s(&e, 3);
    s.setName(std::string(200, 'z'));
    EXPECT_EQ(s.name(), std::string(63, 'z'));
    EXPECT_TRUE(s.nameEquals(std::string(63, 'z')));
    EXPECT_FALSE(s.nameEquals("SubEntity[3]"));
    Vertex v(nullptr, 9);
    EXPECT_TRUE(v.nameEquals("Vertex[9]"));
}

// Sets every mark and number of the base to a value that differs from its default.
void fillBase(SceneObject& r) {
    r.selected = 1;
    r.changed = 1;
    r.created = 1;
    r.displayed = 0;
    r.marked = 1;
    r.deleted = 1;
    for (int i = 0; i < 3; ++i) {
        r.cumulativeOffset[i] = 1.5f + static_cast<float>(i);
        r.cumulativeRotation[i] = -0.25f * static_cast<float>(i + 1);
        r.absolutePosition[i] = 10.125 + i;
    }
}

void expectBaseCopied(const SceneObject& copy, const SceneObject& source) {
    EXPECT_EQ(copy.kind(), source.kind());
    EXPECT_EQ(copy.selected, source.selected);
    EXPECT_EQ(copy.changed, source.changed);
    EXPECT_EQ(copy.created, 0) << "created is never copied";
    EXPECT_EQ(copy.displayed, source.displayed);
    EXPECT_EQ(copy.marked, source.marked);
    EXPECT_EQ(copy.deleted, source.deleted);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy.cumulativeOffset[i], source.cumulativeOffset[i]);
        EXPECT_EQ(copy.cumulativeRotation[i], source.cumulativeRotation[i]);
        EXPECT_EQ(copy.absolutePosition[i], source.absolutePosition[i]);
    }
}

TEST(SceneObject, CopiesFollowTheRulesOfEachKind) {
    Entity grand(nullptr, 0);
    Entity source(&grand, 3);
    fillBase(source);
    source.setName("Turret");
    source.entityID = 4;
    source.parentEntityID = 0;
    source.childEntityID = 5;
    source.level = 1;
    source.positionX = 1;
    source.positionY = 2;
    source.positionZ = 3;
    source.rotateX = 0.1f;
    source.rotateY = 0.2f;
    source.rotateZ = 0.3f;
    source.numFaces = 12;
    source.numVertices = 8;
    source.auxA = 7;
    source.auxB = -5141;
    source.firstFaceIndex = 40;
    source.firstVertexIndex = 41;
    Entity child(&source, 4);
    SubEntity mesh(&source, 0);
    source.children.push_back(&child);
    source.subEntities.push_back(&mesh);
    source.treeItem = 77;

    const Entity copy(source, 9);
    expectBaseCopied(copy, source);
    EXPECT_EQ(copy.index, 9);
    EXPECT_EQ(copy.name(), "Turret");
    EXPECT_EQ(copy.parent, nullptr);
    EXPECT_EQ(copy.entityID, 4);
    EXPECT_EQ(copy.parentEntityID, 0);
    EXPECT_EQ(copy.childEntityID, 5);
    EXPECT_EQ(copy.level, 1);
    EXPECT_EQ(copy.positionX, 1);
    EXPECT_EQ(copy.positionY, 2);
    EXPECT_EQ(copy.positionZ, 3);
    EXPECT_EQ(copy.rotateX, 0.1f);
    EXPECT_EQ(copy.rotateY, 0.2f);
    EXPECT_EQ(copy.rotateZ, 0.3f);
    EXPECT_EQ(copy.numFaces, 12);
    EXPECT_EQ(copy.numVertices, 8);
    EXPECT_EQ(copy.auxA, 7);
    EXPECT_EQ(copy.auxB, -5141);
    EXPECT_EQ(copy.firstFaceIndex, 40);
    EXPECT_EQ(copy.firstVertexIndex, 41);
    EXPECT_EQ(copy.children, source.children);
    EXPECT_EQ(copy.subEntities, source.subEntities);
    EXPECT_EQ(copy.treeItem, 77u);
    // An unnamed entity's copy is unnamed too.
    EXPECT_EQ(Entity(grand, 1).name(), "<undefined>");

    // A sub-entity copy is labelled with its new index whatever its source was called.
    SubEntity subSource(&source, 2);
    fillBase(subSource);
    subSource.setName("Hull plates");
    Face face(&subSource, 0);
    Vertex corner(&face, 0);
    subSource.faces.push_back(&face);
    subSource.vertices.push_back(&corner);
    subSource.bitmapIndex = 6;
    subSource.treeItem = 12;
    const SubEntity subCopy(subSource, 5);
    expectBaseCopied(subCopy, subSource);
    EXPECT_EQ(subCopy.name(), "SubEntity[5]");
    EXPECT_EQ(subCopy.index, 5);
    EXPECT_EQ(subCopy.parent, nullptr);
    EXPECT_EQ(subCopy.faces, subSource.faces);
    EXPECT_EQ(subCopy.vertices, subSource.vertices);
    EXPECT_EQ(subCopy.bitmapIndex, 6);
    EXPECT_EQ(subCopy.treeItem, 12u);
    EXPECT_EQ(SubEntity(SubEntity(&source, 2), 5).name(), "SubEntity[5]");

    // A face copy keeps its corners and their numbers.
    Face faceSource(&subSource, 4);
    fillBase(faceSource);
    faceSource.setName("Odd face");
    Vertex a(nullptr, 0), b(nullptr, 1), c(nullptr, 2);
    faceSource.vertexA = &a;
    faceSource.vertexB = &b;
    faceSource.vertexC = &c;
    faceSource.indexA = 0;
    faceSource.indexB = 1;
    faceSource.indexC = 2;
    faceSource.bitmapIndex = 3;
    faceSource.treeItem = 99;
    const Face faceCopy(faceSource, 11);
    expectBaseCopied(faceCopy, faceSource);
    EXPECT_EQ(faceCopy.name(), "Face[11]");
    EXPECT_EQ(faceCopy.parent, nullptr);
    EXPECT_EQ(faceCopy.vertexA, &a);
    EXPECT_EQ(faceCopy.vertexB, &b);
    EXPECT_EQ(faceCopy.vertexC, &c);
    EXPECT_EQ(faceCopy.indexA, 0);
    EXPECT_EQ(faceCopy.indexB, 1);
    EXPECT_EQ(faceCopy.indexC, 2);
    EXPECT_EQ(faceCopy.bitmapIndex, 3);
    EXPECT_EQ(faceCopy.treeItem, 99u);

    // A vertex copy has its numbers but no owner, no faces and no listings.
    Vertex vertexSource(&face, 1);
    fillBase(vertexSource);
    vertexSource.setName("Tip");
    vertexSource.X = 1;
    vertexSource.Y = -2;
    vertexSource.Z = 3.5f;
    vertexSource.normalX = 0.5f;
    vertexSource.normalY = -0.5f;
    vertexSource.normalZ = 0.25f;
    vertexSource.textureU = 0.75f;
    vertexSource.textureV = 0.125f;
    for (int i = 0; i < 3; ++i) {
        vertexSource.windowPosition[i] = 100.5 + i;
        vertexSource.normalWindowPosition[i] = 200.25 + i;
    }
    vertexSource.addFace(&faceSource);
    vertexSource.treeItems = {3, 4};
    const Vertex vertexCopy(vertexSource, 7);
    expectBaseCopied(vertexCopy, vertexSource);
    EXPECT_EQ(vertexCopy.name(), "Vertex[7]");
    EXPECT_EQ(vertexCopy.X, 1);
    EXPECT_EQ(vertexCopy.Y, -2);
    EXPECT_EQ(vertexCopy.Z, 3.5f);
    EXPECT_EQ(vertexCopy.normalX, 0.5f);
    EXPECT_EQ(vertexCopy.normalY, -0.5f);
    EXPECT_EQ(vertexCopy.normalZ, 0.25f);
    EXPECT_EQ(vertexCopy.textureU, 0.75f);
    EXPECT_EQ(vertexCopy.textureV, 0.125f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(vertexCopy.windowPosition[i], 100.5 + i);
        EXPECT_EQ(vertexCopy.normalWindowPosition[i], 200.25 + i);
    }
    EXPECT_EQ(vertexCopy.subEntity, nullptr);
    EXPECT_TRUE(vertexCopy.faces.empty());
    EXPECT_TRUE(vertexCopy.treeItems.empty());
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

    std::string out;
    hand.appendPathName(out);
    EXPECT_EQ(out, "Hand; Arm one; Root; ");
    out.clear();
    mesh.appendPathName(out);
    EXPECT_EQ(out, "SubEntity[0]; Arm one; Root; ");
    out.clear();
    face.appendPathName(out);
    EXPECT_EQ(out, "Face[3]; SubEntity[0]; Arm one; Root; ");
    // The face between vertex and sub-entity does not appear.
    out.clear();
    vertex.appendPathName(out);
    EXPECT_EQ(out, "Vertex[7]; SubEntity[0]; Arm one; Root; ");

    // The records append to what the caller passes; the base version empties it.
    out = "keep: ";
    root.appendPathName(out);
    EXPECT_EQ(out, "keep: Root; ");
    vertex.SceneObject::appendPathName(out);
    EXPECT_EQ(out, "");
    out = "x";
    static_cast<const SceneObject&>(face).appendPathName(out);
    EXPECT_EQ(out, "xFace[3]; SubEntity[0]; Arm one; Root; ");

    // Records without owners end at themselves; an unnamed entity shows its default name.
    SubEntity orphan(nullptr, 4);
    Face loose(nullptr, 5);
    Vertex alone(nullptr, 6);
    Entity unnamed(nullptr, 8);
    for (auto [record, expected] :
         {std::pair<const SceneObject*, const char*>{&orphan, "SubEntity[4]; "},
          {&loose, "Face[5]; "},
          {&alone, "Vertex[6]; "},
          {&unnamed, "<undefined>; "}}) {
        out.clear();
        record->appendPathName(out);
        EXPECT_EQ(out, expected);
    }
}

}  // namespace
}  // namespace y4
