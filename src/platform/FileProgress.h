// FileProgress: how a long load or save of a model tells the user how far it got, and learns
// that the user cancelled it. The editor shows a progress window; tools and tests pass none.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace y4 {

class FileProgress {
public:
    virtual ~FileProgress() = default;
    // `done` of `total` units, never less than the last report and at most `total`; the last
    // report of an operation that ran to its end has `done` equal to `total`. Called on the
    // thread that started the operation, a few times per megabyte at most. False asks the
    // operation to stop: it then throws CancelledByUser and leaves everything as it was.
    virtual bool report(std::uint64_t done, std::uint64_t total) = 0;
};

// A load or save the user cancelled. Not a failure: nobody shows it.
class CancelledByUser : public std::runtime_error {
public:
    CancelledByUser() : std::runtime_error("Cancelled") {}
};

}  // namespace y4
