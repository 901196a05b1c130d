// TraceLog: the editor's plain-text trace of its file operations ("Y4Editor.log"). Each line
// reaches the operating system as soon as it is written, so it survives a crash of the editor;
// the file is a shared memory mapping grown in large steps, so a purge that writes millions of
// lines costs no system call per line. The file is cut to its length when closed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace y4 {

class TraceLog {
public:
    TraceLog() = default;
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Opens `path` for writing, replacing an older log. A failure leaves tracing off.
    bool open(const std::string& path);
    // Writes `line` and a line feed, when open; nothing otherwise.
    void trace(std::string_view line);
    // The same line written `count` times, as fast as one.
    void traceRepeated(std::string_view line, std::size_t count);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // The log of the process.
    static TraceLog& global();

private:
    bool reserve(std::size_t extra);
    int fd_ = -1;
    char* map_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
};

// Writes one line to the process's trace log.
inline void trace(std::string_view line) {
    TraceLog::global().trace(line);
}

}  // namespace y4
