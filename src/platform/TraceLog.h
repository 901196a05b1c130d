// TraceLog: the editor's plain-text trace of its file operations ("Y4Editor.log"). Lines are
// gathered in a buffer of a few hundred kilobytes and written with one system call when it is
// full, so a purge that writes millions of lines costs a system call per few thousand lines.
// The buffer is written out before every message box (prompt() asks for it), when the log is
// closed, and from a handler of the fatal signals (a crash, an abort, a kill that can be
// caught), so every line traced before the program stopped is in the file. A write that fails
// (a full disk) leaves the file ending with the last whole line and turns the log off.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace y4 {

class TraceLog {
public:
    // The size of the buffer: the bytes between two system calls.
    static constexpr std::size_t kBufferSize = std::size_t{256} << 10;

    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Opens `path` for writing, replacing an older log. A failure leaves tracing off.
    bool open(const std::string& path);
    // Writes `line` and a line feed, when open; nothing otherwise.
    void trace(std::string_view line);
    // The same line written `count` times, as fast as one.
    void traceRepeated(std::string_view line, std::size_t count);
    // Several lines at once, each ending with a line feed: what tracing them one by one
    // writes, with one copy.
    void traceLines(std::string_view lines);
    // Hands the buffered lines to the system.
    void flush();
    void close();
    bool isOpen() const { return fd_.load(std::memory_order_relaxed) >= 0; }

    // The log of the process.
    static TraceLog& global();
    // Writes out the buffered lines of every open log; safe in a signal handler.
    static void flushAllFromSignalHandler() noexcept;

private:
    // Makes room for `extra` bytes, writing the buffer out; false when the log went off.
    bool makeRoom(std::size_t extra);
    // Writes `bytes` at the file offset `at`; on failure cuts the file after its last whole
    // line and turns the log off.
    bool writeAt(const char* bytes, std::size_t count, std::uint64_t at);
    void writeOutFromSignalHandler() const noexcept;
    void turnOff();

    // Read by the signal handler, hence atomic: a handler sees either the state before a step
    // or after it. The buffered bytes [0, length_) belong at file offset offset_; writing them
    // there twice does no harm.
    std::atomic<int> fd_{-1};
    std::atomic<std::size_t> length_{0};
    std::atomic<std::uint64_t> offset_{0};
    std::unique_ptr<char[]> buffer_;
    int slot_ = -1;
};

// Writes one line to the process's trace log.
inline void trace(std::string_view line) {
    TraceLog::global().trace(line);
}

}  // namespace y4
