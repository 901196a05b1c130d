// Loading the terrain variant: one root named after the file, one sub-entity per record, the
// terrain's own bitmap last and named after the model.
#include <gtest/gtest.h>

#include "files/Reader.h"
#include "files/Writer.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"

namespace y4 {
namespace {

using test::kHillsY4T;
using test::ModelFixture;
using test::TempDir;

TEST(ReaderY4T, HandWrittenTerrainLoadsRecordByRecord) {
    TempDir dir;
    const std::string path =
        ModelFixture::write(dir, "HILLS.Y4T", kHillsY4T, {{"GRASS"}, {"ROCK"}, {"HILLS", 8, 8}});
    Reader r(nullptr, path);
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.fileType, Reader::kY4T);
    EXPECT_EQ(r.terrainRecordIndex, 2);
    // The terrain's name leaves the middle of the list for its end; its picture is the
    // model's own.
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"GRASS", "ROCK", "Zelvan's Terrain"}));
    EXPECT_EQ(r.textures.images[2]->sizeX, 8);
    EXPECT_EQ(r.textureFileName(2), dir.path() + "/HILLS.BMP");

    ASSERT_EQ(r.entities.size(), 1u);
    const Entity& root = *r.entities[0];
    EXPECT_EQ(root.name(), "HILLS");
    EXPECT_EQ(root.parent, nullptr);
    EXPECT_EQ(root.parentEntityID, -1);
    EXPECT_EQ(root.childEntityID, -1);
    EXPECT_EQ(root.positionX, 0.0f);
    EXPECT_EQ(root.numFaces, 3);
    EXPECT_EQ(root.numVertices, 6);
    ASSERT_EQ(root.subEntities.size(), 3u);
    EXPECT_EQ(root.subEntities[0]->name(), "SubEntity[0]");
    EXPECT_EQ(root.subEntities[1]->name(), "SubEntity[1]");
    EXPECT_EQ(root.subEntities[2]->name(), "Zelvan's Terrain");
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(root.subEntities[static_cast<std::size_t>(k)]->bitmapIndex, k);
        EXPECT_EQ(root.subEntities[static_cast<std::size_t>(k)]->index, k);
    }
    EXPECT_TRUE(root.subEntities[1]->vertices.empty());
    const SubEntity& own = *root.subEntities[2];
    EXPECT_EQ(own.faces[1]->bitmapIndex, 2);
    EXPECT_EQ(own.faces[1]->index, 1);
    EXPECT_EQ(own.faces[1]->vertexA, own.vertices[2]);
    EXPECT_EQ(own.vertices[1]->index, 1);
    EXPECT_EQ(own.vertices[1]->Y, 3.0f);
    EXPECT_EQ(own.vertices[1]->normalY, -1.0f);
    EXPECT_EQ(own.vertices[1]->textureU, 1.0f);
    // No offsets above the records: cumulative and world positions are the vertices' own.
    EXPECT_FLOAT_EQ(own.vertices[1]->cumulativeOffset()[0], -6.0f);
    EXPECT_FLOAT_EQ(own.vertices[1]->cumulativeOffset()[1], 3.0f);
    EXPECT_DOUBLE_EQ(own.vertices[1]->absolutePosition()[2], -5.0);
    EXPECT_EQ(r.minX, -6.0f);
    EXPECT_EQ(r.minY, -2.0f);
    EXPECT_EQ(r.maxY, 3.0f);
    EXPECT_EQ(r.maxZ, 0.0f);
}

TEST(ReaderY4T, ATerrainNamedInTheMiddleAndLastOpensAndSavesItsOddRecordAsNoBitmap) {
    TempDir dir;
    std::string text(kHillsY4T);
    const std::string rock = "                            ROCK\n";
    text.replace(text.find(rock), rock.size(), "                Zelvan's Terrain\n");
    Reader r(nullptr, ModelFixture::write(dir, "HILLS.Y4T", text, {{"GRASS"}, {"HILLS", 8, 8}}));
    // The name leaves the list twice and comes back once: the last record's number, 2, names
    // no bitmap, so it draws untextured.
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"GRASS", "Zelvan's Terrain"}));
    EXPECT_EQ(r.entities[0]->subEntities[2]->bitmapIndex, 2);
    EXPECT_EQ(r.entities[0]->subEntities[2]->name(), "Zelvan's Terrain");
    Writer(r, dir.file("OUT.Y4T"));
    const std::string saved = TempDir::read(dir.file("OUT.Y4T"));
    EXPECT_EQ(saved.substr(0, saved.find("??")),
              "NumRecords:      3\nEntity[  0]:                            GRASS\n"
              "Entity[  1]:                 Zelvan's Terrain\n"
              "Entity[  2]:                           (null)\n");
}

TEST(ReaderY4T, AnEmptyTerrainStillNeedsItsOwnPicture) {
    TempDir dir;
    Reader r(nullptr,
             ModelFixture::write(dir, "FLAT.Y4T", "NumRecords:      0\n??: -1\n", {{"FLAT"}}));
    EXPECT_EQ(r.terrainRecordIndex, -1);
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"Zelvan's Terrain"}));
    EXPECT_TRUE(r.entities[0]->subEntities.empty());
}

}  // namespace
}  // namespace y4
