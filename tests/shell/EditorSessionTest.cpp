// A whole editing session through the main window and its tool windows, as a user works: records
// chosen in the object tree window, a move and a turn dragged in the view, a face added and split,
// a group copied and pasted (not in a terrain), a texture renamed, then commit and save, on each
// sample; the saved file reloads to the edited scene, each edit in it.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <array>
#include <set>

#include "EditorFixture.h"
#include "dialogs/CObjectTreeDialog.h"
#include "dialogs/CTexturesDialog.h"
#include "files/Writer.h"
#include "soak/SceneInvariants.h"
#include "support/SceneDump.h"

namespace y4 {
namespace {

using test::testPrompt;
using Lines = std::vector<std::string>;

// One session's records, per variant.
struct Session {
    const char* file;
    // The record moved and turned, an entity or, in a terrain (whose file keeps no placement
    // for its entity), a mesh: its tree path, and the entity's name (null: the terrain's mesh,
    // seen through the model's first vertex).
    std::vector<const char*> moved;
    const char* movedEntity;
    // The sub-entity that gets the face: its tree path, its entity's name (null: the model's
    // first entity), its number there, its faces and vertices before, and the corners chosen.
    std::vector<const char*> part;
    const char* partOwner;
    std::size_t partNumber;
    int faces;
    int vertices;
    std::array<int, 3> corners;
    // The group copied (none in a terrain) with the groups below it, and where it goes.
    std::vector<const char*> copied;
    const char* destination;
    // The bitmap renamed, its new name, and the list of bitmaps then.
    int texture;
    const char* newName;
    Lines bitmaps;
};

class EditorSessionTest : public test::EditorFixture {
protected:
    // Chooses, in the object tree window, the item reached through `labels` (each found depth
    // first below the one before), as a click on its row does.
    static void choose(CY4EditorDlg& window, const std::vector<const char*>& labels) {
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
        return test::button(window.objectTreeDialog(), caption);
    }

