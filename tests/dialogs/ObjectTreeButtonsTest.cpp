// The object tree window's buttons over a document, pressed as a user presses them: the buttons
// each kind offers in each variant, Delete and Undelete with the protections and their
// messages, Copy and Paste with the table's messages, the display and pick buttons, and a random
// run of presses on every sample with the scene, the tree and the view checked after each.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/CObjectTreeDialog.h"
#include "document/ModelDocument.h"
#include "document/RecordAccess.h"
#include "model/ShadowView.h"
#include "soak/SceneInvariants.h"
#include "support/GuiApplication.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/ModelTesterComplaints.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using Captions = std::set<std::string>;
using test::pathOf;
using test::testPrompt;

// Enabled whenever a model is loaded, whatever is selected.
const Captions kLoaded = {"Display All", "Hide All", "Pick Vertex", "Hide Hidden", "Close"};

class ObjectTreeButtons : public testing::Test {
protected:
    ObjectTreeButtons() {
        QObject::connect(&dialog_, &CObjectTreeDialog::selectedObjectChanged,
                         [this](const QString& path) { shownPath_ = path.toStdString(); });
        QObject::connect(&dialog_, &CObjectTreeDialog::pasteDrawRequested,
                         [this] { ++pasteDraws_; });
    }

    void open(std::string_view name, std::string_view text) {
        ASSERT_TRUE(document_.load(test::ModelFixture::write(
            dir_, name, text,
            {{"RED"}, {"BLUE"}, {"BRICK"}, {"GLASS"}, {"GRASS"}, {"ROCK"}, {"HILLS"}})));
        r_ = document_.reader();
    }

    // A record by a path: "" the root, "Leg" an entity, "Leg/0" its first sub-entity,
    // "Leg/0/1" that sub-entity's second face, "Leg/0/1/C" the face's third corner.
    SceneObject* at(const std::string& path) const {
        std::istringstream in(path);
        std::string part;
        std::getline(in, part, '/');
        Entity* entity = part.empty() ? r_->root() : r_->findEntityByName(part);
        if (!std::getline(in, part, '/')) {
            return entity;
        }
        SubEntity* sub = entity->subEntities.at(std::stoul(part));
        if (!std::getline(in, part, '/')) {
            return sub;
        }
        Face* face = sub->faces.at(std::stoul(part));
        if (!std::getline(in, part, '/')) {
            return face;
        }
        return part == "A" ? face->vertexA : part == "B" ? face->vertexB : face->vertexC;
    }

    // Chooses the record's item (for a vertex its first listing) in the view, as a click does.
    void choose(const SceneObject* record) {
        chooseItem(RecordAccess::itemOf(document_.tree(), record));
        EXPECT_EQ(document_.selectedRecord(), record);
        EXPECT_EQ(shownPath_, pathOf(record));
    }
    void chooseItem(TreeItem item) {
        QItemSelectionModel& selection = *dialog_.treeView().selectionModel();
        const QModelIndex index = dialog_.treeModel().indexOf(item);
        if (index.isValid()) {
            selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        } else {
            selection.clear();
        }
    }

    QPushButton& button(const char* caption) { return test::button(dialog_, caption); }
    // The Delete button, whichever caption it shows.
    QPushButton& deleteButton() const {
        return *dialog_.findChild<QPushButton*>(QStringLiteral("Delete"));
    }
    void click(const char* caption) {
        QPushButton& pressed = button(caption);
        EXPECT_TRUE(pressed.isEnabled()) << caption;
        QTest::mouseClick(&pressed, Qt::LeftButton);
    }
    // The enabled buttons by their captions, each of which must also be its name for screen
    // readers.
    Captions enabled() const {
        Captions captions;
        for (QPushButton* b : dialog_.findChildren<QPushButton*>()) {
            EXPECT_EQ(test::accessibleNameOf(*b), b->text());
            if (b->isEnabled()) {
                captions.insert(b->text().toStdString());
            }
        }
        return captions;
    }
    // What a model offers with the record chosen: the buttons of a loaded model and these.
    Captions offered(Captions extra) const {
        extra.insert(kLoaded.begin(), kLoaded.end());
        return extra;
    }

