// SceneViewLink: keeps the 3D view in step with a ModelDocument. It owns the SceneRenderer of the
// open model (made on the first frame drawn with the model, dropped when the model is replaced),
// draws it as the model part of every frame, and turns the document's announcements into the
// renderer's invalidate calls, rebuilding only what changed: a moved group changes no vertex
// array, a drag step on vertices only the arrays of their sub-entities. Each announcement asks
// for a frame; several in one command are drawn as one.
#pragma once

#include <memory>

#include "document/DocumentObserver.h"

namespace y4 {

class CDrawFrame;
class ModelDocument;
class SceneObject;
class SceneRenderer;
struct DisplaySettings;

class SceneViewLink : public DocumentObserver {
public:
    // All three must outlive the link.
    SceneViewLink(CDrawFrame& frame, ModelDocument& document, const DisplaySettings& display);
    ~SceneViewLink() override;
    SceneViewLink(const SceneViewLink&) = delete;
    SceneViewLink& operator=(const SceneViewLink&) = delete;

    // The open model's renderer; null until a frame was drawn with the model.
    SceneRenderer* renderer() const { return renderer_.get(); }

    void modelAboutToBeReplaced() override;
    void recordsChanged(const RecordChange& change) override;
    void recordsAdded(const RecordSet& set) override;
    void recordsRemoved(const RecordSet& set) override;
    void displayChanged(const DisplayChange& change) override;
    void selectionChanged(const SelectionChange& change) override;
    void bitmapsChanged() override;
    void drawOptionsChanged() override;

private:
    void drawModel(int mouseMode);
    void dropRenderer();
    // A frame is drawn once the events of the current command are handled.
    void redraw();

    CDrawFrame& frame_;
    ModelDocument& document_;
    const DisplaySettings& display_;
    std::unique_ptr<SceneRenderer> renderer_;
};

}  // namespace y4
