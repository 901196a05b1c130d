// DocumentObserver: what the windows and the renderer are told of a ModelDocument's changes, and
// the descriptions of those changes. Where a listener may need the old state, the change comes
// as a pair: "about to" before anything is touched, then the change itself. An edit of many
// records is announced once, with the list; an undo or redo announces the same way.
#pragma once

#include <unordered_set>
#include <vector>

#include "model/EntityTree.h"

namespace y4 {

class Entity;
class SceneObject;
class SubEntity;

// Records whose fields an edit changed.
struct RecordChange {
    // What changed, as a combination of bits.
    enum Aspect : unsigned {
        // Positions or angles of the entities in `placed`: everything drawn below them moves
        // with their frame; no vertex array changes.
        kPlacement = 1u << 0,
        // Vertex positions, normals or texture coordinates, or face corners, in `meshes`.
        kGeometry = 1u << 1,
        // Deleted marks (the tree labels follow): what `meshes` draw.
        kMarks = 1u << 2,
        // Names (the tree labels follow).
        kNames = 1u << 3,
        // Bitmap numbers of sub-entities or faces in `meshes`.
        kBitmapNumbers = 1u << 4,
        // The highlight marks (`marked`) of the faces in `meshes`, drawn in the highlight
        // colour: the faces around a picked vertex. Not an edit.
        kHighlight = 1u << 5,
    };
    unsigned aspects = 0;
    // What the edit was applied to: the selected record it transformed or scaled, the record it
    // marked (with everything below it) or renamed.
    std::vector<SceneObject*> records;
    // Entities whose own position or angles changed.
    std::vector<Entity*> placed;
    // Sub-entities whose vertex arrays must be built again, each once.
    std::vector<SubEntity*> meshes;

    bool has(Aspect aspect) const { return (aspects & aspect) != 0; }
};

// Records added or removed: each listed record with everything it holds.
struct RecordSet {
    std::vector<SceneObject*> records;
    // Sub-entities that stay but gain or lose faces or vertices.
    std::vector<SubEntity*> meshes;

    // Whether `record` is listed or held by a listed record. Only while the records exist: for
    // a removal, at the "about to" call.
    bool covers(const SceneObject* record) const;

private:
    mutable std::unordered_set<const SceneObject*> index_;
};

// A display switch changed: of one record (its tree items follow), or of every record.
struct DisplayChange {
    // Null: every record.
    SceneObject* record = nullptr;
};

// The selected tree item changed (the core's selection is the truth; views mirror it). The
// previous record still exists when this is told.
struct SelectionChange {
    TreeItem previousItem = kNoItem;
    TreeItem currentItem = kNoItem;
    SceneObject* previous = nullptr;
    SceneObject* current = nullptr;
};

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;

    // A load or a discard replaces the whole model. Between the two calls nothing of the model
    // may be read; the object tree stays the same object (it is reset in between).
    virtual void modelAboutToBeReplaced() {}
    virtual void modelReplaced() {}

    virtual void recordsAboutToChange(const RecordChange&) {}
    virtual void recordsChanged(const RecordChange&) {}
    virtual void recordsAdded(const RecordSet&) {}
    // Told before the records are destroyed, so a pointer to one of them can be dropped.
    virtual void recordsAboutToBeRemoved(const RecordSet&) {}
    // The records are gone; the set's pointers may only be compared, never followed.
    virtual void recordsRemoved(const RecordSet&) {}

    virtual void displayAboutToChange(const DisplayChange&) {}
    virtual void displayChanged(const DisplayChange&) {}

    virtual void selectionChanged(const SelectionChange&) {}

    // The bitmap names and their images. Records' bitmap numbers that follow the list (after
    // a removal, or a terrain's addition) come as records changing around these two calls.
    virtual void bitmapsAboutToChange() {}
    virtual void bitmapsChanged() {}

    virtual void modifiedChanged(bool /*modified*/) {}
    virtual void undoRedoChanged(bool /*canUndo*/, bool /*canRedo*/) {}
    // Draw mode, texturing, vertex and normal markers, normal editing.
    virtual void drawOptionsChanged() {}
};

}  // namespace y4
