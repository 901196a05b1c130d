// TextBuffer's conversions against the printf conversions they stand in for, byte for byte.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "files/TextBuffer.h"

namespace y4 {
namespace {

std::string printfFixed(float value, int width, int precision) {
    char text[512];
    std::snprintf(text, sizeof text, "%*.*f", width, precision, static_cast<double>(value));
    return text;
}

std::string fixed(float value, int width, int precision) {
    TextBuffer buffer;
    buffer.appendFixed(value, width, precision);
    return std::string(buffer.view());
}

// Counts the values whose text differs from printf's in the format given, reporting the first few.
int mismatches(const std::vector<float>& values, int width, int precision) {
    int failures = 0;
    for (const float value : values) {
        if (fixed(value, width, precision) != printfFixed(value, width, precision) &&
            failures++ < 5) {
            ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value)
                          << std::dec << " %" << width << "." << precision << "f gave \""
                          << fixed(value, width, precision) << "\", printf \""
                          << printfFixed(value, width, precision) << "\"";
        }
    }
    return failures;
}

TEST(TextBuffer, FixedEdgeValuesMatchPrintf) {
    // Every precision the conversion takes, widths around the text's length, and the
    // left-aligned field of a negative width: signs that printf keeps, ties that it rounds to
    // even, carries into the integer part, and numbers wider than the field.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> edges = {
        // Zeros, halves, ties and near-ties at four and six decimals, carries.
        0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 1.5f, 2.5f, 0.0078125f, -0.0078125f, 0.0234375f, 0.00005f,
        -0.00005f, -0.00001f, 9.99999f, 0.00015f, 0.0000005f, -0.0000005f, 0.0000015f, 1e-7f,
        -1e-7f, 9.9999995f, 0.99999994f,
        // Wide numbers, around 2^24, 2^32, 2^63, 2^64 and beyond.
        99999.99f, 999999.94f, 123456.789f, -123.456789f, 16777216.0f, 16777215.0f, 4294967296.0f,
        1099511627776.0f, 1.8446744e19f, 9.223372e18f, 1.9342813e25f, 1e30f, -1e30f,
        // The largest, the smallest normal and denormal, and the non-finite values.
        FLT_MAX, -FLT_MAX, FLT_MIN, -FLT_MIN, FLT_TRUE_MIN, -FLT_TRUE_MIN,
        std::nextafter(FLT_MIN, 0.0f), inf, -inf, nan, -nan};
    for (int precision = -1; precision <= 12; ++precision) {
        for (const int width : {0, 1, 8, 12, 20, -12}) {
            EXPECT_EQ(mismatches(edges, width, precision), 0);
        }
    }
}

TEST(TextBuffer, FixedSweepMatchesPrintf) {
    // A million floats: every finite bit pattern alike (all exponents, denormals, both signs),
    // model coordinates, small magnitudes, and multiples of 2^-7 .. 2^-20, which include the
    // exact ties of four and six decimals.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::uint32_t> anyBits;
    std::uniform_real_distribution<float> coordinate(-10000.0f, 10000.0f);
    std::uniform_real_distribution<float> small(-0.01f, 0.01f);
    std::uniform_int_distribution<int> ticks(-2'000'000, 2'000'000);
    std::vector<float> values;
    values.reserve(1'000'000);
    for (int i = 0; values.size() < 1'000'000; ++i) {
        const int kind = i % 10;
        const float value = kind < 4   ? std::bit_cast<float>(anyBits(random))
                            : kind < 8 ? coordinate(random)
                            : kind == 8
                                ? small(random)
                                : std::ldexp(static_cast<float>(ticks(random)), -7 - i / 10 % 14);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    EXPECT_EQ(mismatches(values, 12, 6), 0);
    EXPECT_EQ(mismatches(values, 8, 4), 0);
    // The other precisions on a sample of the same values.
    for (int precision = 0; precision <= 9; ++precision) {
        const std::vector<float> sample(values.begin() + precision * 90'000,
                                        values.begin() + precision * 90'000 + 10'000);
        EXPECT_EQ(mismatches(sample, 10, precision), 0);
    }
}

TEST(TextBuffer, IntegersAndPaddedTextMatchPrintf) {
    std::vector<int> values = {0,      1,       -1,       7,       -7,      99,    100,
                               -100,   999,     1000,     -1000,   255,     12345, -5141,
                               123456, 1234567, -1234567, INT_MAX, INT_MIN, 65535, -65536};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> smallInt(-20000, 20000);
    for (int i = 0; i < 40000; ++i) {
        values.push_back(i % 2 ? anyInt(random) : smallInt(random));
    }
    char expected[64];
    for (const int value : values) {
        for (const int width : {0, 3, 4, 6, 12, -6}) {
            TextBuffer buffer;
            buffer.appendInt(value, width);
            std::snprintf(expected, sizeof expected, "%*d", width, value);
            ASSERT_EQ(buffer.view(), expected) << value << " width " << width;
        }
    }

    // "%*s": right-aligned, longer texts whole, left-aligned for a negative width.
    TextBuffer buffer;
    buffer.appendPadded("Wheel Left", 32);
    buffer.appendPadded(std::string(40, 'n'), 32);
    buffer.appendPadded("", 3);
    buffer.appendPadded("ab", 0);
    buffer.appendPadded("ab", -4);
    buffer.append('|');
    EXPECT_EQ(buffer.take(),
              std::string(22, ' ') + "Wheel Left" + std::string(40, 'n') + "   abab  |");
}

}  // namespace
}  // namespace y4
