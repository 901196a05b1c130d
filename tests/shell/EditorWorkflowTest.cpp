// The main window's model workflow through its buttons: the trace lines of a load, a save and
// a commit; the questions before a load, a save and the exit; the snapshot stack with the
// buttons after each step; failed loads, saves and discards that keep the model, the controls and
// the user's work; the catch-alls around a save and a commit.
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include <sys/stat.h>

#include "EditorFixture.h"
#include "dialogs/CObjectTreeDialog.h"
#include "platform/TraceLog.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;
using test::testPrompt;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// "\n\nX" and "X\n\n" are written as lines of their own.
Lines entry(const std::string& line) {
    return {"", "", line};
}
Lines exit(const std::string& line) {
    return {line, "", ""};
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Lines kWriter = entry("Writer - ENTRY POINT") +
                      Lines{"Writer - before preprocess()", "Writer - after preprocess()",
                            "Writer() - before postprocess()", "Writer() - after postprocess()"} +
                      exit("Writer - EXIT POINT");

class EditorWorkflowTest : public test::EditorFixture {
protected:
    // The lines written since the last call.
    Lines newLogLines() {
        Lines all = logLines();
        Lines fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        return fresh;
    }
    // The buttons of the file commands that are enabled, in caption order.
    static std::string fileButtons(CY4EditorDlg& window) {
        std::string out;
        for (const char* caption :
             {"Load Y4 File", "Save Y4 File", "Commit Changes", "Discard Changes"}) {
            if (button(window, caption).isEnabled()) {
                out += out.empty() ? caption : std::string(", ") + caption;
            }
        }
        return out;
    }
    // An edit through the buttons: the root selected and scaled along X by the factor.
    static void scaleRoot(CY4EditorDlg& window) {
        window.document().selectRecord(window.document().reader()->root());
        button(window, "ScaleX").click();
    }

    std::size_t seen_ = 0;
};

// Throws from an announcement, as a faulty part of the editor would.
class Faulty : public DocumentObserver {
public:
    bool armed = false;
    void modifiedChanged(bool) override { fail(); }
    void undoRedoChanged(bool, bool) override { fail(); }

private:
    void fail() const {
        if (armed) {
            throw std::runtime_error("faulty");
        }
    }
};

TEST_F(EditorWorkflowTest, LoadSaveAndCommitWriteTheirTraceLinesAndSurviveExceptions) {
    // A model chosen under a lower-case name is opened and known by its upper-cased path.
    const std::string path = dir_.write("crate.y4p", test::TempDir::read(sample("CRATE.Y4P")));
    std::filesystem::remove(sample("CRATE.Y4P"));
    const auto window = start();
    window->setSamplesFolder(dir_.file("samples"));
    newLogLines();
    load(*window, path);
    const Lines loadLines = entry("OnButtonLoad - ENTRY POINT") +
                            Lines{"OnButtonLoad - before deselect()",
                                  "OnButtonLoad - after deselect()",
                                  "OnButtonLoad - before 1",
                                  "OnButtonLoad - after 1",
                                  "OnButtonLoad - before queryRegistryValue(path)",
                                  "OnButtonLoad - after queryRegistryValue(path)",
                                  "OnButtonLoad - before queryRegistryValue(extension)",
                                  "OnButtonLoad - after queryRegistryValue(extension)",
                                  "OnButtonLoad - before extension.MakeUpper()",
                                  "OnButtonLoad - after extension.MakeUpper()",
                                  "OnButtonLoad - before filter",
                                  "OnButtonLoad - after filters",
                                  "OnButtonLoad - before loadDlg",
                                  "OnButtonLoad - before new Reader()",
                                  "OnButtonLoad - after new Reader()",
                                  "OnButtonLoad - here 1",
                                  "OnButtonLoad - here 2",
                                  "OnButtonLoad - here 3",
                                  "OnButtonLoad - here 4",
                                  "OnButtonLoad - after loadDlg",
                                  "OnButtonLoad - before RenderScene()",
                                  "OnButtonLoad - after RenderScene()"} +
                            exit("OnButtonLoad - EXIT POINT");
    EXPECT_EQ(newLogLines(), loadLines);
    EXPECT_EQ(store_.query("path"), upper(path));
    EXPECT_EQ(store_.query("extension"), "y4p");
    EXPECT_EQ(window->windowTitle().toStdString(), "Y4Editor v1.0F - " + upper(path));
    EXPECT_EQ(fileButtons(*window), "Load Y4 File, Save Y4 File");
    // The first open dialog, with no path stored, started in the samples' folder.
    ASSERT_EQ(testPrompt().fileDialogs.size(), 1u);
    EXPECT_EQ(testPrompt().fileDialogs[0].initialPath, dir_.file("samples"));
    EXPECT_EQ(testPrompt().fileDialogs[0].filter,
              "Y4P Files (*.Y4P);;Y4D Files (*.Y4D);;Y4T Files (*.Y4T);;All Files (*.*)");
    EXPECT_TRUE(testPrompt().fileDialogs[0].mustExist);

    // Saving a modified model offers to commit first; No still saves, over the file offered.
    scaleRoot(*window);
    EXPECT_EQ(fileButtons(*window), "Load Y4 File, Save Y4 File, Commit Changes, Discard Changes");
    testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
    testPrompt().expectFileDialog(path);
    newLogLines();
    button(*window, "Save Y4 File").click();
    EXPECT_FALSE(window->document().isModified());
    const FileDialogRequest& saveDialog = testPrompt().fileDialogs.back();
    EXPECT_EQ(saveDialog.title, "Save Y4 File");
    EXPECT_EQ(saveDialog.initialPath, path);
    EXPECT_TRUE(saveDialog.mustExist);
    const Lines saveLines = entry("OnButtonSave - ENTRY POINT") +
                            Lines{"OnButtonSave - before OnButtonCommitChanges()"} +
                            entry("OnButtonCommitChanges() - ENTRY POINT") +
                            exit("OnButtonCommitChanges() - EXIT POINT") +
                            Lines{"OnButtonSave - after OnButtonCommitChanges()",
                                  "OnButtonSave - before queryRegistryValue(extension)",
                                  "OnButtonsave - after queryRegistryValue(externsion)",
                                  "OnButtonsave - before extension.MakeUpper()",
                                  "OnButtonsave - after extension.MakeUpper()",
                                  "OnButtonsave - before filters",
                                  "OnButtonsave - after filters",
                                  "OnButtonSave - before SaveDlg",
                                  "OnButtonSave - Here 1",
                                  "OnButtonSave -  Here 2"} +
                            kWriter +
                            Lines{"OnButtonSave - Here 3",
                                  "OnButtonSave - Here 4",
                                  "OnButtonSave - Here 5",
                                  "OnButtonSave - Here 6",
                                  "OnButtonSave - after SaveDlg",
                                  "OnButtonSave - before RenderScene()",
                                  "OnButtonSave - after RenderScene()",
                                  "OnButtonSave - before Invalidate",
                                  "OnButtonSave - after Invalidate"} +
                            exit("OnButtonSave - EXIT POINT");
    EXPECT_EQ(newLogLines(), saveLines);

    testPrompt().expectQuestion("Are you sure you want to commit changes?", true);
    button(*window, "Commit Changes").click();
    const Lines commitLines = entry("OnButtonCommitChanges() - ENTRY POINT") +
                              Lines{"OnButtonCommitChanges() - before sprintf",
                                    "OnButtonCommitChanges() - after sprintf",
                                    "OnButtonCommitChanges() - before strcat Y4P",
                                    "OnButtonCommitChanges() - after strcat Y4P",
                                    "OnButtonCommitChanges() - before finalDelete()",
                                    "Reader::finalDelete() - before 1",
                                    "Reader::finalDelete() - before 1",
                                    "Reader::finalDelete() - before 2",
                                    "Reader::finalDelete() - after 2",
                                    "OnButtonCommitChanges() - after finalDelete()",
                                    "OnButtonCommitChanges() - before new Writer"} +
                              kWriter +
                              Lines{"OnButtonCommitChanges() - after new Writer",
                                    "OnButtonCommitChanges() - before delete pWriter",
                                    "OnButtonCommitChanges() - after delete pWriter",
                                    "OnButtonCommitChanges() - before saveDisplayState()",
                                    "OnButtonCommitChanges() - after saveDisplayState()",
                                    "OnButtonCommitChanges() - after RenderScene()"} +
                              exit("OnButtonCommitChanges() - EXIT POINT");
    EXPECT_EQ(newLogLines(), commitLines);
    EXPECT_EQ(window->document().commitCounter(), 2);

    // The stored path is upper case; the next open dialog offers the file as it is spelled.
    testPrompt().expectFileDialog(std::nullopt);
    button(*window, "Load Y4 File").click();
    EXPECT_EQ(testPrompt().fileDialogs.back().initialPath, path);
    EXPECT_EQ(window->document().commitCounter(), 2);

    // An exception in a commit or a save is reported by the catch-all, and the editor goes on.
    Faulty faulty;
    window->document().addObserver(&faulty);
    scaleRoot(*window);
    faulty.armed = true;
    testPrompt().expectQuestion("Are you sure you want to commit changes?", true);
    testPrompt().expectMessage("Unhandled exception in OnButtonCommitChanges()");
    button(*window, "Commit Changes").click();
    testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
    testPrompt().expectFileDialog(path);
    testPrompt().expectMessage("Unhandled exception in onButtonSave()");
    EXPECT_FALSE(window->OnButtonSave());
    faulty.armed = false;
    window->document().removeObserver(&faulty);
    testPrompt().expectQuestion("Are you sure you want to commit changes?", true);
    button(*window, "Commit Changes").click();
    EXPECT_EQ(window->document().commitCounter(), 3);
}

TEST_F(EditorWorkflowTest, UnsavedChangesAreSavedOrKeptBeforeALoadOrTheExit) {
    store_.set("scaleXScale", "2");
    const std::string crate = sample("CRATE.Y4P");
    const std::string original = test::TempDir::read(crate);
    {
        // Yes to "Save changes?" runs the whole save, its own question and dialog included,
        // before the open dialog.
        const auto window = start();
        load(*window, crate);
        scaleRoot(*window);
        testPrompt().expectQuestion("Save changes?", true);
        testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
        testPrompt().expectFileDialog(crate);
        load(*window, sample("GARDEN.Y4D"));
        ASSERT_EQ(testPrompt().fileDialogs.size(), 3u);
        EXPECT_EQ(testPrompt().fileDialogs[1].title, "Save Y4 File");
        EXPECT_EQ(testPrompt().fileDialogs[2].title, "Load Y4 File");
        EXPECT_NE(test::TempDir::read(crate), original);
        EXPECT_EQ(window->document().modelFile(), sample("GARDEN.Y4D"));
        // The filters follow the variant loaded last.
        testPrompt().expectFileDialog(std::nullopt);
        button(*window, "Load Y4 File").click();
        EXPECT_EQ(testPrompt().fileDialogs.back().filter,
                  "Y4D Files (*.Y4D);;Y4P Files (*.Y4P);;Y4T Files (*.Y4T);;All Files (*.*)");

        // A save that did not happen (its dialog cancelled) keeps the model: no load, and no
        // exit.
        scaleRoot(*window);
        testPrompt().expectQuestion("Save changes?", true);
        testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
        testPrompt().expectFileDialog(std::nullopt);
        button(*window, "Load Y4 File").click();
        EXPECT_EQ(window->document().modelFile(), sample("GARDEN.Y4D"));
        EXPECT_TRUE(window->document().isModified());
        testPrompt().expectQuestion("Save changes?", true);
        testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
        testPrompt().expectFileDialog(std::nullopt);
        button(*window, "Exit").click();
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->document().isModified());

        // A save that fails is reported and keeps the flag and the window too.
        ASSERT_EQ(::mkfifo(dir_.file("PIPE.Y4D").c_str(), 0644), 0);
        testPrompt().expectQuestion("Save changes?", true);
        testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
        testPrompt().expectFileDialog(dir_.file("PIPE.Y4D"));
        testPrompt().expectMessage("Error: Could not write " + dir_.file("PIPE.Y4D") +
                                   ": Is a FIFO, not a regular file");
        window->close();
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->document().isModified());

        // No exits without saving.
        const std::string garden = test::TempDir::read(sample("GARDEN.Y4D"));
        testPrompt().expectQuestion("Save changes?", false);
        button(*window, "Exit").click();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(test::TempDir::read(sample("GARDEN.Y4D")), garden);
    }
    // Without changes nothing is asked; without a model a save does nothing.
    const auto window = start();
    EXPECT_FALSE(window->OnButtonSave());
    const std::size_t dialogs = testPrompt().fileDialogs.size();
    load(*window, crate);
    button(*window, "Exit").click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(testPrompt().fileDialogs.size(), dialogs + 1);
}

