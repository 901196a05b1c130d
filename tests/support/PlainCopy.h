// PlainCopy: a model edited with the scene's own operations, as the object tree and the main
// window drive them in the original editor, without any undo: the reference the model-based
// tests hold ModelDocument to, edited by the soak's Ops.
#pragma once

#include <string>

#include "files/Reader.h"
#include "model/SceneTree.h"
#include "soak/EditRules.h"
#include "soak/ScenePrint.h"
#include "soak/SoakReference.h"

namespace y4::test {

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
