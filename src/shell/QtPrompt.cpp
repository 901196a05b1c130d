// QtPrompt: QMessageBox, QFileDialog and the override cursor behind the prompt seam.
#include "shell/QtPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>

namespace y4 {

namespace {

// The cursor belongs to the GUI application; without one (a prompt outliving it) there is none.
bool hasGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

// A box that opens during a long operation shows the arrow over its buttons, not the wait cursor.
class ArrowCursorWhileOpen {
public:
    explicit ArrowCursorWhileOpen(bool waitCursorShown)
        : pushed_(waitCursorShown && hasGuiApplication()) {
        if (pushed_) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~ArrowCursorWhileOpen() {
        if (pushed_ && hasGuiApplication()) {
            QApplication::restoreOverrideCursor();
        }
    }
    ArrowCursorWhileOpen(const ArrowCursorWhileOpen&) = delete;
    ArrowCursorWhileOpen& operator=(const ArrowCursorWhileOpen&) = delete;

private:
    bool pushed_;
};

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString captionOf(std::string_view caption) {
    return caption.empty() ? QStringLiteral("Y4Editor") : toQString(caption);
}

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Messages quote file names and file contents, which must not be taken for markup.
int runBox(QMessageBox::Icon icon, std::string_view text, std::string_view caption,
           QMessageBox::StandardButtons buttons, QWidget* parent) {
    QMessageBox box(icon, captionOf(caption), toQString(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

std::optional<std::string> runFileDialog(const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode, QWidget* parent) {
    // A dialog object rather than the static helpers, which cannot add a default suffix.
    QFileDialog dialog(parent, toQString(request.title), toQString(request.initialPath),
                       toQString(request.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen || request.mustExist
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    if (!request.defaultSuffix.empty()) {
        dialog.setDefaultSuffix(toQString(request.defaultSuffix));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) {
        return std::nullopt;
    }
    return files.front().toStdString();
}

}  // namespace

QtPrompt::QtPrompt(QWidget* parentWindow) : parent_(parentWindow) {}

QtPrompt::~QtPrompt() {
    takeDownWaitCursor();
}

void QtPrompt::showMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
    const ArrowCursorWhileOpen arrow(cursorShown_);
    runBox(iconOf(icon), text, caption, QMessageBox::Ok, parent_);
}

bool QtPrompt::askYesNo(std::string_view text, std::string_view caption) {
    const ArrowCursorWhileOpen arrow(cursorShown_);
    // Every question the editor asks warns of what Yes would do, so it carries the warning
    // sign rather than the question mark.
    return runBox(QMessageBox::Warning, text, caption, QMessageBox::Yes | QMessageBox::No,
                  parent_) == QMessageBox::Yes;
}

void QtPrompt::beginWaitCursor() {
    if (waitDepth_++ == 0 && hasGuiApplication()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorShown_ = true;
    }
}

void QtPrompt::endWaitCursor() {
    if (waitDepth_ > 0 && --waitDepth_ == 0) {
        takeDownWaitCursor();
    }
}

void QtPrompt::takeDownWaitCursor() {
    if (cursorShown_ && hasGuiApplication()) {
        QApplication::restoreOverrideCursor();
    }
    cursorShown_ = false;
}

std::optional<std::string> QtPrompt::chooseOpenFile(const FileDialogRequest& request) {
    const ArrowCursorWhileOpen arrow(cursorShown_);
    return runFileDialog(request, QFileDialog::AcceptOpen, parent_);
}

std::optional<std::string> QtPrompt::chooseSaveFile(const FileDialogRequest& request) {
    const ArrowCursorWhileOpen arrow(cursorShown_);
    return runFileDialog(request, QFileDialog::AcceptSave, parent_);
}

}  // namespace y4
