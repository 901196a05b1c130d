// The console prompt and the process-wide prompt slot.
#include "ConsolePrompt.h"

#include <string>

#include "TraceLog.h"

namespace y4 {

namespace {
ConsolePrompt& consolePrompt() {
    static ConsolePrompt console;
    return console;
}
Prompt* current = nullptr;
}  // namespace

Prompt& prompt() {
    // Whatever the prompt shows next may wait for the user, or be the last thing the program
    // does: the trace so far goes to the file first.
    TraceLog::global().flush();
    return current ? *current : consolePrompt();
}

Prompt* installPrompt(Prompt* p) {
    Prompt* previous = current;
    current = p;
    return previous;
}

void ConsolePrompt::showMessage(std::string_view text, MessageIcon, std::string_view caption) {
    std::string line;
    if (!caption.empty()) {
        line.append(caption).append(": ");
    }
    line.append(text);
    // Texts such as "Failed to open DIB file %s.\n" carry their own line end.
    while (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    line.push_back('\n');
    std::fputs(line.c_str(), out_);
}

bool ConsolePrompt::askYesNo(std::string_view text, std::string_view caption) {
    showMessage(std::string(text) + " [answered No]", MessageIcon::None, caption);
    return false;
}

}  // namespace y4
