// The nested variant's lines.
#include "Y4PWriter.h"

#include "Reader.h"
#include "SceneSnapshot.h"

namespace y4 {

namespace {
void appendCount(TextBuffer& text, std::string_view label, std::size_t count) {
    text.append(label);
    text.appendInt(static_cast<int>(count));
    text.append('\n');
}

// The header states the sizes of the scene's lists, whether every record is written or not.
std::array<std::size_t, 4> listSizes(const Reader& r) {
    return {r.vertices.size(), r.faces.size(), r.bitmapNames.size(), r.entities.size()};
}
std::array<std::size_t, 4> listSizes(const SceneSnapshot& s) {
    return s.listSizes;
}
}  // namespace

void Y4PWriter::recompute() {
    recomputeIndexColumns(false);
}

std::optional<std::string> Y4PWriter::overlongLine() const {
    const auto& names = reader_->bitmapNames;
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
    walkModel([this](const auto& model) { writeLinesOf(model); });
}

template <class Model>
void Y4PWriter::writeLinesOf(const Model& r) {
    const std::array<std::size_t, 4> sizes = listSizes(r);
    appendCount(text_, "NumVertices: ", sizes[0]);
    appendCount(text_, "NumFaces: ", sizes[1]);
    appendCount(text_, "NumBitmaps: ", sizes[2]);
    appendCount(text_, "NumEntities: ", sizes[3]);
    text_.append("// Bitmaps\n");
    for (std::size_t b = 0; b < r.bitmapNames.size(); ++b) {
        appendNumbered("Bitmap", static_cast<int>(b), 3);
        text_.append(' ');
        text_.append(r.bitmapNames[b]);
        text_.append('\n');
    }
    text_.append("// Entity:: name...\n");
    int position = 0;
    for (const auto& item : r.entities) {
        const auto& e = record(item);
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
        for (const auto& subItem : e.subEntities) {
            const auto& s = record(subItem);
            appendCount(text_, "Vertices: ", s.vertices.size());
            appendCount(text_, "Faces: ", s.faces.size());
            text_.append("Bitmap: ");
            text_.appendInt(s.bitmapIndex);
            text_.append('\n');
            int number = 0;
            for (const auto& vertexItem : s.vertices) {
                const auto& v = record(vertexItem);
                appendNumbered("Vertex", number++, 3);
                appendFloats({v.X, v.Y, v.Z, 1.0f, v.normalX, v.normalY, v.normalZ, 0.0f,
                              v.textureU, v.textureV},
                             12, 6);
                text_.append('\n');
                flushIfFull();
            }
            appendFaceLines(s.faces);
        }
    }
}

}  // namespace y4
