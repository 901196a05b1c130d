// QtPrompt: the editor's prompt: Qt message boxes, Yes/No questions, the application's wait
// cursor and Qt file dialogs, all modal to the window they are given.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Prompt.h"

namespace y4 {

class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* parentWindow = nullptr);
    // A wait cursor still shown is taken down.
    ~QtPrompt() override;
    QtPrompt(const QtPrompt&) = delete;
    QtPrompt& operator=(const QtPrompt&) = delete;

    // The window the boxes and dialogs are modal to; the main window sets itself once it exists.
    void setParentWindow(QWidget* parentWindow) { parent_ = parentWindow; }

    void showMessage(std::string_view text, MessageIcon icon, std::string_view caption) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void beginWaitCursor() override;
    // An end without a begin is ignored, so it cannot take down a cursor someone else set.
    void endWaitCursor() override;
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;

private:
    void takeDownWaitCursor();

    QPointer<QWidget> parent_;
    int waitDepth_ = 0;
    // Whether this prompt's wait cursor is on the application's cursor stack.
    bool cursorShown_ = false;
};

}  // namespace y4
