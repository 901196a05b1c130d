// Loading the flat variant: entities claim ranges of one vertex list and one face list; what
// no entity claims stays in the lists without an owner.
#include <gtest/gtest.h>

#include <cmath>

#include "files/Reader.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/Triples.h"

namespace y4 {
namespace {

using test::expectNear;
using test::expectTriple;
using test::kFlatY4D;
using test::ModelFixture;
using test::TempDir;

TEST(ReaderY4D, HandWrittenModelLoadsRecordByRecord) {
    TempDir dir;
    Reader r(nullptr,
             ModelFixture::write(dir, "FLAT.Y4D", kFlatY4D, {{"BRICK", 2, 2}, {"GLASS", 2, 4}}));
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.fileType, Reader::kY4D);
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"BRICK", "GLASS"}));
    EXPECT_EQ(r.textures.images[1]->sizeY, 4);
    ASSERT_EQ(r.entities.size(), 3u);
    ASSERT_EQ(r.vertices.size(), 8u);
    ASSERT_EQ(r.faces.size(), 4u);
    ASSERT_EQ(r.subEntities.size(), 2u);

    Entity& base = *r.entities[0];
    Entity& panel = *r.entities[1];
    Entity& marker = *r.entities[2];
    EXPECT_TRUE(base.subEntities.empty());
    EXPECT_EQ(base.children, (std::vector<Entity*>{&panel, &marker}));
    EXPECT_EQ(panel.parent, &base);
    EXPECT_EQ(panel.entityID, 2);
    EXPECT_EQ(base.childEntityID, 1);
    // The first-face column lands in auxA.
    EXPECT_EQ(base.auxA, 12);
    EXPECT_EQ(marker.auxA, 2);
    EXPECT_EQ(marker.auxB, 6);
    EXPECT_EQ(panel.numFaces, 2);
    EXPECT_EQ(panel.numVertices, 4);
    EXPECT_EQ(base.numVertices, 0);

    SubEntity& panelMesh = *panel.subEntities.at(0);
    SubEntity& markerMesh = *marker.subEntities.at(0);
    EXPECT_EQ(panelMesh.name(), "SubEntity[0]");
    EXPECT_EQ(panelMesh.bitmapIndex, 0);
    EXPECT_EQ(markerMesh.bitmapIndex, 255);
    EXPECT_EQ(panelMesh.vertices,
              (std::vector<Vertex*>{r.vertices[0], r.vertices[1], r.vertices[2], r.vertices[3]}));
    EXPECT_EQ(markerMesh.faces, (std::vector<Face*>{r.faces[2]}));
    // Corners count from the entity's first vertex.
    EXPECT_EQ(r.faces[2]->vertexA, r.vertices[4]);
    EXPECT_EQ(r.faces[2]->vertexC, r.vertices[6]);
    EXPECT_EQ(r.faces[1]->vertexC, r.vertices[3]);
    EXPECT_EQ(r.faces[1]->index, 1);
    EXPECT_EQ(r.vertices[5]->index, 5);
    EXPECT_EQ(r.vertices[0]->faces, (std::vector<Face*>{r.faces[0], r.faces[1]}));
    // Unclaimed records keep no owner.
    EXPECT_EQ(r.vertices[7]->subEntity, nullptr);
    EXPECT_EQ(r.faces[3]->parent, nullptr);
    EXPECT_EQ(r.faces[3]->vertexA, nullptr);

    EXPECT_EQ(panel.positionZ, 1.0f);
    EXPECT_EQ(marker.positionX, -5.0f);
    EXPECT_EQ(r.vertices[4]->normalX, -1.0f);
    EXPECT_EQ(r.vertices[5]->textureU, 0.25f);

    expectTriple(panel.cumulativeOffset(), 0, 0, 1);
    expectTriple(marker.cumulativeRotation(), 0, 0, 1.5708f);
    expectTriple(r.vertices[1]->cumulativeOffset(), -2, 0, 1);
    expectTriple(r.vertices[2]->cumulativeOffset(), -2, -2, 1);
    expectTriple(r.vertices[4]->cumulativeOffset(), -6, 0, -3);
    expectTriple(r.vertices[6]->cumulativeOffset(), -5, 0, -4);
    expectTriple(r.vertices[7]->cumulativeOffset(), 0, 0, 0);
    const float box[6] = {r.minX, r.minY, r.minZ, r.maxX, r.maxY, r.maxZ};
    const float expectedBox[6] = {-6, -2, -4, 0, 0, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(box[i], expectedBox[i]) << "bound " << i;
    }

    expectNear(panel.absolutePosition(), 0, 0, 0, 1e-4);
    expectNear(r.vertices[1]->absolutePosition(), -2, 0, 1, 1e-4);
    expectNear(r.vertices[4]->absolutePosition(), -5, -1, -3, 1e-4);
    expectNear(r.vertices[5]->absolutePosition(), -4, 0, -3, 1e-4);
    expectNear(r.vertices[7]->absolutePosition(), 0, 0, 0, 1e-4);
    expectNear(r.faces[3]->absolutePosition(), 0, 0, 0, 1e-4);
}

}  // namespace
}  // namespace y4
