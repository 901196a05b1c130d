// The strict prompt double.
#include "StrictPrompt.h"

#include <gtest/gtest.h>

#include <memory>

namespace y4::test {

namespace {
std::unique_ptr<StrictPrompt> current;

const char* iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return "none";
        case MessageIcon::Information:
            return "information";
        case MessageIcon::Exclamation:
            return "exclamation";
    }
    return "?";
}
}  // namespace

StrictPrompt& testPrompt() {
    return *current;
}

void StrictPrompt::expectMessage(std::string text, MessageIcon icon) {
    expected_.push_back({std::move(text), icon, false, false});
}

void StrictPrompt::expectQuestion(std::string text, bool answer) {
    expected_.push_back({std::move(text), MessageIcon::None, true, answer});
}

void StrictPrompt::expectFileDialog(std::optional<std::string> answer) {
    fileAnswers_.push_back(std::move(answer));
}

void StrictPrompt::showMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
    shown.push_back({std::string(text), icon, std::string(caption), false});
    if (expected_.empty() || expected_.front().question) {
        ADD_FAILURE() << "unexpected message box (" << iconName(icon) << "): \"" << text << "\"";
        return;
    }
    Expected e = expected_.front();
    expected_.pop_front();
    EXPECT_EQ(e.text, text);
    EXPECT_EQ(iconName(e.icon), std::string(iconName(icon))) << "icon of \"" << text << "\"";
}

bool StrictPrompt::askYesNo(std::string_view text, std::string_view caption) {
    shown.push_back({std::string(text), MessageIcon::None, std::string(caption), true});
    if (expected_.empty() || !expected_.front().question) {
        ADD_FAILURE() << "unexpected question: \"" << text << "\"";
        return false;
    }
    Expected e = expected_.front();
    expected_.pop_front();
    EXPECT_EQ(e.text, text);
    return e.answer;
}

void StrictPrompt::beginWaitCursor() {
    ++waitDepth;
    ++waitCursorsShown;
}

void StrictPrompt::endWaitCursor() {
    EXPECT_GT(waitDepth, 0) << "wait cursor ended more often than begun";
    --waitDepth;
}

std::optional<std::string> StrictPrompt::chooseOpenFile(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << request.title;
        return std::nullopt;
    }
    auto answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

std::optional<std::string> StrictPrompt::chooseSaveFile(const FileDialogRequest& request) {
    return chooseOpenFile(request);
}

std::vector<std::string> StrictPrompt::leftOver() {
    std::vector<std::string> problems;
    for (const Expected& e : expected_) {
        problems.push_back(std::string("expected ") + (e.question ? "question" : "message") +
                           " never shown: \"" + e.text + "\"");
    }
    if (!fileAnswers_.empty()) {
        problems.push_back("an expected file dialog was never opened");
    }
    if (waitDepth != 0) {
        problems.push_back("the wait cursor was left on");
    }
    expected_.clear();
    fileAnswers_.clear();
    return problems;
}

void beginTestPrompt() {
    current = std::make_unique<StrictPrompt>();
    installPrompt(current.get());
}

std::vector<std::string> endTestPrompt() {
    std::vector<std::string> problems = current->leftOver();
    installPrompt(nullptr);
    current.reset();
    return problems;
}

}  // namespace y4::test
