// ModelWriter: what the three format writers share: the link and count columns recomputed
// from the scene, the target file written through a safe save, and the text buffer the lines
// are formatted into. A format writer writes the lines from the live scene (a save) or from a
// SceneSnapshot of it (an autosave, on another thread); one template walks either, as their
// records carry the same fields.
#pragma once

#include <cstdint>
#include <functional>
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
class SceneSnapshot;

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
    // The same pieces, each handed to `piece` as soon as it is formatted.
    void layOut(const std::function<void(std::string_view)>& piece);

protected:
    // A writer of the live scene: prepare, writeTo and layOut.
    explicit ModelWriter(Reader& reader) : reader_(&reader), text_(kFlushSize + 4096) {}
    // A writer of a snapshot, whose columns were recomputed before it was taken: layOut only.
    explicit ModelWriter(const SceneSnapshot& snapshot)
        : snapshot_(&snapshot), text_(kFlushSize + 4096) {}
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
    // Calls `walk` with the scene or the snapshot, whichever the writer writes from.
    template <class Walk>
    void walkModel(Walk&& walk) {
        if (snapshot_) {
            walk(*snapshot_);
        } else {
            walk(*reader_);
        }
    }
    // A record of the scene or of a snapshot, whichever its list holds.
    template <class T>
    static const T& record(T* pointer) {
        return *pointer;
    }
    template <class T>
    static const T& record(const T& value) {
        return value;
    }

    // Parent, first-child and next-sibling positions, face and vertex counts and first
    // indices of every entity; with `headerCounts`, the Reader's header counts too.
    void recomputeIndexColumns(bool headerCounts);
    // The name of bitmap `index` in `names`, or "(null)" for 255 and for a number that names
    // no bitmap.
    static std::string_view bitmapNameOr(const std::vector<std::string>& names, int index);
    // "Entity[<position>]: <name>: " and the position, 0.0 and the three angles, each with
    // "%<floatWidth>.<precision>f", then the eleven integer columns with "%6d".
    template <class EntityRecord>
    void appendEntityLine(int position, int indexWidth, const EntityRecord& e, int floatWidth,
                          int precision, const int (&columns)[11]) {
        name_.clear();
        e.appendName(name_);
        appendEntityLine(
            position, indexWidth,
            {e.positionX, e.positionY, e.positionZ, 0.0f, e.rotateX, e.rotateY, e.rotateZ},
            floatWidth, precision, columns);
    }
    // A sub-entity's face lines, "Face[<n>]:" numbered from 0 and the three corners, "%3d".
    template <class FaceList>
    void appendFaceLines(const FaceList& faces) {
        int number = 0;
        for (const auto& item : faces) {
            const auto& f = record(item);
            appendNumbered("Face", number++, 3);
            appendInts({f.indexA, f.indexB, f.indexC}, 3);
            text_.append('\n');
            flushIfFull();
        }
    }
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

    // Exactly one of the two is set.
    Reader* reader_ = nullptr;
    const SceneSnapshot* snapshot_ = nullptr;
    TextBuffer text_;

private:
    // The line of the entity whose name is in name_.
    void appendEntityLine(int position, int indexWidth, std::initializer_list<float> fields,
                          int floatWidth, int precision, const int (&columns)[11]);

    static constexpr std::size_t kFlushSize = std::size_t{4} << 20;
    SafeFileWriter* out_ = nullptr;
    ProgressMeter* meter_ = nullptr;
    std::uint64_t records_ = 0;
    const std::function<void(std::string_view)>* laidOut_ = nullptr;
    std::string name_;
};

}  // namespace y4
