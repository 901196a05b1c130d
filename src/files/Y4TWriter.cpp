// The terrain variant's lines.
#include "Y4TWriter.h"

#include <algorithm>

#include "Reader.h"
#include "SceneSnapshot.h"

namespace y4 {

namespace {
std::vector<SubEntity*> recordsOf(const Reader& r) {
    return r.root() ? r.root()->subEntities.toVector() : std::vector<SubEntity*>();
}
}  // namespace

void Y4TWriter::recompute() {
    recomputeIndexColumns(true);
    for (SubEntity* s : reader_->subEntities) {
        if (s->bitmapIndex == -1) {
            s->bitmapIndex = 0;
        }
    }
}

std::optional<std::string> Y4TWriter::overlongLine() const {
    const std::vector<SubEntity*> records = recordsOf(*reader_);
    for (std::size_t k = 0; k < records.size(); ++k) {
        // "Entity[%3d]: %32s"
        const int bitmap = records[k]->bitmapIndex;
        const std::size_t name =
            std::max<std::size_t>(bitmapNameOr(reader_->bitmapNames, bitmap).size(), 32);
        if (tooLong(7 + printedWidth(static_cast<int>(k), 3) + 3 + name)) {
            return "record " + std::to_string(k) + " with " + describeBitmap(bitmap);
        }
    }
    return std::nullopt;
}

void Y4TWriter::writeLines() {
    walkModel([this](const auto& model) { writeLinesOf(model); });
}

template <class Model>
void Y4TWriter::writeLinesOf(const Model& model) {
    const auto* root = model.root();
    const auto recordCount = root ? static_cast<int>(root->subEntities.size()) : 0;
    text_.append("NumRecords: ");
    text_.appendInt(recordCount, 6);
    text_.append('\n');
    int k = 0;
    if (root) {
        for (const auto& item : root->subEntities) {
            appendNumbered("Entity", k++, 3);
            text_.append(' ');
            text_.appendPadded(bitmapNameOr(model.bitmapNames, record(item).bitmapIndex), 32);
            text_.append('\n');
        }
    }
    text_.append("??: ");
    text_.appendInt(recordCount - 1);
    text_.append('\n');
    if (!root) {
        return;
    }
    k = 0;
    for (const auto& item : root->subEntities) {
        const auto& s = record(item);
        text_.append("\\\\ Start Record\nnumVertices: ");
        text_.appendInt(static_cast<int>(s.vertices.size()), 6);
        text_.append("\nnumFaces: ");
        text_.appendInt(static_cast<int>(s.faces.size()), 6);
        text_.append("\nRecord: ");
        text_.appendInt(k++, 4);
        text_.append('\n');
        int number = 0;
        for (const auto& vertexItem : s.vertices) {
            const auto& v = record(vertexItem);
            appendNumbered("Vertex", number++, 3);
            appendFloats({v.X, v.Y, v.Z, v.normalX, v.normalY, v.normalZ, v.textureU, v.textureV},
                         12, 6);
            text_.append('\n');
            flushIfFull();
        }
        text_.append("??: 1\n");
        appendFaceLines(s.faces);
        text_.append("\\\\ End Record\n");
    }
}

}  // namespace y4
