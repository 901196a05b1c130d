// The main of every test program: a fresh strict prompt around each test. Expectations a test
// left over cannot fail the finished test from a listener, so they are printed and fail the
// test program.
#include <gtest/gtest.h>

#include <cstdio>

#include "StrictPrompt.h"

namespace {

bool anyLeftOver = false;

class PromptListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { y4::test::beginTestPrompt(); }
    void OnTestEnd(const testing::TestInfo& info) override {
        for (const std::string& problem : y4::test::endTestPrompt()) {
            std::printf("[  FAILED  ] %s.%s: %s\n", info.test_suite_name(), info.name(),
                        problem.c_str());
            anyLeftOver = true;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new PromptListener);
    const int result = RUN_ALL_TESTS();
    return result != 0 || anyLeftOver ? 1 : 0;
}