TEST_F(EditorWorkflowTest, TheSnapshotStackThroughTheButtons) {
    store_.set("scaleYScale", "2");
    const auto window = start();
    load(*window, sample("CRATE.Y4P"));
    ModelDocument& document = window->document();
    const auto lidY = [&] { return document.reader()->findEntityByName("Lid")->positionY; };
    const float y = lidY();
    ASSERT_NE(y, 0.0f);
    const auto scaleY = [&] {
        document.selectRecord(document.reader()->root());
        button(*window, "ScaleY").click();
    };
    const std::string all = "Load Y4 File, Save Y4 File, Commit Changes, Discard Changes";
    EXPECT_EQ(fileButtons(*window), "Load Y4 File, Save Y4 File");

    // Two commits write snapshots 1 and 2 of the lid at 2y and 4y.
    for (int k = 0; k < 2; ++k) {
        scaleY();
        EXPECT_EQ(fileButtons(*window), all);
        testPrompt().expectQuestion("Are you sure you want to commit changes?", true);
        button(*window, "Commit Changes").click();
        EXPECT_EQ(fileButtons(*window), all);
    }
    EXPECT_EQ(document.commitCounter(), 3);
    EXPECT_FLOAT_EQ(lidY(), 4 * y);
    scaleY();
    button(*window, "Textured").click();

    // Each discard steps back one commit, the draw mode kept while snapshots come back; the
    // third brings back the model itself, drawn as freshly loaded.
    const struct {
        int counter;
        float lid;
        bool textured;
    } steps[] = {{2, 4 * y, true}, {1, 2 * y, true}, {1, y, false}};
    for (const auto& step : steps) {
        testPrompt().expectQuestion("Are you sure you want to discard changes?", true);
        button(*window, "Discard Changes").click();
        EXPECT_EQ(document.commitCounter(), step.counter);
        EXPECT_FLOAT_EQ(lidY(), step.lid);
        EXPECT_EQ(button(*window, "Textured").isChecked(), step.textured);
        EXPECT_EQ(button(*window, "Solid").isChecked(), !step.textured);
        EXPECT_EQ(document.reader()->texturing, step.textured ? 1 : 0);
        EXPECT_EQ(fileButtons(*window), all);
        EXPECT_EQ(text(*window, "Selected Object"), "NULL");
    }
    // No answers No.
    testPrompt().expectQuestion("Are you sure you want to discard changes?", false);
    const Reader* reader = document.reader();
    button(*window, "Discard Changes").click();
    EXPECT_EQ(document.reader(), reader);

    // A discard whose reload fails is reported and keeps the model.
    ASSERT_EQ(std::remove(sample("CRATE.Y4P").c_str()), 0);
    testPrompt().expectQuestion("Are you sure you want to discard changes?", true);
    testPrompt().expectMessage("Error: Could not open file " + sample("CRATE.Y4P") +
                               ": No such file or directory");
    button(*window, "Discard Changes").click();
    EXPECT_EQ(document.reader(), reader);
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Y4Editor v1.0F - " + upper(sample("CRATE.Y4P")));
}

