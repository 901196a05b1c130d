// CarelessUser: a user who drives the editor with junk. As the Prompt it takes every message,
// answers questions at random and chooses files from given lists (or cancels), counting each;
// Junk gives the texts it types and the controls it picks.
#pragma once

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace y4::test {

class CarelessUser : public Prompt {
public:
    // Open dialogs choose among `openFiles`, save dialogs among `saveFiles`; either may cancel.
    CarelessUser(std::mt19937& random, std::vector<std::string> openFiles,
                 std::vector<std::string> saveFiles = {})
        : random_(random), openFiles_(std::move(openFiles)), saveFiles_(std::move(saveFiles)) {}
    void showMessage(std::string_view text, MessageIcon, std::string_view) override {
        messages.emplace_back(text);
    }
    bool askYesNo(std::string_view, std::string_view) override {
        ++questions;
        return random_() % 4 != 0;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override {
        ++fileDialogs;
        return pick(openFiles_);
    }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override {
        ++fileDialogs;
        return pick(saveFiles_);
    }
    std::vector<std::string> messages;
    int questions = 0;
    int fileDialogs = 0;

private:
    std::optional<std::string> pick(const std::vector<std::string>& files) {
        const std::size_t at = random_() % (files.size() + 1);
        return at == files.size() ? std::nullopt : std::optional(files[at]);
    }
    std::mt19937& random_;
    std::vector<std::string> openFiles_;
    std::vector<std::string> saveFiles_;
};

// Installs a prompt for its lifetime.
class InstalledPrompt {
public:
    explicit InstalledPrompt(Prompt* p) : previous_(installPrompt(p)) {}
    ~InstalledPrompt() { installPrompt(previous_); }
    InstalledPrompt(const InstalledPrompt&) = delete;
    InstalledPrompt& operator=(const InstalledPrompt&) = delete;

private:
    Prompt* previous_;
};

class Junk {
public:
    explicit Junk(std::mt19937& random) : random_(random) {}
    std::string text() {
        static const char* const kTexts[] = {"",
                                             "abc",
                                             "1e3",
                                             "-",
                                             "1,5",
                                             "+5",
                                             " 1",
                                             "1e39",
                                             "-1e39",
                                             "e",
                                             ".",
                                             "--",
                                             "1-2",
                                             "1e-45",
                                             "2e+06",
                                             "nan",
                                             "inf",
                                             "Ä",
                                             "\t",
                                             "0",
                                             "-0",
                                             "0.5",
                                             "-2.25",
                                             "123456789",
                                             "1e+",
                                             "e+5",
                                             "7",
                                             "1e999",
                                             "-nan",
                                             "99999999999999999999",
                                             "\x01\x1b[2J\x7f",
                                             "\xe5\x90\x8d\xe5\x89\x8d",
                                             "\xff\xfe",
                                             "Colon: name"};
        const std::size_t n = std::size(kTexts);
        const std::size_t pick = random_() % (n + 3);
        if (pick < n) {
            return kTexts[pick];
        }
        if (pick == n) {
            return std::string(80 + random_() % 40, static_cast<char>('A' + random_() % 26));
        }
        if (pick == n + 1) {
            return std::string(3000 + random_() % 3000, '9');
        }
        return std::to_string(static_cast<int>(random_() % 2001) - 1000) + "." +
               std::to_string(random_() % 1000);
    }
    template <class List>
    auto any(const List& items) -> typename List::value_type {
        return items.empty() ? nullptr : items[random_() % items.size()];
    }

private:
    std::mt19937& random_;
};

}  // namespace y4::test
