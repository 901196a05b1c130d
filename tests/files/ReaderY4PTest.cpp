// Loading the nested variant: a hand-written model whose every record, link, label, negated
// coordinate, cumulative offset, bounding box and world position is checked against values
// worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "files/Reader.h"
#include "model/SceneTree.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/SceneDump.h"
#include "support/Triples.h"

namespace y4 {
namespace {

using test::expectNear;
using test::expectTriple;
using test::kTinyY4P;
using test::ModelFixture;
using test::TempDir;

TEST(ReaderY4P, HandWrittenModelLoadsRecordByRecord) {
    TempDir dir;
    const std::string path =
        ModelFixture::write(dir, "TINY.Y4P", kTinyY4P, {{"RED", 2, 2}, {"BLUE", 4, 2}});
    SceneTree tree;
    Reader r(&tree, path);

    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.fileType, Reader::kY4P);
    EXPECT_EQ(r.terrainRecordIndex, -1);
    EXPECT_EQ(r.modelFolder, dir.path());
    EXPECT_EQ(r.numVertices, 6);
    EXPECT_EQ(r.numFaces, 3);
    EXPECT_EQ(r.numBitmaps, 2);
    EXPECT_EQ(r.numEntities, 4);
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"RED", "BLUE"}));
    ASSERT_EQ(r.textures.images.size(), 2u);
    EXPECT_EQ(r.textures.images[1]->sizeX, 4);
    EXPECT_EQ(r.textures.images[1]->sizeY, 2);
    ASSERT_EQ(r.entities.size(), 4u);
    ASSERT_EQ(r.subEntities.size(), 3u);
    ASSERT_EQ(r.faces.size(), 3u);
    ASSERT_EQ(r.vertices.size(), 6u);

    Entity& root = *r.entities[0];
    Entity& arm = *r.entities[1];
    Entity& leg = *r.entities[2];
    Entity& foot = *r.entities[3];
    // Names, indices and links.
    EXPECT_EQ(root.name(), "Root");
    EXPECT_EQ(arm.name(), "Arm one");
    EXPECT_EQ(foot.name(), "Foot");
    EXPECT_EQ(root.parent, nullptr);
    EXPECT_EQ(arm.parent, &root);
    EXPECT_EQ(leg.parent, &root);
    EXPECT_EQ(foot.parent, &leg);
    EXPECT_EQ(root.children, (std::vector<Entity*>{&arm, &leg}));
    EXPECT_EQ(leg.children, (std::vector<Entity*>{&foot}));
    EXPECT_EQ(foot.level, 2);
    EXPECT_EQ(arm.level, 1);
    EXPECT_EQ(arm.index, 1);
    EXPECT_EQ(arm.entityID, 2);
    EXPECT_EQ(arm.parentEntityID, 0);
    EXPECT_EQ(arm.childEntityID, -1);
    EXPECT_EQ(root.childEntityID, 1);
    // Carried columns, and counts made from what was attached, not from the file.
    EXPECT_EQ(root.auxA, 1);
    EXPECT_EQ(arm.auxA, 7);
    EXPECT_EQ(arm.auxB, 9);
    EXPECT_EQ(leg.auxA, -4);
    EXPECT_EQ(leg.numFaces, 0);
    EXPECT_EQ(arm.numFaces, 1);
    EXPECT_EQ(arm.numVertices, 3);
    EXPECT_EQ(foot.numFaces, 2);

    // Positions are negated; angles are not.
    EXPECT_EQ(root.positionX, -1.0f);
    EXPECT_EQ(root.positionZ, -3.0f);
    EXPECT_TRUE(std::signbit(arm.positionY));
    EXPECT_EQ(leg.positionY, 2.0f);
    EXPECT_EQ(foot.positionZ, 1.0f);
    EXPECT_EQ(arm.rotateZ, 1.570796f);
    EXPECT_EQ(foot.rotateX, 0.5f);

    // Sub-entities, faces and vertices.
    SubEntity& armMesh = *arm.subEntities[0];
    SubEntity& armEmpty = *arm.subEntities[1];
    SubEntity& footMesh = *foot.subEntities[0];
    EXPECT_EQ(armMesh.name(), "SubEntity[0]");
    EXPECT_EQ(armEmpty.name(), "SubEntity[1]");
    EXPECT_EQ(armMesh.bitmapIndex, 1);
    EXPECT_EQ(armEmpty.bitmapIndex, 0);
    EXPECT_TRUE(armEmpty.vertices.empty() && armEmpty.faces.empty());
    EXPECT_EQ(footMesh.bitmapIndex, 255);
    EXPECT_EQ(r.subEntities, (std::vector<SubEntity*>{&armMesh, &armEmpty, &footMesh}));
    Face& f0 = *footMesh.faces[0];
    Face& f1 = *footMesh.faces[1];
    EXPECT_EQ(f1.name(), "Face[1]");
    EXPECT_EQ(f1.parent, &footMesh);
    EXPECT_EQ(f1.bitmapIndex, 255);
    EXPECT_EQ(r.faces[0]->bitmapIndex, 1);
    EXPECT_EQ(f1.indexB, 2);
    EXPECT_EQ(f1.vertexB, footMesh.vertices[2]);
    EXPECT_EQ(f1.vertexC, footMesh.vertices[1]);
    for (Vertex* v : footMesh.vertices) {
        EXPECT_EQ(v->faces, (std::vector<Face*>{&f0, &f1}));
        EXPECT_EQ(v->subEntity, &footMesh);
    }
    const Vertex& a0 = *armMesh.vertices[0];
    EXPECT_EQ(a0.name(), "Vertex[0]");
    EXPECT_EQ(a0.X, -1.0f);
    EXPECT_TRUE(std::signbit(a0.Y) && std::signbit(a0.Z));
    EXPECT_EQ(a0.normalZ, -1.0f);
    EXPECT_EQ(a0.textureU, 0.25f);
    EXPECT_EQ(a0.textureV, 0.75f);

    // Offsets and angles summed down from the root, whose own are left out.
    expectTriple(root.cumulativeOffset(), 0, 0, 0);
    expectTriple(arm.cumulativeOffset(), -1, 0, 0);
    expectTriple(arm.cumulativeRotation(), 0, 0, 1.570796f);
    expectTriple(armMesh.cumulativeOffset(), -1, 0, 0);
    expectTriple(r.faces[0]->cumulativeRotation(), 0, 0, 1.570796f);
    expectTriple(leg.cumulativeOffset(), 0, 2, 0);
    expectTriple(foot.cumulativeOffset(), 0, 2, 1);
    expectTriple(foot.cumulativeRotation(), 0.5f, 0, 0);
    expectTriple(armMesh.vertices[0]->cumulativeOffset(), -2, 0, 0);
    expectTriple(armMesh.vertices[1]->cumulativeOffset(), -1, -1, 0);
    expectTriple(armMesh.vertices[2]->cumulativeOffset(), -1, 0, -2);
    expectTriple(footMesh.vertices[0]->cumulativeOffset(), 1, 3, 1);
    expectTriple(footMesh.vertices[2]->cumulativeOffset(), 0, 3, 0);
    expectTriple(footMesh.vertices[2]->cumulativeRotation(), 0.5f, 0, 0);
    const float box[6] = {r.minX, r.minY, r.minZ, r.maxX, r.maxY, r.maxZ};
    const float expectedBox[6] = {-2, -1, -2, 1, 3, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(box[i], expectedBox[i]) << "bound " << i;
    }

    // World positions: an entity's is the origin of its parent's frame.
    expectNear(root.absolutePosition(), 0, 0, 0);
    expectNear(arm.absolutePosition(), -1, -2, -3);
    expectNear(foot.absolutePosition(), -1, 0, -3);
    expectNear(footMesh.absolutePosition(), -1, 0, -3);
    expectNear(f1.absolutePosition(), -1, 0, -3);
    expectNear(armMesh.vertices[0]->absolutePosition(), -2, -3, -3);
    expectNear(armMesh.vertices[1]->absolutePosition(), -1, -2, -3);
    expectNear(armMesh.vertices[2]->absolutePosition(), -2, -2, -5);
    const double c = std::cos(0.5), s = std::sin(0.5);
    expectNear(footMesh.vertices[0]->absolutePosition(), c - 1, 1, -2 - s);
    expectNear(footMesh.vertices[1]->absolutePosition(), -c - 1, 1, s - 2);
    expectNear(footMesh.vertices[2]->absolutePosition(), -s - 1, 1, -2 - c);
}

