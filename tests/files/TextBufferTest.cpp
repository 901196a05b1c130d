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

std::string printfInt(int value, int width) {
    char text[64];
    std::snprintf(text, sizeof text, "%*d", width, value);
    return text;
}

std::string fixed(float value, int width, int precision) {
    TextBuffer buffer;
    buffer.appendFixed(value, width, precision);
    return std::string(buffer.view());
}

// Compares every value in the two formats of the model files; stops at the first few mismatches.
void expectLikePrintf(const std::vector<float>& values, const char* what) {
    TextBuffer buffer(64);
    int failures = 0;
    for (const float value : values) {
        for (const auto& [width, precision] : {std::pair{12, 6}, std::pair{8, 4}}) {
            buffer.clear();
            buffer.appendFixed(value, width, precision);
            const std::string expected = printfFixed(value, width, precision);
            if (buffer.view() != expected && failures++ < 5) {
                ADD_FAILURE() << what << ": bits 0x" << std::hex
                              << std::bit_cast<std::uint32_t>(value) << std::dec << " %" << width
                              << "." << precision << "f gave \"" << buffer.view() << "\", printf \""
                              << expected << "\"";
            }
        }
    }
    EXPECT_EQ(failures, 0) << what;
}

TEST(TextBuffer, FixedEdgeValuesMatchPrintf) {
    // Signs that printf keeps, ties that it rounds to even, carries into the integer part,
    // denormals, values beyond the field and beyond 64 bits, and the non-finite values.
    EXPECT_EQ(fixed(-0.0f, 12, 6), "   -0.000000");
    EXPECT_EQ(fixed(0.0f, 8, 4), "  0.0000");
    EXPECT_EQ(fixed(-0.00001f, 8, 4), " -0.0000");
    EXPECT_EQ(fixed(0.0078125f, 12, 6), "    0.007812");
    EXPECT_EQ(fixed(0.0234375f, 12, 6), "    0.023438");
    EXPECT_EQ(fixed(0.5f, 0, 0), "0");
    EXPECT_EQ(fixed(1.5f, 0, 0), "2");
    EXPECT_EQ(fixed(2.5f, 0, 0), "2");
    EXPECT_EQ(fixed(9.99999f, 8, 4), " 10.0000");
    EXPECT_EQ(fixed(1e30f, 12, 6), "1000000015047466219876688855040.000000");
    EXPECT_EQ(fixed(-1.0f, 12, 6), "   -1.000000");

    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float belowNormal = std::nextafter(FLT_MIN, 0.0f);
    const std::vector<float> edges = {
        0.0f,          -0.0f,        1.0f,          -1.0f,         0.5f,
        0.0078125f,    -0.0078125f,  0.00005f,      -0.00005f,     0.00015f,
        0.0000005f,    -0.0000005f,  0.0000015f,    1e-7f,         -1e-7f,
        9.9999995f,    0.99999994f,  99999.99f,     999999.94f,    123456.789f,
        -123.456789f,  16777216.0f,  16777215.0f,   4294967296.0f, 1099511627776.0f,
        1.8446744e19f, 9.223372e18f, 1.9342813e25f, 1e30f,         -1e30f,
        FLT_MAX,       -FLT_MAX,     FLT_MIN,       -FLT_MIN,      FLT_TRUE_MIN,
        -FLT_TRUE_MIN, belowNormal,  inf,           -inf,          nan,
        -nan};
    expectLikePrintf(edges, "edge values");

    // Every precision the conversion takes, with the widths around the text's length, the
    // left-aligned field of a negative width, and precisions printf takes but the formats do not.
    for (const float value : edges) {
        for (int precision = -1; precision <= 12; ++precision) {
            for (const int width : {0, 1, 8, 12, 20, -12}) {
                EXPECT_EQ(fixed(value, width, precision), printfFixed(value, width, precision))
                    << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value) << std::dec
                    << " width " << width << " precision " << precision;
            }
        }
    }
}

TEST(TextBuffer, FixedSweepMatchesPrintf) {
    std::mt19937 random(20240611);
    std::vector<float> values;
    values.reserve(1'000'000);
    // Every finite float is equally likely by bit pattern: all exponents, denormals, both signs.
    std::uniform_int_distribution<std::uint32_t> anyBits;
    while (values.size() < 400'000) {
        const float value = std::bit_cast<float>(anyBits(random));
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    // The model coordinates: most numbers of a real file.
    std::uniform_real_distribution<float> coordinate(-10000.0f, 10000.0f);
    for (int i = 0; i < 400'000; ++i) {
        values.push_back(coordinate(random));
    }
    // Small magnitudes, where rounding and ties at the last decimal decide the text.
    std::uniform_real_distribution<float> small(-0.01f, 0.01f);
    std::uniform_int_distribution<int> ticks(-2'000'000, 2'000'000);
    for (int i = 0; i < 100'000; ++i) {
        values.push_back(small(random));
        // Multiples of 2^-7 .. 2^-20 include the exact ties of four and six decimals.
        values.push_back(std::ldexp(static_cast<float>(ticks(random)), -7 - i % 14));
    }
    expectLikePrintf(values, "sweep");

    // The other precisions on a sample of the same values.
    for (int precision = 0; precision <= 9; ++precision) {
        for (std::size_t i = static_cast<std::size_t>(precision); i < values.size(); i += 97) {
            ASSERT_EQ(fixed(values[i], 10, precision), printfFixed(values[i], 10, precision))
                << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(values[i]);
        }
    }
}

TEST(TextBuffer, IntegersAndPaddedTextMatchPrintf) {
    std::vector<int> values = {0,       1,        -1,      7,       -7,    99,    100,
                               -100,    999,      1000,    -1000,   12345, -5141, 123456,
                               1234567, -1234567, INT_MAX, INT_MIN, 255,   65535, -65536};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> smallInt(-20000, 20000);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(anyInt(random));
        values.push_back(smallInt(random));
    }
    for (const int value : values) {
        for (const int width : {0, 3, 4, 6, 12, -6}) {
            TextBuffer buffer;
            buffer.appendInt(value, width);
            ASSERT_EQ(buffer.view(), printfInt(value, width)) << value << " width " << width;
        }
    }

    TextBuffer buffer;
    buffer.appendPadded("Wheel Left", 32);
    EXPECT_EQ(buffer.view(), std::string(22, ' ') + "Wheel Left");
    buffer.clear();
    const std::string longName(40, 'n');
    buffer.appendPadded(longName, 32);
    EXPECT_EQ(buffer.view(), longName);
    buffer.clear();
    buffer.appendPadded("", 3);
    buffer.appendPadded("ab", 0);
    buffer.appendPadded("ab", -4);
    buffer.append('|');
    EXPECT_EQ(buffer.view(), "   abab  |");
}

TEST(TextBuffer, AppendsBuildOneLine) {
    // A vertex line as the writers build it, growing the buffer from nothing.
    TextBuffer buffer;
    buffer.append("Vertex[");
    buffer.appendInt(3, 3);
    buffer.append("]:");
    for (const float value : {-1.5f, 2.0f, 0.25f}) {
        buffer.append(' ');
        buffer.appendFixed(value, 12, 6);
    }
    buffer.append('\n');
    char expected[128];
    std::snprintf(expected, sizeof expected, "Vertex[%3d]: %12.6f %12.6f %12.6f\n", 3, -1.5, 2.0,
                  0.25);
    EXPECT_EQ(buffer.view(), expected);
    EXPECT_EQ(buffer.size(), std::string(expected).size());
    const std::string taken = buffer.take();
    EXPECT_EQ(taken, expected);
}

}  // namespace
}  // namespace y4
