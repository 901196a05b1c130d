// TextBuffer: the printf-exact number conversions of the model writers.
//
// A float is m * 2^e with a 24-bit m, so its fixed-point text with up to nine decimals is an
// exact integer computation: round-half-even of m * 10^p * 2^e fits in 64 bits whenever the
// value is below 2^64. That is what glibc's printf prints (it rounds the exact binary value,
// ties to even, and keeps the sign of negative zero and of negatives that round to zero), at a
// small fraction of its cost. Larger values, other precisions and non-finite values go through
// std::to_chars, which is exact as well. Neither path depends on the C locale, so a process
// whose numeric locale writes decimal commas still writes the formats' decimal points.
#include "files/TextBuffer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>

namespace y4 {

namespace {

constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

// The number of decimal digits of `value`, at least one, without a loop.
int digitCount(std::uint64_t value) {
    const int bits = 64 - std::countl_zero(value | 1);
    const int guess = (bits * 1233) >> 12;  // 1233 / 4096 is just above log10(2)
    return guess + ((value | 1) >= kPowersOfTen[guess] ? 1 : 0);
}

// Writes the last `count` digits of `value` (zero-padded) so that they end just before `end`.
// Values that fit 32 bits, which are nearly all of them, take the cheaper 32-bit arithmetic.
template <typename Unsigned>
void putDigitsBackward(char* end, Unsigned value, int count) {
    for (; count >= 2; count -= 2) {
        const Unsigned pair = value % 100;
        value /= 100;
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * pair], 2);
    }
    if (count == 1) {
        end[-1] = static_cast<char>('0' + value % 10);
    }
}

void putDigitsBackward(char* end, std::uint64_t value, int count) {
    if (value <= UINT32_MAX) {
        putDigitsBackward<std::uint32_t>(end, static_cast<std::uint32_t>(value), count);
    } else {
        putDigitsBackward<std::uint64_t>(end, value, count);
    }
}

constexpr std::size_t kBlankRun = TextBuffer::kMinimumRoom;
constexpr std::array<char, kBlankRun> kBlanks = [] {
    std::array<char, kBlankRun> blanks{};
    blanks.fill(' ');
    return blanks;
}();

// The characters a field of `width` takes for a text of `length` (printf's field: right-aligned,
// left-aligned when the width is negative, never cut).
std::size_t fieldSize(std::size_t length, int width) {
    return std::max(length, width < 0 ? static_cast<std::size_t>(-static_cast<long long>(width))
                                      : static_cast<std::size_t>(width));
}

// Lays a field out at `out` for a text of `length` characters: blanks where the text is not,
// and returns where the text goes. The digits are then written straight into the buffer:
// reading them back from a local copy right after writing them in small pieces costs more than
// the writing.
char* putField(char* out, std::size_t length, int width) {
    const std::size_t field = fieldSize(length, width);
    if (field <= kBlankRun) {
        // The fields of the formats are narrow: one store of blanks, the text written over it
        // (the room made for a field always has kBlankRun bytes).
        std::memcpy(out, kBlanks.data(), kBlankRun);
    } else if (width < 0) {
        std::memset(out + length, ' ', field - length);
    } else {
        std::memset(out, ' ', field - length);
    }
    return width < 0 ? out : out + field - length;
}

// The exact path for every value that needs more than 64 bits, every precision outside 0..9
// (printf reads a negative precision as 6) and the non-finite values ("inf", "-nan", ...).
char* putFixedSlow(char* out, float value, int width, int precision) {
    if (precision < 0) {
        precision = 6;
    }
    // The integer part has at most 39 digits; the rest is the fraction.
    char text[48 + 64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::fixed, precision);
    const auto length = static_cast<std::size_t>(result.ptr - text);
    std::memcpy(putField(out, length, width), text, length);
    return out + fieldSize(length, width);
}

}  // namespace

std::size_t TextBuffer::fixedBound(int width, int precision) {
    const std::size_t digits = 48 + static_cast<std::size_t>(std::clamp(precision, 0, 64));
    return std::max(digits, static_cast<std::size_t>(std::abs(width)));
}

