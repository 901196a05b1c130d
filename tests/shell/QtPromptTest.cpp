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
        EXPECT_EQ(answerWindow<QMessageBox>(
                      [&] { prompt.showMessage("Error: busy", MessageIcon::Exclamation, {}); },
                      [&](QMessageBox& box) {
                          overBox = overrideShape();
                          box.button(QMessageBox::Ok)->click();
                      }),
                  1);
        EXPECT_EQ(overBox, Qt::ArrowCursor);
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtPromptTest, MessageBoxesShowIconCaptionPlainTextAndTheirButtons) {
    QtPrompt prompt;
    bool answer = false;
    const struct {
        std::function<void()> open;
        QMessageBox::StandardButton click;
        QString title, text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    } cases[] = {
        {[&] { prompt.showMessage("Error: <b>X.BMP</b>", MessageIcon::Exclamation, {}); },
         QMessageBox::Ok, "Y4Editor", "Error: <b>X.BMP</b>", QMessageBox::Warning, QMessageBox::Ok},
        {[&] { prompt.showMessage("Done", MessageIcon::Information, "Textures"); }, QMessageBox::Ok,
         "Textures", "Done", QMessageBox::Information, QMessageBox::Ok},
        {[&] { prompt.showMessage("Plain", MessageIcon::None, {}); }, QMessageBox::Ok, "Y4Editor",
         "Plain", QMessageBox::NoIcon, QMessageBox::Ok},
        {[&] { answer = prompt.askYesNo("Save changes?", {}); }, QMessageBox::Yes, "Y4Editor",
         "Save changes?", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No},
        {[&] { answer = prompt.askYesNo("Save changes?", {}); }, QMessageBox::No, "Y4Editor",
         "Save changes?", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No},
    };
    for (const auto& c : cases) {
        const auto inspectAndAnswer = [&](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), c.title);
            EXPECT_EQ(box.text(), c.text);
            EXPECT_EQ(box.icon(), c.icon);
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            EXPECT_EQ(box.standardButtons(), c.buttons);
            box.button(c.click)->click();
        };
        answer = c.click != QMessageBox::Yes;
        EXPECT_EQ(answerWindow<QMessageBox>(c.open, inspectAndAnswer), 1);
        if (c.buttons != QMessageBox::Ok) {
            EXPECT_EQ(answer, c.click == QMessageBox::Yes);
        }
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

    // A save dialog that takes only an existing file: the model is written over it.
    const std::string existing = dir.write("OLD.Y4P", "x");
    FileDialogRequest over{"Save Y4 File", "Y4P Files (*.Y4P)", existing, "Y4P"};
    over.mustExist = true;
    EXPECT_EQ(answerWindow<QFileDialog>([&] { chosen = prompt.chooseSaveFile(over); },
                                        [](QFileDialog& dialog) {
                                            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
                                            EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
                                            QMetaObject::invokeMethod(&dialog, "accept");
                                        }),
              1);
    EXPECT_EQ(chosen, existing);
}

}  // namespace
}  // namespace y4
