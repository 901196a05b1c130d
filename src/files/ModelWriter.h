// ModelWriter: what the three format writers share: the link and count columns recomputed
// from the scene, the target file written through a safe save, and the text buffer the lines
// are formatted into.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextBuffer.h"

namespace y4 {

class Entity;
class FileProgress;
class ProgressMeter;
class Reader;
class SafeFileWriter;

class ModelWriter {
public:
    virtual ~ModelWriter() = default;
    // Recomputes the columns the file carries from the scene, then checks that the reader will
    // accept every line: the first record whose line would be too long, described
    // ("bitmap 3 (\"NAME\")"), or nothing. Before writeTo.
    std::optional<std::string> prepare();
    // Writes the whole file to `path` (an exact path) and replaces the old file at the end.
    // Throws IoError when any step fails, CancelledByUser when `progress` says stop; the old
    // file is then kept.
    void writeTo(const std::string& path, FileProgress* progress = nullptr);
    // The whole file's text in memory, for a copy that is written elsewhere (and later): in
    // pieces of a few megabytes, so that a large model's text is never moved as it grows.
    std::vector<std::string> layOut();

protected:
    explicit ModelWriter(Reader& reader) : reader_(reader), text_(kFlushSize + 4096) {}
    virtual void recompute() = 0;
    // The first record whose line would be longer than the reader accepts. Only bitmap names
    // have no bounded length; every other column is a bounded number or name.
    virtual std::optional<std::string> overlongLine() const = 0;
    virtual void writeLines() = 0;

    // Whether a line of `length` characters is longer than the reader accepts.
    static bool tooLong(std::size_t length);
    // The characters printf("%*d", width, value) gives.
    static std::size_t printedWidth(int value, int width);
    // "bitmap <index> (\"<name>\")", the name cut short.
    std::string describeBitmap(int index) const;

    // Parent, first-child and next-sibling positions, face and vertex counts and first
    // indices of every entity; with `headerCounts`, the Reader's header counts too.
    void recomputeIndexColumns(bool headerCounts);
    // The name of bitmap `index`, or "(null)" for 255 and for a number that names no bitmap.
    std::string_view bitmapNameOr(int index) const;
    // "Entity[<position>]: <name>: " and the position, 0.0 and the three angles, each with
    // "%<floatWidth>.<precision>f", then the eleven integer columns with "%6d".
    void appendEntityLine(int position, int indexWidth, const Entity& e, int floatWidth,
                          int precision, const int (&columns)[11]);
    // "<label>[<number>]:", the number with "%<width>d".
    void appendNumbered(std::string_view label, int number, int width);
    // " %<width>.<precision>f" for each value.
    void appendFloats(std::initializer_list<float> values, int width, int precision);
    // " %<width>d" for each value.
    void appendInts(std::initializer_list<int> values, int width);
    // Hands the formatted text to the file once the buffer is full. Called once per record
    // line, which is what the progress counts.
    void flushIfFull() {
        ++records_;
        if (text_.size() >= kFlushSize) {
            flush();
        }
    }
    void flush();

    Reader& reader_;
    TextBuffer text_;

private:
    static constexpr std::size_t kFlushSize = std::size_t{4} << 20;
    SafeFileWriter* out_ = nullptr;
    ProgressMeter* meter_ = nullptr;
    std::uint64_t records_ = 0;
    std::vector<std::string>* laidOut_ = nullptr;
};

}  // namespace y4
