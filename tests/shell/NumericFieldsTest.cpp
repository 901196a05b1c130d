// The number fields over real edit boxes: what each reader accepts, the message, box text and
// value of a refusal (one message a box).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <string>

#include "shell/NumericFields.h"
#include "support/GuiApplication.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using test::testPrompt;

class NumericFieldsTest : public testing::Test {
protected:
    QLineEdit& box(const char* text) {
        box_.setText(QString::fromUtf8(text));
        return box_;
    }

    QApplication& application_ = test::guiApplication();
    QLineEdit box_;
};

TEST_F(NumericFieldsTest, AcceptedTextReadsLikeAtofAndAtoiWithoutAMessage) {
    EXPECT_EQ(getFloat(box("")), 0.0f);
    EXPECT_EQ(getFloatOr(box(""), 1.0f), 0.0f);
    EXPECT_EQ(getInt(box(""), 1), 0);
    EXPECT_EQ(getFloat(box("1e3")), 1000.0f);
    // The exponent sign that putFloat writes for large numbers.
    EXPECT_EQ(getFloat(box("2e+06")), 2000000.0f);
    EXPECT_EQ(getFloatOr(box("1E+3"), 5.0f), 1000.0f);
    EXPECT_EQ(getFloat(box("-2.25")), -2.25f);
    // The largest float is a number; what lies beyond it is refused below; too small is 0.
    EXPECT_EQ(getFloat(box("3.4e38")), 3.4e38f);
    EXPECT_EQ(getFloat(box("1e-50")), 0.0f);
    EXPECT_EQ(getFloat(box("-3")), -3.0f);
    // Order and count of the accepted characters are free; atof takes what leads.
    EXPECT_EQ(getFloat(box("1-2")), 1.0f);
    EXPECT_EQ(getFloat(box("--")), 0.0f);
    EXPECT_EQ(getFloatOr(box("0.1"), 7.0f), 0.1f);
    EXPECT_EQ(getInt(box("0042"), 1), 42);
    EXPECT_EQ(box_.text(), "0042");  // an accepted box is left as typed
    EXPECT_TRUE(testPrompt().shown.empty());
}

TEST_F(NumericFieldsTest, RefusedTextGivesTheMessageAndLeavesTheFallbackInTheBox) {
    for (const char* text : {"+5", "1,5", "abc", "1 5", " 1",
                             "1\xc2\xb7"
                             "5",
                             "1+5", "e++3", "1e39", "-4e38"}) {
        SCOPED_TRACE(text);
        testPrompt().expectMessage("Error: Invalid value; defaulting to 1.0");
        EXPECT_EQ(getFloat(box(text)), 1.0f);
        EXPECT_EQ(box_.text(), "1.0");

        testPrompt().expectMessage("Error: Invalid value; defaulting to 1.00");
        EXPECT_EQ(getFloatOr(box(text), 1.0f), 1.0f);
        EXPECT_EQ(box_.text(), "1");
    }
    const struct {
        float fallback;
        const char* message;
        const char* box;
    } fallbacks[] = {{0.0f, "Error: Invalid value; defaulting to 0.00", "0"},
                     {-2.5f, "Error: Invalid value; defaulting to -2.50", "-2.5"},
                     {0.125f, "Error: Invalid value; defaulting to 0.12", "0.125"}};
    for (const auto& f : fallbacks) {
        testPrompt().expectMessage(f.message);
        EXPECT_EQ(getFloatOr(box("x"), f.fallback), f.fallback);
        EXPECT_EQ(box_.text(), f.box);
    }
    // A sign, a point or an exponent is no whole number.
    for (const char* text : {"-3", "+3", "1.5", "1e3", "abc", "1 "}) {
        SCOPED_TRACE(text);
        testPrompt().expectMessage("Error: Invalid value; defaulting to 1");
        EXPECT_EQ(getInt(box(text), 1), 1);
        EXPECT_EQ(box_.text(), "1");
    }
    testPrompt().expectMessage("Error: Invalid value; defaulting to -4");
    EXPECT_EQ(getInt(box("x"), -4), -4);
    EXPECT_EQ(box_.text(), "-4");
    for (const test::ShownMessage& shown : testPrompt().shown) {
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
        EXPECT_FALSE(shown.question);
    }
}

}  // namespace
}  // namespace y4
