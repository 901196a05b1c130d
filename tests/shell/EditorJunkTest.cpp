// The whole editor driven with junk: a few thousand seeded steps, each on a visible, enabled
// control of the main window or of a tool dialog it has shown (junk typed into a box and
// confirmed, a button, check box or radio button clicked, a list entry or tree row chosen or
// switched, a drag on the view), with every modal dialog a step opens fiddled with and
// dismissed, and every message and file dialog answered at random through the prompt. No step
// may crash or hang; the scene stays sound, the Attributes and Textures dialogs show the
// selection and the bitmaps, and the model then saves into the test's folder and reloads to the
// same file.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstring>
#include <random>

#include "CarelessUser.h"
#include "EditorFixture.h"
#include "dialogs/CAttributesDialog.h"
#include "dialogs/CTexturesDialog.h"
#include "soak/SceneInvariants.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;

class EditorJunkTest : public test::EditorFixture {
protected:
    // A random row of `view`'s model, found by walking down from the top.
    QModelIndex anyRow(QAbstractItemView& view) {
        QAbstractItemModel* model = view.model();
        QModelIndex at;
        for (int depth = 0; model && depth < 4; ++depth) {
            const int rows = model->rowCount(at);
            if (rows == 0) {
                break;
            }
            at = model->index(static_cast<int>(random_() % static_cast<unsigned>(rows)), 0, at);
            if (random_() % 3 == 0) {
                break;
            }
        }
        return at;
    }

