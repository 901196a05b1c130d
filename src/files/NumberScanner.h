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
