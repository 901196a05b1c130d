// The trace log: a file mapped shared into memory, so a line is in the system's page cache (and
// survives a crash of the process) the moment it is copied, without a system call per line.
#include "TraceLog.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace y4 {

namespace {

constexpr std::size_t kFirstStep = std::size_t{1} << 20;
constexpr std::size_t kLargestStep = std::size_t{64} << 20;

// Gives the file real blocks for [from, to), so a full disk shows up here as an error instead
// of as SIGBUS when a line is later copied into a page the system cannot store. Where the file
// system cannot reserve blocks, the C library writes a zero into each block instead.
bool extendFile(int fd, std::size_t from, std::size_t to) {
    int result;
    do {
        result = ::posix_fallocate(fd, static_cast<off_t>(from), static_cast<off_t>(to - from));
    } while (result == EINTR);
    return result == 0;
}

}  // namespace

TraceLog::~TraceLog() {
    close();
}

bool TraceLog::open(const std::string& path) {
    close();
    // Read access too: a shared writable mapping needs it.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    fd_ = fd;
    if (!reserve(1)) {
        return false;  // reserve has closed the log again.
    }
    return true;
}

bool TraceLog::reserve(std::size_t extra) {
    if (extra <= capacity_ - length_) {
        return true;
    }
    constexpr auto kLargestFile = static_cast<std::size_t>(std::numeric_limits<off_t>::max());
    if (extra > kLargestFile - length_) {
        close();
        return false;
    }
    const std::size_t needed = length_ + extra;
    std::size_t capacity = capacity_;
    while (capacity < needed) {
        capacity += std::clamp(capacity, kFirstStep, kLargestStep);
    }
    if (capacity > kLargestFile || !extendFile(fd_, capacity_, capacity)) {
        // Nearly full disk: take just the pages these bytes need, so the log goes on to the
        // last line that fits.
        const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        capacity = needed + (page - needed % page) % page;
        if (capacity > kLargestFile || !extendFile(fd_, capacity_, capacity)) {
            close();
            return false;
        }
    }
    void* mapped = map_ ? ::mremap(map_, capacity_, capacity, MREMAP_MAYMOVE)
                        : ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (mapped == MAP_FAILED) {
        // The old mapping (if any) is still in place; close() unmaps it and trims the file.
        close();
        return false;
    }
    map_ = static_cast<char*>(mapped);
    capacity_ = capacity;
    return true;
}

void TraceLog::trace(std::string_view line) {
    if (fd_ < 0 || !reserve(line.size() + 1)) {
        return;
    }
    std::memcpy(map_ + length_, line.data(), line.size());
    length_ += line.size();
    map_[length_++] = '\n';
}

void TraceLog::traceRepeated(std::string_view line, std::size_t count) {
    if (fd_ < 0 || count == 0) {
        return;
    }
    const std::size_t each = line.size() + 1;
    if (count > std::numeric_limits<std::size_t>::max() / each) {
        close();
        return;
    }
    const std::size_t total = each * count;
    if (!reserve(total)) {
        return;
    }
    char* start = map_ + length_;
    std::memcpy(start, line.data(), line.size());
    start[line.size()] = '\n';
    // Double the written run until it is complete: log2(count) copies instead of count.
    std::size_t written = each;
    while (written < total) {
        const std::size_t chunk = std::min(written, total - written);
        std::memcpy(start + written, start, chunk);
        written += chunk;
    }
    length_ += total;
}

void TraceLog::close() {
    if (fd_ < 0) {
        return;
    }
    if (map_) {
        ::munmap(map_, capacity_);
    }
    // Drop the unused rest of the last step. Nothing is left to report a failure to: the
    // lines are in the file either way, followed at worst by zero bytes.
    [[maybe_unused]] const int trimmed = ::ftruncate(fd_, static_cast<off_t>(length_));
    ::close(fd_);
    fd_ = -1;
    map_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

TraceLog& TraceLog::global() {
    static TraceLog log;
    return log;
}

}  // namespace y4
