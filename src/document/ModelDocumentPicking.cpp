// Picking in the view: the highlighted faces around a picked vertex, and its selection.
#include <unordered_set>

#include "ModelDocument.h"

namespace y4 {

void ModelDocument::highlightFacesAround(Vertex* v) {
    if (!reader_) {
        return;
    }
    RecordChange change;
    change.aspects = RecordChange::kHighlight;
    if (v) {
        change.records = {v};
    }
    // The faces that lose the mark and those that gain it are redrawn.
    std::unordered_set<SubEntity*> seen;
    const auto redraw = [&](const Face* f) {
        if (f->parent && seen.insert(f->parent).second) {
            change.meshes.push_back(f->parent);
        }
    };
    for (const Face* f : reader_->faces) {
        if (f->marked) {
            redraw(f);
        }
    }
    if (v) {
        for (const Face* f : v->faces) {
            redraw(f);
        }
    }
    tell(&DocumentObserver::recordsAboutToChange, change);
    for (Entity* e : reader_->entities) {
        e->marked = 0;
    }
    for (SubEntity* s : reader_->subEntities) {
        s->marked = 0;
    }
    for (Face* f : reader_->faces) {
        f->marked = 0;
    }
    for (Vertex* corner : reader_->vertices) {
        corner->marked = 0;
    }
    if (v) {
        for (Face* f : v->faces) {
            f->marked = 1;
            for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
                if (corner) {
                    corner->marked = 1;
                }
            }
        }
    }
    tell(&DocumentObserver::recordsChanged, change);
}

void ModelDocument::choosePickedVertex(Vertex* v) {
    if (!reader_ || !v) {
        return;
    }
    highlightFacesAround(v);
    // Each listing in turn is the tree's selection; the last one stays.
    const std::vector<TreeItem> listings = v->treeItems(tree_);
    if (!listings.empty()) {
        select(listings.back());
    }
}

}  // namespace y4
