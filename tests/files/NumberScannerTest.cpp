// NumberScanner against the C library readers it stands in for: the same values bit for bit,
// the same end of each number, and refusals where a scene would get no finite number.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "files/NumberScanner.h"

namespace y4 {
namespace {

std::uint32_t bitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// What strtof reads from the text and how many characters it takes.
struct CRead {
    float value;
    std::size_t length;
};

CRead strtofRead(const std::string& text) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    return {value, static_cast<std::size_t>(end - text.c_str())};
}

// A text alone, and the same text followed by more, so that both the end of a line and the
// middle of one are read.
std::vector<std::string> withAndWithoutFollowers(const std::string& text, char follower) {
    return {text, text + std::string(32, ' '), text + ' ' + std::string(32, follower)};
}

// Reads one float and checks it against strtof: the same bits and the same rest.
void expectLikeStrtof(const std::string& original) {
    for (const std::string& text : withAndWithoutFollowers(original, '7')) {
        NumberScanner scanner(text);
        float value = 0.0f;
        ASSERT_TRUE(scanner.readFloat(value)) << '"' << text << '"';
        const CRead expected = strtofRead(text);
        ASSERT_EQ(bitsOf(value), bitsOf(expected.value))
            << '"' << text << "\" read " << value << ", strtof " << expected.value;
        ASSERT_EQ(scanner.rest(), std::string_view(text).substr(expected.length))
            << '"' << text << '"';
    }
}

void expectAllLikeStrtof(std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        expectLikeStrtof(text);
    }
}

void expectFloatRefused(const std::string& original) {
    for (const std::string& text : withAndWithoutFollowers(original, 'x')) {
        NumberScanner scanner(text);
        float value = 42.0f;
        EXPECT_FALSE(scanner.readFloat(value)) << '"' << text << '"';
        EXPECT_EQ(value, 42.0f) << '"' << text << '"';
        EXPECT_EQ(scanner.rest(), text) << "the position moved on \"" << text << '"';
    }
}

void expectIntRefused(const std::string& text) {
    NumberScanner scanner(text);
    int value = 42;
    EXPECT_FALSE(scanner.readInt(value)) << '"' << text << '"';
    EXPECT_EQ(value, 42) << '"' << text << '"';
    EXPECT_EQ(scanner.rest(), text) << "the position moved on \"" << text << '"';
}

