// Read-only mappings of whole files.
#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace y4 {

namespace {

std::optional<MappedFile> failWith(int code, std::string* error) {
    if (error) {
        *error = std::strerror(code);
    }
    return std::nullopt;
}

// Closes the descriptor when open() returns; the mapping stays valid without it.
struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

std::size_t pageSize() {
    static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

}  // namespace

std::optional<MappedFile> MappedFile::open(const std::string& path, std::string* error) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; regular files ignore it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return failWith(errno, error);
    }
    FdCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return failWith(errno, error);
    }
    if (S_ISDIR(info.st_mode)) {
        return failWith(EISDIR, error);
    }
    if (!S_ISREG(info.st_mode)) {
        // Devices and pipes have no size to map; reading them could block or never end.
        return failWith(ENODEV, error);
    }
    if (info.st_size == 0) {
        return MappedFile(nullptr, 0);
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) {
        return failWith(errno, error);
    }
    return MappedFile(static_cast<const char*>(data), size);
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      discarded_(std::exchange(other.discarded_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        if (data_) {
            ::munmap(const_cast<char*>(data_), size_);
        }
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        discarded_ = std::exchange(other.discarded_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    if (data_) {
        ::munmap(const_cast<char*>(data_), size_);
    }
}

void MappedFile::discardBefore(std::size_t offset) {
    if (!data_) {
        return;
    }
    if (offset > size_) {
        offset = size_;
    }
    // Only whole pages can go; the page holding `offset` is still being read.
    const std::size_t end = offset - offset % pageSize();
    if (end <= discarded_) {
        return;
    }
    // The mapping is private and never written, so dropped pages are read again from the file
    // should anyone look back; the advice can only cost time, never bytes.
    ::madvise(const_cast<char*>(data_) + discarded_, end - discarded_, MADV_DONTNEED);
    discarded_ = end;
}

}  // namespace y4
