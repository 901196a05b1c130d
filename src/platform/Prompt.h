// Prompt: the seam through which the core shows messages, asks Yes/No questions, shows the
// wait cursor and asks for file names. The editor installs a Qt implementation; tools and tests
// install their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace y4 {

enum class MessageIcon { None, Information, Exclamation };

// What a file dialog shows. The filter uses the Qt form: "Models (*.Y4P *.Y4D);;All files (*)".
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string initialPath;
    std::string defaultSuffix;
    // Only the name of a file that exists is accepted, also by a save dialog (which then
    // writes over a file, never under a new name).
    bool mustExist = false;
};

class Prompt {
public:
    virtual ~Prompt() = default;

    // A modal message box with one OK button. An empty caption means the application's name.
    virtual void showMessage(std::string_view text, MessageIcon icon,
                             std::string_view caption = {}) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view caption = {}) = 0;
    // Nested calls are counted; the cursor returns to normal after the last end.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) = 0;
};

// The process-wide prompt. Until one is installed, a ConsolePrompt answers. Asking for it writes
// out the trace log's buffered lines first, so they are in the file before any message box.
Prompt& prompt();
// Installs `p` (not owned) as the process-wide prompt and returns the previous one; nullptr
// reinstalls the console prompt.
Prompt* installPrompt(Prompt* p);

// Shows the wait cursor for the lifetime of the object, even when an exception passes.
class WaitCursor {
public:
    WaitCursor() { prompt().beginWaitCursor(); }
    ~WaitCursor() { prompt().endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace y4
