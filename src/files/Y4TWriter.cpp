// The terrain variant's lines.
#include "Y4TWriter.h"

#include <algorithm>

#include "Reader.h"

namespace y4 {

namespace {
std::vector<SubEntity*> recordsOf(const Reader& r) {
    return r.root() ? r.root()->subEntities.toVector() : std::vector<SubEntity*>();
}
}  // namespace

void Y4TWriter::recompute() {
    recomputeIndexColumns(true);
    for (SubEntity* s : reader_.subEntities) {
        if (s->bitmapIndex == -1) {
            s->bitmapIndex = 0;
        }
    }
}

std::optional<std::string> Y4TWriter::overlongLine() const {
    const std::vector<SubEntity*> records = recordsOf(reader_);
    for (std::size_t k = 0; k < records.size(); ++k) {
        // "Entity[%3d]: %32s"
        const int bitmap = records[k]->bitmapIndex;
        const std::size_t name = std::max<std::size_t>(bitmapNameOr(bitmap).size(), 32);
        if (tooLong(7 + printedWidth(static_cast<int>(k), 3) + 3 + name)) {
            return "record " + std::to_string(k) + " with " + describeBitmap(bitmap);
        }
    }
    return std::nullopt;
}

void Y4TWriter::writeLines() {
    const std::vector<SubEntity*> records = recordsOf(reader_);
    const auto recordCount = static_cast<int>(records.size());
    text_.append("NumRecords: ");
    text_.appendInt(recordCount, 6);
    text_.append('\n');
    for (int k = 0; k < recordCount; ++k) {
        appendNumbered("Entity", k, 3);
        text_.append(' ');
        text_.appendPadded(bitmapNameOr(records[static_cast<std::size_t>(k)]->bitmapIndex), 32);
        text_.append('\n');
    }
    text_.append("??: ");
    text_.appendInt(recordCount - 1);
    text_.append('\n');
    for (int k = 0; k < recordCount; ++k) {
        const SubEntity& s = *records[static_cast<std::size_t>(k)];
        text_.append("\\\\ Start Record\nnumVertices: ");
        text_.appendInt(static_cast<int>(s.vertices.size()), 6);
        text_.append("\nnumFaces: ");
        text_.appendInt(static_cast<int>(s.faces.size()), 6);
        text_.append("\nRecord: ");
        text_.appendInt(k, 4);
        text_.append('\n');
        int number = 0;
        for (const Vertex* v : s.vertices) {
            appendNumbered("Vertex", number++, 3);
            appendFloats(
                {v->X, v->Y, v->Z, v->normalX, v->normalY, v->normalZ, v->textureU, v->textureV},
                12, 6);
            text_.append('\n');
            flushIfFull();
        }
        text_.append("??: 1\n");
        number = 0;
        for (const Face* f : s.faces) {
            appendNumbered("Face", number++, 3);
            appendInts({f->indexA, f->indexB, f->indexC}, 3);
            text_.append('\n');
            flushIfFull();
        }
        text_.append("\\\\ End Record\n");
    }
}

}  // namespace y4
