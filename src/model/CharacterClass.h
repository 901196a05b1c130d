// The character classes the number readers share, as the C locale defines them.
#pragma once

namespace y4 {

// The blanks of isspace: space, tab, line feed, vertical tab, form feed, carriage return.
inline bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

inline bool isHexDigit(char c) {
    return isDigit(c) || static_cast<unsigned char>((c | 0x20) - 'a') < 6;
}

}  // namespace y4