    // Records, tree labels and checks, the selection and the copied record.
    std::string state() const {
        return test::SceneDump::text(*r_) + test::ShadowView::outline(document_.tree()) +
               pathOf(document_.selectedRecord()) + pathOf(document_.copySource());
    }
    void expectSound() const {
        EXPECT_EQ(test::SceneInvariants::check(*r_, document_.tree()), std::vector<std::string>{});
    }
    // The labels of an item's rows in the view.
    std::vector<std::string> rowsUnder(const SceneObject* record) const {
        const SceneTreeModel& model = dialog_.treeModel();
        const QModelIndex parent = model.indexOf(RecordAccess::itemOf(document_.tree(), record));
        std::vector<std::string> labels;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            labels.push_back(model.index(row, 0, parent).data().toString().toStdString());
        }
        return labels;
    }

    QApplication& app_ = test::guiApplication();
    test::TempDir dir_;
    ModelDocument document_;
    CObjectTreeDialog dialog_{document_, nullptr};
    Reader* r_ = nullptr;
    std::string shownPath_;
    int pasteDraws_ = 0;
};

TEST_F(ObjectTreeButtons, EachKindOffersItsButtonsInEachVariant) {
    struct Row {
        std::string copied;  // chosen and copied first; empty: nothing copied
        std::string chosen;
        Captions offered;
    };
    const Captions group = {"Deselect", "Add Group", "Copy", "Delete"};
    const Captions mesh = {"Deselect", "Add SubEntity", "Create Shape", "Copy", "Delete"};
    const Captions subEntity = {"Deselect", "Add Face", "Copy", "Delete"};
    const Captions face = {"Deselect", "Copy", "Delete", "Split Face"};
    const auto with = [](Captions set, const char* caption) {
        set.insert(caption);
        return set;
    };
    const std::vector<std::tuple<const char*, std::string_view, std::vector<Row>>> variants = {
        {"TINY.Y4P",
         test::kTinyY4P,
         {
             {"", "", group},  // the root is offered, and refused with its message
             {"", "Arm one", mesh},
             {"", "Leg", group},
             {"", "Arm one/0", subEntity},
             {"", "Arm one/0/0", face},
             {"", "Arm one/0/0/C", {"Deselect"}},
             // Paste: a group into an entity without sub-entities, a sub-entity into one
             // without child entities, a face into a sub-entity, nothing else.
             {"Arm one", "", with(group, "Paste")},
             {"Arm one", "Leg", with(group, "Paste")},
             {"Arm one", "Foot", mesh},
             {"Arm one/1", "Leg", group},
             {"Arm one/1", "Foot", with(mesh, "Paste")},
             {"Arm one/0/0", "Foot/0", with(subEntity, "Paste")},
             {"Arm one/0/0", "Foot/0/1", face},
             {"Arm one/0/0", "Foot/0/1/A", {"Deselect"}},
         }},
        {"FLAT.Y4D",
         test::kFlatY4D,
         {
             {"", "", group},
             // A flat file holds one sub-entity per entity.
             {"", "Panel", {"Deselect", "Copy", "Delete"}},
             {"", "Panel/0", subEntity},
             {"", "Marker/0/0", face},
             {"Marker/0", "", with(group, "Paste")},
             {"Marker/0", "Panel", {"Deselect", "Copy", "Delete"}},
         }},
        {"HILLS.Y4T",
         test::kHillsY4T,
         {
             // Neither Copy nor Add Group for a terrain's entity; its own record is kept.
             {"", "", {"Deselect", "Delete"}},
             {"", "/2", {"Deselect", "Add Face"}},
             {"", "/0", subEntity},
             {"", "/2/1", face},
             {"/2/1", "/1", with(subEntity, "Paste")},
         }},
    };
    for (const auto& [file, text, rows] : variants) {
        SCOPED_TRACE(file);
        open(file, text);
        // Loading selects nothing; only Deselect waits for a selection.
        EXPECT_EQ(enabled(), offered({}));
        EXPECT_EQ(shownPath_, "NULL");
        for (const Row& row : rows) {
            SCOPED_TRACE(row.copied + " -> " + row.chosen);
            dialog_.OnButtonDeselect();
            if (!row.copied.empty()) {
                choose(at(row.copied));
                click("Copy");
            }
            choose(at(row.chosen));
            EXPECT_EQ(enabled(), offered(row.offered));
            EXPECT_EQ(deleteButton().text(), "Delete");
            expectSound();
        }
    }

    // A marked record offers only Undelete (and a marked sub-entity still Add Face).
    for (const auto& [chosen, extra] : std::vector<std::pair<std::string, Captions>>{
             {"Leg", {}}, {"Foot/0/1", {}}, {"Arm one/0", {"Add Face"}}}) {
        open("TINY.Y4P", test::kTinyY4P);
        choose(at(chosen));
        click("Delete");
        EXPECT_EQ(shownPath_, "NULL");
        choose(at(chosen));
        Captions expected = extra;
        expected.insert({"Deselect", "Undelete"});
        EXPECT_EQ(enabled(), offered(expected)) << chosen;
    }
    // A vertex of a marked sub-entity reads Undelete, and offers nothing.
    choose(at("Arm one/0/0/A"));
    EXPECT_EQ(enabled(), offered({"Deselect"}));
    EXPECT_EQ(deleteButton().text(), "Undelete");
}