TEST_F(EditorWorkflowTest, EachLoadResetsTheControlsAFailedOneKeepsThemATerrainTakesItsDefaults) {
    const auto window = start();
    load(*window, sample("GARDEN.Y4D"));
    button(*window, "Wireframe").click();
    button(*window, "Normals").click();
    button(*window, "Orthogonal").click();
    button(*window, "Zoom").click();
    ViewRenderer& view = window->drawFrame().view();
    view.cameraRotation[0] = 10;
    view.cameraTranslation[0] = 3;

    // A load that fails keeps the model with its title, controls and selection. Each way a
    // load fails is told by the document (its own tests check every message): here a missing
    // texture.
    const Reader* reader = window->document().reader();
    const QString title = window->windowTitle();
    const auto enabled = [&] {
        std::string out;
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
            if (b->window() == window.get() && b->isEnabled()) {
                out += b->text().toStdString() + (b->isChecked() ? "* " : " ");
            }
        }
        return out;
    };
    const std::string buttons = enabled();
    const QString selected = text(*window, "Selected Object");
    const std::string noTexture = dir_.write("LOST.Y4P", test::TempDir::read(sample("CRATE.Y4P")));
    std::filesystem::rename(sample("METAL.BMP"), sample("METAL.KEPT"));
    testPrompt().expectMessage("Failed to open DIB file " + dir_.file("METAL.BMP") + ".\n");
    testPrompt().expectMessage("Error: Could not open required texture; aborting");
    load(*window, noTexture);
    std::filesystem::rename(sample("METAL.KEPT"), sample("METAL.BMP"));
    EXPECT_EQ(window->document().reader(), reader);
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(enabled(), buttons);
    EXPECT_EQ(text(*window, "Selected Object"), selected);
    EXPECT_EQ(view.cameraTranslation[0], 3);

    // Each load that succeeds resets them.
    load(*window, sample("ISLAND.Y4T"));
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Y4Editor v1.0F - " + upper(sample("ISLAND.Y4T")));
    for (const char* checked : {"Solid", "Vertices", "Perspective"}) {
        EXPECT_TRUE(button(*window, checked).isChecked()) << checked;
    }
    for (const char* unchecked : {"Wireframe", "Textured", "Normals", "Orthogonal"}) {
        EXPECT_FALSE(button(*window, unchecked).isChecked()) << unchecked;
    }
    EXPECT_EQ(text(*window, "EditMode"), "");
    EXPECT_EQ(view.mouseMode, 0);
    EXPECT_EQ(view.cameraRotation[0], ViewRenderer::kResetRotationX);
    EXPECT_EQ(view.cameraTranslation[0], 0);
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kPerspective);
    // Nothing stored: the terrain's own light and box.
    EXPECT_EQ(window->displaySettings().lightPosY, -5000.0f);
    EXPECT_EQ(window->projectionSettings().orthogonal2, 4048.0f);

    load(*window, sample("CRATE.Y4P"));
    EXPECT_EQ(window->displaySettings().lightPosY, DisplaySettings{}.lightPosY);
    EXPECT_EQ(window->projectionSettings().orthogonal2, ProjectionSettings{}.orthogonal2);
}

}  // namespace
}  // namespace y4
