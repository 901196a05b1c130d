// LineReader: hands out the lines of a model file one at a time, with their numbers, and builds
// the messages that refuse a malformed file: "Error: <file>, line <n>: expected <what>".
// Lines may end with LF or CR LF; a line longer than kMaxLineLength characters is refused.
// The file is read through a window of two megabytes (one huge page) that is refilled at line
// boundaries, so memory stays bounded whatever the file's size, and any byte range of a file can
// be read on its own, by as many readers as there are threads. A file that another program
// changes while it is read is refused, never half read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace y4 {

class InputFile;
class ProgressMeter;

class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = 1023;
    // The window's size, and the smallest that still holds the longest line with its line end.
    static constexpr std::size_t kWindowSize = std::size_t{2} << 20;
    static constexpr std::size_t kMinWindowSize = 2 * (kMaxLineLength + 2);

    // The lines of the bytes [begin, end) of `file` (end is cut to the file's size when it was
    // opened). `name` names the file in messages; `linesBefore` is the number of lines before
    // `begin`, so that messages count lines from the start of the file.
    LineReader(const InputFile& file, std::string name, std::uint64_t begin, std::uint64_t end,
               int linesBefore = 0, std::size_t windowSize = kWindowSize);
    // The whole file.
    LineReader(const InputFile& file, std::string name);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; it stays valid until the next call. At the end of the
    // range, refuses the file saying that `expected` was expected.
    std::string_view next(std::string_view expected);
    bool atEnd() const { return pos_ >= filled_ && fileNext_ >= end_; }
    std::uint64_t bytesLeft() const { return (filled_ - pos_) + (end_ - fileNext_); }
    // Where the bytes read so far end: a line handed out may be read ahead up to here, since a
    // line end follows each line but the last.
    const char* readableEnd() const { return window_ + filled_; }
    // The file offset where the next line starts.
    std::uint64_t offset() const { return fileNext_ - (filled_ - pos_); }
    const std::string& file() const { return file_; }
    const InputFile& input() const { return input_; }
    // The number of the line last handed out (from 1).
    int lineNumber() const { return line_; }

    // Goes on reading at `offset` (a line start), the line before it numbered `linesBefore`:
    // where another reader of the same file stopped.
    void restartAt(std::uint64_t offset, int linesBefore);

    // Counts every refill of the window in `meter`: as the running thread's progress, or
    // `elsewhere` as a second thread's.
    void setProgress(ProgressMeter* meter, bool elsewhere) {
        meter_ = meter;
        elsewhere_ = elsewhere;
    }
    ProgressMeter* progress() const { return meter_; }

    // Refuses the file when another program changed it since it was opened. The window checks
    // this at every refill; a parser calls it once more at the end.
    void checkUnchanged() const;
    // Refuses the file at the current line.
    [[noreturn]] void fail(std::string_view expected) const;
    // The message of fail(), for callers that report it otherwise.
    std::string message(std::string_view expected) const;

private:
    void refill();
    // Keeps only what a line that has no end in the window yet needs.
    void dropLineCarriageReturns();

    const InputFile& input_;
    std::string file_;
    std::uint64_t fileNext_;
    std::uint64_t end_;
    std::size_t windowSize_;
    // From LargeMemory, released by the destructor.
    char* window_;
    std::size_t filled_ = 0;
    std::size_t pos_ = 0;
    int line_;
    ProgressMeter* meter_ = nullptr;
    bool elsewhere_ = false;
};

}  // namespace y4
