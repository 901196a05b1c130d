// The flat variant's lines.
#include "Y4DWriter.h"

#include <algorithm>

#include "Reader.h"
#include "SceneSnapshot.h"

namespace y4 {

void Y4DWriter::recompute() {
    recomputeIndexColumns(true);
}

std::optional<std::string> Y4DWriter::overlongLine() const {
    const auto& names = reader_->bitmapNames;
    std::size_t longest = 0;
    for (std::size_t b = 0; b < names.size(); ++b) {
        // "Bitmap[%3d]:%s"
        const auto index = static_cast<int>(b);
        if (tooLong(7 + printedWidth(index, 3) + 2 + names[b].size())) {
            return describeBitmap(index);
        }
        longest = std::max(longest, names[b].size());
    }
    // Every face line repeats its bitmap's name after at most 70 characters of numbers; only
    // a name near the limit needs the faces counted out.
    constexpr std::size_t kLongestNumbers = 70;
    if (!tooLong(kLongestNumbers + longest)) {
        return std::nullopt;
    }
    int number = 0;
    for (const Entity* e : reader_->entities) {
        for (const SubEntity* s : e->subEntities) {
            for (const Face* f : s->faces) {
                // "Face[%4d]: %4d %4d %4d %4d // %s"
                std::size_t length = 5 + printedWidth(number, 4) + 2 + 4 +
                                     bitmapNameOr(names, f->bitmapIndex).size();
                for (int value : {f->indexA, f->indexB, f->indexC, f->bitmapIndex}) {
                    length += 1 + printedWidth(value, 4);
                }
                if (tooLong(length)) {
                    return "face " + std::to_string(number) + " with " +
                           describeBitmap(f->bitmapIndex);
                }
                ++number;
            }
        }
    }
    return std::nullopt;
}

void Y4DWriter::writeLines() {
    walkModel([this](const auto& model) { writeLinesOf(model); });
}

template <class Model>
void Y4DWriter::writeLinesOf(const Model& r) {
    for (auto [label, count] : {std::pair{"NumVertices: ", r.numVertices},
                                {"NumFaces: ", r.numFaces},
                                {"NumBitmaps: ", r.numBitmaps},
                                {"NumEntities: ", r.numEntities}}) {
        text_.append(label);
        text_.appendInt(count);
        text_.append('\n');
    }
    text_.append("// Vertex: X Y Z unused normalX normalY normalZ unused textureU textureV\n");
    for (const auto& item : r.entities) {
        for (const auto& subItem : record(item).subEntities) {
            for (const auto& vertexItem : record(subItem).vertices) {
                const auto& v = record(vertexItem);
                text_.appendFixed(v.X, 8, 4);
                appendFloats(
                    {v.Y, v.Z, 0.0f, v.normalX, v.normalY, v.normalZ, 0.0f, v.textureU, v.textureV},
                    8, 4);
                text_.append('\n');
                flushIfFull();
            }
        }
    }
    text_.append("// Face: vertexA vertexB vertexC bitmapIndex bitmapName(for information only)\n");
    int number = 0;
    for (const auto& item : r.entities) {
        for (const auto& subItem : record(item).subEntities) {
            for (const auto& faceItem : record(subItem).faces) {
                const auto& f = record(faceItem);
                appendNumbered("Face", number++, 4);
                appendInts({f.indexA, f.indexB, f.indexC, f.bitmapIndex}, 4);
                text_.append(" // ");
                text_.append(bitmapNameOr(r.bitmapNames, f.bitmapIndex));
                text_.append('\n');
                flushIfFull();
            }
        }
    }
    text_.append("// Bitmaps\n");
    for (std::size_t b = 0; b < r.bitmapNames.size(); ++b) {
        appendNumbered("Bitmap", static_cast<int>(b), 3);
        text_.append(r.bitmapNames[b]);
        text_.append('\n');
    }
    text_.append(
        "// Entities: name positionX,Y,Z unused rotateX,Y,Z(radians) entityID ?? parentEntityID "
        "childEntityID numFaces firstFaceIndex numVertices firstVertexIndex ?? ?? ?? [best "
        "guess]\n");
    int position = 0;
    for (const auto& item : r.entities) {
        const auto& e = record(item);
        const int columns[11] = {e.entityID,
                                 -1,
                                 e.parentEntityID,
                                 e.childEntityID,
                                 e.numFaces,
                                 e.firstFaceIndex,
                                 e.numVertices,
                                 e.firstVertexIndex,
                                 static_cast<int>(e.subEntities.size()),
                                 e.auxB,
                                 0};
        appendEntityLine(position++, 3, e, 8, 4, columns);
        flushIfFull();
    }
}

}  // namespace y4
