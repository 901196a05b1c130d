// The "Attributes" dialog over a document: what each kind of selection fills in and enables,
// Apply through the boxes (rounding to what the boxes show, bitmap numbers the list does not
// hold, refused numbers in reading order, the duplicate refusal, corner re-wiring), Change
// Winding, Select and the terrain's protected name and root placement.
#include <gtest/gtest.h>

#include <QLabel>
#include <map>

#include "DialogDriver.h"
#include "dialogs/CAttributesDialog.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/ShadowView.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"
#include "soak/SceneInvariants.h"
#include "support/HandModels.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using namespace test;

const char* const kInvalid = "Error: Invalid value; defaulting to 1.0";

class AttributesDialogTest : public testing::Test {
protected:
    AttributesDialogTest() { dialog_.show(); }

    Entity& entity(const char* name) { return *model_.reader().findEntityByName(name); }
    SubEntity& foot() { return *entity("Foot").subEntities[0]; }
    void select(SceneObject* record) { model_.document.selectRecord(record); }
    // The controls that are enabled, among one of each sort.
    std::string enabled() {
        std::string names;
        for (const char* name :
             {"GroupName:", "SubEntityName:", "Face Name:", "Select", "Translate X", "Rotate Z",
              "Absolute Y", "Bitmap:", "Vertex 1", "Vertex 1 NormalZ", "Vertex 2", "Vertex 2 X",
              "Vertex 3 TextureV", "Change Winding", "Apply", "Close"}) {
            for (QWidget* w : dialog_.findChildren<QWidget*>()) {
                const auto* b = qobject_cast<QPushButton*>(w);
                const QString wName = b ? b->text() : w->accessibleName();
                if (wName == QLatin1String(name) && w->isEnabled() && !qobject_cast<QLabel*>(w)) {
                    names += std::string(names.empty() ? "" : "|") + name;
                }
            }
        }
        return names;
    }
    Lines row(int k) { return test::rowTexts(dialog_, k); }
    Lines placement() {
        Lines texts;
        for (const char* r : {"Translate", "Rotate", "Absolute"}) {
            for (const char* c : {" X", " Y", " Z"}) {
                texts.push_back(textOf(dialog_, std::string(r) + c));
            }
        }
        return texts;
    }
    // The entries of a list and the chosen one's text.
    Lines entries(const char* name) {
        QComboBox& l = list(dialog_, name);
        Lines texts;
        for (int i = 0; i < l.count(); ++i) {
            texts.push_back(l.itemText(i).toStdString());
        }
        texts.push_back("=" + l.currentText().toStdString());
        return texts;
    }
    void expectSound() {
        EXPECT_EQ(test::SceneInvariants::check(model_.reader(), model_.document.tree()), Lines{});
    }

    test::OpenModel model_{"TINY.Y4P", test::kTinyY4P};
    CAttributesDialog dialog_{model_.document, nullptr};
};

