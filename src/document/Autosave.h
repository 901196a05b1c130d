// Autosave: when the recovery copy of a model with unsaved edits is due, and the writing of it
// on a thread of its own. The copy is taken on the main thread in one quick pass (a snapshot of
// what the model's file holds, with the state that file cannot hold); the thread lays out the
// text and writes it while the editing goes on. There is never more than one write at a time,
// and the destructor waits for the one running. Time comes from the caller, so the schedule is
// tested without sleeping.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "DocumentObserver.h"
#include "files/SceneSnapshot.h"

namespace y4 {

class Autosave : private DocumentObserver {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::minutes kDefaultInterval{2};
    static constexpr std::chrono::minutes kShortestInterval{1};
    static constexpr std::chrono::minutes kLongestInterval{60};

    // What one autosave writes, every path exact.
    struct Copy {
        std::string modelPath;
        // What the model's text is laid out from (Writer::snapshot); freed once it is.
        std::optional<SceneSnapshot> model;
        std::string statePath;
        std::string stateLines;
        // A terrain's own picture, copied once so that the copy opens by itself; empty for
        // other models.
        std::string pictureFrom;
        std::string pictureTo;
    };

    Autosave() = default;
    ~Autosave();
    Autosave(const Autosave&) = delete;
    Autosave& operator=(const Autosave&) = delete;

    // The document whose changes make a new copy worth writing.
    DocumentObserver* changeWatch() { return this; }

    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    // The time between copies; the settings keep it within kShortestInterval..kLongestInterval.
    // One that is not positive means the default.
    void setInterval(Clock::duration interval);
    Clock::duration interval() const { return interval_; }

    // Whether a copy is due at `now`: the model has had unsaved edits for an interval since
    // they began or since the last copy, it changed since that copy, and no write is running.
    bool due(Clock::time_point now, bool modified);
    // Writes `copy` on a thread of its own, after waiting for the write before it; the next
    // copy is due an interval after `now`.
    void start(Copy copy, Clock::time_point now);
    // The outcome of a write that has ended and was not collected yet: nothing while none has
    // (or, with `wait`, after waiting for the running one); an empty text for a write that
    // succeeded, else the reason it failed.
    std::optional<std::string> collect(bool wait);
    // Forgets the schedule and the changes seen: a new model starts afresh.
    void restart();

    // Writes a copy on the calling thread: the model file, laid out from the snapshot piece by
    // piece (the snapshot is freed once it is), then its state (tied to the model text), then
    // the terrain picture when it is not there yet. The reason of a failure, or an empty text.
    static std::string write(Copy& copy);

private:
    void changed() { ++generation_; }
    void modelReplaced() override { changed(); }
    void recordsChanged(const RecordChange& change) override;
    void recordsAdded(const RecordSet&) override { changed(); }
    void recordsRemoved(const RecordSet&) override { changed(); }
    void displayChanged(const DisplayChange&) override { changed(); }
    void bitmapsChanged() override { changed(); }
    void modifiedChanged(bool) override { changed(); }

    bool enabled_ = true;
    Clock::duration interval_ = kDefaultInterval;
    std::optional<Clock::time_point> dueAt_;
    std::uint64_t generation_ = 1;
    std::uint64_t writtenGeneration_ = 0;
    std::thread thread_;
    std::atomic<bool> finished_ = false;
    std::string result_;
};

}  // namespace y4
