// ScriptedPrompt: a Prompt for runs without a test framework. The run announces each message it
// expects; a message that was not announced, or differs from the announcement, and any question
// or file dialog, is kept as a problem instead of being shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace y4::test {

class ScriptedPrompt : public Prompt {
public:
    // Installs itself as the process-wide prompt for its lifetime.
    ScriptedPrompt();
    ~ScriptedPrompt() override;
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    void expectMessage(std::string text) { expected_.push_back(std::move(text)); }
    // The problems since the last call, announced messages that were never shown among them;
    // the announcements are cleared.
    std::vector<std::string> takeProblems();

    void showMessage(std::string_view text, MessageIcon icon, std::string_view caption) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void beginWaitCursor() override { ++waitDepth_; }
    void endWaitCursor() override { --waitDepth_; }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;

private:
    Prompt* previous_ = nullptr;
    std::deque<std::string> expected_;
    std::vector<std::string> problems_;
    int waitDepth_ = 0;
};

}  // namespace y4::test
