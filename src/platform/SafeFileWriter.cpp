// Saving through a temporary file in the target's folder, renamed over the target only once
// every byte is on disk.
#include "SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>

namespace y4 {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos) {
        return ".";
    }
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Six letters or digits, as mkstemp uses; mkstemp itself is not used because its 0600 would
// become the mode of every saved model.
std::string randomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937_64 generator{std::random_device{}() ^
                                     static_cast<std::uint64_t>(::getpid())};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string suffix(6, 'X');
    for (char& c : suffix) {
        c = kLetters[pick(generator)];
    }
    return suffix;
}

// Makes the rename itself durable. A folder that cannot be opened for reading or a file
// system that cannot sync folders does not make the save fail: the new file is complete
// and in place by now, and only its survival of a power cut is at stake.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        [[maybe_unused]] const int synced = ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string targetPath) : target_(std::move(targetPath)) {
    if (target_.find('\0') != std::string::npos) {
        errno = EINVAL;
        fail("check");
    }
    const std::string name = fileNameOf(target_);
    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    if (name.empty() || (replacing && S_ISDIR(old.st_mode))) {
        errno = EISDIR;
        fail("check");
    }
    // Beside the target, so the rename stays within one file system. The name is cut to
    // leave room for the dots and the suffix within the system's 255-byte name limit.
    const std::string prefix =
        target_.substr(0, target_.size() - name.size()) + "." + name.substr(0, 200) + ".";
    // 0666 lets the system apply the umask (and any default ACL of the folder) to a new file.
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
        std::string candidate = prefix + randomSuffix();
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(candidate);
        } else if (errno != EEXIST) {
            fail("create");
        }
    }
    if (fd_ < 0) {
        fail("create");  // errno is still EEXIST
    }
    if (replacing) {
        // A replaced file keeps its owner where the system allows it, and its permissions.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int owned = ::fchown(fd_, old.st_uid, old.st_gid);
        }
        if (::fchmod(fd_, old.st_mode & 07777) != 0) {
            fail("chmod");
        }
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
    }
}

void SafeFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) {
        // After a failure the temporary file is gone; after commit the target is complete.
        errno = EBADF;
        fail("write");
    }
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("write");
        }
        if (written == 0) {
            errno = EIO;
            fail("write");
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    // Start writing these bytes to the disk now, while the next ones are formatted, so that
    // the sync at commit has little left to wait for. Only a hint: failures show at the sync.
    ::sync_file_range(fd_, static_cast<off_t>(written_), static_cast<off_t>(bytes.size()),
                      SYNC_FILE_RANGE_WRITE);
#endif
    written_ += bytes.size();
}

void SafeFileWriter::commit() {
    if (committed_) {
        return;
    }
    if (fd_ < 0) {
        // An earlier write failed: its temporary file is gone, and half a file must never
        // replace the target.
        errno = EIO;
        fail("commit");
    }
    if (::fsync(fd_) != 0) {
        fail("fsync");
    }
    const int fd = std::exchange(fd_, -1);
    // Linux releases the descriptor even when close is interrupted, and the bytes are
    // already synced; any other error (a network file system's late write error) counts.
    if (::close(fd) != 0 && errno != EINTR) {
        fail("close");
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail("rename");
    }
    temp_.clear();
    committed_ = true;
    syncFolder(folderOf(target_));
}

void SafeFileWriter::fail(const char* /*step*/) {
    // The user is told which file and why; the step only matters to this class.
    const int code = errno;
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    throw IoError("Could not write " + target_ + ": " + std::strerror(code));
}

}  // namespace y4
