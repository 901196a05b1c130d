// ProgressMeter: counts how far a load or a save got and hands it to the user's FileProgress,
// which may cancel. The thread that runs the operation reports; a second parse thread only adds
// what it read, which the next report includes. Without a FileProgress it counts nothing.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/FileProgress.h"

namespace y4 {

class ProgressMeter {
public:
    explicit ProgressMeter(FileProgress* hook) : hook_(hook) {}
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    bool active() const { return hook_ != nullptr; }
    void setTotal(std::uint64_t total) { total_ = total; }
    // On the running thread: `units` more are done. Throws CancelledByUser when told to stop.
    void advance(std::uint64_t units) {
        done_ += units;
        report();
    }
    // The same with the count of units done so far.
    void reach(std::uint64_t done) {
        done_ = done > done_ ? done : done_;
        report();
    }
    // On another thread: `units` more are done, told with the running thread's next report.
    void advanceElsewhere(std::uint64_t units) {
        elsewhere_.fetch_add(units, std::memory_order_relaxed);
    }
    // Reports what is done so far: the running thread does this while it waits for another.
    void report();
    // Reports the whole total: the operation is done but for what cannot be cancelled.
    void finish();

private:
    void tell(std::uint64_t done);

    FileProgress* hook_;
    std::uint64_t total_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t reported_ = 0;
    std::atomic<std::uint64_t> elsewhere_{0};
};

}  // namespace y4
