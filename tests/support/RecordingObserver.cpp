// The recording document observer.
#include "RecordingObserver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "document/ModelDocument.h"

namespace y4::test {

namespace {

// The identity of a change, which its "about to" call and the change itself share.
std::string identity(const RecordChange& change) {
    std::string out = std::to_string(change.aspects);
    for (const void* r : change.records) {
        out += ' ' + std::to_string(reinterpret_cast<std::uintptr_t>(r));
    }
    return out;
}

template <class List>
std::string names(const List& records) {
    std::string out = "[";
    for (const auto* r : records) {
        out += (out.size() > 1 ? " " : "") + RecordingObserver::describe(r);
    }
    return out + "]";
}

}  // namespace

RecordingObserver::RecordingObserver(ModelDocument& document) : document_(document) {
    document_.addObserver(this);
}

RecordingObserver::~RecordingObserver() {
    document_.removeObserver(this);
    EXPECT_EQ(pending_, "") << "an announcement was never completed";
}

std::string RecordingObserver::describe(const SceneObject* record) {
    if (!record) {
        return "-";
    }
    static constexpr const char* kKinds[] = {"E:", "S:", "F:", "V:"};
    return kKinds[record->kind()] + record->name();
}

std::string RecordingObserver::describe(const RecordChange& change) {
    std::string out;
    static constexpr std::pair<RecordChange::Aspect, const char*> kAspects[] = {
        {RecordChange::kPlacement, "placement"},
        {RecordChange::kGeometry, "geometry"},
        {RecordChange::kMarks, "marks"},
        {RecordChange::kNames, "names"},
        {RecordChange::kBitmapNumbers, "bitmap numbers"}};
    for (const auto& [aspect, name] : kAspects) {
        if (change.has(aspect)) {
            out += std::string(out.empty() ? "" : "+") + name;
        }
    }
    return out + " of " + names(change.records) + " placed " + names(change.placed) + " meshes " +
           names(change.meshes);
}

std::string RecordingObserver::describe(const RecordSet& set) {
    return names(set.records) + " meshes " + names(set.meshes);
}

std::vector<std::string> RecordingObserver::take() {
    return std::exchange(lines, {});
}

void RecordingObserver::add(std::string line, bool probed) {
    if (probe && probed) {
        line += " | " + probe();
    }
    lines.push_back(std::move(line));
}

void RecordingObserver::modelAboutToBeReplaced() {
    EXPECT_EQ(std::exchange(pending_, "replaced"), "");
    add("will replace", true);
}

void RecordingObserver::modelReplaced() {
    EXPECT_EQ(std::exchange(pending_, ""), "replaced");
    add("replaced", true);
}

void RecordingObserver::recordsAboutToChange(const RecordChange& change) {
    EXPECT_EQ(std::exchange(pending_, "change " + identity(change)), "");
    add("will change " + describe(change), true);
}

void RecordingObserver::recordsChanged(const RecordChange& change) {
    EXPECT_EQ(std::exchange(pending_, ""), "change " + identity(change));
    add("change " + describe(change), true);
}

void RecordingObserver::recordsAdded(const RecordSet& set) {
    add("added " + describe(set));
}

void RecordingObserver::recordsAboutToBeRemoved(const RecordSet& set) {
    EXPECT_EQ(std::exchange(pending_, "removed"), "");
    add("will remove " + describe(set), true);
}

void RecordingObserver::recordsRemoved(const RecordSet& set) {
    EXPECT_EQ(std::exchange(pending_, ""), "removed");
    add("removed " + std::to_string(set.records.size()));
}

void RecordingObserver::displayAboutToChange(const DisplayChange& change) {
    EXPECT_EQ(std::exchange(pending_, "display " + describe(change.record)), "");
    add("will display " + describe(change.record), true);
}

void RecordingObserver::displayChanged(const DisplayChange& change) {
    EXPECT_EQ(std::exchange(pending_, ""), "display " + describe(change.record));
    add("display " + describe(change.record), true);
}

void RecordingObserver::selectionChanged(const SelectionChange& change) {
    EXPECT_EQ(change.current, document_.selectedRecord());
    EXPECT_EQ(change.currentItem, document_.selectedItem());
    add("select " + describe(change.previous) + " -> " + describe(change.current));
}

void RecordingObserver::bitmapsAboutToChange() {
    EXPECT_EQ(std::exchange(pending_, "bitmaps"), "");
    add("will bitmaps", true);
}

void RecordingObserver::bitmapsChanged() {
    EXPECT_EQ(std::exchange(pending_, ""), "bitmaps");
    add("bitmaps", true);
}

void RecordingObserver::modifiedChanged(bool modified) {
    EXPECT_EQ(modified, document_.isModified());
    add(modified ? "modified" : "unmodified");
}

void RecordingObserver::undoRedoChanged(bool canUndo, bool canRedo) {
    EXPECT_EQ(canUndo, document_.canUndo());
    EXPECT_EQ(canRedo, document_.canRedo());
    add(std::string("undo ") + (canUndo ? "1" : "0") + " redo " + (canRedo ? "1" : "0"));
}

void RecordingObserver::drawOptionsChanged() {
    add("draw options");
}

}  // namespace y4::test