    // The controls of `window` a user could use now; the main window's Exit is spared, since it
    // ends the session.
    std::vector<QWidget*> usable(QWidget& window) {
        std::vector<QWidget*> out;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (w == nullptr) {
                continue;
            }
            const bool kind = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                              qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w);
            if (kind && w->isVisible() && w->isEnabled() && w->window() == &window && w != exit_) {
                out.push_back(w);
            }
        }
        return out;
    }

    // Whatever modal dialog is up when the event loop next runs is fiddled with and dismissed.
    void answerModalLater(int depth) {
        QTimer::singleShot(0, &guard_, [this, depth] {
            // A button's menu (the recent models) runs its own loop until it is closed.
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popup->close();
                return;
            }
            QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            // The one still up, or null.
            const auto open = [&dialog]() -> QDialog* {
                QDialog* d = dialog.data();
                return d != nullptr && d->isVisible() ? d : nullptr;
            };
            if (open() == nullptr) {
                return;
            }
            ++modals_;
            for (int k = 0; k < 6; ++k) {
                if (QDialog* d = open()) {
                    act(*d, depth + 1);
                }
            }
            if (QDialog* d = open()) {
                d->reject();
            }
        });
    }

    // One use of one control of `window`. Within a modal dialog opened from another modal one,
    // only boxes and lists are used, so that dialogs do not nest without end.
    void act(QWidget& window, int depth) {
        QWidget* w = junk_.any(usable(window));
        if (w == nullptr) {
            return;
        }
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            if (box->isReadOnly()) {
                return;
            }
            box->setText(QString::fromStdString(junk_.text()));
            if (random_() % 2 == 0) {
                answerModalLater(depth);
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(box, &out);
            }
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            if (list->count() > 0) {
                test::choose(*list,
                             static_cast<int>(random_() % static_cast<unsigned>(list->count())));
            }
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            const QModelIndex row = anyRow(*view);
            if (!row.isValid()) {
                return;
            }
            if (random_() % 4 == 0 && (view->model()->flags(row) & Qt::ItemIsUserCheckable)) {
                const bool on = view->model()->data(row, Qt::CheckStateRole).toInt() == Qt::Checked;
                view->model()->setData(row, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            } else {
                view->setCurrentIndex(row);
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && depth < 2) {
            answerModalLater(depth);
            button->click();
        }
    }

    // A drag across the view, in whatever mode the commands have set.
    void dragOnView(CY4EditorDlg& window) {
        const QSize size = window.drawFrame().size() * window.drawFrame().devicePixelRatio();
        std::vector<QPoint> points;
        for (int k = 0; k < 2 + static_cast<int>(random_() % 4); ++k) {
            points.emplace_back(static_cast<int>(random_() % static_cast<unsigned>(size.width())),
                                static_cast<int>(random_() % static_cast<unsigned>(size.height())));
        }
        answerModalLater(0);
        drag(window, points);
    }

    void run(const char* model, std::uint32_t seed, int steps) {
        SCOPED_TRACE(std::string(model) + " seed " + std::to_string(seed));
        random_.seed(seed);
        const std::string junkModel = dir_.write("JUNK.Y4P", "NumVertices: 99999999999\n\x01");
        test::CarelessUser user(
            random_,
            {sample(model), sample("CRATE.Y4P"), sample("GARDEN.Y4D"), junkModel,
             sample("ROCK.BMP")},
            {dir_.file("SAVED.Y4P"), dir_.file("SAVED.Y4D"), dir_.file("NEW.Y4T")});
        // The careless user answers until the window is gone: a backdrop file named with junk
        // is reported again when the view is drawn after the steps.
        const test::InstalledPrompt installed(&user);
        auto window = start();
        exit_ = &button(*window, "Exit");
        {
            ASSERT_TRUE(window->openModel(sample(model)));
            for (int step = 0; step < steps; ++step) {
                const unsigned action = random_() % 40;
                if (action == 0) {
                    dragOnView(*window);
                } else if (action == 1) {
                    random_() % 2 ? window->undo() : window->redo();
                } else {
                    std::vector<QWidget*> windows;
                    for (QWidget* w : QApplication::topLevelWidgets()) {
                        if (w->isVisible() && qobject_cast<QDialog*>(w)) {
                            windows.push_back(w);
                        }
                    }
                    // The main window is one of them, and a modal dialog never outlives its step.
                    ASSERT_EQ(QApplication::activeModalWidget(), nullptr) << "after step " << step;
                    if (QWidget* target = junk_.any(windows)) {
                        act(*target, 0);
                    }
                }
                const ModelDocument& document = window->document();
                ASSERT_TRUE(document.hasModel());
                const Lines problems =
                    test::SceneInvariants::check(*document.reader(), document.tree());
                ASSERT_EQ(problems, Lines{}) << "after step " << step;
                // The editing dialogs, shown or not, show the selection and the bitmaps.
                ASSERT_EQ(test::box(window->attributesDialog(), "GroupName:").isEnabled(),
                          document.selectedRecord() != nullptr)
                    << "after step " << step;
                ASSERT_EQ(
                    test::control<QListWidget>(window->texturesDialog(), "Texture List").count(),
                    static_cast<int>(document.reader()->bitmapNames.size()))
                    << "after step " << step;
            }
        }
        // The careless user saw messages, answered questions and file dialogs, and met modal
        // dialogs.
        EXPECT_GT(user.messages.size(), 0u);
        EXPECT_GT(user.questions + user.fileDialogs, 0);
        EXPECT_GT(modals_, 0);

        ModelDocument& document = window->document();
        const std::string extension = document.modelPath().substr(document.modelPath().size() - 4);
        const std::string saved = dir_.file("FINAL" + extension);
        ASSERT_TRUE(document.save(saved));
        ModelDocument reloaded;
        ASSERT_TRUE(reloaded.load(saved)) << user.messages.back();
        EXPECT_EQ(reloaded.reader()->faces.size(), document.reader()->faces.size());
        EXPECT_EQ(reloaded.reader()->vertices.size(), document.reader()->vertices.size());
        const std::string again = dir_.file("AGAIN" + extension);
        ASSERT_TRUE(reloaded.save(again));
        EXPECT_TRUE(test::TempDir::read(again) == test::TempDir::read(saved))
            << "the saved model does not reload to the same file";
        window.reset();
    }

    std::mt19937 random_;
    test::Junk junk_{random_};
    QObject guard_;
    QAbstractButton* exit_ = nullptr;
    int modals_ = 0;
};

TEST_F(EditorJunkTest, JunkInEveryControlOfEveryWindowKeepsTheModelSound) {
    run("CRATE.Y4P", 20, 3000);
}

TEST_F(EditorJunkTest, JunkOnTheFlatModelAndTheTerrain) {
    run("GARDEN.Y4D", 5, 1500);
    run("ISLAND.Y4T", 11, 1500);
}

}  // namespace
}  // namespace y4
