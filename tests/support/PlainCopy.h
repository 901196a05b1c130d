// PlainCopy: a model edited with the scene's own operations, as the object tree and the main
// window drive them in the original editor, without any undo: the reference the model-based
// tests hold ModelDocument to. Records are named by kind and position, so that an edit means
// the same records in two copies of one model; a fingerprint sums up everything an edit can
// change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/Reader.h"
#include "model/SceneTree.h"
#include "soak/EditRules.h"
#include "soak/ScenePrint.h"

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

// One edit, as a test makes it on both copies.
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

class PlainCopy {
public:
    // The images are left out: the edits are checked on the names (the document's own tests
    // check that the images follow the names).
    explicit PlainCopy(const std::string& path);

    // Whether a change of the bitmap list is allowed: positions in the list, and a terrain's
    // own bitmap, last, stays where and what it is.
    bool bitmapAllowed(const Op& op) const;
    // While `replaying`, world positions are left to the end: they follow from the rest.
    void apply(const Op& op, bool replaying = false);

    SceneTree tree;
    Reader reader;

private:
    void select(TreeItem item);
    // Gives every record whose number names a bitmap (before the list changes) `map` of it.
    template <class Map>
    void renumberBitmaps(Map map);
    void setDisplayed(SceneObject* record, bool on);
};

}  // namespace y4::test
