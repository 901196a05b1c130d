// The flat model variant.
#include "Y4DParser.h"

#include "Reader.h"
#include "RecordSink.h"

namespace y4 {

void Y4DParser::parse() {
    Reader& r = reader_;
    readHeaderCounts();
    skipLine("the comment line \"// Vertex: ...\"");
    readVertices(r.numVertices);
    skipLine("the comment line \"// Face: ...\"");
    readFaces(r.numFaces);
    skipLine("the comment line \"// Bitmaps\"");
    readBitmapLines(r.numBitmaps, r.unreadableBitmapMessage());
    skipLine("the comment line \"// Entities: ...\"");
    r.entities.reserve(reservable(r.numEntities, 40));
    faceClaimed_.assign(r.faces.size(), 0);
    vertexClaimed_.assign(r.vertices.size(), 0);
    EntityColumns columns;
    SceneSink sink(r);
    for (int position = 0; position < r.numEntities; ++position) {
        Entity* e = readEntityLine(sink, position, columns);
        e->parentEntityID = columns.i[2];
        e->childEntityID = columns.i[3];
        // The file's first-face column lands in auxA.
        e->auxA = columns.i[5];
        claimRanges(e, columns);
    }
    linkParents();
}

void Y4DParser::readVertices(int count) {
    static constexpr std::string_view kWhat = "a vertex line of 10 decimal numbers";
    Reader& r = reader_;
    r.vertices.reserve(reservable(count, 40));
    SceneSink sink(r);
    float numbers[10];
    for (int k = 0; k < count; ++k) {
        NumberScanner scan(lines_.next(kWhat), lines_.readableEnd());
        readFloats(scan, numbers, 10, kWhat, 8, 4);
        addVertex(sink, nullptr, k, numbers, 4, 8);
    }
}

void Y4DParser::readFaces(int count) {
    static constexpr std::string_view kWhat =
        "a face line: \"Face[n]:\" and 3 vertex numbers and a bitmap number";
    Reader& r = reader_;
    r.faces.reserve(reservable(count, 20));
    int numbers[4];
    for (int k = 0; k < count; ++k) {
        std::string_view rest;
        const int index = bracketIndex(lines_.next(kWhat), rest, kWhat);
        NumberScanner scan(rest, lines_.readableEnd());
        readInts(scan, numbers, 4, kWhat, 4);
        auto* f = r.create<Face>(nullptr, index);
        r.faces.push_back(f);
        f->indexA = numbers[0];
        f->indexB = numbers[1];
        f->indexC = numbers[2];
        f->bitmapIndex = numbers[3];
    }
}

void Y4DParser::claimRanges(Entity* e, const EntityColumns& columns) {
    const int faceCount = columns.i[4];
    const int firstFace = columns.i[5];
    const int vertexCount = columns.i[6];
    const int firstVertex = columns.i[7];
    // An entity holds its sub-entity when it claims faces, or when its sub-entity column counts
    // one: a sub-entity without faces (as Add SubEntity makes it) keeps its vertices.
    const bool faceless = faceCount <= 0;
    if (faceless && (columns.i[8] <= 0 || vertexCount < 0)) {
        return;
    }
    Reader& r = reader_;
    const auto fits = [](long long first, long long count, std::size_t size) {
        return first >= 0 && count >= 0 && first + count <= static_cast<long long>(size);
    };
    if (!faceless && !fits(firstFace, faceCount, r.faces.size())) {
        lines_.fail("a face range (first " + std::to_string(firstFace) + ", count " +
                    std::to_string(faceCount) + ") within the " + std::to_string(r.faces.size()) +
                    " face lines");
    }
    // A negative count is refused like a range beyond the vertex lines.
    if (vertexCount != 0 && !fits(firstVertex, vertexCount, r.vertices.size())) {
        lines_.fail("a vertex range (first " + std::to_string(firstVertex) + ", count " +
                    std::to_string(vertexCount) + ") within the " +
                    std::to_string(r.vertices.size()) + " vertex lines");
    }
    const auto faceBegin = faceless ? 0 : static_cast<std::size_t>(firstFace);
    const auto faceEnd = faceless ? 0 : faceBegin + static_cast<std::size_t>(faceCount);
    const auto vertexBegin = vertexCount > 0 ? static_cast<std::size_t>(firstVertex) : 0;
    const auto vertexEnd = vertexBegin + static_cast<std::size_t>(vertexCount);
    for (std::size_t k = faceBegin; k < faceEnd; ++k) {
        if (faceClaimed_[k]++) {
            lines_.fail("a face range that no earlier entity claims (face line " +
                        std::to_string(k) + " is claimed twice)");
        }
    }
    for (std::size_t k = vertexBegin; k < vertexEnd; ++k) {
        if (vertexClaimed_[k]++) {
            lines_.fail("a vertex range that no earlier entity claims (vertex line " +
                        std::to_string(k) + " is claimed twice)");
        }
    }

    auto* sub = r.create<SubEntity>(e, 0);
    e->subEntities.push_back(sub);
    r.subEntities.push_back(sub);
    const std::span<Vertex*> vertices = r.vertices.span();
    const std::span<Face*> faces = r.faces.span();
    sub->vertices.useStorage(r.listSlice<Vertex>(vertexEnd - vertexBegin), vertexEnd - vertexBegin);
    sub->faces.useStorage(r.listSlice<Face>(faceEnd - faceBegin), faceEnd - faceBegin);
    sub->vertices.append(vertices.begin() + static_cast<std::ptrdiff_t>(vertexBegin),
                         vertices.begin() + static_cast<std::ptrdiff_t>(vertexEnd));
    for (Vertex* v : sub->vertices) {
        v->subEntity = sub;
        ++e->numVertices;
    }
    sub->faces.append(faces.begin() + static_cast<std::ptrdiff_t>(faceBegin),
                      faces.begin() + static_cast<std::ptrdiff_t>(faceEnd));
    for (Face* f : sub->faces) {
        for (int c : {f->indexA, f->indexB, f->indexC}) {
            if (c < 0 || c >= vertexCount) {
                lines_.fail("face corners of face " + std::to_string(f->index) + " between 0 and " +
                            std::to_string(vertexCount - 1) + ", the vertices of this entity");
            }
        }
    }
    for (Face* f : sub->faces) {
        f->parent = sub;
        f->vertexA = sub->vertices[static_cast<std::size_t>(f->indexA)];
        f->vertexB = sub->vertices[static_cast<std::size_t>(f->indexB)];
        f->vertexC = sub->vertices[static_cast<std::size_t>(f->indexC)];
        ++e->numFaces;
    }
    SceneSink sink(r);
    linkCorners(sink, sub);
    // The box of the vertices claimed.
    bool any = false;
    std::array<float, 6> box{};
    for (const Vertex* v : sub->vertices) {
        const float p[3] = {v->X, v->Y, v->Z};
        for (int i = 0; i < 3; ++i) {
            box[i] = !any || p[i] < box[i] ? p[i] : box[i];
            box[3 + i] = !any || p[i] > box[3 + i] ? p[i] : box[3 + i];
        }
        any = true;
    }
    boxes_.push_back({sub, box, any});
    if (faceEnd > faceBegin) {
        sub->bitmapIndex = faces[faceEnd - 1]->bitmapIndex;
    }
}

}  // namespace y4
