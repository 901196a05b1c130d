// The nested model variant.
#include "Y4PParser.h"

#include <memory>
#include <optional>

#include "Reader.h"
#include "RecordSink.h"
#include "SplitParse.h"

namespace y4 {

void Y4PParser::parse(std::uint64_t split) {
    Reader& r = reader_;
    readHeaderCounts();
    skipLine("the comment line \"// Bitmaps\"");
    // The second thread may start at once: the textures load meanwhile.
    const std::optional<std::uint64_t> start =
        SplitParse::startFor(split, lines_.input(), lines_.offset(), "Entity[");
    // The second parser outlives its thread.
    std::unique_ptr<Y4PParser> back;
    std::unique_ptr<SplitParse> second;
    if (start && r.numEntities > 1) {
        second =
            std::make_unique<SplitParse>(lines_.input(), lines_.file(), *start, lines_.progress());
        back = std::make_unique<Y4PParser>(reader_, second->lines(), nullptr);
        Y4PParser* parser = back.get();
        second->begin(r.numEntities, [parser](BatchSink& sink, int position) {
            parser->readEntityBlock(sink, position);
        });
    }
    readBitmapLines(r.numBitmaps, r.unreadableBitmapMessage());
    skipLine("the comment line \"// Entity:: name...\"");
    r.entities.reserve(reservable(r.numEntities, 40));
    r.vertices.reserve(reservable(r.numVertices, 130));
    r.faces.reserve(reservable(r.numFaces, 20));
    SceneSink sink(r);
    for (int position = 0; position < r.numEntities;) {
        if (second && lines_.offset() >= second->start()) {
            if (lines_.offset() == second->start()) {
                position += takeOver(*second, *back, position, r.numEntities - position);
            }
            // Passed in the middle of a block, or taken over: the rest is read here.
            second.reset();
            continue;
        }
        readEntityBlock(sink, position);
        ++position;
    }
    linkParents();
}

int Y4PParser::takeOver(SplitParse& split, Y4PParser& back, int position, int needed) {
    Reader& r = reader_;
    const int linesBefore = lines_.lineNumber();
    return ModelParser::takeOver(split, back, needed, [&](SceneObject* block, int k) {
        auto* e = static_cast<Entity*>(block);
        e->index = position + k;
        r.adoptRecord(e);
        r.entities.push_back(e);
        entityLines_.push_back(linesBefore + back.entityLines_[static_cast<std::size_t>(k)]);
        for (SubEntity* s : e->subEntities) {
            r.adoptSubEntity(s);
        }
        return e->subEntities.size();
    });
}

template <class Sink>
void Y4PParser::readEntityBlock(Sink& sink, int position) {
    EntityColumns columns;
    Entity* e = readEntityLine(sink, position, columns);
    e->parentEntityID = columns.i[1];
    e->childEntityID = columns.i[2];
    e->auxA = columns.i[5];
    const int blocks = columns.i[8];
    if (blocks < 0) {
        lines_.fail("a sub-entity count of 0 or more");
    }
    for (int s = 0; s < blocks; ++s) {
        readSubEntity(sink, e, s);
    }
}

template <class Sink>
void Y4PParser::readSubEntity(Sink& sink, Entity* entity, int position) {
    static constexpr std::string_view kVertexLine =
        "a vertex line: \"Vertex[n]:\" and 10 decimal numbers";
    static constexpr std::string_view kFaceLine = "a face line: \"Face[n]:\" and 3 vertex numbers";
    const int vertexCount = readCount("the line \"Vertices: <count>\"");
    const int faceCount = readCount("the line \"Faces: <count>\"");
    auto* sub = sink.template create<SubEntity>(entity, position);
    entity->subEntities.push_back(sub);
    sink.enlist(sub);
    sub->bitmapIndex = readLabelled("the line \"Bitmap: <number>\"");

    const std::size_t room = reservable(vertexCount, 130);
    sub->vertices.useStorage(sink.template listSlice<Vertex>(room), room);
    float numbers[10];
    for (int k = 0; k < vertexCount; ++k) {
        std::string_view rest;
        const int index = bracketIndex(lines_.next(kVertexLine), rest, kVertexLine);
        NumberScanner scan(rest, lines_.readableEnd());
        readFloats(scan, numbers, 10, kVertexLine, 12, 6);
        addVertex(sink, sub, index, numbers, 4, 8);
    }
    closeBox(sub);

    faceLines_.clear();
    faceLines_.reserve(reservable(faceCount, 20));
    for (int k = 0; k < faceCount; ++k) {
        std::string_view rest;
        FaceLine line;
        line.index = bracketIndex(lines_.next(kFaceLine), rest, kFaceLine);
        NumberScanner scan(rest, lines_.readableEnd());
        readInts(scan, line.corner, 3, kFaceLine, 3);
        checkCorners(line, vertexCount, "sub-entity");
        faceLines_.push_back(line);
    }
    addFaces(sink, sub, faceLines_, sub->bitmapIndex);
}

template void Y4PParser::readEntityBlock(SceneSink&, int);
template void Y4PParser::readEntityBlock(BatchSink&, int);

}  // namespace y4
