// InputFile: a regular file opened for reading with pread, never mapped. A file that another
// program shortens, rewrites or extends while it is read gives a short read or a change the
// reader can see, never a signal that kills the program, and any byte range of it can be read
// on its own.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace y4 {

class InputFile {
public:
    // Opens the file at `path` (an exact path; resolve it first). Only regular files open:
    // devices, pipes and sockets could block or never end. On failure returns nothing and,
    // when `error` is given, stores the reason in it ("No such file or directory",
    // "Is a FIFO, not a regular file").
    static std::optional<InputFile> open(const std::string& path, std::string* error = nullptr);
    // The whole content of a file of at most `maxBytes` bytes. A larger file gives nothing with
    // the reason "File too large", and so does a file that changes while it is read.
    static std::optional<std::string> readWhole(const std::string& path, std::size_t maxBytes,
                                                std::string* error = nullptr);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // The size when the file was opened.
    std::uint64_t size() const { return size_; }
    // Reads up to `count` bytes at `offset` into `out`: how many were read, fewer only at the
    // end of the file, or -1 with errno set. Interrupted reads are resumed.
    ssize_t readAt(std::uint64_t offset, char* out, std::size_t count) const;
    // True when the file's size or modification time differ from when it was opened (another
    // program wrote to it), or when the system can no longer tell.
    bool changedSinceOpen() const;

private:
    InputFile(int fd, std::uint64_t size, timespec modified)
        : fd_(fd), size_(size), modified_(modified) {}
    int fd_ = -1;
    std::uint64_t size_ = 0;
    timespec modified_{};
};

}  // namespace y4
