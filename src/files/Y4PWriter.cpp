// The nested variant's lines.
#include "Y4PWriter.h"

#include "Reader.h"

namespace y4 {

namespace {
void appendCount(TextBuffer& text, std::string_view label, std::size_t count) {
    text.append(label);
    text.appendInt(static_cast<int>(count));
    text.append('\n');
}
}  // namespace

void Y4PWriter::recompute() {
    recomputeIndexColumns(false);
}

std::optional<std::string> Y4PWriter::overlongLine() const {
    const auto& names = reader_.bitmapNames;
    for (std::size_t b = 0; b < names.size(); ++b) {
        // "Bitmap[%3d]: %s"
        const auto index = static_cast<int>(b);
        if (tooLong(7 + printedWidth(index, 3) + 3 + names[b].size())) {
            return describeBitmap(index);
        }
    }
    return std::nullopt;
}

void Y4PWriter::writeLines() {
    Reader& r = reader_;
    appendCount(text_, "NumVertices: ", r.vertices.size());
    appendCount(text_, "NumFaces: ", r.faces.size());
    appendCount(text_, "NumBitmaps: ", r.bitmapNames.size());
    appendCount(text_, "NumEntities: ", r.entities.size());
    text_.append("// Bitmaps\n");
    for (std::size_t b = 0; b < r.bitmapNames.size(); ++b) {
        appendNumbered("Bitmap", static_cast<int>(b), 3);
        text_.append(' ');
        text_.append(r.bitmapNames[b]);
        text_.append('\n');
    }
    text_.append("// Entity:: name...\n");
    int position = 0;
    for (const Entity* record : r.entities) {
        const Entity& e = *record;
        const int columns[11] = {e.entityID,
                                 e.parentEntityID,
                                 e.childEntityID,
                                 e.numFaces,
                                 e.numVertices,
                                 e.auxA,
                                 e.firstFaceIndex,
                                 e.firstVertexIndex,
                                 static_cast<int>(e.subEntities.size()),
                                 e.auxB,
                                 -5141};
        appendEntityLine(position++, 4, e, 12, 6, columns);
        for (const SubEntity* s : e.subEntities) {
            appendCount(text_, "Vertices: ", s->vertices.size());
            appendCount(text_, "Faces: ", s->faces.size());
            text_.append("Bitmap: ");
            text_.appendInt(s->bitmapIndex);
            text_.append('\n');
            int number = 0;
            for (const Vertex* v : s->vertices) {
                appendNumbered("Vertex", number++, 3);
                appendFloats({v->X, v->Y, v->Z, 1.0f, v->normalX, v->normalY, v->normalZ, 0.0f,
                              v->textureU, v->textureV},
                             12, 6);
                text_.append('\n');
                flushIfFull();
            }
            number = 0;
            for (const Face* f : s->faces) {
                appendNumbered("Face", number++, 3);
                appendInts({f->indexA, f->indexB, f->indexC}, 3);
                text_.append('\n');
                flushIfFull();
            }
        }
    }
}

}  // namespace y4
