// PasteBuilder: the deep copies of paste, which Add Group and Add SubEntity use as well: an
// entity with everything below it, a sub-entity with its vertices and faces, a face with its
// corners. Copies are numbered, linked into their owner's list and the scene's flat lists as
// the original editor does, marked created, and marked selected where the selection covers
// them. Within one sub-entity a vertex is shared instead of copied when one matches it within
// the tolerance (the first match in list order). A marked source is skipped with everything
// below it, and the first skip of a paste shows one warning.
#pragma once

#include <memory>
#include <unordered_map>

#include "ChangeSet.h"
#include "model/VertexIndex.h"

namespace y4 {

class Reader;

class PasteBuilder {
public:
    // The copies are made through `changes`, which keeps what undo needs.
    PasteBuilder(Reader& reader, ChangeSet& changes);

    // Each returns the copy, or null when the source is marked deleted.
    Entity* pasteEntity(const Entity& source, Entity& destination);
    SubEntity* pasteSubEntity(const SubEntity& source, Entity& destination);
    Face* pasteFace(const Face& source, SubEntity& destination);
    // The vertex of `destination` to use for `source` (found or new) and its position there.
    Vertex* pasteVertex(const Vertex& source, SubEntity& destination, int& position);

private:
    // True, after the paste's one warning, when `record` is marked deleted.
    bool skipped(const SceneObject& record, const char* warning);
    VertexIndex& indexOf(SubEntity& destination);

    Reader& reader_;
    ChangeSet& changes_;
    std::unordered_map<const SubEntity*, std::unique_ptr<VertexIndex>> indexes_;
    bool warned_ = false;
};

}  // namespace y4
