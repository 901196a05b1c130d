// SelectionMarks: the `selected` mark of the records covered by a selection in the object tree.
// An entity covers itself, its descendant entities, their sub-entities, the faces of those and
// the corners of the faces; a sub-entity itself, its faces and their corners; a face itself and
// its corners; a vertex itself. A vertex that no face uses is covered by nothing but itself.
#pragma once

namespace y4 {

class SceneObject;

class SelectionMarks {
public:
    // Sets (flag 1) or clears (flag 0) the mark on everything `record` covers.
    static void apply(SceneObject* record, int flag);
};

}  // namespace y4