TEST_F(AttributesDialogTest, EachKindFillsAndEnablesItsColumn) {
    const Lines na8(8, "n/a");
    EXPECT_EQ(enabled(), "Apply|Close");
    EXPECT_EQ(textOf(dialog_, "GroupName:"), "n/a");
    EXPECT_EQ(placement(), Lines(9, "n/a"));
    EXPECT_EQ(row(1), na8);
    EXPECT_EQ(list(dialog_, "Face Name:").currentText(), "n/a");

    select(&entity("Leg"));
    EXPECT_EQ(enabled(), "GroupName:|Translate X|Rotate Z|Absolute Y|Apply|Close");
    EXPECT_EQ(textOf(dialog_, "GroupName:"), "Leg");
    EXPECT_EQ(textOf(dialog_, "SubEntityName:"), "n/a");
    // In the file's signs: the file places Leg at (0, -2, 0) in the frame of the root, whose
    // origin is at (1, 2, 3).
    EXPECT_EQ(placement(), (Lines{"0", "-2", "0", "0", "0", "0", "1", "2", "3"}));
    EXPECT_TRUE(box(dialog_, "Absolute X").isReadOnly());
    EXPECT_EQ(row(3), na8);
    EXPECT_EQ(entries("Bitmap:"), (Lines{"RED", "BLUE", "="}));

    select(entity("Arm one").subEntities[0]);
    EXPECT_EQ(enabled(),
              "GroupName:|SubEntityName:|Translate X|Rotate Z|Absolute Y|Bitmap:|Apply|Close");
    EXPECT_EQ(textOf(dialog_, "GroupName:"), "Arm one");
    EXPECT_EQ(textOf(dialog_, "SubEntityName:"), "SubEntity[0]");
    EXPECT_EQ(entries("Bitmap:"), (Lines{"RED", "BLUE", "=BLUE"}));
    EXPECT_FALSE(box(dialog_, "SubEntityName:").isReadOnly());
    // 255, drawn untextured, names no entry.
    select(&foot());
    EXPECT_EQ(entries("Bitmap:"), (Lines{"RED", "BLUE", "="}));
    EXPECT_EQ(list(dialog_, "Bitmap:").currentIndex(), -1);

    select(foot().faces[1]);
    EXPECT_EQ(enabled(),
              "GroupName:|SubEntityName:|Face Name:|Translate X|Rotate Z|Absolute Y|Bitmap:|"
              "Vertex 1|Vertex 1 NormalZ|Vertex 2|Vertex 2 X|Vertex 3 TextureV|Change Winding|"
              "Apply|Close");
    EXPECT_EQ(entries("Face Name:"), (Lines{"Face[1]", "=Face[1]"}));
    EXPECT_EQ(entries("Vertex 1"), (Lines{"Vertex[0]", "Vertex[1]", "Vertex[2]", "=Vertex[0]"}));
    EXPECT_EQ(list(dialog_, "Vertex 2").currentText(), "Vertex[2]");
    EXPECT_EQ(list(dialog_, "Vertex 3").currentText(), "Vertex[1]");
    EXPECT_EQ(row(2), (Lines{"0", "-1", "1", "0.5", "1", "0", "-1", "0"}));
    EXPECT_EQ(placement()[2], "-1");
    EXPECT_FALSE(box(dialog_, "Vertex 3 X").isReadOnly());

    select(foot().vertices[2]);
    EXPECT_EQ(enabled(),
              "GroupName:|SubEntityName:|Face Name:|Select|Translate X|Rotate Z|Absolute Y|"
              "Bitmap:|Vertex 1|Vertex 1 NormalZ|Apply|Close");
    EXPECT_EQ(entries("Face Name:"), (Lines{"Face[0]", "Face[1]", "=Face[0]"}));
    EXPECT_EQ(entries("Vertex 1"), (Lines{"Vertex[2]", "=Vertex[2]"}));
    EXPECT_EQ(row(1), (Lines{"0", "-1", "1", "0.5", "1", "0", "-1", "0"}));
    EXPECT_FALSE(box(dialog_, "Vertex 1 X").isReadOnly());
    EXPECT_EQ(row(2), na8);
    // "Select" selects the face chosen in "Face Name:", and the dialog follows.
    choose(list(dialog_, "Face Name:"), 1);
    button(dialog_, "Select").click();
    EXPECT_EQ(model_.document.selectedRecord(), foot().faces[1]);
    EXPECT_EQ(entries("Face Name:"), (Lines{"Face[1]", "=Face[1]"}));

    model_.document.deselect();
    EXPECT_EQ(enabled(), "Apply|Close");
    EXPECT_EQ(row(1), na8);
}

// A prompt that notes, at each message, the texts of the boxes named.
class BoxWatchingPrompt : public test::StrictPrompt {
public:
    BoxWatchingPrompt(QWidget& dialog, Lines names) : dialog_(dialog), names_(std::move(names)) {}
    void showMessage(std::string_view text, MessageIcon icon, std::string_view caption) override {
        std::string seen(text);
        for (const std::string& name : names_) {
            seen += " | " + textOf(dialog_, name);
        }
        seenAtMessages.push_back(seen);
        test::testPrompt().showMessage(text, icon, caption);
    }
    Lines seenAtMessages;

private:
    QWidget& dialog_;
    Lines names_;
};

