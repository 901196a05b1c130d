// FileProgressDialog: a QProgressDialog made when the operation turns out to be long.
#include "shell/FileProgressDialog.h"

#include <QApplication>
#include <QProgressDialog>

#include "files/ModelSource.h"
#include "platform/PathResolver.h"

namespace y4 {

namespace {
// The bar's steps; byte and record counts would overflow an int.
constexpr int kSteps = 1000;
// How often the windows are painted and Cancel is looked at, at most.
constexpr int kEventsEveryMs = 30;
}  // namespace

int FileProgressDialog::active_ = 0;
int FileProgressDialog::showDelayMs_ = FileProgressDialog::kDefaultShowDelayMs;

FileProgressDialog::FileProgressDialog(QWidget* parent, QString text)
    : parent_(parent), text_(std::move(text)) {
    ++active_;
    clock_.start();
}

FileProgressDialog::FileProgressDialog(QWidget* parent, const char* verb, std::string_view path)
    : FileProgressDialog(parent, QString()) {
    const std::string name = ModelSource::chosen(std::string(path)).name;
    text_ = QString::fromUtf8(verb) + QLatin1Char(' ') +
            QString::fromStdString(std::string(PathResolver::fileNameOf(name)));
}

FileProgressDialog::~FileProgressDialog() {
    dialog_.reset();
    if (arrowPushed_) {
        QApplication::restoreOverrideCursor();
    }
    --active_;
}

void FileProgressDialog::show() {
    dialog_ =
        std::make_unique<QProgressDialog>(text_, QStringLiteral("Cancel"), 0, kSteps, parent_);
    dialog_->setWindowTitle(QStringLiteral("Y4Editor"));
    // Modal, so that a click elsewhere cannot start a second load or save meanwhile.
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->show();
    // The operation shows the wait cursor; Cancel is clicked with the arrow.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    arrowPushed_ = true;
    sinceEvents_.invalidate();
}

bool FileProgressDialog::report(std::uint64_t done, std::uint64_t total) {
    if (!dialog_) {
        // Until the window shows, no event is handled: nothing else may run meanwhile.
        if (clock_.elapsed() < showDelayMs_) {
            return true;
        }
        show();
    }
    const std::uint64_t step = total == 0 ? kSteps : done * kSteps / total;
    dialog_->setValue(static_cast<int>(step));
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventsEveryMs) {
        QApplication::processEvents();
        sinceEvents_.start();
    }
    return !dialog_->wasCanceled();
}

}  // namespace y4
