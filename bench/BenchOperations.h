// The operations y4bench times, each in a fresh process: what a child sets up untimed, then the
// work it times, in the order of the table. Yardsticks (fgets/sscanf/fprintf and std::from_chars
// building nothing) are listed among them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/ModelDocument.h"
#include "files/Reader.h"
#include "model/SceneTree.h"

namespace y4::bench {

// An attached view that is told of every change and does nothing with it.
class QuietView : public SceneTreeObserver {
public:
    void itemsAboutToBeInserted(TreeItem, int, int) override { ++calls; }
    void itemsInserted(TreeItem, int, int) override { ++calls; }
    void itemsAboutToBeRemoved(TreeItem, int, int) override { ++calls; }
    void itemsRemoved(TreeItem, int, int) override { ++calls; }
    void itemsChanged(TreeItem, int, int) override { ++calls; }
    void subtreeChanged(TreeItem) override { ++calls; }
    void treeAboutToBeReset() override { ++calls; }
    void treeReset() override { ++calls; }
    void selectionChanged(TreeItem, TreeItem) override { ++calls; }
    long calls = 0;
};

// What one child process does: an untimed setup, then the timed work. `perUnit` divides the
// figures (an operation repeated that many times).
struct Work {
    std::function<void()> setup = [] {};
    std::function<void()> timed;
    int perUnit = 1;
};

// The state a child keeps between its setup and its timed work. The reader goes first, while
// its tree and the tree's view still exist.
struct ChildState {
    QuietView view;
    std::unique_ptr<ModelDocument> document;
    std::unique_ptr<SceneTree> tree;
    std::unique_ptr<Reader> reader;
};

// One operation of the table. `variant` is the model file used.
struct Operation {
    const char* name;
    const char* variant;
    // A yardstick, not an operation of the editor: its growth is no target.
    bool yardstick = false;
    std::function<Work(ChildState&, const std::string& model, const std::string& folder)> make;
};

// In table order.
const std::vector<Operation>& operations();
// Null for a name not in the table.
const Operation* findOperation(const std::string& name);

}  // namespace y4::bench