TEST_F(AttributesDialogTest, ApplyWritesWhatTheBoxesShow) {
    Vertex& v = *foot().vertices[0];
    select(&v);
    type(dialog_, "Vertex 1 X", "1.23456789");
    type(dialog_, "Vertex 1 TextureV", "0.1");
    type(dialog_, "Translate X", "1e3");
    type(dialog_, "Rotate Y", "-0.25");
    button(dialog_, "Apply").click();
    EXPECT_EQ(v.X, -1.23456789f);
    EXPECT_EQ(v.textureV, 0.1f);
    EXPECT_EQ(entity("Foot").positionX, -1000.0f);
    EXPECT_EQ(entity("Foot").rotateY, -0.25f);
    EXPECT_TRUE(model_.document.isModified());
    EXPECT_EQ(model_.document.undoName(), "Apply Attributes");
    // The dialog shows the stored values with six digits; applying them unchanged stores that.
    EXPECT_EQ(textOf(dialog_, "Vertex 1 X"), "1.23457");
    button(dialog_, "Apply").click();
    EXPECT_EQ(v.X, -1.23457f);
    model_.document.undo();
    EXPECT_EQ(v.X, -1.23456789f);

    // A bitmap number the list does not hold stays as it is unless an entry is chosen.
    select(&foot());
    button(dialog_, "Apply").click();
    EXPECT_EQ(foot().bitmapIndex, 255);
    choose(list(dialog_, "Bitmap:"), 0);
    button(dialog_, "Apply").click();
    EXPECT_EQ(foot().bitmapIndex, 0);
    AttributeValues none = model_.document.attributesOf(&foot());
    none.bitmapIndex = -1;
    ASSERT_TRUE(model_.document.applyAttributes(none));
    EXPECT_EQ(list(dialog_, "Bitmap:").currentIndex(), -1);
    const std::string before = test::SceneDump::text(model_.reader());
    button(dialog_, "Apply").click();
    EXPECT_EQ(foot().bitmapIndex, -1);
    EXPECT_EQ(test::SceneDump::text(model_.reader()), before);
    expectSound();

    // Refused numbers give one message each, in reading order, each box set as it goes.
    select(foot().faces[0]);
    type(dialog_, "Vertex 2 NormalX", "abc");
    type(dialog_, "Translate Z", "1,5");
    BoxWatchingPrompt watcher(dialog_, {"Translate Z", "Vertex 2 NormalX"});
    testPrompt().expectMessage(kInvalid);
    testPrompt().expectMessage(kInvalid);
    Prompt* const previous = installPrompt(&watcher);
    button(dialog_, "Apply").click();
    installPrompt(previous);
    EXPECT_EQ(watcher.seenAtMessages, (Lines{std::string(kInvalid) + " | 1,5 | abc",
                                             std::string(kInvalid) + " | 1.0 | abc"}));
    EXPECT_EQ(entity("Foot").positionZ, -1.0f);
    EXPECT_EQ(foot().faces[0]->vertexB->normalX, -1.0f);
}

TEST_F(AttributesDialogTest, CornersAreRewiredThroughTheListsAndRepeatsRefused) {
    // A fourth vertex in Foot, made by a new face.
    SubEntity& s = foot();
    ASSERT_NE(
        model_.document.addFace(&s, {FaceCorner::existing(s.vertices[0]),
                                     FaceCorner::existing(s.vertices[1]), FaceCorner::created({})}),
        nullptr);
    Face& face = *s.faces[0];
    Vertex* const v = s.vertices[0];
    Vertex* const fourth = s.vertices[3];
    select(&face);
    const std::string before = test::SceneDump::text(model_.reader());

    // The second row takes the face's first corner while the first row takes another vertex.
    choose(list(dialog_, "Vertex 2"), 0);
    choose(list(dialog_, "Vertex 1"), 3);
    EXPECT_EQ(dialog_.chosenVertices(), (std::array<Vertex*, 3>{fourth, v, nullptr}));
    EXPECT_TRUE(box(dialog_, "Vertex 1 NormalX").isReadOnly());
    EXPECT_TRUE(box(dialog_, "Vertex 2 Z").isReadOnly());
    EXPECT_FALSE(box(dialog_, "Vertex 2 NormalX").isReadOnly());
    testPrompt().expectMessage(
        "Error: Duplicate vertices; all three vertices in a face must be different");
    button(dialog_, "Apply").click();
    EXPECT_EQ(test::SceneDump::text(model_.reader()), before);

    // Shown afresh, the face keeps its corners until the first row alone chooses.
    select(&s);
    select(&face);
    EXPECT_EQ(dialog_.chosenVertices(), (std::array<Vertex*, 3>{}));
    choose(list(dialog_, "Vertex 1"), 3);
    type(dialog_, "Vertex 3 NormalY", "0.5");
    button(dialog_, "Apply").click();
    EXPECT_EQ(face.vertexA, fourth);
    EXPECT_EQ(face.indexA, 3);
    EXPECT_EQ(std::count(v->faces.begin(), v->faces.end(), &face), 0);
    EXPECT_EQ(std::count(fourth->faces.begin(), fourth->faces.end(), &face), 1);
    EXPECT_EQ(face.vertexC->normalY, -0.5f);
    const SceneTree& tree = model_.document.tree();
    Lines corners;
    for (int k = 0; k < tree.childCount(face.treeItem); ++k) {
        corners.push_back(tree.itemText(tree.child(face.treeItem, k)));
    }
    EXPECT_EQ(corners, (Lines{"Vertex[3]", "Vertex[1]", "Vertex[2]"}));
    expectSound();

    // "Change Winding" exchanges the first and third corners at once; twice restores the face.
    const std::string wound = test::SceneDump::text(model_.reader());
    button(dialog_, "Change Winding").click();
    EXPECT_EQ(face.vertexA, s.vertices[2]);
    EXPECT_EQ(face.vertexC, fourth);
    EXPECT_EQ(list(dialog_, "Vertex 1").currentText(), "Vertex[2]");
    EXPECT_EQ(list(dialog_, "Vertex 3").currentText(), "Vertex[3]");
    button(dialog_, "Change Winding").click();
    EXPECT_EQ(test::SceneDump::text(model_.reader()), wound);
    expectSound();
}

