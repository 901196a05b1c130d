// LineReader: hands out the lines of a model file one at a time, with their numbers, and builds
// the messages that refuse a malformed file: "Error: <file>, line <n>: expected <what>".
// Lines may end with LF or CR LF; a line longer than kMaxLineLength characters is refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace y4 {

class MappedFile;

class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = 1023;

    // `file` names the file in messages. With `mapping`, pages already read are released.
    LineReader(std::string_view bytes, std::string file, MappedFile* mapping = nullptr);

    // The next line without its line end. At the end of the file, refuses the file saying that
    // `expected` was expected.
    std::string_view next(std::string_view expected);
    bool atEnd() const { return pos_ >= bytes_.size(); }
    std::size_t bytesLeft() const { return bytes_.size() - pos_; }
    // Where the file's bytes end: a line handed out may be read ahead up to here, since a line
    // end follows each line but the last.
    const char* readableEnd() const { return bytes_.data() + bytes_.size(); }
    const std::string& file() const { return file_; }
    // The number of the line last handed out (from 1).
    int lineNumber() const { return line_; }

    // Refuses the file at the current line.
    [[noreturn]] void fail(std::string_view expected) const;
    // The message of fail(), for callers that report it otherwise.
    std::string message(std::string_view expected) const;

private:
    std::string_view bytes_;
    std::string file_;
    MappedFile* mapping_;
    std::size_t pos_ = 0;
    std::size_t released_ = 0;
    int line_ = 0;
};

}  // namespace y4
