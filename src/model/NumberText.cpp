// The edit-box text checks, the stream-style float text and the atof/atoi readings. The
// conversions use std::to_chars and std::from_chars rather than the C library, whose decimal
// point follows the process locale: the settings and the edit boxes always use a point.
#include "model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

#include "CharacterClass.h"

namespace y4 {

namespace {

// What atof and atoi look at: the text after the leading blanks and one sign.
std::string_view afterBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return text.substr(i);
}

// For a number that std::from_chars found out of range: true when it is too large (atof gives
// an infinity), false when it is too small (atof gives zero). `digit` tells the digits of the
// number's base, `unitsPerDigit` how much the exponent grows per digit (1 for decimal, 4 for the
// binary exponent of a hexadecimal number) and `exponentMark` the letter of the exponent.
template <typename DigitTest>
bool isTooLarge(std::string_view number, DigitTest digit, std::int64_t unitsPerDigit,
                char exponentMark) {
    std::size_t i = 0;
    std::int64_t integerDigits = 0;
    bool nonZeroSeen = false;
    for (; i < number.size() && digit(number[i]); ++i) {
        nonZeroSeen = nonZeroSeen || number[i] != '0';
        integerDigits += nonZeroSeen ? 1 : 0;
    }
    std::int64_t fractionZeros = 0;
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && digit(number[i]); ++i) {
            nonZeroSeen = nonZeroSeen || number[i] != '0';
            fractionZeros += nonZeroSeen ? 0 : 1;
        }
    }
    std::int64_t exponent = 0;
    if (i < number.size() && (number[i] | 0x20) == exponentMark) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) {
            ++i;
        }
        for (; i < number.size() && isDigit(number[i]); ++i) {
            exponent = std::min<std::int64_t>(exponent * 10 + (number[i] - '0'), 1'000'000'000);
        }
        exponent = negative ? -exponent : exponent;
    }
    const std::int64_t leadingPower = integerDigits > 0 ? integerDigits * unitsPerDigit + exponent
                                                        : exponent - fractionZeros * unitsPerDigit;
    return leadingPower > 0;
}

}  // namespace

bool isFloatText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return isDigit(c) || c == '.' || c == '-' || c == 'e' || c == 'E';
    });
}

bool isIntText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

std::string formatFloatText(float value) {
    // An output stream inserts a float as the double "%g" with its precision of 6.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::general, 6);
    return std::string(text, result.ptr);
}

std::string formatFixedText(double value, int decimals) {
    // Room for the 309 integer digits of the largest double, a sign, a point and the decimals.
    char text[320 + 32];
    decimals = std::clamp(decimals, 0, 32);
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

double parseLeadingFloat(std::string_view text) {
    bool negative = false;
    const std::string_view rest = afterBlanksAndSign(text, negative);
    // std::from_chars would take a second minus sign; atof takes only one sign.
    if (rest.empty() || rest.front() == '-') {
        return 0.0;
    }
    double value = 0.0;
    std::from_chars_result result{};
    bool tooLarge = false;
    const bool hex =
        rest.size() >= 3 && rest[0] == '0' && (rest[1] | 0x20) == 'x' &&
        (isHexDigit(rest[2]) || (rest.size() >= 4 && rest[2] == '.' && isHexDigit(rest[3])));
    if (hex) {
        const std::string_view digits = rest.substr(2);
        result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                 std::chars_format::hex);
        tooLarge =
            result.ec == std::errc::result_out_of_range &&
            isTooLarge(digits.substr(0, static_cast<std::size_t>(result.ptr - digits.data())),
                       isHexDigit, 4, 'p');
    } else {
        result = std::from_chars(rest.data(), rest.data() + rest.size(), value,
                                 std::chars_format::general);
        tooLarge = result.ec == std::errc::result_out_of_range &&
                   isTooLarge(rest.substr(0, static_cast<std::size_t>(result.ptr - rest.data())),
                              isDigit, 1, 'e');
    }
    if (result.ec == std::errc::result_out_of_range) {
        value = tooLarge ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc{}) {
        value = 0.0;
    }
    return negative ? -value : value;
}

int parseLeadingInt(std::string_view text) {
    bool negative = false;
    const std::string_view digits = afterBlanksAndSign(text, negative);
    const std::int64_t limit = negative ? -std::int64_t{INT_MIN} : INT_MAX;
    std::int64_t magnitude = 0;
    for (std::size_t i = 0; i < digits.size() && isDigit(digits[i]); ++i) {
        magnitude = std::min(magnitude * 10 + (digits[i] - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace y4
