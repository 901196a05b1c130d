// SafeFileWriter: writes a file so that the old one is never lost. The text goes to a temporary
// file in the target's folder; commit() flushes, syncs and closes it, checking every step, and
// only then renames it over the target. A writer destroyed without commit removes its temporary
// file and leaves the target as it was.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace y4 {

// A failed write; what() names the file and the system's reason.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SafeFileWriter {
public:
    // `targetPath` is an exact path (see PathResolver::resolveForWrite). Throws IoError when
    // the temporary file cannot be created.
    explicit SafeFileWriter(std::string targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Appends bytes; throws IoError when the system refuses them.
    void write(std::string_view bytes);
    // Makes the written bytes the target's content. Throws IoError on any failure, in which case
    // the target keeps its old content.
    void commit();

    const std::string& targetPath() const { return target_; }

private:
    [[noreturn]] void fail(const char* step);
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    std::size_t written_ = 0;
    bool committed_ = false;
};

}  // namespace y4
