// A whole editing session through the main window and its tool windows, as a user works: records
// chosen in the object tree window, a move and a turn dragged in the view, a face added and split,
// a group copied and pasted, a texture renamed, then commit and save; the saved file reloads to
// the edited scene, each edit in it.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <set>
#include <sstream>

#include "EditorFixture.h"
#include "dialogs/CObjectTreeDialog.h"
#include "dialogs/CTexturesDialog.h"
#include "files/Writer.h"
#include "support/SceneDump.h"
#include "support/SceneInvariants.h"

namespace y4 {
namespace {

using test::testPrompt;
using Lines = std::vector<std::string>;

// The lines of a scene dump that hold `needle`.
Lines linesWith(const std::string& dump, const std::string& needle) {
    Lines found;
    std::istringstream in(dump);
    for (std::string line; std::getline(in, line);) {
        if (line.find(needle) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}
// The value of field `key` on a dump line ("" if it has none).
std::string field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(' ' + key + '=');
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t from = at + key.size() + 2;
    return line.substr(from, line.find(' ', from) - from);
}
// The positions listed in a dump list such as "[3,4,]".
Lines listed(const std::string& list) {
    Lines out;
    std::istringstream in(list.substr(1, list.size() - 2));
    for (std::string item; std::getline(in, item, ',');) {
        out.push_back(item);
    }
    return out;
}
// The dump line of the only sub-entity of the entity called `name`.
std::string subOf(const std::string& dump, const std::string& name) {
    const Lines entity = linesWith(dump, "\"" + name + "\"");
    if (entity.size() != 1 || listed(field(entity[0], "subs")).size() != 1) {
        return "";
    }
    const Lines sub = linesWith(dump, "sub " + listed(field(entity[0], "subs"))[0] + ":");
    return sub.size() == 1 ? sub[0] : "";
}

class EditorSessionTest : public test::EditorFixture {
protected:
    // Chooses, in the object tree window, the item reached through `labels` (each found depth
    // first below the one before), as a click on its row does.
    static void choose(CY4EditorDlg& window, std::initializer_list<const char*> labels) {
        QTreeView& view = window.objectTreeDialog().treeView();
        QModelIndex found;
        for (const char* label : labels) {
            found = find(*view.model(), found, QString::fromLatin1(label));
            ASSERT_TRUE(found.isValid()) << label;
        }
        view.selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect);
        // The path names the record first, then what holds it.
        EXPECT_TRUE(text(window, "Selected Object").startsWith(found.data().toString() + "; "))
            << text(window, "Selected Object").toStdString();
    }
    static QModelIndex find(const QAbstractItemModel& model, const QModelIndex& parent,
                            const QString& label) {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            if (index.data().toString() == label) {
                return index;
            }
            if (const QModelIndex below = find(model, index, label); below.isValid()) {
                return below;
            }
        }
        return {};
    }
    static QPushButton& treeButton(CY4EditorDlg& window, const char* caption) {
        auto* found =
            test::findOneByAccessibleName<QPushButton>(window.objectTreeDialog(), caption);
        if (found == nullptr) {
            throw std::runtime_error(std::string("no single tree window button ") + caption);
        }
        return *found;
    }
    // Runs `answer` on the modal dialog that `open` shows; one that is not answered is
    // rejected, so the test cannot hang.
    static void withModal(const std::function<void()>& open,
                          const std::function<void(QDialog&)>& answer) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answered = true;
            answer(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << dialog->windowTitle().toStdString() << " stayed open";
                dialog->reject();
            }
        });
        open();
        EXPECT_TRUE(answered);
    }
    static void useExisting(QDialog& dialog, int row, int vertex) {
        const QString name = QStringLiteral("Vertex %1 Use Existing").arg(row);
        for (QComboBox* list : dialog.findChildren<QComboBox*>()) {
            if (list->accessibleName() == name) {
                list->setCurrentIndex(vertex);
                emit list->activated(vertex);
                return;
            }
        }
        ADD_FAILURE() << "no list " << name.toStdString();
    }
};

