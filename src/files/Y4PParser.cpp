// The nested model variant.
#include "Y4PParser.h"

#include "Reader.h"

namespace y4 {

void Y4PParser::parse() {
    Reader& r = reader_;
    readHeaderCounts();
    skipLine("the comment line \"// Bitmaps\"");
    readBitmapLines(r.numBitmaps, r.unreadableBitmapMessage());
    skipLine("the comment line \"// Entity:: name...\"");
    r.entities.reserve(reservable(r.numEntities, 40));
    r.vertices.reserve(reservable(r.numVertices, 130));
    r.faces.reserve(reservable(r.numFaces, 20));
    EntityColumns columns;
    for (int position = 0; position < r.numEntities; ++position) {
        Entity* e = readEntityLine(position, columns);
        e->parentEntityID = columns.i[1];
        e->childEntityID = columns.i[2];
        e->auxA = columns.i[5];
        const int blocks = columns.i[8];
        if (blocks < 0) {
            lines_.fail("a sub-entity count of 0 or more");
        }
        for (int s = 0; s < blocks; ++s) {
            readSubEntity(e, s);
        }
    }
    linkParents();
}

void Y4PParser::readSubEntity(Entity* entity, int position) {
    static constexpr std::string_view kVertexLine =
        "a vertex line: \"Vertex[n]:\" and 10 decimal numbers";
    static constexpr std::string_view kFaceLine = "a face line: \"Face[n]:\" and 3 vertex numbers";
    Reader& r = reader_;
    const int vertexCount = readCount("the line \"Vertices: <count>\"");
    const int faceCount = readCount("the line \"Faces: <count>\"");
    auto* sub = r.create<SubEntity>(entity, position);
    entity->subEntities.push_back(sub);
    r.subEntities.push_back(sub);
    sub->bitmapIndex = readLabelled("the line \"Bitmap: <number>\"");

    sub->vertices.reserve(reservable(vertexCount, 130));
    float numbers[10];
    for (int k = 0; k < vertexCount; ++k) {
        std::string_view rest;
        const int index = bracketIndex(lines_.next(kVertexLine), rest, kVertexLine);
        NumberScanner scan(rest, lines_.readableEnd());
        readFloats(scan, numbers, 10, kVertexLine);
        addVertex(sub, index, numbers, 4, 8);
    }

    faceLines_.clear();
    uses_.assign(sub->vertices.size(), 0);
    for (int k = 0; k < faceCount; ++k) {
        std::string_view rest;
        FaceLine line;
        line.index = bracketIndex(lines_.next(kFaceLine), rest, kFaceLine);
        NumberScanner scan(rest, lines_.readableEnd());
        readInts(scan, line.corner, 3, kFaceLine);
        for (int c : line.corner) {
            if (c < 0 || c >= vertexCount) {
                lines_.fail("face corners between 0 and " + std::to_string(vertexCount - 1) +
                            ", the vertices of this sub-entity");
            }
            ++uses_[static_cast<std::size_t>(c)];
        }
        faceLines_.push_back(line);
    }
    // Each vertex's face list gets its final size at once.
    for (std::size_t k = 0; k < sub->vertices.size(); ++k) {
        sub->vertices[k]->faces.reserve(static_cast<std::size_t>(uses_[k]));
    }
    sub->faces.reserve(faceLines_.size());
    for (const FaceLine& line : faceLines_) {
        auto* f = r.create<Face>(sub, line.index);
        sub->faces.push_back(f);
        r.faces.push_back(f);
        f->indexA = line.corner[0];
        f->indexB = line.corner[1];
        f->indexC = line.corner[2];
        f->vertexA = sub->vertices[static_cast<std::size_t>(f->indexA)];
        f->vertexB = sub->vertices[static_cast<std::size_t>(f->indexB)];
        f->vertexC = sub->vertices[static_cast<std::size_t>(f->indexC)];
        f->bitmapIndex = sub->bitmapIndex;
        for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
            // A face meets its corners one after another, so a repeat can only be the last.
            if (corner->faces.empty() || corner->faces.back() != f) {
                corner->faces.push_back(f);
            }
        }
        ++entity->numFaces;
    }
}

}  // namespace y4
