// NumberScanner: reads the numbers of a model file line the way the formats' scanf patterns
// read them ("%d", "%f"): leading blanks are skipped, a sign may lead, the number ends where its
// syntax ends. Floats are rounded exactly as strtof rounds. Only finite values in range are
// accepted, so a file cannot bring infinities or NaNs into a scene.
#pragma once

#include <algorithm>
#include <string_view>

namespace y4 {

class NumberScanner {
public:
    explicit NumberScanner(std::string_view text)
        : p_(text.data()), end_(text.data() + text.size()), readable_(end_) {}
    // The same, where the bytes after the text up to `readableEnd` may be read ahead: the text
    // is a line of a file in memory, followed by its line end, which ends any number.
    NumberScanner(std::string_view text, const char* readableEnd)
        : p_(text.data()),
          end_(text.data() + text.size()),
          readable_(std::max(end_, readableEnd)) {}

    // Each returns false, and leaves the position unchanged, when no number of that kind starts
    // at the position (after blanks).
    bool readInt(int& value);
    bool readFloat(float& value);
    // Reads `count` floats as readFloat reads them, one after another; the fields that look as
    // the writers write them (a blank, then printf's "%<width>.<precision>f": the point and the
    // decimals in their places) are read as such, without looking for where they end. False,
    // and the position after the floats read, when one cannot be read.
    bool readFloats(float* out, int count, int width, int precision);
    // The same for `count` integers, those written with " %<width>d" read in their places.
    bool readInts(int* out, int count, int width);

    // The text not read yet.
    std::string_view rest() const { return {p_, static_cast<std::size_t>(end_ - p_)}; }
    bool atEnd() const { return p_ == end_; }

private:
    bool readAnyInt(int& value);

    const char* p_;
    const char* end_;
    const char* readable_;
};

}  // namespace y4
