// Regular files read with pread.
#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "FileKind.h"

namespace y4 {

namespace {

template <class T>
std::optional<T> failWith(std::string reason, std::string* error) {
    if (error) {
        *error = std::move(reason);
    }
    return std::nullopt;
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

std::optional<InputFile> InputFile::open(const std::string& path, std::string* error) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; regular files ignore it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return failWith<InputFile>(std::strerror(errno), error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return failWith<InputFile>(std::strerror(code), error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return failWith<InputFile>(notRegularReason(info.st_mode), error);
    }
    // The file is read front to back; a hint only.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return InputFile(fd, static_cast<std::uint64_t>(info.st_size), info.st_mtim);
}

std::optional<std::string> InputFile::readWhole(const std::string& path, std::size_t maxBytes,
                                                std::string* error) {
    std::optional<InputFile> file = open(path, error);
    if (!file) {
        return std::nullopt;
    }
    if (file->size() > maxBytes) {
        return failWith<std::string>(std::strerror(EFBIG), error);
    }
    std::string bytes(static_cast<std::size_t>(file->size()), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = file->readAt(done, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            return failWith<std::string>(std::strerror(errno), error);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (done != bytes.size() || file->changedSinceOpen()) {
        return failWith<std::string>("The file changed while it was read", error);
    }
    return bytes;
}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), modified_(other.modified_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        modified_ = other.modified_;
    }
    return *this;
}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

ssize_t InputFile::readAt(std::uint64_t offset, char* out, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool InputFile::changedSinceOpen() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        return true;
    }
    return static_cast<std::uint64_t>(info.st_size) != size_ || !sameTime(info.st_mtim, modified_);
}

}  // namespace y4