TEST_F(EditorSessionTest, AWholeSessionOnTheCrateReloadsAsEdited) {
    store_.set("translateXScale", "2");
    const std::string path = sample("CRATE.Y4P");
    std::string original;
    {
        ModelDocument untouched;
        ASSERT_TRUE(untouched.load(path));
        original = test::SceneDump::text(*untouched.reader());
    }
    const auto window = start();
    load(*window, path);
    window->RenderScene();
    ModelDocument& document = window->document();
    button(*window, "Objects...").click();
    ASSERT_TRUE(window->objectTreeDialog().isVisible());

    // The lid, chosen in the tree, dragged to the right and turned about X.
    choose(*window, {"Lid"});
    button(*window, "TranslateX").click();
    drag(*window, {{300, 200}, {330, 204}, {370, 190}});
    EXPECT_EQ(document.undoName(), "Translate");
    button(*window, "RotateX").click();
    drag(*window, {{300, 200}, {250, 200}});
    EXPECT_EQ(document.undoName(), "Rotate");

    // A face over three of the body's vertices through "Add Face", then split.
    choose(*window, {"Body", "SubEntity[0]"});
    withModal([&] { treeButton(*window, "Add Face").click(); },
              [&](QDialog& dialog) {
                  EXPECT_EQ(dialog.windowTitle(), "New Face");
                  useExisting(dialog, 1, 3);
                  useExisting(dialog, 2, 8);
                  useExisting(dialog, 3, 16);
                  test::findOneByAccessibleName<QPushButton>(dialog, "Apply")->click();
              });
    choose(*window, {"Body", "SubEntity[0]", "Face[12]"});
    treeButton(*window, "Split Face").click();
    EXPECT_EQ(text(*window, "Selected Object").toStdString(),
              "Face[13]; SubEntity[0]; Body; Crate; ");

    // The handles copied into the crate itself.
    choose(*window, {"Handles"});
    treeButton(*window, "Copy").click();
    choose(*window, {"Crate"});
    treeButton(*window, "Paste").click();

    // WOOD renamed BARK, a bitmap the folder holds.
    button(*window, "Textures...").click();
    CTexturesDialog& textures = window->texturesDialog();
    ASSERT_TRUE(textures.isVisible());
    textures.findChild<QListWidget*>("Texture List")->setCurrentRow(0);
    withModal(
        [&] { test::findOneByAccessibleName<QPushButton>(textures, "Rename Texture")->click(); },
        [&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Change Texture Name");
            test::findOneByAccessibleName<QLineEdit>(dialog, "New name:")->setText("BARK");
            testPrompt().expectQuestion(
                "Changing the texture to an invalid name may cause problems.  Are you sure you "
                "want to proceed?",
                true);
            test::findOneByAccessibleName<QPushButton>(dialog, "Apply")->click();
        });
    EXPECT_EQ(textures.findChild<QListWidget*>("Texture List")->item(0)->text(), "[0] BARK");

    // Commit, then save over the model's own file. The commit wrote a snapshot, not the model,
    // so the save still offers to commit; it need not.
    EXPECT_TRUE(document.isModified());
    testPrompt().expectQuestion("Are you sure you want to commit changes?", true);
    button(*window, "Commit Changes").click();
    EXPECT_EQ(document.commitCounter(), 2);
    testPrompt().expectQuestion("Are you sure you want to commit changes?", false);
    testPrompt().expectFileDialog(path);
    button(*window, "Save Y4 File").click();
    EXPECT_FALSE(document.isModified());

    // The saved file reloads to the scene the editor holds, as the file format keeps it.
    ModelDocument saved;
    ASSERT_TRUE(saved.load(path));
    EXPECT_EQ(test::SceneInvariants::check(*saved.reader(), saved.tree()), Lines{});
    const std::string expectedPath = dir_.file("EXPECTED.Y4P");
    const Writer written(*document.reader(), expectedPath);
    ModelDocument expected;
    ASSERT_TRUE(expected.load(expectedPath));
    const std::string dump = test::SceneDump::text(*saved.reader());
    EXPECT_EQ(dump, test::SceneDump::text(*expected.reader()));

    // And each edit is in it. The lid moved along X and turned about X, which is its Y turn.
    const Lines lidBefore = linesWith(original, "\"Lid\"");
    const Lines lidAfter = linesWith(dump, "\"Lid\"");
    ASSERT_EQ(lidBefore.size(), 1u);
    ASSERT_EQ(lidAfter.size(), 1u);
    EXPECT_NE(field(lidAfter[0], "x"), field(lidBefore[0], "x"));
    EXPECT_EQ(field(lidAfter[0], "y"), field(lidBefore[0], "y"));
    EXPECT_NE(field(lidAfter[0], "ry"), field(lidBefore[0], "ry"));
    // The body has the added face and its split half, over the three chosen corners and the
    // new middle vertex.
    const std::string part = subOf(dump, "Body");
    ASSERT_NE(part, "");
    const Lines faces = listed(field(part, "faces"));
    ASSERT_EQ(faces.size(), 14u);
    EXPECT_EQ(listed(field(subOf(original, "Body"), "faces")).size(), 12u);
    EXPECT_EQ(listed(field(part, "vertices")).size(), 25u);
    std::set<std::string> corners;
    for (std::size_t k = 12; k < 14; ++k) {
        const Lines face = linesWith(dump, "face " + faces[k] + ":");
        ASSERT_EQ(face.size(), 1u);
        for (const char* key : {"a", "b", "c"}) {
            corners.insert(field(face[0], key));
        }
    }
    EXPECT_EQ(corners, (std::set<std::string>{"3", "8", "16", "24"}));
    // The handles are there twice, each with both handles.
    for (const char* name : {"\"Handles\"", "\"Handle Left\"", "\"Handle Right\""}) {
        EXPECT_EQ(linesWith(original, name).size(), 1u) << name;
        EXPECT_EQ(linesWith(dump, name).size(), 2u) << name;
    }
    // The texture's new name.
    EXPECT_EQ(linesWith(dump, "bitmaps:"), Lines{"bitmaps: \"BARK\" \"METAL\""});
}

}  // namespace
}  // namespace y4
