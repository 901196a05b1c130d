// SoakReference: a second copy of the model that a soak run edits alongside the document by
// other means, and holds the document to; and the edits as the run describes them to it
// (records by kind and position, so that an edit means the same records in both copies).
#pragma once

#include <string>
#include <vector>

#include "model/SceneTree.h"

namespace y4 {
class ModelDocument;
class Reader;
}  // namespace y4

namespace y4::test {

// A record by kind and position in its flat list; a vertex's listing by its place among the
// vertex's tree items. Kind -1: nothing.
struct Target {
    int kind = -1;
    std::size_t position = 0;
    std::size_t listing = 0;
};

SceneObject* recordAt(const Reader& r, const Target& t);
TreeItem itemAt(const Reader& r, const Target& t);
// The items that list `record`: its own, or a vertex's listings under its faces (none without
// a tree).
std::vector<TreeItem> itemsOf(const EntityTree* tree, const SceneObject* record);

// One edit, as the run makes it on the document and describes it to the reference.
struct Op {
    enum Kind {
        Select,
        Delete,
        Scale,
        Drag,
        Rename,
        Display,
        DisplayAll,
        AddBitmap,
        RemoveBitmap,
        MoveBitmap,
        RenameBitmap,
        EditNormals,
        Commit,
    };
    Kind kind = Select;
    Target target;
    float factors[3] = {1, 1, 1};
    int dragKind = 1;
    std::vector<float> deltas;  // three per drag step
    // Whether the drag turned normals: normal editing as it was when the edit was made.
    bool normals = false;
    bool on = false;
    int position = 0;
    int offset = 0;
    std::string text;

    // Whether ModelDocument keeps it as an undo step (when it is not refused).
    bool isStep() const { return kind != Select && kind != EditNormals && kind != Commit; }
};

// With a reference the run makes only the edits an Op describes (no structure edits, copies,
// pastes, discards or loads), and after each one the reference must match the document.
class SoakReference {
public:
    virtual ~SoakReference() = default;
    // The history begins again at the document's state: after the load or a commit.
    virtual void start(const ModelDocument& document) = 0;
    // `op` as the document just made it (`changed`: it reported a change) or refused it, made
    // on the reference too; whether the two still match.
    virtual bool follow(const Op& op, bool changed, const ModelDocument& document) = 0;
    virtual void undone() = 0;
    virtual void redone() = 0;
    // After undoing everything: whether the document shows what it showed at the start.
    virtual bool backAtStart(const ModelDocument& document) = 0;
    // After redoing everything: whether the document saves what the reference saves.
    virtual bool savesTheSame(ModelDocument& document) = 0;
};

}  // namespace y4::test
