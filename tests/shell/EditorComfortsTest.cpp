// The editor's comforts through its window: a long load cancelled in its progress window, the
// recent models beside "Load Y4 File", models dropped on the window and the model named on the
// command line.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <cstdio>

#include "ModelGenerator.h"
#include "shell/EditorFixture.h"
#include "shell/FileProgressDialog.h"
#include "support/SceneDump.h"

namespace y4 {
namespace {

using test::testPrompt;

class EditorComfortsTest : public test::EditorFixture {
protected:
    ~EditorComfortsTest() override {
        FileProgressDialog::setShowDelay(FileProgressDialog::kDefaultShowDelayMs);
    }

    static QToolButton& recentButton(CY4EditorDlg& window) {
        return test::control<QToolButton>(window, "Recent");
    }
    // The recent models as the menu shows them: "<name> in <folder>" each.
    static std::vector<std::string> recentMenu(CY4EditorDlg& window) {
        std::vector<std::string> out;
        for (QAction* action : recentButton(window).menu()->actions()) {
            out.push_back(action->text().toStdString() + " in " + action->toolTip().toStdString());
        }
        return out;
    }
    static void chooseRecent(CY4EditorDlg& window, const std::string& name) {
        for (QAction* action : recentButton(window).menu()->actions()) {
            if (action->text().toStdString() == name) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no recent model " << name;
    }
    // A drag of `files` entering the window, and whether the window takes it.
    static bool dragEnters(CY4EditorDlg& window, const QList<QUrl>& files) {
        QMimeData data;
        data.setUrls(files);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        return enter.isAccepted();
    }
    static void drop(CY4EditorDlg& window, const QList<QUrl>& files) {
        QMimeData data;
        data.setUrls(files);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
        QApplication::processEvents();
    }
    std::string folder() const { return dir_.path(); }
};

TEST_F(EditorComfortsTest, ACancelledLoadInTheProgressWindowKeepsTheModelThatWasOpen) {
    const auto window = startWithCrate();
    window->document().selectRecord(window->document().reader()->root());
    button(*window, "ScaleX").click();
    ASSERT_TRUE(window->document().isModified());
    // A load clears the selection before anything else.
    window->document().deselect();
    const std::string before = test::SceneDump::text(*window->document().reader());
    const QString title = window->windowTitle();

    gen::GeneratorOptions options;
    options.faces = 60000;
    options.groups = 80;
    const std::string large = dir_.file("LARGE.Y4P");
    gen::ModelGenerator::write(options, large);

    // The window shows at once; Cancel is clicked as soon as it is there.
    FileProgressDialog::setShowDelay(0);
    QString shown;
    QTimer clicker;
    clicker.setInterval(0);
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            shown = progress->labelText();
            progress->findChild<QPushButton*>()->click();
        }
    });
    clicker.start();
    testPrompt().expectQuestion("Save changes?", false);
    load(*window, large);
    clicker.stop();
    EXPECT_EQ(shown, "Loading LARGE.Y4P");
    EXPECT_FALSE(FileProgressDialog::running());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // No message: the crate, its changes, its title and its trace stay; it is still the one
    // recent model.
    EXPECT_EQ(test::SceneDump::text(*window->document().reader()), before);
    EXPECT_TRUE(window->document().isModified());
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(window->document().modelFile(), sample("CRATE.Y4P"));
    const std::vector<std::string> lines = logLines();
    EXPECT_EQ(lines.back(), "OnButtonLoad - before new Reader()");
    EXPECT_EQ(recentMenu(*window), std::vector<std::string>{"CRATE.Y4P in " + folder()});

    // Let run, the same load opens the model.
    FileProgressDialog::setShowDelay(FileProgressDialog::kDefaultShowDelayMs);
    testPrompt().expectQuestion("Save changes?", false);
    load(*window, large);
    EXPECT_EQ(window->document().reader()->faces.size(), 60000u);
    EXPECT_EQ(recentMenu(*window).front(), "LARGE.Y4P in " + folder());
}