TEST(ReaderY4P, WindowsLineEndingsLoadTheSameScene) {
    TempDir unix, windows;
    const std::vector<test::TextureFile> textures = {{"RED"}, {"BLUE"}};
    Reader a(nullptr, ModelFixture::write(unix, "TINY.Y4P", kTinyY4P, textures));
    Reader b(nullptr,
             ModelFixture::write(windows, "TINY.Y4P", ModelFixture::withCrLf(kTinyY4P), textures));
    EXPECT_EQ(test::SceneDump::text(a), test::SceneDump::text(b));
}

// (Names that differ from the files in case are HostileModelTest's.)
TEST(ReaderY4P, ALowerCaseExtensionOrAMissingFileLoadsNothing) {
    TempDir dir;
    dir.write("lower/tiny.y4p", kTinyY4P);
    // Extensions are compared as the editor writes them: in upper case.
    try {
        Reader lower(nullptr, dir.path() + "/lower/tiny.y4p");
        ADD_FAILURE() << "a lower-case extension was accepted";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Error: Unknown file type");
    }
    // A file that cannot be opened leaves an empty scene.
    testing::internal::CaptureStderr();
    Reader missing(nullptr, dir.path() + "/NONE.Y4P");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\nError: Could not open file " + dir.path() + "/NONE.Y4P\n");
    EXPECT_FALSE(missing.loaded());
    EXPECT_TRUE(missing.entities.empty());
}

}  // namespace
}  // namespace y4