TEST_F(ObjectTreeButtons, DeleteUndeleteDisplayAndTheButtonsThatChangeNothing) {
    // Without a model nothing is offered, and nothing happens.
    EXPECT_EQ(enabled(), (Captions{"Hide Hidden", "Close"}));
    dialog_.OnButtonHideAll();
    dialog_.setNormalsChecked(true);
    EXPECT_FALSE(button("Pick Normal").isEnabled());

    open("TINY.Y4P", test::kTinyY4P);
    choose(r_->root());
    std::string before = state();
    testPrompt().expectMessage("Error: Cannot remove root entity.  Operation aborted");
    click("Delete");
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(document_.canUndo());
    EXPECT_FALSE(document_.isModified());

    // Delete marks the whole group and lets go of it; Undelete restores it and selects it.
    Entity* leg = r_->findEntityByName("Leg");
    choose(leg);
    before = state();
    click("Delete");
    EXPECT_EQ(shownPath_, "NULL");
    EXPECT_EQ(rowsUnder(leg->children[0]->subEntities[0]),
              (std::vector<std::string>{"Face[0] (*)", "Face[1] (*)"}));
    EXPECT_TRUE(document_.isModified());
    expectSound();
    choose(leg);
    EXPECT_EQ(button("Undelete").text(), "Undelete");
    click("Undelete");
    EXPECT_EQ(state(), before);
    EXPECT_EQ(button("Delete").text(), "Delete");
    expectSound();

    // A terrain's own record is not offered, and its handler refuses it with its message.
    open("HILLS.Y4T", test::kHillsY4T);
    choose(at("/2"));
    EXPECT_FALSE(button("Delete").isEnabled());
    before = state();
    testPrompt().expectMessage("Error: Cannot remove this subEntity.  Operation aborted");
    dialog_.OnButtonDelete();
    EXPECT_EQ(state(), before);

    // Display All and Hide All switch every record and check box; nothing is an edit.
    open("TINY.Y4P", test::kTinyY4P);
    const auto everyCheck = [this](bool on) {
        for (const Face* face : r_->faces) {
            EXPECT_EQ(face->displayed, on ? 1 : 0);
            EXPECT_EQ(document_.tree().check(face->treeItem), on);
        }
        for (const Entity* entity : r_->entities) {
            EXPECT_EQ(document_.tree().check(entity->treeItem), on);
        }
    };
    click("Hide All");
    everyCheck(false);
    EXPECT_FALSE(button("Hide All").isEnabled());
    EXPECT_TRUE(button("Display All").isEnabled());
    // One switch by hand offers both again.
    document_.setDisplayed(r_->root(), true);
    EXPECT_TRUE(button("Hide All").isEnabled());
    click("Display All");
    everyCheck(true);
    EXPECT_FALSE(button("Display All").isEnabled());
    EXPECT_FALSE(document_.isModified());

    // A model with "Normals" checked offers Pick Normal. What the pick buttons, Add Face and
    // Close ask of the editor is checked on the editor itself (EditorViewTest,
    // EditorSessionTest, CY4EditorDlgTest).
    EXPECT_TRUE(button("Pick Normal").isEnabled());

    // Create Shape, Move Vertices and Hide Hidden report or do nothing.
    choose(at("Arm one"));
    before = state();
    const std::string lastEdit = document_.undoName();
    test::withModal([this] { click("Create Shape"); },
                    [](QDialog& shapes) {
                        EXPECT_EQ(shapes.windowTitle(), "Create Shape");
                        testPrompt().expectMessage(
                            "Still need to implement CObjectTreeDialog::CreateShape()\n"
                            "1.00 1.00 1.00 0.00 1 1 1",
                            MessageIcon::None);
                        QTest::mouseClick(&test::button(shapes, "Create Shape"), Qt::LeftButton);
                        QTest::mouseClick(&test::button(shapes, "Close"), Qt::LeftButton);
                    });
    EXPECT_FALSE(button("Move Vertices").isEnabled());
    testPrompt().expectMessage("Still need to implement onButtonMovevertices()", MessageIcon::None);
    dialog_.onButtonMovevertices();
    click("Hide Hidden");
    EXPECT_EQ(state(), before);
    EXPECT_EQ(document_.undoName(), lastEdit);
}

