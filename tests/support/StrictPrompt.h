// StrictPrompt: the test double of Prompt. A test announces each message and question it
// expects, in order; any other message fails the test, and every question is answered from the
// script, so no modal box can ever block a test. The test main installs a fresh one around
// every test; a test that leaves an announced message unshown fails the test program.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace y4::test {

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    std::string caption;
    bool question;
};

class StrictPrompt : public Prompt {
public:
    // The next message must have this text and icon.
    void expectMessage(std::string text, MessageIcon icon = MessageIcon::Exclamation);
    // The next prompt must be this question; it is answered with `answer`.
    void expectQuestion(std::string text, bool answer);
    // The next file dialog returns `answer`.
    void expectFileDialog(std::optional<std::string> answer);

    void showMessage(std::string_view text, MessageIcon icon, std::string_view caption) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;

    // What was announced and not shown, and an unbalanced wait cursor, as readable lines;
    // the expectations are cleared.
    std::vector<std::string> leftOver();

    std::vector<ShownMessage> shown;
    // Every file dialog asked for, in order.
    std::vector<FileDialogRequest> fileDialogs;
    int waitDepth = 0;
    int waitCursorsShown = 0;

private:
    struct Expected {
        std::string text;
        MessageIcon icon;
        bool question;
        bool answer;
    };
    std::deque<Expected> expected_;
    std::deque<std::optional<std::string>> fileAnswers_;
};

// The prompt installed for the running test.
StrictPrompt& testPrompt();
// Installs a fresh strict prompt; the test main calls it before each test.
void beginTestPrompt();
// Uninstalls it and returns what it had left over.
std::vector<std::string> endTestPrompt();

}  // namespace y4::test