std::size_t TextBuffer::intBound(int width) {
    return std::max(kMinimumRoom, 11 + static_cast<std::size_t>(std::abs(width)));
}

char* TextBuffer::putInt(char* out, int value, int width) {
    const std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    const int digits = digitCount(magnitude);
    const std::size_t length = (value < 0 ? 1 : 0) + static_cast<std::size_t>(digits);
    char* const start = putField(out, length, width);
    start[0] = '-';  // overwritten by the first digit when there is no sign
    putDigitsBackward(start + length, magnitude, digits);
    return out + fieldSize(length, width);
}

char* TextBuffer::putFixed(char* out, float value, int width, int precision) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t biasedExponent = (bits >> 23) & 0xFF;
    // Beyond 2^40 * 2^24 the integer part leaves 64 bits; precisions beyond 9 are rare.
    if (precision < 0 || precision > 9 || biasedExponent == 0xFF || biasedExponent > 150 + 40) {
        return putFixedSlow(out, value, width, precision);
    }
    std::uint64_t mantissa = bits & 0x7FFFFF;
    int exponent = -149;
    if (biasedExponent != 0) {
        mantissa |= 0x800000;
        exponent = static_cast<int>(biasedExponent) - 150;
    }

    std::uint64_t integerPart = 0;
    std::uint64_t fraction = 0;  // the decimals as one integer below 10^precision
    if (exponent >= 0) {
        integerPart = mantissa << exponent;
    } else if (exponent > -64) {
        const int shift = -exponent;
        const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
        integerPart = mantissa >> shift;
        // Below 2^24 * 10^9 < 2^54: no overflow.
        const std::uint64_t scaled = (mantissa & mask) * kPowersOfTen[precision];
        fraction = scaled >> shift;
        const std::uint64_t rest = scaled & mask;
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        // Round half to even; the parity that decides a tie is that of the last printed digit.
        // Without branches: whether a value rounds up is as good as random.
        if (precision == 0) {
            integerPart += (rest > half) | ((rest == half) & (integerPart & 1));
        } else {
            fraction += (rest > half) | ((rest == half) & (fraction & 1));
            const std::uint64_t carry = fraction == kPowersOfTen[precision];
            integerPart += carry;
            fraction = carry != 0 ? 0 : fraction;
        }
    }
    // else: below 2^-40, so under half of the last decimal: all zeros.

    // printf keeps the sign of negative zero and of negatives that round to zero.
    const std::size_t negative = bits >> 31;
    const int integerDigits = digitCount(integerPart);
    const std::size_t decimals = precision > 0 ? static_cast<std::size_t>(precision) + 1 : 0;
    const std::size_t length = negative + static_cast<std::size_t>(integerDigits) + decimals;
    char* const start = putField(out, length, width);
    start[0] = '-';  // overwritten by the first digit when there is no sign
    char* const point = start + negative + integerDigits;
    putDigitsBackward(point, integerPart, integerDigits);
    if (precision > 0) {
        point[0] = '.';
        putDigitsBackward(point + decimals, fraction, precision);
    }
    return out + fieldSize(length, width);
}

void TextBuffer::appendPadded(std::string_view text, int width) {
    // The text may lie inside the buffer, which moves when it grows.
    const char* const source = text.data();
    if (std::less_equal<>{}(data_.get(), source) && std::less<>{}(source, data_.get() + size_)) {
        const std::string copy(text);
        appendPadded(copy, width);
        return;
    }
    char* const out = room(std::max(fieldSize(text.size(), width), kMinimumRoom));
    char* const start = putField(out, text.size(), width);
    if (!text.empty()) {
        std::memcpy(start, source, text.size());
    }
    size_ += fieldSize(text.size(), width);
}

void TextBuffer::grow(std::size_t needed) {
    const std::size_t capacity = std::max({size_ + needed, 2 * capacity_, std::size_t{256}});
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ > 0) {
        std::memcpy(data.get(), data_.get(), size_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

}  // namespace y4
