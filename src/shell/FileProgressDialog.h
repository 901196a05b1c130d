// FileProgressDialog: the progress window of a long load or save, with Cancel. It appears only
// once the operation has taken half a second, is modal while it shows, so that no other command
// runs meanwhile, and keeps the editor's windows painted. One object per operation.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <string_view>

#include "platform/FileProgress.h"

class QProgressDialog;
class QWidget;

namespace y4 {

class FileProgressDialog : public FileProgress {
public:
    // How long an operation runs before the window appears.
    static constexpr int kDefaultShowDelayMs = 500;

    // `text` says what runs ("Loading CRATE.Y4P").
    FileProgressDialog(QWidget* parent, QString text);
    // The text of `verb` and the file name of `path` as the editor names models, upper case.
    FileProgressDialog(QWidget* parent, const char* verb, std::string_view path);
    ~FileProgressDialog() override;
    FileProgressDialog(const FileProgressDialog&) = delete;
    FileProgressDialog& operator=(const FileProgressDialog&) = delete;

    bool report(std::uint64_t done, std::uint64_t total) override;

    // Whether an operation with a progress window is running: the commands that would start
    // another one, or end the editor, wait for it.
    static bool running() { return active_ > 0; }
    // For tests: the delay before the window appears (kDefaultShowDelayMs).
    static void setShowDelay(int milliseconds) { showDelayMs_ = milliseconds; }

private:
    void show();

    QWidget* parent_;
    QString text_;
    QElapsedTimer clock_;
    QElapsedTimer sinceEvents_;
    std::unique_ptr<QProgressDialog> dialog_;
    bool arrowPushed_ = false;

    static int active_;
    static int showDelayMs_;
};

}  // namespace y4
