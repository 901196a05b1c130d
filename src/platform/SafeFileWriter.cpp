// Saving through a locked temporary file in the target's folder, renamed over the target only
// once every byte is on disk.
#include "SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <utility>

#include "FileKind.h"

namespace y4 {

namespace {

constexpr std::string_view kTemporaryMark = ".y4save.";
constexpr std::size_t kRandomLength = 6;
// Target names are cut to this length in temporary names, to stay within the system's
// 255-byte name limit.
constexpr std::size_t kNameKept = 200;
// As many links as the system itself follows.
constexpr int kMaxLinks = 40;

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

bool isLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Six letters or digits, as mkstemp uses; mkstemp itself is not used because its 0600 would
// become the mode of every saved model.
std::string randomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937_64 generator{std::random_device{}() ^
                                     static_cast<std::uint64_t>(::getpid())};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string suffix(kRandomLength, 'X');
    for (char& c : suffix) {
        c = kLetters[pick(generator)];
    }
    return suffix;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `path` still names the file open as `fd`.
bool stillNamed(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           sameFile(opened, named);
}

// Removes a temporary file of ours whose save no longer runs: a live save holds its lock.
void removeIfStale(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        stillNamed(fd, path)) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

void removeStaleTemporaryFiles(const std::string& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (SafeFileWriter::isTemporaryName(entry->d_name, name)) {
            removeIfStale(folder + "/" + entry->d_name);
        }
    }
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

// The signals after which the temporary files of the saves in progress are removed.
constexpr int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary files of the saves in progress, for the signal handlers: plain pointers a
// handler may read at any moment.
std::array<std::atomic<const char*>, 16> savesInProgress{};

extern "C" void removeTemporaryFilesAndDie(int signal) {
    for (std::atomic<const char*>& slot : savesInProgress) {
        if (const char* path = slot.load()) {
            ::unlink(path);
        }
    }
    // The handler was reset to the default on entry: the signal ends the program once the
    // handler returns, with the status the signal gives.
    ::raise(signal);
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string targetPath) : target_(std::move(targetPath)) {
    if (target_.find('\0') != std::string::npos) {
        errno = EINVAL;
        failWithErrno();
    }
    followLinks();
    const std::string name = fileNameOf(path_);
    struct stat old {};
    const bool replacing = ::stat(path_.c_str(), &old) == 0;
    if (name.empty()) {
        errno = EISDIR;
        failWithErrno();
    }
    if (replacing && !S_ISREG(old.st_mode)) {
        fail(notRegularReason(old.st_mode));
    }
    const std::string folder = folderOf(path_);
    removeStaleTemporaryFiles(folder, name);
    createTemporaryFile(path_.substr(0, path_.size() - name.size()), name);
    if (replacing) {
        // A replaced file keeps its owner where the system allows it, and its permissions.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int owned = ::fchown(fd_, old.st_uid, old.st_gid);
        }
        if (::fchmod(fd_, old.st_mode & 07777) != 0) {
            failWithErrno();
        }
    }
}

void SafeFileWriter::followLinks() {
    path_ = target_;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path_.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            // A link that leads nowhere is followed too: its target is created.
            return;
        }
        std::string destination(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(path_.c_str(), destination.data(), destination.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= destination.size()) {
            errno = length < 0 ? errno : ENOENT;
            failWithErrno();
        }
        destination.resize(static_cast<std::size_t>(length));
        if (destination.front() != '/') {
            const std::string folder = folderOf(path_);
            destination = (folder == "/" ? folder : folder + "/") + destination;
        }
        path_ = std::move(destination);
    }
    errno = ELOOP;
    failWithErrno();
}

void SafeFileWriter::createTemporaryFile(const std::string& folderPrefix, const std::string& name) {
    const std::string prefix =
        folderPrefix + "." + name.substr(0, kNameKept) + std::string(kTemporaryMark);
    // An interruption between the file's creation and its registration below would leave
    // it behind: the signals that remove temporary files wait until it is registered.
    sigset_t interruptions;
    sigset_t previous;
    sigemptyset(&interruptions);
    for (const int signal : kInterruptions) {
        sigaddset(&interruptions, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &interruptions, &previous);
    struct Restore {
        const sigset_t& mask;
        ~Restore() { ::pthread_sigmask(SIG_SETMASK, &mask, nullptr); }
    } restore{previous};
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
        std::string candidate = prefix + randomSuffix();
        // 0666 lets the system apply the umask (and any default ACL of the folder) to a new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            failWithErrno();
        }
        // The lock tells other saves that this file is no leftover. Should another save have
        // taken the file for one between its creation and the lock, it removes it: try anew.
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if ((!locked && errno == EWOULDBLOCK) || !stillNamed(fd, candidate)) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        temp_ = std::move(candidate);
    }
    if (fd_ < 0) {
        errno = EEXIST;
        failWithErrno();
    }
    for (std::size_t k = 0; k < savesInProgress.size(); ++k) {
        const char* none = nullptr;
        if (savesInProgress[k].compare_exchange_strong(none, temp_.c_str())) {
            slot_ = static_cast<int>(k);
            break;
        }
    }
}

// Called once the temporary file is gone or renamed; temp_ may change only after this.
void SafeFileWriter::forget() {
    if (slot_ >= 0) {
        savesInProgress[static_cast<std::size_t>(slot_)].store(nullptr);
        slot_ = -1;
    }
    temp_.clear();
}

SafeFileWriter::~SafeFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        forget();
    }
}

void SafeFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) {
        // After a failure the temporary file is gone; after commit the target is complete.
        errno = EBADF;
        failWithErrno();
    }
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            failWithErrno();
        }
        if (written == 0) {
            errno = EIO;
            failWithErrno();
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
        failWithErrno();
    }
    if (::fsync(fd_) != 0) {
        failWithErrno();
    }
    // Checked again: something else may have been put in the target's place meanwhile.
    struct stat now {};
    if (::lstat(path_.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) {
        fail(notRegularReason(now.st_mode));
    }
    const int fd = std::exchange(fd_, -1);
    // Linux releases the descriptor even when close is interrupted, and the bytes are
    // already synced; any other error (a network file system's late write error) counts.
    if (::close(fd) != 0 && errno != EINTR) {
        failWithErrno();
    }
    if (::rename(temp_.c_str(), path_.c_str()) != 0) {
        failWithErrno();
    }
    forget();
    committed_ = true;
    syncFolder(folderOf(path_));
}

bool SafeFileWriter::isTemporaryName(std::string_view fileName, std::string_view targetName) {
    const std::string_view kept = targetName.substr(0, kNameKept);
    const std::size_t prefix = 1 + kept.size() + kTemporaryMark.size();
    if (fileName.size() != prefix + kRandomLength || fileName.front() != '.' ||
        fileName.substr(1, kept.size()) != kept ||
        fileName.substr(1 + kept.size(), kTemporaryMark.size()) != kTemporaryMark) {
        return false;
    }
    const std::string_view suffix = fileName.substr(prefix);
    return std::all_of(suffix.begin(), suffix.end(), isLetterOrDigit);
}

void SafeFileWriter::removeTemporaryFilesOnSignals() {
    for (const int signal : kInterruptions) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = removeTemporaryFilesAndDie;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void SafeFileWriter::failWithErrno() {
    fail(std::strerror(errno));
}

void SafeFileWriter::fail(const std::string& reason) {
    // The user is told which file and why.
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        forget();
    }
    throw IoError("Could not write " + target_ + ": " + reason);
}

}  // namespace y4