TEST(NumberScanner, FloatsReadLikeStrtof) {
    // Signs, blanks, and where the syntax of a number ends.
    expectAllLikeStrtof(
        {"0",           "-0",   "-0.000000", "   -0.000000", "\t\n1.5", "+.5",   "5.",
         "-.25e1",      "1e5",  "1E-5",      "1e+05",        "2e+06",   "12abc", "1e",
         "1e+",         "1e-x", "1ex",       "1.5e3.5",      "1.02.0",  "1-2",   "   -123.456789",
         "    0.007812"});
    // Underflow to denormals and to zero, and the largest floats.
    expectAllLikeStrtof({"0e99999999999999", "-1e-50", "1e-45", "1e-40", "7e-46", "7.1e-46",
                         "1e-99999999999999999999", "1.17549435e-38", "1.4e-45", "3.4028235e38",
                         "3.40282356e38", "-3.40282346e38"});
    // Ties and near-ties between two floats, and more digits than a double holds.
    expectAllLikeStrtof({"16777217", "16777219", "16777217.000001", "16777217.0000000001",
                         "131072.0078125", "131072.0234375", "0.1", "0.3", "-9999999.9999999",
                         "12345678.5", "1.12345678", "9007199254740993", "99999999999999999999",
                         "18446744073709551616e-30", "123456789012345678901234567890",
                         "0.000000000000000000000000000000000000000001e42"});
    // A decimal of four hundred zeros and a one is read exactly however long it is.
    expectLikeStrtof("0." + std::string(400, '0') + "1e401");
    expectLikeStrtof(std::string(300, '7') + "e-290");

    // The rest of "1.02.0" is another number, as a scan for two would read it.
    NumberScanner scanner("1.02.0");
    float first = 0.0f;
    float second = 0.0f;
    ASSERT_TRUE(scanner.readFloat(first));
    ASSERT_TRUE(scanner.readFloat(second));
    EXPECT_EQ(first, 1.02f);
    EXPECT_EQ(second, 0.0f);
    EXPECT_TRUE(scanner.atEnd());

    float negativeZero = 1.0f;
    NumberScanner zero("-0.000000");
    ASSERT_TRUE(zero.readFloat(negativeZero));
    EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(NumberScanner, RefusesWhatIsNoFiniteNumber) {
    for (const char* text : {"",
                             "   ",
                             ".",
                             "-",
                             "+",
                             "-.",
                             ".e5",
                             "e5",
                             "+-1",
                             "--1",
                             "abc",
                             "nan",
                             "-nan",
                             "NAN",
                             "inf",
                             "-inf",
                             "infinity",
                             "0x1p3",
                             "0X.8",
                             "-0x10",
                             "1e39",
                             "-1e39",
                             "3.4028236e38",
                             "1e99999999999999999999",
                             "999999999999999999999999999999999999999",
                             "0.0000000000000000000000000000000000000001e80"}) {
        expectFloatRefused(text);
    }
    // "0x" with no hexadecimal digit after it is a zero followed by other text, as for strtof.
    expectLikeStrtof("0xg");

    // A scanner over no text at all, not even a terminator.
    NumberScanner nothing{std::string_view()};
    float value = 1.0f;
    int integer = 1;
    EXPECT_FALSE(nothing.readFloat(value));
    EXPECT_FALSE(nothing.readInt(integer));
    EXPECT_TRUE(nothing.atEnd());
}

TEST(NumberScanner, FormattedFloatsReadLikeStrtofAndScanf) {
    std::mt19937 random(4242);
    std::uniform_int_distribution<std::uint32_t> anyBits;
    std::uniform_real_distribution<float> coordinate(-10000.0f, 10000.0f);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int scanfChecks = 0;
    char text[128];
    // All texts also go into one long line, read from start to end as a parser reads a file.
    std::string line;
    std::vector<std::uint32_t> lineBits;
    for (int i = 0; i < 250'000; ++i) {
        float value = 0.0f;
        switch (i % 3) {
            case 0:
                value = coordinate(random);
                break;
            case 1:
                value = unit(random);
                break;
            default:
                do {
                    value = std::bit_cast<float>(anyBits(random));
                } while (!std::isfinite(value));
        }
        const double wide = value;
        // The longest text, FLT_MAX with six decimals, has 46 characters.
        for (int format = 0; format < 4; ++format) {
            switch (format) {
                case 0:
                    std::snprintf(text, sizeof text, "%12.6f", wide);
                    break;
                case 1:
                    std::snprintf(text, sizeof text, "%8.4f", wide);
                    break;
                case 2:
                    std::snprintf(text, sizeof text, "%g", wide);
                    break;
                default:
                    std::snprintf(text, sizeof text, "%.9g", wide);
            }
            const CRead expected = strtofRead(text);
            NumberScanner scanner(text);
            float read = 0.0f;
            const bool accepted = scanner.readFloat(read);
            ASSERT_EQ(accepted, std::isfinite(expected.value)) << '"' << text << '"';
            if (!accepted) {
                continue;
            }
            ASSERT_EQ(bitsOf(read), bitsOf(expected.value)) << '"' << text << '"';
            ASSERT_TRUE(scanner.atEnd()) << '"' << text << '"';
            line.append(text).push_back(' ');
            lineBits.push_back(bitsOf(read));
            if (format == 3) {
                ASSERT_EQ(read, value) << "%.9g does not round-trip: \"" << text << '"';
            }
            if (i % 64 == 0) {
                float scanned = 0.0f;
                ASSERT_EQ(std::sscanf(text, "%f", &scanned), 1);
                ASSERT_EQ(bitsOf(read), bitsOf(scanned)) << '"' << text << '"';
                ++scanfChecks;
            }
        }
    }
    EXPECT_GT(scanfChecks, 10000);

    NumberScanner scanner(line);
    for (std::size_t i = 0; i < lineBits.size(); ++i) {
        float read = 0.0f;
        ASSERT_TRUE(scanner.readFloat(read)) << "number " << i;
        ASSERT_EQ(bitsOf(read), lineBits[i]) << "number " << i;
    }
    EXPECT_EQ(scanner.rest(), " ");
}

TEST(NumberScanner, DecimalsNearFloatMidpointsReadLikeStrtof) {
    // The texts between two floats that a double lands on exactly half-way: the one case where
    // reading through a double could round the wrong way.
    std::mt19937 random(99);
    std::uniform_int_distribution<std::uint32_t> mantissa(0, 0x7FFFFF);
    std::uniform_int_distribution<int> exponent(-40, 60);
    char text[64];
    for (int i = 0; i < 20'000; ++i) {
        const float low =
            std::ldexp(static_cast<float>(0x800000 | mantissa(random)), exponent(random));
        const double midpoint = (static_cast<double>(low) + std::nextafter(low, FLT_MAX)) / 2.0;
        for (const double near :
             {midpoint, std::nextafter(midpoint, 0.0), std::nextafter(midpoint, 1e300)}) {
            for (int digits = 9; digits <= 19; digits += 2) {
                std::snprintf(text, sizeof text, "%.*g", digits, near);
                expectLikeStrtof(text);
            }
        }
    }
}

TEST(NumberScanner, IntegersReadLikeScanf) {
    struct Case {
        const char* text;
        int value;
        const char* rest;
    };
    for (const Case& c : {Case{"0", 0, ""}, Case{"  42", 42, ""}, Case{"-0", 0, ""},
                          Case{"+7 ", 7, " "}, Case{"\t-5141\n", -5141, "\n"},
                          Case{"2147483647", INT_MAX, ""}, Case{"-2147483648", INT_MIN, ""},
                          Case{"000000000000000000012", 12, ""}, Case{"12abc", 12, "abc"},
                          Case{"1.5", 1, ".5"}, Case{"0x10", 0, "x10"}, Case{"3-4", 3, "-4"}}) {
        NumberScanner scanner(c.text);
        int value = 99;
        ASSERT_TRUE(scanner.readInt(value)) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(scanner.rest(), c.rest) << '"' << c.text << '"';
    }
    for (const char* text : {"", " ", "-", "+", "+-1", "--1", "abc", "2147483648", "-2147483649",
                             "99999999999999999999999", "-99999999999999999999999"}) {
        expectIntRefused(text);
    }

    // A face line's numbers, one after another.
    NumberScanner line("  12   7 -1 255");
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    ASSERT_TRUE(line.readInt(a) && line.readInt(b) && line.readInt(c) && line.readInt(d));
    EXPECT_EQ(std::vector<int>({a, b, c, d}), std::vector<int>({12, 7, -1, 255}));
    EXPECT_TRUE(line.atEnd());
    EXPECT_FALSE(line.readInt(a));

    std::mt19937 random(5);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    char text[32];
    for (int i = 0; i < 100'000; ++i) {
        const int expected = i % 2 == 0 ? anyInt(random) : anyInt(random) % 100000;
        std::snprintf(text, sizeof text, "%6d", expected);
        NumberScanner scanner(text);
        int value = 0;
        ASSERT_TRUE(scanner.readInt(value)) << text;
        ASSERT_EQ(value, expected) << text;
        ASSERT_TRUE(scanner.atEnd());
    }
}

}  // namespace
}  // namespace y4
