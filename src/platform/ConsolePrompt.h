// ConsolePrompt: the prompt of programs without windows. Messages go to standard error, every
// question is answered No and every file dialog is cancelled.
#pragma once

#include <cstdio>

#include "Prompt.h"

namespace y4 {

class ConsolePrompt : public Prompt {
public:
    explicit ConsolePrompt(std::FILE* out = stderr) : out_(out) {}

    void showMessage(std::string_view text, MessageIcon icon, std::string_view caption) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }

private:
    std::FILE* out_;
};

}  // namespace y4
