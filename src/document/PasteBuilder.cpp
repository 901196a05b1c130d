// The deep copies of paste.
#include "PasteBuilder.h"

#include <algorithm>

#include "files/Reader.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

constexpr const char* kDeletedData =
    "Warning: Copy source contained deleted data; deleted data was not copied";
constexpr const char* kDeletedFaces =
    "Warning: Copy source contained deleted faces; deleted data will not be copied";

using List = RecordLinks::List;

}  // namespace

PasteBuilder::PasteBuilder(Reader& reader, ChangeSet& changes)
    : reader_(reader), changes_(changes) {}

bool PasteBuilder::skipped(const SceneObject& record, const char* warning) {
    if (!record.deleted) {
        return false;
    }
    if (!warned_) {
        warned_ = true;
        prompt().showMessage(warning, MessageIcon::Exclamation);
    }
    return true;
}

VertexIndex& PasteBuilder::indexOf(SubEntity& destination) {
    std::unique_ptr<VertexIndex>& index = indexes_[&destination];
    if (!index) {
        index = std::make_unique<VertexIndex>(destination.vertices);
    }
    return *index;
}

Entity* PasteBuilder::pasteEntity(const Entity& source, Entity& destination) {
    if (skipped(source, kDeletedData)) {
        return nullptr;
    }
    auto* copy = changes_.make<Entity>(source, static_cast<int>(reader_.entities.size()));
    copy->parent = &destination;
    copy->level = destination.level + 1;
    copy->created = 1;
    copy->selected = destination.selected;
    copy->children.clear();
    copy->subEntities.clear();
    copy->treeItem = kNoItem;
    changes_.link(List::kChildren, &destination, copy);
    changes_.link(List::kEntities, nullptr, copy);
    // The source's lists as they are now; the copy never lands below its source.
    const std::vector<Entity*> children(source.children.begin(), source.children.end());
    for (const Entity* child : children) {
        pasteEntity(*child, *copy);
    }
    const std::vector<SubEntity*> subEntities(source.subEntities.begin(), source.subEntities.end());
    for (const SubEntity* s : subEntities) {
        pasteSubEntity(*s, *copy);
    }
    return copy;
}

SubEntity* PasteBuilder::pasteSubEntity(const SubEntity& source, Entity& destination) {
    if (skipped(source, kDeletedData)) {
        return nullptr;
    }
    auto* copy = changes_.make<SubEntity>(source, static_cast<int>(destination.subEntities.size()));
    copy->parent = &destination;
    copy->created = 1;
    copy->selected = destination.selected;
    copy->faces.clear();
    copy->vertices.clear();
    copy->treeItem = kNoItem;
    // A terrain's own record stays the last of its lists.
    const bool terrain = reader_.fileType == Reader::kY4T;
    auto place = [&](List list, SceneObject* owner) {
        const std::size_t count = RecordLinks::count(reader_, list, owner);
        return terrain && count > 0 ? count - 1 : RecordLinks::kAtEnd;
    };
    changes_.link(List::kEntitySubEntities, &destination, copy,
                  place(List::kEntitySubEntities, &destination));
    changes_.link(List::kSubEntities, nullptr, copy, place(List::kSubEntities, nullptr));
    // Every vertex before any face: vertices no face uses are copied too, and vertices that
    // coincide become one.
    int position = 0;
    for (const Vertex* v : source.vertices) {
        pasteVertex(*v, *copy, position);
    }
    for (const Face* f : source.faces) {
        pasteFace(*f, *copy);
    }
    return copy;
}

Face* PasteBuilder::pasteFace(const Face& source, SubEntity& destination) {
    if (skipped(source, kDeletedFaces)) {
        return nullptr;
    }
    const Vertex* corners[3] = {source.vertexA, source.vertexB, source.vertexC};
    for (const Vertex* corner : corners) {
        // A face without a corner has nothing to copy either.
        if (!corner || skipped(*corner, kDeletedData)) {
            return nullptr;
        }
    }
    auto* copy = changes_.make<Face>(source, static_cast<int>(destination.faces.size()));
    copy->parent = &destination;
    copy->created = 1;
    copy->selected = destination.selected;
    copy->treeItem = kNoItem;
    int positions[3] = {0, 0, 0};
    Vertex* copied[3];
    for (int k = 0; k < 3; ++k) {
        copied[k] = pasteVertex(*corners[k], destination, positions[k]);
    }
    copy->vertexA = copied[0];
    copy->vertexB = copied[1];
    copy->vertexC = copied[2];
    copy->indexA = positions[0];
    copy->indexB = positions[1];
    copy->indexC = positions[2];
    for (Vertex* corner : copied) {
        changes_.touch(corner);
        // What the selection covers: the face's corners with the face.
        corner->selected = std::max(corner->selected, destination.selected);
    }
    RecordLinks::listAtCorners(copy);
    if (!changes_.made(&destination)) {
        changes_.mesh(&destination);
    }
    changes_.link(List::kSubEntityFaces, &destination, copy);
    changes_.link(List::kFaces, nullptr, copy);
    return copy;
}

Vertex* PasteBuilder::pasteVertex(const Vertex& source, SubEntity& destination, int& position) {
    if (skipped(source, kDeletedData)) {
        return nullptr;
    }
    VertexIndex& index = indexOf(destination);
    position = index.find(source);
    Vertex* vertex = nullptr;
    if (position >= 0) {
        vertex = destination.vertices[static_cast<std::size_t>(position)];
        changes_.touch(vertex);
    } else {
        vertex = changes_.make<Vertex>(source, static_cast<int>(destination.vertices.size()));
        vertex->subEntity = &destination;
        // Selected only as the corner of a copied face: a vertex no face uses is covered by
        // no selection.
        vertex->selected = 0;
        changes_.link(List::kSubEntityVertices, &destination, vertex);
        changes_.link(List::kVertices, nullptr, vertex);
        index.add(vertex);
        position = static_cast<int>(index.size()) - 1;
        if (!changes_.made(&destination)) {
            changes_.name(vertex);
        }
    }
    vertex->created = 1;
    return vertex;
}

}  // namespace y4
