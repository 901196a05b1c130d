// The scripted prompt of runs without a test framework.
#include "ScriptedPrompt.h"

#include <utility>

namespace y4::test {

ScriptedPrompt::ScriptedPrompt() : previous_(installPrompt(this)) {}

ScriptedPrompt::~ScriptedPrompt() {
    installPrompt(previous_);
}

std::vector<std::string> ScriptedPrompt::takeProblems() {
    for (const std::string& text : expected_) {
        problems_.push_back("message not shown: \"" + text + "\"");
    }
    expected_.clear();
    if (waitDepth_ != 0) {
        problems_.push_back("wait cursor left at depth " + std::to_string(waitDepth_));
        waitDepth_ = 0;
    }
    return std::exchange(problems_, {});
}

void ScriptedPrompt::showMessage(std::string_view text, MessageIcon, std::string_view) {
    if (expected_.empty() || expected_.front() != text) {
        problems_.push_back("unexpected message: \"" + std::string(text) + "\"" +
                            (expected_.empty() ? "" : " instead of \"" + expected_.front() + "\""));
    }
    if (!expected_.empty()) {
        expected_.pop_front();
    }
}

bool ScriptedPrompt::askYesNo(std::string_view text, std::string_view) {
    problems_.push_back("unexpected question: \"" + std::string(text) + "\"");
    return false;
}

std::optional<std::string> ScriptedPrompt::chooseOpenFile(const FileDialogRequest& request) {
    problems_.push_back("unexpected file dialog: " + request.title);
    return std::nullopt;
}

std::optional<std::string> ScriptedPrompt::chooseSaveFile(const FileDialogRequest& request) {
    return chooseOpenFile(request);
}

}  // namespace y4::test