TEST(AttributesDialogTerrain, TheTerrainsOwnNameAndTheRootsPlacementCannotBeEdited) {
    test::OpenModel model("HILLS.Y4T", test::kHillsY4T);
    CAttributesDialog dialog(model.document, nullptr);
    Reader& r = model.reader();
    SubEntity* terrain = nullptr;
    SubEntity* grass = nullptr;
    for (SubEntity* s : r.subEntities) {
        if (s->nameEquals("Zelvan's Terrain")) {
            terrain = s;
        } else if (grass == nullptr) {
            grass = s;
        }
    }
    ASSERT_TRUE(terrain && grass);
    model.document.selectRecord(terrain->faces.empty() ? static_cast<SceneObject*>(terrain)
                                                       : terrain->faces[0]);
    EXPECT_TRUE(box(dialog, "SubEntityName:").isReadOnly());
    type(dialog, "SubEntityName:", "Meadow");
    button(dialog, "Apply").click();
    EXPECT_TRUE(terrain->nameEquals("Zelvan's Terrain"));

    // Its picture is its own: its record keeps it, and no other record is offered it.
    EXPECT_FALSE(list(dialog, "Bitmap:").isEnabled());
    model.document.selectRecord(grass);
    EXPECT_FALSE(box(dialog, "SubEntityName:").isReadOnly());
    QComboBox& bitmaps = list(dialog, "Bitmap:");
    ASSERT_EQ(bitmaps.itemText(bitmaps.count() - 1), "Zelvan's Terrain");
    const QModelIndex terrainEntry = bitmaps.model()->index(bitmaps.count() - 1, 0);
    EXPECT_FALSE(bitmaps.model()->flags(terrainEntry) & Qt::ItemIsEnabled);
    EXPECT_TRUE(bitmaps.model()->flags(bitmaps.model()->index(0, 0)) & Qt::ItemIsEnabled);
    choose(bitmaps, 1);
    type(dialog, "SubEntityName:", "Meadow");
    button(dialog, "Apply").click();
    EXPECT_TRUE(grass->nameEquals("Meadow"));
    EXPECT_EQ(grass->bitmapIndex, 1);

    // The file has no place for the root's placement: the boxes show it and stay shut.
    const bool modified = model.document.isModified();
    for (SceneObject* record :
         {static_cast<SceneObject*>(r.root()), static_cast<SceneObject*>(grass)}) {
        model.document.selectRecord(record);
        for (const char* name : {"Translate X", "Translate Z", "Rotate Y"}) {
            EXPECT_FALSE(box(dialog, name).isEnabled()) << name;
            EXPECT_EQ(box(dialog, name).text().toFloat(), 0.0f) << name;
        }
        EXPECT_TRUE(box(dialog, "GroupName:").isEnabled());
    }
    button(dialog, "Apply").click();
    EXPECT_EQ(model.document.isModified(), modified);
}

}  // namespace
}  // namespace y4