    void run(const Session& session);
};

TEST_F(EditorSessionTest, AWholeSessionOnEachSampleReloadsAsEdited) {
    store_.set("translateXScale", "2");
    const Session sessions[] = {
        {"CRATE.Y4P",
         {"Lid"},
         "Lid",
         {"Body", "SubEntity[0]"},
         "Body",
         0,
         12,
         24,
         {3, 8, 16},
         {"Handles", "Handle Left", "Handle Right"},
         "Crate",
         0,
         "BARK",
         {"BARK", "METAL"}},
        {"GARDEN.Y4D",
         {"Post"},
         "Post",
         {"Pyramid", "SubEntity[0]"},
         "Pyramid",
         0,
         4,
         12,
         {0, 4, 8},
         {"Lawn"},
         "Garden",
         1,
         "ROCK",
         {"GRASS", "ROCK", "BARK"}},
        {"ISLAND.Y4T",
         {"SubEntity[0]"},
         nullptr,
         {"SubEntity[2]"},
         nullptr,
         2,
         72,
         49,
         {0, 1, 7},
         {},
         nullptr,
         0,
         "STONE",
         {"STONE", "GRASS", "ROCK", "Zelvan's Terrain"}},
    };
    for (const Session& session : sessions) {
        SCOPED_TRACE(session.file);
        run(session);
    }
}

void EditorSessionTest::run(const Session& session) {
    const std::string path = sample(session.file);
    ModelDocument untouched;
    ASSERT_TRUE(untouched.load(path));
    const auto window = start();
    load(*window, path);
    window->RenderScene();
    ModelDocument& document = window->document();
    button(*window, "Objects...").click();
    ASSERT_TRUE(window->objectTreeDialog().isVisible());

    // A record, chosen in the tree, dragged to the right and turned about X.
    choose(*window, session.moved);
    button(*window, "TranslateX").click();
    drag(*window, {{300, 200}, {330, 204}, {370, 190}});
    EXPECT_EQ(document.undoName(), "Translate");
    button(*window, "RotateX").click();
    drag(*window, {{300, 200}, {250, 200}});
    EXPECT_EQ(document.undoName(), "Rotate");

    // A face over three of a sub-entity's vertices through "Add Face", then split.
    choose(*window, session.part);
    withModal([&] { treeButton(*window, "Add Face").click(); },
              [&](QDialog& dialog) {
                  EXPECT_EQ(dialog.windowTitle(), "New Face");
                  EXPECT_EQ(dialog.parentWidget(), &window->objectTreeDialog());
                  for (int k = 0; k < 3; ++k) {
                      test::choose(
                          test::list(dialog, "Vertex " + std::to_string(k + 1) + " Use Existing"),
                          session.corners[static_cast<std::size_t>(k)]);
                  }
                  test::button(dialog, "Apply").click();
              });
    std::vector<const char*> face = session.part;
    const std::string added = "Face[" + std::to_string(session.faces) + "]";
    face.push_back(added.c_str());
    choose(*window, face);
    treeButton(*window, "Split Face").click();
    EXPECT_TRUE(text(*window, "Selected Object")
                    .startsWith(QStringLiteral("Face[%1]; ").arg(session.faces + 1)))
        << text(*window, "Selected Object").toStdString();

    // A group copied into another.
    if (!session.copied.empty()) {
        choose(*window, {session.copied.front()});
        treeButton(*window, "Copy").click();
        choose(*window, {session.destination});
        treeButton(*window, "Paste").click();
    }

    // A bitmap renamed after another the folder holds.
    button(*window, "Textures...").click();
    CTexturesDialog& textures = window->texturesDialog();
    ASSERT_TRUE(textures.isVisible());
    auto* list = textures.findChild<QListWidget*>("Texture List");
    ASSERT_NE(list, nullptr);
    list->setCurrentRow(session.texture);
    withModal(
        [&] { test::button(textures, "Rename Texture").click(); },
        [&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Change Texture Name");
            test::type(dialog, "New name:", session.newName);
            testPrompt().expectQuestion(
                "Changing the texture to an invalid name may cause problems.  Are you sure you "
                "want to proceed?",
                true);
            test::button(dialog, "Apply").click();
        });
    EXPECT_EQ(list->item(session.texture)->text(),
              QStringLiteral("[%1] %2").arg(session.texture).arg(session.newName));
    test::button(textures, "Close").click();

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
    // Written beside the same bitmaps under the same name: a terrain is named after its file.
    const std::filesystem::path expectedFolder = dir_.file("expected");
    std::filesystem::create_directory(expectedFolder);
    for (const auto& entry : std::filesystem::directory_iterator(dir_.file(""))) {
        if (entry.path().extension() == ".BMP") {
            std::filesystem::copy_file(entry.path(), expectedFolder / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    const std::string expectedPath = (expectedFolder / session.file).string();
    const Writer written(*document.reader(), expectedPath);
    ModelDocument expected;
    ASSERT_TRUE(expected.load(expectedPath));
    const std::string dump = test::SceneDump::text(*saved.reader());
    EXPECT_EQ(dump, test::SceneDump::text(*expected.reader()));

    // And each edit is in it. The entity moved along X and turned about X, which is its Y
    // turn; a terrain's mesh moved and turned with its vertices.
    const Reader& was = *untouched.reader();
    const Reader& now = *saved.reader();
    if (session.movedEntity != nullptr) {
        const Entity& before = *was.findEntityByName(session.movedEntity);
        const Entity& after = *now.findEntityByName(session.movedEntity);
        EXPECT_NE(after.positionX, before.positionX);
        EXPECT_EQ(after.positionY, before.positionY);
        EXPECT_NE(after.rotateY, before.rotateY);
    } else {
        const Vertex& before = *was.vertices[0];
        const Vertex& after = *now.vertices[0];
        EXPECT_NE(after.X, before.X);
        EXPECT_TRUE(after.Y != before.Y || after.Z != before.Z);
    }
    // The sub-entity has the added face and its split half, over the three chosen corners
    // and the new middle vertex.
    const auto partIn = [&](const Reader& r) -> const SubEntity& {
        const Entity* owner =
            session.partOwner ? r.findEntityByName(session.partOwner) : r.entities[0];
        return *owner->subEntities[session.partNumber];
    };
    EXPECT_EQ(partIn(was).faces.size(), static_cast<std::size_t>(session.faces));
    const SubEntity& part = partIn(now);
    ASSERT_EQ(part.faces.size(), static_cast<std::size_t>(session.faces + 2));
    EXPECT_EQ(part.vertices.size(), static_cast<std::size_t>(session.vertices + 1));
    std::set<int> corners(session.corners.begin(), session.corners.end());
    corners.insert(session.vertices);
    std::set<int> found;
    for (std::size_t k = part.faces.size() - 2; k < part.faces.size(); ++k) {
        found.insert({part.faces[k]->indexA, part.faces[k]->indexB, part.faces[k]->indexC});
    }
    EXPECT_EQ(found, corners);
    // The copied groups are there twice.
    const auto count = [](const Reader& r, const char* name) {
        int n = 0;
        for (const Entity* entity : r.entities) {
            n += entity->nameEquals(name) ? 1 : 0;
        }
        return n;
    };
    for (const char* name : session.copied) {
        EXPECT_EQ(count(was, name), 1) << name;
        EXPECT_EQ(count(now, name), 2) << name;
    }
    // The bitmap's new name.
    EXPECT_EQ(now.bitmapNames, session.bitmaps);
}

}  // namespace
}  // namespace y4
