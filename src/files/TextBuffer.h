// TextBuffer: a growable character buffer with the number conversions of the model formats.
// Each append gives exactly the bytes that the printf conversion named beside it gives, so the
// files the editor writes stay byte-identical to the formats, at a fraction of printf's cost.
// A whole line of fields is laid out in one go: room for the longest the line can be is made
// once, the blanks and digits of each field are written into it, and the line takes what it
// used.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace y4 {

class TextBuffer {
public:
    explicit TextBuffer(std::size_t reserve = 0) {
        if (reserve > 0) {
            grow(reserve);
        }
    }

    void append(std::string_view text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        size_ += text.size();
    }
    void append(char c) {
        *room(1) = c;
        ++size_;
    }
    // Every conversion is given at least this much room.
    static constexpr std::size_t kMinimumRoom = 16;

    // printf("%*d", width, value)
    void appendInt(int value, int width = 0) {
        size_ = static_cast<std::size_t>(putInt(room(intBound(width)), value, width) - data_.get());
    }
    // printf("%*.*f", width, precision, (double)value)
    void appendFixed(float value, int width, int precision) {
        size_ = static_cast<std::size_t>(
            putFixed(room(fixedBound(width, precision)), value, width, precision) - data_.get());
    }
    // printf(" %*.*f", width, precision, (double)value) for each value.
    void appendFixedFields(std::initializer_list<float> values, int width, int precision) {
        char* out = room(values.size() * (1 + fixedBound(width, precision)));
        for (float value : values) {
            *out++ = ' ';
            out = putFixed(out, value, width, precision);
        }
        size_ = static_cast<std::size_t>(out - data_.get());
    }
    // printf(" %*d", width, value) for each value.
    void appendIntFields(std::initializer_list<int> values, int width) {
        char* out = room(values.size() * (1 + intBound(width)));
        for (int value : values) {
            *out++ = ' ';
            out = putInt(out, value, width);
        }
        size_ = static_cast<std::size_t>(out - data_.get());
    }
    // printf("%*s", width, text): right-aligned, longer texts whole
    void appendPadded(std::string_view text, int width);

    std::string_view view() const { return {data_.get(), size_}; }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }
    std::string take() {
        std::string text(view());
        size_ = 0;
        return text;
    }

private:
    // Room enough for "%*d" and "%*.*f".
    static std::size_t intBound(int width);
    static std::size_t fixedBound(int width, int precision);
    // Write the conversion at `out` and return its end.
    static char* putInt(char* out, int value, int width);
    static char* putFixed(char* out, float value, int width, int precision);

    // Room for `count` more characters after the text.
    char* room(std::size_t count) {
        if (capacity_ - size_ < count) {
            grow(count);
        }
        return data_.get() + size_;
    }
    void grow(std::size_t needed);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace y4
