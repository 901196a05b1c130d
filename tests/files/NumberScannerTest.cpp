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
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "files/NumberScanner.h"

namespace y4 {
namespace {

std::uint32_t bitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// The text alone, and followed by more, so that both the end of a line and the middle of one
// are read.
std::vector<std::string> withFollowers(const std::string& text, char follower) {
    return {text, text + std::string(32, ' '), text + ' ' + std::string(32, follower)};
}

// Reads one float and checks it against strtof: the same bits and the same rest.
void expectLikeStrtof(const std::string& original) {
    for (const std::string& text : withFollowers(original, '7')) {
        char* end = nullptr;
        const float expected = std::strtof(text.c_str(), &end);
        NumberScanner scanner(text);
        float value = 0.0f;
        ASSERT_TRUE(scanner.readFloat(value)) << '"' << text << '"';
        ASSERT_EQ(bitsOf(value), bitsOf(expected)) << '"' << text << "\" read " << value;
        ASSERT_EQ(scanner.rest(), std::string_view(end)) << '"' << text << '"';
    }
}

TEST(NumberScanner, FloatsReadLikeStrtof) {
    for (const std::string text :
         {// Signs, blanks, and where the syntax of a number ends.
          "0", "-0", "-0.000000", "   -0.000000", "\t\n1.5", "+.5", "5.", "-.25e1", "1e5", "1E-5",
          "1e+05", "2e+06", "12abc", "1e", "1e+", "1e-x", "1ex", "1.5e3.5", "1.02.0", "1-2",
          "   -123.456789", "    0.007812", "0xg",
          // Underflow to denormals and to zero, and the largest floats.
          "0e99999999999999", "-1e-50", "1e-45", "1e-40", "7e-46", "7.1e-46",
          "1e-99999999999999999999", "1.17549435e-38", "1.4e-45", "3.4028235e38", "3.40282356e38",
          "-3.40282346e38",
          // Ties and near-ties between two floats, and more digits than a double holds.
          "16777217", "16777219", "16777217.000001", "16777217.0000000001", "131072.0078125",
          "131072.0234375", "0.1", "0.3", "-9999999.9999999", "12345678.5", "1.12345678",
          "9007199254740993", "99999999999999999999", "18446744073709551616e-30",
          "123456789012345678901234567890", "0.000000000000000000000000000000000000000001e42"}) {
        expectLikeStrtof(text);
    }
    // Hundreds of digits are read exactly however long the text is.
    expectLikeStrtof("0." + std::string(400, '0') + "1e401");
    expectLikeStrtof(std::string(300, '7') + "e-290");

    // The rest of "1.02.0" is another number, as a scan for two would read it.
    NumberScanner scanner("1.02.0 -0.000000");
    float first = 0.0f;
    float second = 1.0f;
    float negativeZero = 1.0f;
    ASSERT_TRUE(scanner.readFloat(first) && scanner.readFloat(second) &&
                scanner.readFloat(negativeZero));
    EXPECT_EQ(first, 1.02f);
    EXPECT_EQ(second, 0.0f);
    EXPECT_EQ(bitsOf(negativeZero), bitsOf(-0.0f));
    EXPECT_TRUE(scanner.atEnd());
}

TEST(NumberScanner, RefusesWhatIsNoNumberOrNoFiniteFloat) {
    for (const char* original :
         {// No digits, and the texts strtof reads but a scene must not get.
          "", "   ", ".", "-", "+", "-.", ".e5", "e5", "+-1", "--1", "abc", "nan", "-nan", "NAN",
          "inf", "-inf", "infinity", "0x1p3", "0X.8", "-0x10",
          // Beyond the float range.
          "1e39", "-1e39", "3.4028236e38", "1e99999999999999999999",
          "999999999999999999999999999999999999999",
          "0.0000000000000000000000000000000000000001e80"}) {
        for (const std::string& text : withFollowers(original, 'x')) {
            NumberScanner scanner(text);
            float value = 42.0f;
            EXPECT_FALSE(scanner.readFloat(value)) << '"' << text << '"';
            EXPECT_EQ(value, 42.0f) << '"' << text << '"';
            EXPECT_EQ(scanner.rest(), text) << "the position moved on \"" << text << '"';
        }
    }
    for (const char* text : {"", " ", "-", "+", "+-1", "--1", "abc", "2147483648", "-2147483649",
                             "99999999999999999999999", "-99999999999999999999999"}) {
        NumberScanner scanner(text);
        int value = 42;
        EXPECT_FALSE(scanner.readInt(value)) << '"' << text << '"';
        EXPECT_EQ(value, 42) << '"' << text << '"';
        EXPECT_EQ(scanner.rest(), text) << "the position moved on \"" << text << '"';
    }
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
    char text[128];  // FLT_MAX with six decimals, the longest text, has 46 characters
    for (int i = 0; i < 250'000; ++i) {
        float value = 0.0f;
        do {
            value = i % 3 == 0   ? coordinate(random)
                    : i % 3 == 1 ? unit(random)
                                 : std::bit_cast<float>(anyBits(random));
        } while (!std::isfinite(value));
        // "%12.6f", "%8.4f", "%g" and "%.9g".
        for (const auto& [fixed, width, precision] :
             {std::tuple{true, 12, 6}, {true, 8, 4}, {false, 0, 6}, {false, 0, 9}}) {
            std::snprintf(text, sizeof text, fixed ? "%*.*f" : "%*.*g", width, precision,
                          static_cast<double>(value));
            const float expected = std::strtof(text, nullptr);
            NumberScanner scanner(text);
            float read = 0.0f;
            ASSERT_EQ(scanner.readFloat(read), std::isfinite(expected)) << '"' << text << '"';
            if (!std::isfinite(expected)) {
                continue;
            }
            ASSERT_EQ(bitsOf(read), bitsOf(expected)) << '"' << text << '"';
            ASSERT_TRUE(scanner.atEnd()) << '"' << text << '"';
            if (i % 64 == 0) {
                float scanned = 0.0f;
                ASSERT_EQ(std::sscanf(text, "%f", &scanned), 1);
                ASSERT_EQ(bitsOf(read), bitsOf(scanned)) << '"' << text << '"';
            }
        }
    }
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
    for (const Case& c : {Case{"0", 0, ""},
                          {"  42", 42, ""},
                          {"-0", 0, ""},
                          {"+7 ", 7, " "},
                          {"\t-5141\n", -5141, "\n"},
                          {"2147483647", INT_MAX, ""},
                          {"-2147483648", INT_MIN, ""},
                          {"000000000000000000012", 12, ""},
                          {"12abc", 12, "abc"},
                          {"1.5", 1, ".5"},
                          {"0x10", 0, "x10"},
                          {"3-4", 3, "-4"},
                          {"  12   7 -1 255", 12, "   7 -1 255"}}) {
        // Alone, and as a line of a file whose next line may be read ahead: digits there belong
        // to the next line.
        const std::string file = std::string(c.text) + "987654321 -12 x" + std::string(24, ' ');
        for (NumberScanner scanner :
             {NumberScanner(c.text),
              NumberScanner(std::string_view(file).substr(0, std::strlen(c.text)),
                            file.data() + file.size())}) {
            int value = 99;
            ASSERT_TRUE(scanner.readInt(value)) << '"' << c.text << '"';
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
            EXPECT_EQ(scanner.rest(), c.rest) << '"' << c.text << '"';
        }
    }

    std::mt19937 random(5);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    char text[32] = {};
    for (int i = 0; i < 100'000; ++i) {
        const int expected = i % 2 == 0 ? anyInt(random) : anyInt(random) % 100000;
        const int length = std::snprintf(text, sizeof text, "%6d\n", expected) - 1;
        NumberScanner scanner(std::string_view(text, static_cast<std::size_t>(length)),
                              text + sizeof text);
        int value = 0;
        ASSERT_TRUE(scanner.readInt(value)) << text;
        ASSERT_EQ(value, expected) << text;
        ASSERT_TRUE(scanner.atEnd());
    }
}

TEST(NumberScanner, ReadingAheadIntoTheNextLineKeepsEachNumberInItsOwnLine) {
    // Lines of a file in memory: each scanner may look past its line's end into the next.
    const std::string file = "     -12.345678    0.000001\n   987.5 7\r\n1 2\n";
    std::size_t begin = 0;
    std::vector<std::vector<float>> lines;
    while (begin < file.size()) {
        std::size_t end = file.find('\n', begin);
        std::string_view line(file.data() + begin, end - begin);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        NumberScanner scan(line, file.data() + file.size());
        lines.emplace_back();
        for (float f = 0; scan.readFloat(f);) {
            lines.back().push_back(f);
        }
        EXPECT_TRUE(scan.atEnd()) << line;
        begin = end + 1;
    }
    EXPECT_EQ(lines, (std::vector<std::vector<float>>{
                         {-12.345678f, 0.000001f}, {987.5f, 7.0f}, {1.0f, 2.0f}}));
}

// Fields as the writers write them are read in their places; whatever they hold, even when
// damaged, the floats and the position reached are those of reading one float after another.
TEST(NumberScanner, WrittenFieldsReadAsOneFloatAfterAnother) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> anyValue(-2000.0f, 2000.0f);
    const char damage[] = {' ', '-', '+', '.', 'e', 'x', '0', '9', '\t'};
    for (const auto& [width, precision] : {std::pair{12, 6}, std::pair{8, 4}}) {
        for (int line = 0; line < 20000; ++line) {
            std::string text;
            for (int k = 0; k < 10; ++k) {
                const float value = line % 7 == 0 ? anyValue(random) * 1000 : anyValue(random);
                char field[64];
                std::snprintf(field, sizeof field, " %*.*f", width, precision,
                              static_cast<double>(k == 3 && line % 5 == 0 ? -0.0f : value));
                text += field;
            }
            if (line % 3 == 0) {
                text[random() % text.size()] = damage[random() % sizeof damage];
            }
            const std::string file = text + "\n 7.5 8.25" + std::string(32, ' ');
            const std::string_view view(file.data(), text.size());
            NumberScanner fields(view, file.data() + file.size());
            NumberScanner single(view, file.data() + file.size());
            float a[10] = {}, b[10] = {};
            const bool all = fields.readFloats(a, 10, width, precision);
            int read = 0;
            while (read < 10 && single.readFloat(b[read])) {
                ++read;
            }
            ASSERT_EQ(all, read == 10) << text;
            ASSERT_EQ(fields.rest(), single.rest()) << text;
            for (int k = 0; k < read; ++k) {
                ASSERT_EQ(std::bit_cast<std::uint32_t>(a[k]), std::bit_cast<std::uint32_t>(b[k]))
                    << text << " field " << k;
            }
        }
    }
    // Integers likewise.
    std::uniform_int_distribution<int> anyInt(-99999, 99999);
    for (const int width : {3, 4, 6}) {
        for (int line = 0; line < 20000; ++line) {
            std::string text;
            for (int k = 0; k < 8; ++k) {
                const int value = line % 4 == 0 ? anyInt(random) : anyInt(random) % 1000;
                text += " " +
                        std::string(static_cast<std::size_t>(std::max(
                                        0, width - static_cast<int>(std::to_string(value).size()))),
                                    ' ') +
                        std::to_string(value);
            }
            if (line % 3 == 0) {
                text[random() % text.size()] = damage[random() % sizeof damage];
            }
            const std::string file = text + "\n 12 -3" + std::string(32, ' ');
            const std::string_view view(file.data(), text.size());
            NumberScanner fields(view, file.data() + file.size());
            NumberScanner single(view, file.data() + file.size());
            int a[8] = {}, b[8] = {};
            const bool all = fields.readInts(a, 8, width);
            int read = 0;
            while (read < 8 && single.readInt(b[read])) {
                ++read;
            }
            ASSERT_EQ(all, read == 8) << text;
            ASSERT_EQ(fields.rest(), single.rest()) << text;
            ASSERT_TRUE(std::equal(a, a + read, b)) << text;
        }
    }
}

}  // namespace
}  // namespace y4
