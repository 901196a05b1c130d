// QtPrompt on the offscreen platform: the wait cursor's nesting, and the boxes and file dialogs
// it opens, each inspected and answered from inside its own event loop so none stays open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "shell/QtPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

class QtPromptTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QApplication::instance() == nullptr) {
            application_ = new QApplication(argc_, argv_);
        }
    }
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "shell_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline QApplication* application_ = nullptr;
};

// Runs `open`, which opens a modal window of type W; once the window shows, hands it to
// `answer`, which must close it. Returns how many windows were answered.
template <class W>
int answerWindow(const std::function<void()>& open, const std::function<void(W&)>& answer) {
    int answered = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (W* window = qobject_cast<W*>(widget); window != nullptr && window->isVisible()) {
                timer.stop();
                ++answered;
                answer(*window);
                return;
            }
        }
    });
    timer.start(0);  // runs only inside the window's own event loop
    open();
    return answered;
}

struct ShownBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons buttons;
};

ShownBox answerBox(const std::function<void()>& open, QMessageBox::StandardButton button,
                   const std::function<void()>& whileOpen = {}) {
    ShownBox shown;
    const int answered = answerWindow<QMessageBox>(open, [&](QMessageBox& box) {
        if (whileOpen) {
            whileOpen();
        }
        shown = {box.windowTitle(), box.text(), box.icon(), box.textFormat(),
                 box.standardButtons()};
        box.button(button)->click();
    });
    EXPECT_EQ(answered, 1);
    return shown;
}

Qt::CursorShape overrideShape() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor == nullptr ? Qt::ArrowCursor : cursor->shape();
}

TEST_F(QtPromptTest, WaitCursorNestsAndGivesWayToBoxes) {
    {
        QtPrompt prompt;
        ASSERT_EQ(QApplication::overrideCursor(), nullptr);
        prompt.endWaitCursor();
        Prompt* previous = installPrompt(&prompt);
        {
            WaitCursor outer;
            WaitCursor inner;
            EXPECT_EQ(overrideShape(), Qt::WaitCursor);
            prompt.endWaitCursor();
            EXPECT_EQ(overrideShape(), Qt::WaitCursor);
            prompt.beginWaitCursor();
        }
        installPrompt(previous);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        // An extra end must not take down a cursor that someone else set.
        QApplication::setOverrideCursor(Qt::CrossCursor);
        prompt.endWaitCursor();
        EXPECT_EQ(overrideShape(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();

        prompt.beginWaitCursor();  // left shown: the prompt takes it down when it goes
        Qt::CursorShape overBox = Qt::BlankCursor;
        answerBox([&] { prompt.showMessage("Error: busy", MessageIcon::Exclamation, {}); },
                  QMessageBox::Ok, [&] { overBox = overrideShape(); });
        EXPECT_EQ(overBox, Qt::ArrowCursor);
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtPromptTest, MessageBoxesShowIconCaptionPlainTextAndTheirButtons) {
    QtPrompt prompt;
    const ShownBox warning =
        answerBox([&] { prompt.showMessage("Error: <b>X.BMP</b>", MessageIcon::Exclamation, {}); },
                  QMessageBox::Ok);
    EXPECT_EQ(warning.title, "Y4Editor");
    EXPECT_EQ(warning.text, "Error: <b>X.BMP</b>");
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.format, Qt::PlainText);
    EXPECT_EQ(warning.buttons, QMessageBox::Ok);
    const ShownBox information = answerBox(
        [&] { prompt.showMessage("Done", MessageIcon::Information, "Textures"); }, QMessageBox::Ok);
    EXPECT_EQ(information.title, "Textures");
    EXPECT_EQ(information.icon, QMessageBox::Information);
    EXPECT_EQ(
        answerBox([&] { prompt.showMessage("Plain", MessageIcon::None, {}); }, QMessageBox::Ok)
            .icon,
        QMessageBox::NoIcon);

    for (const bool yes : {true, false}) {
        bool answer = !yes;
        const ShownBox question = answerBox([&] { answer = prompt.askYesNo("Save changes?", {}); },
                                            yes ? QMessageBox::Yes : QMessageBox::No);
        EXPECT_EQ(answer, yes);
        EXPECT_EQ(question.title, "Y4Editor");
        EXPECT_EQ(question.icon, QMessageBox::Question);
        EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

TEST_F(QtPromptTest, FileDialogsTakeTheRequestAndReportCancel) {
    test::TempDir dir;
    QtPrompt prompt;
    std::optional<std::string> chosen = "";
    const FileDialogRequest open{"Load Y4 File", "Models (*.Y4P *.Y4T);;All files (*)", dir.path(),
                                 ""};
    EXPECT_EQ(answerWindow<QFileDialog>(
                  [&] { chosen = prompt.chooseOpenFile(open); },
                  [](QFileDialog& dialog) {
                      EXPECT_EQ(dialog.windowTitle(), "Load Y4 File");
                      EXPECT_EQ(dialog.nameFilters(),
                                QStringList({"Models (*.Y4P *.Y4T)", "All files (*)"}));
                      EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
                      dialog.reject();
                  }),
              1);
    EXPECT_EQ(chosen, std::nullopt);

    const FileDialogRequest save{"Save Y4 File", "Y4P Files (*.Y4P)", dir.file("MODEL"), "Y4P"};
    EXPECT_EQ(answerWindow<QFileDialog>([&] { chosen = prompt.chooseSaveFile(save); },
                                        [](QFileDialog& dialog) {
                                            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
                                            // accept() is a protected slot; the dialog's Save
                                            // button calls it.
                                            QMetaObject::invokeMethod(&dialog, "accept");
                                        }),
              1);
    EXPECT_EQ(chosen, dir.file("MODEL.Y4P"));
}

}  // namespace
}  // namespace y4
