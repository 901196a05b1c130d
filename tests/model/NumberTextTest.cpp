// The edit-box text checks, the float text of the edit boxes and settings, and the atof/atoi
// readings, against the standard stream and C library they stand in for.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "model/NumberText.h"

namespace y4 {
namespace {

TEST(NumberText, SyntaxChecks) {
    for (const char* text : {"", "0", "1.5", "-2.25", "1e3", "1E-3", "1-2", "--", "e.e", "."}) {
        EXPECT_TRUE(isFloatText(text)) << '"' << text << '"';
    }
    for (const char* text : {"+5", "1,5", "abc", " 1", "1 ", "1.0f", "0x10", "inf", "1e+3"}) {
        EXPECT_FALSE(isFloatText(text)) << '"' << text << '"';
    }
    for (const char* text : {"", "0", "007", "1234567890123"}) {
        EXPECT_TRUE(isIntText(text)) << '"' << text << '"';
    }
    for (const char* text : {"-3", "+3", "1.0", " 1", "1e3", "x"}) {
        EXPECT_FALSE(isIntText(text)) << '"' << text << '"';
    }
    // An embedded NUL is no digit, even if a C string would end there.
    EXPECT_FALSE(isIntText(std::string_view("1\0", 2)));
    EXPECT_FALSE(isFloatText(std::string_view("1\0", 2)));
}

std::string streamText(float value) {
    std::ostringstream stream;
    stream << value;
    return stream.str();
}

TEST(NumberText, FloatTextIsTheStreamText) {
    EXPECT_EQ(formatFloatText(1.0f), "1");
    EXPECT_EQ(formatFloatText(0.1f), "0.1");
    EXPECT_EQ(formatFloatText(2000000.0f), "2e+06");
    EXPECT_EQ(formatFloatText(0.00001f), "1e-05");

    std::mt19937 random(31);
    std::uniform_int_distribution<std::uint32_t> anyBits;
    std::uniform_real_distribution<float> setting(-5000.0f, 5000.0f);
    for (int i = 0; i < 50'000; ++i) {
        const float value = i % 2 == 0 ? std::bit_cast<float>(anyBits(random)) : setting(random);
        ASSERT_EQ(formatFloatText(value), streamText(value))
            << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value);
    }
    for (const float value :
         {0.0f, -0.0f, 0.5f, 0.3f, -2.25f, 10000.0f, -10.24f, 999999.0f, 999999.5f, 1e6f, 0.0001f,
          0.00009999f, FLT_MAX, FLT_TRUE_MIN, std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(formatFloatText(value), streamText(value)) << value;
    }
}

std::string printfText(double value, int decimals) {
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

TEST(NumberText, FixedTextIsThePrintfText) {
    EXPECT_EQ(formatFixedText(1.0, 2), "1.00");
    EXPECT_EQ(formatFixedText(0.0, 2), "0.00");
    EXPECT_EQ(formatFixedText(-2.125, 2), "-2.12");  // halfway cases go to the even digit
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint64_t> anyBits;
    for (int i = 0; i < 20'000; ++i) {
        const double value = std::bit_cast<double>(anyBits(random));
        const int decimals = i % 7;
        ASSERT_EQ(formatFixedText(value, decimals), printfText(value, decimals))
            << "bits 0x" << std::hex << std::bit_cast<std::uint64_t>(value);
    }
    for (const double value :
         {DBL_MAX, -DBL_MAX, 0.005, 0.015, 1e-300, -0.0, std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(formatFixedText(value, 2), printfText(value, 2)) << value;
    }
}

TEST(NumberText, LeadingNumbersReadLikeAtofAndAtoi) {
    // Signs, exponents, hexadecimal, infinities, overflow and underflow, and texts that need
    // more digits than a double holds.
    const char* const texts[] = {
        "",        "1-2",         "--",     "e.e",       ".",          "-",      "1e3",
        "1E-3",    "  \t-2.5xyz", "+5",     "+-5",       "1,5",        "abc",    "0.1",
        "5.",      ".5e1",        "1e",     "1e+",       "0x1p3",      "0X.8",   "0x",
        "0xg",     "-0x1.8p1",    "inf",    "-Infinity", "1e999",      "-1e999", "1e-999",
        "-1e-999", "4.9e-324",    "2e-324", "0x1p99999", "0x1p-99999", "-0"};
    const char* const longTexts[] = {"0x.0000001p-99999", ".000000001e-400",
                                     "1.7976931348623157e308", "1.7976931348623159e308",
                                     "123456789012345678901234567890e-10"};
    auto expectAtof = [](const char* text) {
        const double expected = std::atof(text);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(parseLeadingFloat(text)),
                  std::bit_cast<std::uint64_t>(expected))
            << '"' << text << "\" gave " << parseLeadingFloat(text) << ", atof " << expected;
    };
    std::for_each(std::begin(texts), std::end(texts), expectAtof);
    std::for_each(std::begin(longTexts), std::end(longTexts), expectAtof);
    for (const char* text : {"nan", "-nan", "NAN(123)"}) {
        const double value = parseLeadingFloat(text);
        EXPECT_TRUE(std::isnan(value)) << text;
        EXPECT_EQ(std::signbit(value), std::signbit(std::atof(text))) << text;
    }
    // atof stops at the end of the text, not at the end of the memory after it.
    EXPECT_EQ(parseLeadingFloat(std::string_view("12345", 2)), 12.0);

    for (const char* text : {"", "0", "-3", "+3", "  42x", "1.9", "-", "+-1", "abc", "2147483647",
                             "-2147483648", "0x10", "\n7"}) {
        EXPECT_EQ(parseLeadingInt(text), std::atoi(text)) << '"' << text << '"';
    }
    // Beyond the int range, where atoi has no defined result, the reading is clamped.
    EXPECT_EQ(parseLeadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("-2147483649"), INT_MIN);
    EXPECT_EQ(parseLeadingInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(parseLeadingInt(std::string_view("12345", 3)), 123);
}

}  // namespace
}  // namespace y4
