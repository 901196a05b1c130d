// The renderer of the open model and the document's announcements turned into invalidations.
#include "SceneViewLink.h"

#include "CDrawFrame.h"
#include "SceneRenderer.h"
#include "document/ModelDocument.h"

namespace y4 {

SceneViewLink::SceneViewLink(CDrawFrame& frame, ModelDocument& document,
                             const DisplaySettings& display)
    : frame_(frame), document_(document), display_(display) {
    document_.addObserver(this);
    frame_.setSceneHook([this](int mouseMode) { drawModel(mouseMode); });
}

SceneViewLink::~SceneViewLink() {
    frame_.setSceneHook({});
    document_.removeObserver(this);
    dropRenderer();
}

void SceneViewLink::drawModel(int mouseMode) {
    Reader* reader = document_.reader();
    if (reader == nullptr) {
        return;
    }
    if (!renderer_) {
        renderer_ = std::make_unique<SceneRenderer>(*reader, &document_.tree(), display_);
    }
    renderer_->drawScene(mouseMode);
}

void SceneViewLink::dropRenderer() {
    if (!renderer_) {
        return;
    }
    // Its vertex buffers live in the view's context; a renderer exists only once a frame was
    // drawn, so the context does too.
    frame_.withContext([this] { renderer_.reset(); });
    renderer_.reset();
}

void SceneViewLink::redraw() {
    frame_.update();
}

void SceneViewLink::modelAboutToBeReplaced() {
    dropRenderer();
    redraw();
}

void SceneViewLink::recordsChanged(const RecordChange& change) {
    if (renderer_) {
        for (const SubEntity* mesh : change.meshes) {
            if (change.has(RecordChange::kGeometry)) {
                renderer_->invalidateGeometry(*mesh);
            } else if (change.aspects & (RecordChange::kMarks | RecordChange::kHighlight |
                                         RecordChange::kBitmapNumbers)) {
                renderer_->invalidateMarks(*mesh);
            }
        }
    }
    // A placement moves what is drawn below the entity with its frame: nothing to rebuild.
    redraw();
}

void SceneViewLink::recordsAdded(const RecordSet& set) {
    if (renderer_) {
        for (const SceneObject* record : set.records) {
            renderer_->invalidateGeometry(*record);
        }
        for (const SubEntity* mesh : set.meshes) {
            renderer_->invalidateGeometry(*mesh);
        }
    }
    redraw();
}

void SceneViewLink::recordsRemoved(const RecordSet&) {
    // The arrays and window positions of destroyed records go, and a record made later at the
    // same address must not find them.
    if (renderer_) {
        frame_.withContext([this] { renderer_->invalidateAll(); });
    }
    redraw();
}

void SceneViewLink::displayChanged(const DisplayChange&) {
    if (renderer_) {
        renderer_->invalidateDisplaySwitches();
    }
    redraw();
}

void SceneViewLink::selectionChanged(const SelectionChange& change) {
    if (renderer_) {
        for (const SceneObject* record : {change.previous, change.current}) {
            if (record) {
                renderer_->invalidateMarks(*record);
            }
        }
    }
    redraw();
}

void SceneViewLink::bitmapsChanged() {
    if (renderer_) {
        renderer_->invalidateBitmaps();
    }
    redraw();
}

void SceneViewLink::drawOptionsChanged() {
    redraw();
}

}  // namespace y4
