// RecordingObserver: a DocumentObserver that writes every announcement as one line, so that a
// test compares what it was told, in order, with one EXPECT_EQ. A probe, when set, is read at
// each "about to" call and at its partner, showing what a listener sees of the old and new
// state. A partner must follow its own "about to" call, with no other pair in between.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/DocumentObserver.h"

namespace y4 {
class ModelDocument;
}

namespace y4::test {

class RecordingObserver : public DocumentObserver {
public:
    explicit RecordingObserver(ModelDocument& document);
    ~RecordingObserver() override;
    RecordingObserver(const RecordingObserver&) = delete;
    RecordingObserver& operator=(const RecordingObserver&) = delete;

    // "E:Root", "S:SubEntity[0]", "F:Face[3]", "V:Vertex[1]", or "-" for none.
    static std::string describe(const SceneObject* record);

    // The lines so far, which are then forgotten.
    std::vector<std::string> take();

    void modelAboutToBeReplaced() override;
    void modelReplaced() override;
    void recordsAboutToChange(const RecordChange& change) override;
    void recordsChanged(const RecordChange& change) override;
    void recordsAdded(const RecordSet& set) override;
    void recordsAboutToBeRemoved(const RecordSet& set) override;
    void recordsRemoved(const RecordSet& set) override;
    void displayAboutToChange(const DisplayChange& change) override;
    void displayChanged(const DisplayChange& change) override;
    void selectionChanged(const SelectionChange& change) override;
    void bitmapsAboutToChange() override;
    void bitmapsChanged() override;
    void modifiedChanged(bool modified) override;
    void undoRedoChanged(bool canUndo, bool canRedo) override;
    void drawOptionsChanged() override;

    std::function<std::string()> probe;
    std::vector<std::string> lines;

private:
    void add(std::string line, bool probed = false);
    static std::string describe(const RecordChange& change);
    static std::string describe(const RecordSet& set);

    ModelDocument& document_;
    // The "did" line an open "about to" waits for.
    std::string pending_;
};

}  // namespace y4::test
