// SoakRun: a long seeded random sequence of every kind of edit a user makes through
// ModelDocument (selection, delete and undelete, Add Group, Add SubEntity, New Face, Split Face,
// copy and paste, Apply of the Attributes dialog, Change Winding, drags, scaling, renames,
// display switches, drawing options, texture list edits, undo, redo, commit, discard, and save
// followed by a load of what was saved), checked after each step:
// - the scene and its tree keep their invariants (SceneInvariants);
// - an edit the document refuses changes nothing, shows exactly the message it must, and is no
//   undo step; an edit it makes is one step;
// - every undo and redo brings back the state of its time exactly;
// - undoing every step since the load, the last commit or a discard saves that file back byte
//   for byte, and every file the run saves or commits loads and saves again unchanged.
// On a large model a full check after every step is too slow; the full checks then come every
// `fullEvery` steps (and at the end), and the steps between make the cheap ones: counts of
// records and tree items, the selection's marks, the history's position, the counts and
// selection that undo and redo restore, the messages; their commits, saves and discards are
// not compared with files.
// With a reference copy (SoakReference) the run makes only the edits the reference can follow,
// checks every step in full, and holds the document to the reference after each edit, on
// undoing everything and on redoing everything.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "SoakReference.h"
#include "document/ModelDocument.h"

namespace y4::test {

class ScriptedPrompt;

struct SoakOptions {
    std::uint32_t seed = 1;
    long steps = 2000;
    long fullEvery = 1;
    // Called with the number of steps made every `progressEvery` steps that held.
    std::function<void(long)> progress;
    long progressEvery = 10000;
    // Not owned; null: no reference.
    SoakReference* reference = nullptr;
};

class SoakRun {
public:
    enum Kind {
        kSelect,
        kDelete,
        kAddGroup,
        kAddSubEntity,
        kNewFace,
        kSplit,
        kCopy,
        kPaste,
        kApply,
        kWinding,
        kUndoRedo,
        kTextures,
        kDrag,
        kScale,
        kRename,
        kDisplay,
        kDisplayAll,
        kOptions,
        kCommit,
        kDiscard,
        kSaveReload,
        kKinds
    };
    static const char* kindName(int kind);

    // `path`: the model, in a folder of its own that the run writes its saves and snapshots
    // into, with its texture bitmaps beside it.
    SoakRun(std::string path, SoakOptions options);
    ~SoakRun();
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    // Loads the model and makes the steps, a commit in the middle; at the end undoes and redoes
    // everything and commits. False at the first violation.
    bool run();
    // "seed S, step N (kind): what was wrong"; empty while all holds.
    const std::string& failure() const { return failure_; }
    long stepsDone() const { return step_; }
    std::size_t faces() const {
        return document_->hasModel() ? document_->reader()->faces.size() : 0;
    }
    // How often each kind of step was tried, and how often an edit was made.
    std::array<long, kKinds> tried{};
    std::array<long, kKinds> made{};
    long fullChecks = 0;
    // How often the model was opened again after it had lost half its faces.
    long reopened = 0;
    long undos = 0;
    long redos = 0;

private:
    // A state the history can return to: the full print when it was taken (0 when not), and
    // the cheap one, always.
    struct State {
        std::uint64_t full = 0;
        std::uint64_t cheap = 0;
    };

    std::string extension() const;
    std::size_t pick(std::size_t count);
    float between(float low, float high);
    template <class T>
    T* any(const RecordList<T>& list) {
        return list.empty() ? nullptr : list[pick(list.size())];
    }
    // Any record of any kind, or none; `target` names it for the reference.
    SceneObject* anyRecord(Target* target = nullptr);
    Kind randomKind();
    bool followed(Kind kind) const;
    void describe(Op::Kind kind, const Target& target = {});

    void fail(const std::string& what);
    bool failed() const { return !failure_.empty(); }
    State state(bool full) const;
    bool sameState(const State& expected, const State& now) const;
    void checkScene(bool full, const char* what);
    void checkPrompt();

    void step();
    bool perform(Kind kind);
    bool newFace();
    bool paste();
    bool apply();
    bool textures();
    bool drag();
    bool options();

    void undoAndRedo();
    void undo();
    void redo();
    void undoEverything();
    void commit();
    void discard();
    void saveReload();
    bool open(const std::string& file);
    // The history begins again at the file `base`, which must load and save unchanged.
    void start(const std::string& base);
    void checkFileRoundTrip(const std::string& file);

    std::string path_;
    const std::string original_;
    SoakOptions options_;
    std::mt19937 random_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    std::unique_ptr<ModelDocument> document_;
    std::vector<std::string> pictures_;
    SoakReference* const reference_;
    // The edit the step made, for the reference; whether it has one.
    Op edit_;
    bool described_ = false;
    std::string failure_;
    long step_ = 0;
    Kind kind_ = kSelect;
    bool full_ = true;
    long lastFull_ = 0;
    // The file the history began at, and whether undoing everything still reaches it (the
    // history's budget may have dropped its oldest steps).
    std::string base_;
    bool baseReachable_ = true;
    std::size_t startFaces_ = 0;
    std::size_t faceLimit_ = 0;
    std::size_t saves_ = 0;
    // Tree items beyond one per entity, sub-entity and face and three per face: none but in a
    // flat model with records no entity claims.
    long itemSlack_ = 0;
    // For each history position: the state before the step that led there, and after it.
    std::vector<State> before_;
    std::vector<State> after_;
};

}  // namespace y4::test
