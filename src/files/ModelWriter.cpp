// Index columns and buffered output shared by the format writers.
#include "ModelWriter.h"

#include <algorithm>
#include <vector>

#include "LineReader.h"
#include "ProgressMeter.h"
#include "Reader.h"
#include "platform/SafeFileWriter.h"

namespace y4 {

std::optional<std::string> ModelWriter::prepare() {
    recompute();
    return overlongLine();
}

bool ModelWriter::tooLong(std::size_t length) {
    return length > LineReader::kMaxLineLength;
}

std::size_t ModelWriter::printedWidth(int value, int width) {
    const std::size_t digits = std::to_string(value).size();
    return std::max(digits, static_cast<std::size_t>(width));
}

std::string ModelWriter::describeBitmap(int index) const {
    constexpr std::size_t kShown = 40;
    const std::string_view name = bitmapNameOr(reader_->bitmapNames, index);
    return "bitmap " + std::to_string(index) + " (\"" + std::string(name.substr(0, kShown)) +
           (name.size() > kShown ? "...\")" : "\")");
}

void ModelWriter::writeTo(const std::string& path, FileProgress* progress) {
    SafeFileWriter out(path);
    ProgressMeter meter(progress);
    // The record lines: every vertex and face, and the entity lines of the flat variant.
    meter.setTotal(reader_->vertices.size() + reader_->faces.size() + reader_->entities.size());
    out_ = &out;
    meter_ = meter.active() ? &meter : nullptr;
    records_ = 0;
    text_.clear();
    try {
        writeLines();
        flush();
        // A cancel here still leaves the old file: the new one is not in its place yet.
        meter.finish();
    } catch (...) {
        out_ = nullptr;
        meter_ = nullptr;
        throw;
    }
    out_ = nullptr;
    meter_ = nullptr;
    out.commit();
}

std::vector<std::string> ModelWriter::layOut() {
    std::vector<std::string> text;
    layOut([&text](std::string_view piece) { text.emplace_back(piece); });
    return text;
}

void ModelWriter::layOut(const std::function<void(std::string_view)>& piece) {
    laidOut_ = &piece;
    text_.clear();
    try {
        writeLines();
        flush();
    } catch (...) {
        laidOut_ = nullptr;
        throw;
    }
    laidOut_ = nullptr;
}

void ModelWriter::flush() {
    if (laidOut_) {
        (*laidOut_)(text_.view());
    } else {
        out_->write(text_.view());
    }
    text_.clear();
    if (meter_) {
        meter_->reach(records_);
    }
}

void ModelWriter::recomputeIndexColumns(bool headerCounts) {
    Reader& r = *reader_;
    // Positions in the entity list, by id; an entity of no list (or of another scene) has none.
    std::vector<int> positions(r.idBound(SceneObject::kEntity), -1);
    int position = 0;
    for (const Entity* e : r.entities) {
        if (e->id() < positions.size() && positions[e->id()] < 0) {
            positions[e->id()] = position;
        }
        ++position;
    }
    auto positionOf = [&](const Entity* e) {
        return e->id() < positions.size() && !e->takenOut() ? positions[e->id()] : -1;
    };
    for (Entity* e : r.entities) {
        e->entityID = -1;
    }
    int faceTotal = 0;
    int vertexTotal = 0;
    for (Entity* e : r.entities) {
        e->parentEntityID = e->parent ? positionOf(e->parent) : -1;
        e->childEntityID = e->children.empty() ? -1 : positionOf(e->children.front());
        Entity* previous = nullptr;
        for (Entity* child : e->children) {
            if (previous) {
                previous->entityID = positionOf(child);
            }
            previous = child;
        }
        e->firstFaceIndex = faceTotal;
        e->firstVertexIndex = vertexTotal;
        e->numFaces = 0;
        e->numVertices = 0;
        for (const SubEntity* s : e->subEntities) {
            e->numFaces += static_cast<int>(s->faces.size());
            e->numVertices += static_cast<int>(s->vertices.size());
        }
        faceTotal += e->numFaces;
        vertexTotal += e->numVertices;
    }
    if (headerCounts) {
        r.numFaces = faceTotal;
        r.numVertices = vertexTotal;
        r.numBitmaps = static_cast<int>(r.bitmapNames.size());
        r.numEntities = static_cast<int>(r.entities.size());
    }
}

void ModelWriter::appendNumbered(std::string_view label, int number, int width) {
    text_.append(label);
    text_.append('[');
    text_.appendInt(number, width);
    text_.append("]:");
}

void ModelWriter::appendFloats(std::initializer_list<float> values, int width, int precision) {
    text_.appendFixedFields(values, width, precision);
}

void ModelWriter::appendInts(std::initializer_list<int> values, int width) {
    text_.appendIntFields(values, width);
}

void ModelWriter::appendEntityLine(int position, int indexWidth,
                                   std::initializer_list<float> fields, int floatWidth,
                                   int precision, const int (&columns)[11]) {
    appendNumbered("Entity", position, indexWidth);
    text_.append(' ');
    text_.appendPadded(name_, 32);
    text_.append(':');
    appendFloats(fields, floatWidth, precision);
    text_.appendIntFields({columns[0], columns[1], columns[2], columns[3], columns[4], columns[5],
                           columns[6], columns[7], columns[8], columns[9], columns[10]},
                          6);
    text_.append('\n');
}

std::string_view ModelWriter::bitmapNameOr(const std::vector<std::string>& names, int index) {
    if (index == 255 || index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        return "(null)";
    }
    return names[static_cast<std::size_t>(index)];
}

}  // namespace y4