TEST_F(ObjectTreeButtons, CopyAndPasteThroughTheButtons) {
    open("TINY.Y4P", test::kTinyY4P);
    // A face into an empty sub-entity: the face and its three corners, drawn once in the
    // vertex-picking mode.
    choose(at("Arm one/0/0"));
    click("Copy");
    EXPECT_FALSE(button("Paste").isEnabled());
    SubEntity* empty = static_cast<SubEntity*>(at("Arm one/1"));
    choose(empty);
    click("Paste");
    EXPECT_EQ(pasteDraws_, 1);
    ASSERT_EQ(empty->faces.size(), 1u);
    EXPECT_EQ(empty->vertices.size(), 3u);
    EXPECT_EQ(rowsUnder(empty), std::vector<std::string>{"Face[0]"});
    EXPECT_EQ(rowsUnder(empty->faces[0]),
              (std::vector<std::string>{"Vertex[0]", "Vertex[1]", "Vertex[2]"}));
    expectSound();

    // Into itself: refused before the table, no frame.
    Entity* leg = r_->findEntityByName("Leg");
    choose(leg);
    click("Copy");
    testPrompt().expectMessage("Error: Cannot paste an object into itself");
    click("Paste");
    EXPECT_EQ(pasteDraws_, 1);

    // Add Group gives the last child "New Group"; the copied group cannot go below itself.
    click("Add Group");
    ASSERT_EQ(leg->children.size(), 2u);
    Entity* added = leg->children.back();
    EXPECT_EQ(rowsUnder(leg), (std::vector<std::string>{"Foot", "New Group"}));
    choose(added);
    std::string before = state();
    testPrompt().expectMessage("Cannot copy an entity into a subordinate entity");
    click("Paste");
    EXPECT_EQ(state(), before);
    EXPECT_EQ(pasteDraws_, 2);

    // Nothing selected: Paste still offered, to say that it needs a destination.
    click("Delete");
    EXPECT_EQ(shownPath_, "NULL");
    testPrompt().expectMessage("Error: Invalid paste destination");
    click("Paste");

    // The group pasted into the root: one warning for the marked "New Group", the rest copied.
    choose(r_->root());
    testPrompt().expectMessage(
        "Warning: Copy source contained deleted data; deleted data was not copied");
    click("Paste");
    EXPECT_EQ(pasteDraws_, 3);
    const Entity* top = r_->root();
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(top->children.size(), 3u);
    const Entity* copy = top->children.back();
    EXPECT_EQ(pathOf(copy), pathOf(leg));
    ASSERT_EQ(copy->children.size(), 1u);
    EXPECT_EQ(copy->children[0]->name(), "Foot");
    EXPECT_EQ(copy->level, 1);
    EXPECT_EQ(rowsUnder(r_->root()), (std::vector<std::string>{"Arm one", "Leg", "Leg"}));
    expectSound();

    // Deselect forgets the copied record.
    click("Deselect");
    EXPECT_EQ(document_.copySource(), nullptr);
    EXPECT_EQ(enabled(), offered({}));
}

// Takes every message and remembers it, for a run whose messages cannot be foretold.
class KnownMessages : public Prompt {
public:
    void showMessage(std::string_view text, MessageIcon, std::string_view) override {
        static const std::set<std::string_view> known = {
            "Error: Cannot remove root entity.  Operation aborted",
            "Error: Invalid paste destination",
            "Error: Cannot paste an object into itself",
            "Cannot copy an entity into a subordinate entity",
            "Warning: Copy source contained deleted data; deleted data was not copied",
            "Warning: Copy source contained deleted faces; deleted data will not be copied",
            // Reloading a model whose groups were switched off at its last commit.
            "Reminder: Some display flags were turned off when the display state was last "
            "saved; these groups will not be displayed",
        };
        EXPECT_TRUE(known.count(text)) << text;
    }
    bool askYesNo(std::string_view text, std::string_view) override {
        ADD_FAILURE() << text;
        return false;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }
};

