// The trace log: a buffer written with pwrite, and the fatal-signal handler that writes out what
// is still buffered when the process is about to die.
#include "TraceLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>

namespace y4 {

namespace {

// The signals that end a process and can still be caught. SIGXFSZ and SIGXCPU are left to
// their callers, who set the limits.
constexpr int kFatalSignals[] = {SIGABRT, SIGBUS, SIGFPE, SIGILL,  SIGSEGV, SIGSYS,
                                 SIGTRAP, SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr int kSignalCount = static_cast<int>(std::size(kFatalSignals));

// The open logs, for the signal handler.
constexpr int kSlots = 8;
std::atomic<TraceLog*> openLogs[kSlots];

struct sigaction previousActions[kSignalCount];

int signalPosition(int signal) {
    for (int k = 0; k < kSignalCount; ++k) {
        if (kFatalSignals[k] == signal) {
            return k;
        }
    }
    return -1;
}

extern "C" void writeLogsAndGoOn(int signal) {
    const int savedErrno = errno;
    TraceLog::flushAllFromSignalHandler();
    // Whatever was there before takes the signal: the default ends the process, a handler of
    // the program (SafeFileWriter's removes its temporary files) runs, an ignored one is
    // ignored. A fault raised by an instruction is raised again when it is retried.
    const int k = signalPosition(signal);
    if (k >= 0) {
        ::sigaction(signal, &previousActions[k], nullptr);
    }
    ::raise(signal);
    errno = savedErrno;
}

void installHandlersOnce() {
    static const bool installed = [] {
        for (int k = 0; k < kSignalCount; ++k) {
            struct sigaction old {};
            if (::sigaction(kFatalSignals[k], nullptr, &old) != 0 || old.sa_handler == SIG_IGN) {
                previousActions[k].sa_handler = SIG_IGN;
                continue;
            }
            previousActions[k] = old;
            struct sigaction action {};
            action.sa_handler = writeLogsAndGoOn;
            sigemptyset(&action.sa_mask);
            ::sigaction(kFatalSignals[k], &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

// pwrite until everything is written or the system refuses: the number of bytes written.
std::size_t writeAll(int fd, const char* bytes, std::size_t count, std::uint64_t at) noexcept {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pwrite(fd, bytes + done, count - done, static_cast<off_t>(at + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace

TraceLog::TraceLog() : buffer_(new char[kBufferSize]) {}

TraceLog::~TraceLog() {
    close();
}

bool TraceLog::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    length_.store(0, std::memory_order_release);
    offset_.store(0, std::memory_order_release);
    fd_.store(fd, std::memory_order_release);
    installHandlersOnce();
    for (int k = 0; k < kSlots && slot_ < 0; ++k) {
        TraceLog* none = nullptr;
        if (openLogs[k].compare_exchange_strong(none, this)) {
            slot_ = k;
        }
    }
    return true;
}

bool TraceLog::makeRoom(std::size_t extra) {
    if (extra <= kBufferSize - length_.load(std::memory_order_relaxed)) {
        return true;
    }
    flush();
    return isOpen();
}

void TraceLog::trace(std::string_view line) {
    if (!isOpen()) {
        return;
    }
    const std::size_t size = line.size() + 1;
    if (size > kBufferSize) {
        // A line longer than the buffer goes out on its own, after what is buffered.
        flush();
        const std::uint64_t at = offset_.load(std::memory_order_relaxed);
        if (isOpen() && writeAt(line.data(), line.size(), at) &&
            writeAt("\n", 1, at + line.size())) {
            offset_.store(at + size, std::memory_order_release);
        }
        return;
    }
    if (!makeRoom(size)) {
        return;
    }
    const std::size_t length = length_.load(std::memory_order_relaxed);
    std::memcpy(buffer_.get() + length, line.data(), line.size());
    buffer_[length + line.size()] = '\n';
    length_.store(length + size, std::memory_order_release);
}

void TraceLog::traceLines(std::string_view lines) {
    if (!isOpen() || lines.empty()) {
        return;
    }
    if (lines.size() > kBufferSize || !makeRoom(lines.size())) {
        // Longer than the buffer: line by line, the last line feed dropped, as trace adds it.
        while (!lines.empty() && isOpen()) {
            const std::size_t end = lines.find('\n');
            trace(lines.substr(0, end));
            lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        }
        return;
    }
    const std::size_t length = length_.load(std::memory_order_relaxed);
    std::memcpy(buffer_.get() + length, lines.data(), lines.size());
    length_.store(length + lines.size(), std::memory_order_release);
}

void TraceLog::traceRepeated(std::string_view line, std::size_t count) {
    if (!isOpen() || count == 0) {
        return;
    }
    const std::size_t each = line.size() + 1;
    if (each > kBufferSize / 2) {
        for (std::size_t k = 0; k < count && isOpen(); ++k) {
            trace(line);
        }
        return;
    }
    // Copies of the line fill the buffer by doubling the run already written; each buffer-full
    // goes out whole.
    while (count > 0 && isOpen()) {
        const std::size_t length = length_.load(std::memory_order_relaxed);
        const std::size_t fit = std::min(count, (kBufferSize - length) / each);
        if (fit == 0) {
            flush();
            continue;
        }
        char* start = buffer_.get() + length;
        std::memcpy(start, line.data(), line.size());
        start[line.size()] = '\n';
        std::size_t written = each;
        const std::size_t total = each * fit;
        while (written < total) {
            const std::size_t chunk = std::min(written, total - written);
            std::memcpy(start + written, start, chunk);
            written += chunk;
        }
        length_.store(length + total, std::memory_order_release);
        count -= fit;
    }
}

bool TraceLog::writeAt(const char* bytes, std::size_t count, std::uint64_t at) {
    const int fd = fd_.load(std::memory_order_relaxed);
    const std::size_t done = writeAll(fd, bytes, count, at);
    if (done == count) {
        return true;
    }
    // A full disk or another failure: the file keeps its whole lines and the log goes off.
    std::uint64_t end = at;
    const void* lastEnd = done > 0 ? memrchr(bytes, '\n', done) : nullptr;
    if (lastEnd) {
        end = at + static_cast<std::uint64_t>(static_cast<const char*>(lastEnd) - bytes) + 1;
    }
    [[maybe_unused]] const int cut = ::ftruncate(fd, static_cast<off_t>(end));
    length_.store(0, std::memory_order_release);
    offset_.store(end, std::memory_order_release);
    turnOff();
    return false;
}

void TraceLog::flush() {
    if (!isOpen()) {
        return;
    }
    const std::size_t length = length_.load(std::memory_order_relaxed);
    if (length == 0) {
        return;
    }
    const std::uint64_t at = offset_.load(std::memory_order_relaxed);
    if (!writeAt(buffer_.get(), length, at)) {
        return;
    }
    // First forget the bytes, then move the offset: a signal handler in between writes
    // nothing, and one before writes the same bytes to the same place again.
    length_.store(0, std::memory_order_release);
    offset_.store(at + length, std::memory_order_release);
}

void TraceLog::turnOff() {
    if (slot_ >= 0) {
        openLogs[slot_].store(nullptr, std::memory_order_release);
        slot_ = -1;
    }
    const int fd = fd_.exchange(-1, std::memory_order_acq_rel);
    if (fd >= 0) {
        ::close(fd);
    }
    length_.store(0, std::memory_order_release);
    offset_.store(0, std::memory_order_release);
}

void TraceLog::close() {
    flush();
    turnOff();
}

void TraceLog::writeOutFromSignalHandler() const noexcept {
    const int fd = fd_.load(std::memory_order_acquire);
    if (fd < 0) {
        return;
    }
    // A consistent pair of offset and length: read again when the offset moved meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::uint64_t at = offset_.load(std::memory_order_acquire);
        const std::size_t length = length_.load(std::memory_order_acquire);
        if (offset_.load(std::memory_order_acquire) == at) {
            writeAll(fd, buffer_.get(), length, at);
            return;
        }
    }
}

void TraceLog::flushAllFromSignalHandler() noexcept {
    for (std::atomic<TraceLog*>& slot : openLogs) {
        if (const TraceLog* log = slot.load(std::memory_order_acquire)) {
            log->writeOutFromSignalHandler();
        }
    }
}

TraceLog& TraceLog::global() {
    static TraceLog log;
    return log;
}

}  // namespace y4
