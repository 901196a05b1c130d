// TextBuffer: a growable character buffer with the number conversions of the model formats.
// Each append gives exactly the bytes that the printf conversion named beside it gives, so the
// files the editor writes stay byte-identical to the formats, at a fraction of printf's cost.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace y4 {

class TextBuffer {
public:
    explicit TextBuffer(std::size_t reserve = 0) { text_.reserve(reserve); }

    void append(std::string_view text) { text_.append(text); }
    void append(char c) { text_.push_back(c); }
    // printf("%*d", width, value)
    void appendInt(int value, int width = 0);
    // printf("%*.*f", width, precision, (double)value), for precision 0..9
    void appendFixed(float value, int width, int precision);
    // printf("%*s", width, text): right-aligned, longer texts whole
    void appendPadded(std::string_view text, int width);

    std::string_view view() const { return text_; }
    std::size_t size() const { return text_.size(); }
    void clear() { text_.clear(); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace y4