TEST_F(ObjectTreeButtons, RandomPressesKeepTheSceneTreeAndViewInStep) {
    const test::ModelTesterComplaints complaints;
    // The model tester checks every row at every change: on the smallest sample only.
    auto tester = std::make_unique<QAbstractItemModelTester>(
        &dialog_.treeModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    KnownMessages messages;
    Prompt* const strict = installPrompt(&messages);
    // By object name (Delete keeps it as Undelete), weighted so that the scene grows more
    // than it is deleted.
    std::vector<QPushButton*> presses;
    for (const auto& [name, weight] : std::vector<std::pair<const char*, int>>{{"Deselect", 1},
                                                                               {"Display All", 1},
                                                                               {"Hide All", 1},
                                                                               {"Add Group", 2},
                                                                               {"Add SubEntity", 2},
                                                                               {"Delete", 2},
                                                                               {"Copy", 3},
                                                                               {"Paste", 4},
                                                                               {"Split Face", 3}}) {
        presses.insert(presses.end(), weight, dialog_.findChild<QPushButton*>(name));
    }
    std::mt19937 random(20261207);
    for (const char* sample : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        SCOPED_TRACE(sample);
        ASSERT_TRUE(document_.load(test::ModelFixture::copySample(dir_, sample)));
        r_ = document_.reader();
        const auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };
        for (int step = 0; step < 800; ++step) {
            const std::size_t roll = pick(1000);
            if (r_->faces.size() < 8) {
                // Deleted and purged down to almost nothing: the model again.
                ASSERT_TRUE(document_.load(document_.modelFile()));
                r_ = document_.reader();
            } else if (roll < 400) {
                // Any item of any kind (a corner in one of its listings), or nothing.
                const auto any = [&](const auto& list) {
                    return list.empty() ? nullptr : list[pick(list.size())];
                };
                const Vertex* corner = r_->faces.empty() ? nullptr : any(r_->faces)->vertexB;
                const SceneObject* records[] = {any(r_->entities), any(r_->subEntities),
                                                any(r_->faces), any(r_->faces), corner};
                const std::size_t which = pick(6);
                TreeItem item = kNoItem;
                if (which == 4 && corner != nullptr) {
                    const std::vector<TreeItem> listings = corner->treeItems(document_.tree());
                    item = listings[pick(listings.size())];
                } else if (which < 4 && records[which] != nullptr) {
                    item = RecordAccess::itemOf(document_.tree(), records[which]);
                }
                chooseItem(item);
            } else if (roll < 940) {
                // A button by weight, a few tries until one is offered.
                QPushButton* pressed = presses[pick(presses.size())];
                for (int tries = 0; tries < 4 && !pressed->isEnabled(); ++tries) {
                    pressed = presses[pick(presses.size())];
                }
                // Groups pasted into their parents double; keep the model small.
                if (pressed->isEnabled() &&
                    !(pressed->text() == "Paste" && r_->faces.size() > 5000)) {
                    QTest::mouseClick(pressed, Qt::LeftButton);
                }
            } else if (roll < 970) {
                document_.undo();
            } else if (roll < 995) {
                document_.redo();
            } else {
                ASSERT_TRUE(document_.commit());
            }

            SCOPED_TRACE(step);
            ASSERT_EQ(test::SceneInvariants::check(*r_, document_.tree()),
                      std::vector<std::string>{});
            // The view shows the document's selection; the buttons follow it.
            const SceneObject* selected = document_.selectedRecord();
            const QModelIndexList shown = dialog_.treeView().selectionModel()->selectedIndexes();
            if (selected == nullptr) {
                ASSERT_TRUE(shown.isEmpty());
            } else {
                ASSERT_EQ(shown.size(), 1);
                ASSERT_EQ(dialog_.treeModel().itemAt(shown.front()), document_.selectedItem());
                ASSERT_EQ(shown.front().data().toString().toStdString(),
                          document_.tree().itemText(document_.selectedItem()));
            }
            ASSERT_EQ(shownPath_, pathOf(selected));
            ASSERT_EQ(deleteButton().text() == "Undelete",
                      selected != nullptr && selected->deleted);
            ASSERT_EQ(button("Paste").isEnabled(), selected != nullptr
                                                       ? document_.canPaste(selected)
                                                       : document_.copySource() != nullptr);
            ASSERT_EQ(button("Split Face").isEnabled(), document_.canSplitFace(selected));
        }
        tester.reset();
    }
    installPrompt(strict);
}

}  // namespace
}  // namespace y4