TEST_F(EditorComfortsTest, RecentModelsDropsAndTheCommandLineOpenAsLoadYFileDoes) {
    const auto window = start();
    EXPECT_FALSE(recentButton(*window).isEnabled());
    load(*window, sample("CRATE.Y4P"));
    load(*window, sample("GARDEN.Y4D"));
    EXPECT_TRUE(recentButton(*window).isEnabled());
    EXPECT_EQ(recentMenu(*window),
              (std::vector<std::string>{"GARDEN.Y4D in " + folder(), "CRATE.Y4P in " + folder()}));

    // A recent model opens through the load, with its question for a modified model first.
    window->document().selectRecord(window->document().reader()->root());
    button(*window, "ScaleX").click();
    testPrompt().expectQuestion("Save changes?", false);
    chooseRecent(*window, "CRATE.Y4P");
    EXPECT_EQ(window->document().modelFile(), sample("CRATE.Y4P"));
    EXPECT_EQ(recentMenu(*window).front(), "CRATE.Y4P in " + folder());

    // A model that is gone is offered for removal, and stays when the answer is No.
    ASSERT_EQ(std::remove(sample("GARDEN.Y4D").c_str()), 0);
    const std::string gone =
        sample("GARDEN.Y4D") + " no longer exists. Remove it from the recent models?";
    testPrompt().expectQuestion(gone, false);
    chooseRecent(*window, "GARDEN.Y4D");
    EXPECT_EQ(recentMenu(*window).size(), 2u);
    testPrompt().expectQuestion(gone, true);
    chooseRecent(*window, "GARDEN.Y4D");
    EXPECT_EQ(recentMenu(*window), std::vector<std::string>{"CRATE.Y4P in " + folder()});
    EXPECT_EQ(window->document().modelFile(), sample("CRATE.Y4P"));

    // Drops: only local files of a model variant, in any case; of several the first model.
    const std::string box = dir_.write("box.y4p", test::TempDir::read(sample("CRATE.Y4P")));
    const QUrl notes = QUrl::fromLocalFile(QString::fromStdString(dir_.write("NOTES.TXT", "x")));
    const QUrl boxUrl = QUrl::fromLocalFile(QString::fromStdString(box));
    EXPECT_FALSE(dragEnters(*window, {notes}));
    EXPECT_FALSE(dragEnters(*window, {QUrl("https://example.org/A.Y4P")}));
    EXPECT_TRUE(dragEnters(*window, {notes, boxUrl}));
    drop(*window,
         {notes, boxUrl, QUrl::fromLocalFile(QString::fromStdString(sample("ISLAND.Y4T")))});
    EXPECT_EQ(window->document().modelFile(), box);
    EXPECT_EQ(window->document().modelPath(), ModelSource::chosen(box).name);
    EXPECT_EQ(recentMenu(*window).front(), "box.y4p in " + folder());

    // The command line: a relative name is known by its full path; a missing file and a file
    // of no model variant say what the open dialog's choice would, and the editor goes on.
    const QString program = QStringLiteral("y4editor");
    EXPECT_EQ(CY4EditorApp::modelArgument({program}), std::nullopt);
    EXPECT_EQ(CY4EditorApp::modelArgument({program, QStringLiteral("A.Y4P")}),
              (std::filesystem::current_path() / "A.Y4P").string());
    testPrompt().expectMessage("Error: Could not open file " + sample("NONE.Y4P") +
                               ": No such file or directory");
    EXPECT_FALSE(window->openModel(sample("NONE.Y4P")));
    testPrompt().expectMessage("Error: Unknown file type");
    EXPECT_FALSE(window->openModel(dir_.file("NOTES.TXT")));
    EXPECT_EQ(window->document().modelFile(), box);
    EXPECT_EQ(recentMenu(*window).size(), 2u);
}

}  // namespace
}  // namespace y4
