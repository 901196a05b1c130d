// The terrain model variant.
#include "Y4TParser.h"

#include "Reader.h"

namespace y4 {

int Y4TParser::readRecordCount(std::string_view what, int limit) {
    const int count = readCount(what);
    if (count > limit) {
        // The game would keep only the low bits of the count and silently lose data.
        lines_.fail(std::string(what) + " of at most " + std::to_string(limit));
    }
    return count;
}

void Y4TParser::parse() {
    Reader& r = reader_;
    const int recordCount = readRecordCount("the line \"NumRecords: <count>\"", kMaxRecords);
    std::vector<std::string> recordNames;
    for (int k = 0; k < recordCount; ++k) {
        recordNames.emplace_back(textAfterColon(lines_.next("a line \"Entity[n]: <bitmap name>\""),
                                                "a line \"Entity[n]: <bitmap name>\""));
    }
    skipLine("the line \"??: <last record>\"");

    auto* root = r.create<Entity>(nullptr, 0);
    r.entities.push_back(root);
    root->setName(r.baseName());
    // Its position is zero, negated like every position read.
    root->positionX = root->positionY = root->positionZ = -0.0f;
    // The file keeps no links; the root has no sibling, parent or child entity.
    root->entityID = root->parentEntityID = root->childEntityID = -1;
    // The terrain's name leaves the list wherever it stands and comes back once, last. A record
    // whose number then lies past the list (a terrain named in the middle as well as last)
    // draws untextured, and is saved as every bitmap number that names no bitmap is.
    for (std::string& name : recordNames) {
        if (name != kTerrainName) {
            const std::string file = r.besideModel(name + ".BMP");
            addBitmap(std::move(name), file, r.unreadableBitmapMessage());
        }
    }
    addBitmap(kTerrainName, r.besideModel(r.baseName() + ".BMP"), r.unreadableBitmapMessage());
    for (int record = 0; record < recordCount; ++record) {
        readRecord(root, record, recordCount);
    }
    r.terrainRecordIndex = recordCount - 1;
    r.numEntities = 1;
    r.numBitmaps = static_cast<int>(r.bitmapNames.size());
    r.numVertices = static_cast<int>(r.vertices.size());
    r.numFaces = static_cast<int>(r.faces.size());
}

void Y4TParser::readRecord(Entity* root, int record, int recordCount) {
    static constexpr std::string_view kVertexLine = "a vertex line: \"Vertex[n]:\" and 8 numbers";
    static constexpr std::string_view kFaceLine = "a face line: \"Face[n]:\" and 3 vertex numbers";
    Reader& r = reader_;
    skipLine("the line \"\\\\ Start Record\"");
    const int vertexCount = readRecordCount("the line \"numVertices: <count>\"", kMaxRecordItems);
    const int faceCount = readRecordCount("the line \"numFaces: <count>\"", kMaxRecordItems);
    skipLine("the line \"Record: <number>\"");

    auto* sub = r.create<SubEntity>(root, record);
    root->subEntities.push_back(sub);
    r.subEntities.push_back(sub);
    sub->bitmapIndex = record;
    if (record == recordCount - 1) {
        sub->setName(kTerrainName);
    }
    sub->vertices.reserve(reservable(vertexCount, 80));
    float numbers[8];
    for (int k = 0; k < vertexCount; ++k) {
        NumberScanner scan(textAfterColon(lines_.next(kVertexLine), kVertexLine),
                           lines_.readableEnd());
        readFloats(scan, numbers, 8, kVertexLine);
        addVertex(sub, k, numbers, 3, 6);
    }
    skipLine("the line \"??: 1\"");
    sub->faces.reserve(reservable(faceCount, 20));
    int corners[3];
    for (int k = 0; k < faceCount; ++k) {
        NumberScanner scan(textAfterColon(lines_.next(kFaceLine), kFaceLine), lines_.readableEnd());
        readInts(scan, corners, 3, kFaceLine);
        for (int c : corners) {
            if (c < 0 || c >= vertexCount) {
                lines_.fail("face corners between 0 and " + std::to_string(vertexCount - 1) +
                            ", the vertices of this record");
            }
        }
        auto* f = r.create<Face>(sub, k);
        sub->faces.push_back(f);
        r.faces.push_back(f);
        f->indexA = corners[0];
        f->indexB = corners[1];
        f->indexC = corners[2];
        f->vertexA = sub->vertices[static_cast<std::size_t>(corners[0])];
        f->vertexB = sub->vertices[static_cast<std::size_t>(corners[1])];
        f->vertexC = sub->vertices[static_cast<std::size_t>(corners[2])];
        f->bitmapIndex = record;
        for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
            corner->addFace(f);
        }
        ++root->numFaces;
    }
    skipLine("the line \"\\\\ End Record\"");
}

}  // namespace y4
