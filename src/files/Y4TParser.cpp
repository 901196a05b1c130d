// The terrain model variant.
#include "Y4TParser.h"

#include <memory>
#include <optional>

#include "Reader.h"
#include "RecordSink.h"
#include "SplitParse.h"

namespace y4 {

int Y4TParser::readRecordCount(std::string_view what, int limit) {
    const int count = readCount(what);
    if (count > limit) {
        // The game would keep only the low bits of the count and silently lose data.
        lines_.fail(std::string(what) + " of at most " + std::to_string(limit));
    }
    return count;
}

void Y4TParser::parse(std::uint64_t split) {
    Reader& r = reader_;
    const int recordCount = readRecordCount("the line \"NumRecords: <count>\"", kMaxRecords);
    std::vector<std::string> recordNames;
    for (int k = 0; k < recordCount; ++k) {
        recordNames.emplace_back(textAfterColon(lines_.next("a line \"Entity[n]: <bitmap name>\""),
                                                "a line \"Entity[n]: <bitmap name>\""));
    }
    skipLine("the line \"??: <last record>\"");

    // The second thread may start at once: the textures load meanwhile. Its records hang from
    // a root of its own until they are taken over.
    const std::optional<std::uint64_t> start =
        SplitParse::startFor(split, lines_.input(), lines_.offset(), "\\\\ Start Record");
    std::unique_ptr<Y4TParser> back;
    std::unique_ptr<SplitParse> second;
    if (start && recordCount > 1) {
        second =
            std::make_unique<SplitParse>(lines_.input(), lines_.file(), *start, lines_.progress());
        back = std::make_unique<Y4TParser>(reader_, second->lines(), nullptr);
        Entity* backRoot = second->batch.create<Entity>(nullptr, 0);
        second->batch.extras.push_back(backRoot);
        Y4TParser* parser = back.get();
        second->begin(recordCount, [parser, backRoot](BatchSink& sink, int position) {
            parser->readRecord(sink, backRoot, position);
        });
    }

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
    SceneSink sink(r);
    for (int record = 0; record < recordCount;) {
        if (second && lines_.offset() >= second->start()) {
            if (lines_.offset() == second->start()) {
                record += takeOver(*second, *back, root, record, recordCount - record);
            }
            second.reset();
            continue;
        }
        readRecord(sink, root, record);
        ++record;
    }
    if (recordCount > 0) {
        r.subEntities.back()->setName(kTerrainName);
    }
    r.terrainRecordIndex = recordCount - 1;
    r.numEntities = 1;
    r.numBitmaps = static_cast<int>(r.bitmapNames.size());
    r.numVertices = static_cast<int>(r.vertices.size());
    r.numFaces = static_cast<int>(r.faces.size());
}

int Y4TParser::takeOver(SplitParse& split, Y4TParser& back, Entity* root, int record, int needed) {
    Reader& r = reader_;
    return ModelParser::takeOver(split, back, needed, [&](SceneObject* block, int k) {
        auto* s = static_cast<SubEntity*>(block);
        const int position = record + k;
        s->parent = root;
        s->index = position;
        s->bitmapIndex = position;
        root->subEntities.push_back(s);
        root->numVertices += static_cast<int>(s->vertices.size());
        root->numFaces += static_cast<int>(s->faces.size());
        for (Face* f : s->faces) {
            f->bitmapIndex = position;
        }
        r.adoptSubEntity(s);
        return std::size_t{1};
    });
}

template <class Sink>
void Y4TParser::readRecord(Sink& sink, Entity* root, int record) {
    static constexpr std::string_view kVertexLine = "a vertex line: \"Vertex[n]:\" and 8 numbers";
    static constexpr std::string_view kFaceLine = "a face line: \"Face[n]:\" and 3 vertex numbers";
    skipLine("the line \"\\\\ Start Record\"");
    const int vertexCount = readRecordCount("the line \"numVertices: <count>\"", kMaxRecordItems);
    const int faceCount = readRecordCount("the line \"numFaces: <count>\"", kMaxRecordItems);
    skipLine("the line \"Record: <number>\"");

    auto* sub = sink.template create<SubEntity>(root, record);
    sink.beginBlock(sub);
    root->subEntities.push_back(sub);
    sink.enlist(sub);
    sub->bitmapIndex = record;
    const std::size_t room = reservable(vertexCount, 80);
    sub->vertices.useStorage(sink.template listSlice<Vertex>(room), room);
    float numbers[8];
    for (int k = 0; k < vertexCount; ++k) {
        NumberScanner scan(textAfterColon(lines_.next(kVertexLine), kVertexLine),
                           lines_.readableEnd());
        readFloats(scan, numbers, 8, kVertexLine, 12, 6);
        addVertex(sink, sub, k, numbers, 3, 6);
    }
    closeBox(sub);
    skipLine("the line \"??: 1\"");
    faceLines_.clear();
    faceLines_.reserve(reservable(faceCount, 20));
    for (int k = 0; k < faceCount; ++k) {
        FaceLine line{k, {0, 0, 0}};
        NumberScanner scan(textAfterColon(lines_.next(kFaceLine), kFaceLine), lines_.readableEnd());
        readInts(scan, line.corner, 3, kFaceLine, 3);
        checkCorners(line, vertexCount, "record");
        faceLines_.push_back(line);
    }
    addFaces(sink, sub, faceLines_, record);
    skipLine("the line \"\\\\ End Record\"");
}

template void Y4TParser::readRecord(SceneSink&, Entity*, int);
template void Y4TParser::readRecord(BatchSink&, Entity*, int);

}  // namespace y4
