// NumberScanner: the "%d" and "%f" readers of the model parsers.
//
// Floats take one of three ways, each giving exactly what strtof gives. The plain decimals that
// the writers produce are taken apart eight bytes at a time. Other numbers have their syntax
// checked byte by byte, so the end of the number is known before it is converted; one of at most
// 19 significant digits and a small power of ten is then converted with one correctly rounded
// double operation. Narrowing that double to float rounds correctly unless the double lies exactly
// half-way between two floats; only then, and for long or far-out numbers, does std::from_chars
// do the work. None of the ways depends on the C locale.
#include "files/NumberScanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "model/CharacterClass.h"

namespace y4 {

namespace {

const char* skipBlanks(const char* p, const char* end) {
    while (p != end && isBlank(*p)) {
        ++p;
    }
    return p;
}

// 10^0 .. 10^22 are exact doubles, so dividing or multiplying an exact mantissa by one of them is
// a single correctly rounded operation.
constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr int kMaxFastDigits = 19;
constexpr std::uint64_t kMaxExactMantissa = std::uint64_t{1} << 53;
// Exponents beyond this are clamped while reading; no float needs more.
constexpr std::int64_t kExponentClamp = 1'000'000;

// True when the double lies exactly half-way between two neighbouring normal floats: its 29 bits
// below float precision are a one followed by zeros.
bool isFloatMidpoint(double value) {
    return (std::bit_cast<std::uint64_t>(value) & 0x1FFFFFFF) == 0x10000000;
}

// Eight bytes of the text, the first in the lowest byte.
std::uint64_t load8(const char* p) {
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, p, sizeof bytes);
    return bytes;
}

constexpr std::uint64_t kEachByte = 0x0101010101010101;

// The high bit of each byte that is not a blank (" ").
std::uint64_t nonBlankBytes(std::uint64_t bytes) {
    const std::uint64_t x = bytes ^ (kEachByte * ' ');
    return (((x & (kEachByte * 0x7F)) + kEachByte * 0x7F) | x) & (kEachByte * 0x80);
}

// The high bit of each byte that is not a digit: a byte is a digit when, less '0', it is below
// 10. Adding 0x76 to the low seven bits carries into the high bit from 10 on, and never into the
// next byte.
std::uint64_t nonDigitBytes(std::uint64_t bytes) {
    const std::uint64_t x = bytes ^ (kEachByte * '0');
    return (((x & (kEachByte * 0x7F)) + kEachByte * 0x76) | x) & (kEachByte * 0x80);
}

// The value of the first `count` (0..7) bytes as decimal digits: shifted to the top, they are
// the last digits of an eight-digit number whose first digits are zeros.
std::uint64_t leadingDigitsValue(std::uint64_t bytes, int count) {
    const int halfShift = 32 - 4 * count;  // two shifts, as one of 64 bits is undefined
    std::uint64_t digits = ((bytes - kEachByte * '0') << halfShift) << halfShift;
    digits = digits * 10 + (digits >> 8);  // pairs of digits in every other byte
    digits = (((digits & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
              (((digits >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
             32;
    return digits & 0xFFFFFFFF;
}

constexpr std::array<std::uint64_t, 8> kIntegerPowersOfTen = {1,     10,     100,     1000,
                                                              10000, 100000, 1000000, 10000000};

// Reads a float of any length and form the syntax allows; returns the end of the number, or
// null when none starts at `p` or it is no finite float. Kept out of line so that the fast path
// of readFloat stays small.
[[gnu::noinline]] const char* readAnyFloat(const char* p, const char* const end, float& value) {
    p = skipBlanks(p, end);
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const start = p;
    // A hexadecimal float ("0x1p3") is not a number of the formats; refuse it whole rather than
    // read its leading zero.
    if (end - p >= 3 && p[0] == '0' && (p[1] | 0x20) == 'x' &&
        (isHexDigit(p[2]) || (p[2] == '.' && end - p >= 4 && isHexDigit(p[3])))) {
        return nullptr;
    }

    std::uint64_t mantissa = 0;
    std::int64_t significantDigits = 0;  // digits from the first non-zero one on
    std::int64_t integerDigits = 0;      // of those, the ones before the point
    std::int64_t fractionDigits = 0;     // all digits after the point
    std::int64_t fractionZeros = 0;      // zeros after the point before the first non-zero digit
    bool anyDigit = false;
    for (; p != end && isDigit(*p); ++p) {
        anyDigit = true;
        const unsigned digit = static_cast<unsigned>(*p - '0');
        if (significantDigits == 0 && digit == 0) {
            continue;
        }
        if (significantDigits < kMaxFastDigits) {
            mantissa = mantissa * 10 + digit;
        }
        ++significantDigits;
        ++integerDigits;
    }
    if (p != end && *p == '.') {
        ++p;
        for (; p != end && isDigit(*p); ++p) {
            anyDigit = true;
            ++fractionDigits;
            const unsigned digit = static_cast<unsigned>(*p - '0');
            if (significantDigits == 0 && digit == 0) {
                ++fractionZeros;
                continue;
            }
            if (significantDigits < kMaxFastDigits) {
                mantissa = mantissa * 10 + digit;
            }
            ++significantDigits;
        }
    }
    if (!anyDigit) {
        return nullptr;
    }
    // An "e" belongs to the number only when digits follow it.
    std::int64_t exponent = 0;
    if (p != end && (*p | 0x20) == 'e') {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q != end && (*q == '+' || *q == '-')) {
            negativeExponent = *q == '-';
            ++q;
        }
        if (q != end && isDigit(*q)) {
            for (; q != end && isDigit(*q); ++q) {
                exponent = std::min(exponent * 10 + (*q - '0'), kExponentClamp);
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
            p = q;
        }
    }

    float result = 0.0f;
    const std::int64_t powerOfTen = exponent - fractionDigits;
    bool converted = false;
    if (significantDigits == 0) {
        converted = true;
    } else if (significantDigits <= kMaxFastDigits && mantissa <= kMaxExactMantissa &&
               powerOfTen >= -22 && powerOfTen <= 22) {
        const double exact = static_cast<double>(mantissa);
        const double rounded =
            powerOfTen < 0 ? exact / kPowersOfTen[-powerOfTen] : exact * kPowersOfTen[powerOfTen];
        if (!isFloatMidpoint(rounded)) {
            result = static_cast<float>(rounded);
            if (!std::isfinite(result)) {
                return nullptr;
            }
            converted = true;
        }
    }
    if (!converted) {
        const auto [stop, error] = std::from_chars(start, p, result, std::chars_format::general);
        if (stop != p) {
            return nullptr;
        }
        if (error == std::errc::result_out_of_range) {
            // Out of range is either beyond the largest float, which is refused, or below half
            // the smallest one, which strtof reads as zero.
            const std::int64_t leadingPower =
                integerDigits > 0 ? integerDigits + exponent : exponent - fractionZeros;
            if (leadingPower > 0) {
                return nullptr;
            }
            result = 0.0f;
        } else if (error != std::errc{} || !std::isfinite(result)) {
            return nullptr;
        }
    }
    value = negative ? -result : result;
    return p;
}

// The plain decimals the writers produce ("   -123.456789": blanks, a sign, at most seven digits
// on either side of the point, no exponent) are read eight bytes at a time. `p` must have
// kWindow readable bytes. Returns the end of the number, or null to leave the text to readAnyFloat.
constexpr std::ptrdiff_t kWindow = 24;

// Where the digits of a number written by the formats start, past its blanks and its sign, read
// eight bytes at a time; null when eight blanks leave that open. The bytes that decide where the
// next part starts are taken from the words already loaded rather than loaded again: each load
// on that path delays all that follows.
[[gnu::always_inline]] inline const char* digitsStart(const char* p, bool& negative) {
    const std::uint64_t head = load8(p);
    const int blanks = std::countr_zero(nonBlankBytes(head)) / 8;
    if (blanks == 8) {
        return nullptr;
    }
    const auto first = static_cast<char>(head >> (8 * blanks));
    negative = first == '-';
    return p + blanks + (negative || first == '+' ? 1 : 0);
}

[[gnu::always_inline]] inline const char* readPlainDecimal(const char* p, float& value) {
    bool negative = false;
    const char* const digits = digitsStart(p, negative);
    if (digits == nullptr) {
        return nullptr;
    }
    const std::uint64_t integerBytes = load8(digits);
    const int integerDigits = std::countr_zero(nonDigitBytes(integerBytes)) / 8;
    if (integerDigits == 8) {
        return nullptr;
    }
    const auto afterInteger = static_cast<char>(integerBytes >> (8 * integerDigits));
    const bool point = afterInteger == '.';
    const std::uint64_t fractionBytes = load8(digits + integerDigits + 1);
    const int fractionDigits = point ? std::countr_zero(nonDigitBytes(fractionBytes)) / 8 : 0;
    if (fractionDigits == 8) {
        return nullptr;
    }
    // No digit, an exponent, or the "x" of a hexadecimal float: the general reader decides.
    const char next =
        static_cast<char>((point ? fractionBytes >> (8 * fractionDigits) : afterInteger) | 0x20);
    if (integerDigits + fractionDigits == 0 || next == 'e' || next == 'x') {
        return nullptr;
    }
    // At most fourteen digits: exact in a double, and one division rounds correctly.
    const std::uint64_t mantissa =
        leadingDigitsValue(integerBytes, integerDigits) * kIntegerPowersOfTen[fractionDigits] +
        leadingDigitsValue(fractionBytes, fractionDigits);
    const double rounded = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    if (isFloatMidpoint(rounded)) {
        return nullptr;
    }
    // The sign goes on without a branch: it is as good as random in a model file.
    const auto magnitude = std::bit_cast<std::uint32_t>(static_cast<float>(rounded));
    value = std::bit_cast<float>(magnitude | static_cast<std::uint32_t>(negative) << 31);
    return digits + integerDigits + (point ? 1 : 0) + fractionDigits;
}

// readFloat's way for what readPlainDecimal cannot take whole: near the end of the text the
// plain decimal is read from a zero-padded copy (a zero byte ends a number just as the end of
// the text does), and anything else goes to readAnyFloat. Out of line, so that the plain way stays
// small.
[[gnu::noinline]] const char* readFloatNearEnd(const char* p, const char* end, float& value) {
    if constexpr (std::endian::native == std::endian::little) {
        const std::ptrdiff_t available = end - p;
        if (available < kWindow) {
            char window[kWindow] = {};
            if (available > 0) {
                std::memcpy(window, p, static_cast<std::size_t>(available));
            }
            if (const char* stop = readPlainDecimal(window, value)) {
                return p + (stop - window);
            }
        }
    }
    return readAnyFloat(p, end, value);
}

// The short integers the writers produce ("  123", "-5141": blanks, a sign, at most seven
// digits) are read eight bytes at a time, as readPlainDecimal reads decimals. `p` must have
// kWindow readable bytes. Returns the end of the number, or null to leave the text to the
// general reader.
[[gnu::always_inline]] inline const char* readShortInt(const char* p, int& value) {
    bool negative = false;
    const char* const digits = digitsStart(p, negative);
    if (digits == nullptr) {
        return nullptr;
    }
    const std::uint64_t bytes = load8(digits);
    const int count = std::countr_zero(nonDigitBytes(bytes)) / 8;
    if (count == 0 || count == 8) {
        return nullptr;
    }
    const auto magnitude = static_cast<int>(leadingDigitsValue(bytes, count));
    value = negative ? -magnitude : magnitude;
    return digits + count;
}

// A field written with " %<width>.<precision>f" at `p` (the blank first), read where its parts
// must be: blanks, a sign, the integer digits, the point, exactly `precision` decimals, then the
// end of the field. `p` must have width + 9 readable bytes and `end` must be where the text
// ends. Returns the end of the field, or null to leave it to readFloat.
[[gnu::always_inline]] inline const char* readWrittenField(const char* p, const char* end,
                                                           int width, int precision, float& value) {
    const char* const field = p + 1;
    const int integerWidth = width - precision - 1;
    const char* const point = field + integerWidth;
    const char* const stop = field + width;
    // The end of the field ends the number: the text ends there, or a blank follows.
    if (p[0] != ' ' || *point != '.' || stop > end || (stop < end && *stop != ' ')) {
        return nullptr;
    }
    const std::uint64_t fractionMask = (std::uint64_t{1} << (8 * precision)) - 1;
    const std::uint64_t fractionBytes = load8(point + 1);
    if (nonDigitBytes(fractionBytes) & fractionMask & (kEachByte * 0x80)) {
        return nullptr;
    }
    // The integer part: blanks, a sign, at least one digit, right up to the point.
    const std::uint64_t integerMask = (std::uint64_t{1} << (8 * integerWidth)) - 1;
    const std::uint64_t integerBytes = load8(field) & integerMask;
    const int blanks = std::countr_zero(nonBlankBytes(integerBytes | ~integerMask)) / 8;
    if (blanks >= integerWidth) {
        return nullptr;
    }
    const auto first = static_cast<char>(integerBytes >> (8 * blanks));
    const bool negative = first == '-';
    const int digitsFrom = blanks + (negative || first == '+' ? 1 : 0);
    const int integerDigits = integerWidth - digitsFrom;
    const std::uint64_t digits = integerBytes >> (8 * digitsFrom);
    const std::uint64_t digitsMask = (std::uint64_t{1} << (8 * integerDigits)) - 1;
    if (integerDigits == 0 || (nonDigitBytes(digits) & digitsMask & (kEachByte * 0x80))) {
        return nullptr;
    }
    const std::uint64_t mantissa =
        leadingDigitsValue(digits, integerDigits) * kIntegerPowersOfTen[precision] +
        leadingDigitsValue(fractionBytes, precision);
    const double rounded = static_cast<double>(mantissa) / kPowersOfTen[precision];
    if (isFloatMidpoint(rounded)) {
        return nullptr;
    }
    const auto magnitude = std::bit_cast<std::uint32_t>(static_cast<float>(rounded));
    value = std::bit_cast<float>(magnitude | static_cast<std::uint32_t>(negative) << 31);
    return stop;
}

// A field written with " %<width>d" at `p` (the blank first), read where its parts must be:
// blanks, a sign, digits right up to the end of the field, which ends the number. `p` must have
// 9 readable bytes and `end` must be where the text ends. Returns the end of the field, or null
// to leave it to readInt.
[[gnu::always_inline]] inline const char* readWrittenInt(const char* p, const char* end, int width,
                                                         int& value) {
    const char* const stop = p + 1 + width;
    if (p[0] != ' ' || stop > end || (stop < end && *stop != ' ')) {
        return nullptr;
    }
    const std::uint64_t mask = (std::uint64_t{1} << (8 * width)) - 1;
    const std::uint64_t bytes = load8(p + 1) & mask;
    const int blanks = std::countr_zero(nonBlankBytes(bytes | ~mask)) / 8;
    if (blanks >= width) {
        return nullptr;
    }
    const auto first = static_cast<char>(bytes >> (8 * blanks));
    const bool negative = first == '-';
    const int digitsFrom = blanks + (negative || first == '+' ? 1 : 0);
    const int count = width - digitsFrom;
    const std::uint64_t digits = bytes >> (8 * digitsFrom);
    const std::uint64_t digitsMask = (std::uint64_t{1} << (8 * count)) - 1;
    if (count == 0 || (nonDigitBytes(digits) & digitsMask & (kEachByte * 0x80))) {
        return nullptr;
    }
    const auto magnitude = static_cast<int>(leadingDigitsValue(digits, count));
    value = negative ? -magnitude : magnitude;
    return stop;
}

}  // namespace

bool NumberScanner::readInts(int* out, int count, int width) {
    int k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (width >= 1 && width <= 7 && k < count && readable_ - p_ >= 9) {
            const char* const next = readWrittenInt(p_, end_, width, out[k]);
            if (next == nullptr) {
                break;
            }
            p_ = next;
            ++k;
        }
    }
    for (; k < count; ++k) {
        if (!readInt(out[k])) {
            return false;
        }
    }
    return true;
}

bool NumberScanner::readFloats(float* out, int count, int width, int precision) {
    int k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Fields of at most seven integer characters and seven decimals: the shapes the
        // writers use.
        const bool shaped = width - precision - 1 >= 1 && width - precision - 1 <= 7 &&
                            precision >= 1 && precision <= 7;
        while (shaped && k < count && readable_ - p_ >= width + 9) {
            const char* const next = readWrittenField(p_, end_, width, precision, out[k]);
            if (next == nullptr) {
                break;
            }
            p_ = next;
            ++k;
        }
    }
    for (; k < count; ++k) {
        if (!readFloat(out[k])) {
            return false;
        }
    }
    return true;
}

bool NumberScanner::readInt(int& value) {
    if constexpr (std::endian::native == std::endian::little) {
        if (readable_ - p_ >= kWindow) {
            if (const char* next = readShortInt(p_, value)) {
                // A number that goes on past the text is the general reader's to refuse.
                if (next <= end_) {
                    p_ = next;
                    return true;
                }
            }
        }
    }
    return readAnyInt(value);
}

bool NumberScanner::readAnyInt(int& value) {
    const char* p = skipBlanks(p_, end_);
    bool negative = false;
    if (p != end_ && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end_ || !isDigit(*p)) {
        return false;
    }
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t magnitude = 0;
    bool tooLarge = false;
    for (; p != end_ && isDigit(*p); ++p) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
        if (magnitude > limit) {
            tooLarge = true;
            magnitude = limit;  // keeps the product in range; the digits are still consumed
        }
    }
    if (tooLarge) {
        return false;
    }
    value = negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                     : static_cast<int>(magnitude);
    p_ = p;
    return true;
}

bool NumberScanner::readFloat(float& value) {
    if constexpr (std::endian::native == std::endian::little) {
        if (readable_ - p_ >= kWindow) {
            if (const char* next = readPlainDecimal(p_, value)) {
                p_ = next;
                return true;
            }
        }
    }
    const char* const next = readFloatNearEnd(p_, end_, value);
    if (next == nullptr) {
        return false;
    }
    p_ = next;
    return true;
}

}  // namespace y4
