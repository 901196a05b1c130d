// The reports of a load or a save: monotonic, within the total, ending at it.
#include "ProgressMeter.h"

#include <algorithm>

namespace y4 {

void ProgressMeter::report() {
    if (hook_) {
        // Two threads may both read a stretch the first takes back from the second, so the sum
        // can pass the total before the end.
        tell(std::min(total_, done_ + elsewhere_.load(std::memory_order_relaxed)));
    }
}

void ProgressMeter::finish() {
    if (hook_) {
        tell(total_);
    }
}

void ProgressMeter::tell(std::uint64_t done) {
    reported_ = std::max(reported_, done);
    if (!hook_->report(reported_, total_)) {
        throw CancelledByUser();
    }
}

}  // namespace y4
