// The edits of ModelDocument: what each changes and announces (the old state at "about to"),
// the modified flag, drags as one undo step restored to the bit, the protections, the bitmap
// list, the purge's announcements and the history's memory budget.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "ModelGenerator.h"
#include "document/ModelDocument.h"
#include "model/ShadowView.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/RecordingObserver.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;
using test::ModelFixture;
using test::RecordingObserver;
using test::SceneDump;
using test::TempDir;
using test::testPrompt;

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// The scene as text, after checking that its world positions are current.
std::string settledDump(Reader& reader) {
    const std::string dump = SceneDump::text(reader);
    reader.computeWorldPositions();
    EXPECT_EQ(SceneDump::text(reader), dump) << "world positions were not current";
    return dump;
}

class ModelDocumentEdits : public testing::Test {
protected:
    ModelDocumentEdits() {
        path_ =
            ModelFixture::write(dir_, "TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}, {"GREEN"}});
        EXPECT_TRUE(document_.load(path_));
        Reader& r = *document_.reader();
        arm_ = r.entities[1];
        leg_ = r.entities[2];
        foot_ = r.entities[3];
    }
    std::string label(const Entity* entity) const {
        return document_.tree().itemText(entity->treeItem);
    }

    TempDir dir_;
    std::string path_;
    ModelDocument document_;
    Entity* arm_;
    Entity* leg_;
    Entity* foot_;
};

TEST_F(ModelDocumentEdits, EveryEditAnnouncesWhatItChangesWithTheOldStateFirst) {
    RecordingObserver told(document_);
    SubEntity* footMesh = foot_->subEntities[0];
    Vertex* toe = footMesh->vertices[0];

    document_.selectRecord(leg_);
    EXPECT_EQ(told.take(), Lines{"select - -> E:Leg"});
    EXPECT_EQ(toe->selected, 1);

    // Delete: the subtree's marks, the labels following them; the selection goes.
    told.probe = [&] { return label(leg_) + " " + std::to_string(toe->deleted); };
    const std::string marks = "marks of [E:Leg] placed [] meshes [S:SubEntity[0]]";
    ASSERT_TRUE(document_.toggleDeleted(leg_));
    EXPECT_EQ(told.take(),
              (Lines{"select E:Leg -> -", "will change " + marks + " | Leg 0",
                     "change " + marks + " | Leg (*) 1", "modified", "undo 1 redo 0"}));
    EXPECT_EQ(toe->selected, 0);
    document_.undo();
    EXPECT_EQ(told.take(),
              (Lines{"will change " + marks + " | Leg (*) 1", "change " + marks + " | Leg 0",
                     "select - -> E:Leg", "unmodified", "undo 0 redo 1"}));
    document_.redo();
    EXPECT_EQ(told.take(),
              (Lines{"will change " + marks + " | Leg 0", "change " + marks + " | Leg (*) 1",
                     "select E:Leg -> -", "modified", "undo 1 redo 0"}));
    EXPECT_EQ(document_.undoName(), "Delete");
    // Undelete selects the record again.
    ASSERT_TRUE(document_.toggleDeleted(leg_));
    EXPECT_EQ(told.take(), (Lines{"will change " + marks + " | Leg (*) 1",
                                  "change " + marks + " | Leg 0", "select - -> E:Leg"}));

    // Rename: the label follows.
    told.probe = [&] { return label(foot_); };
    ASSERT_TRUE(document_.rename(foot_, "Big Foot"));
    EXPECT_EQ(told.take(), (Lines{"will change names of [E:Foot] placed [] meshes [] | Foot",
                                  "change names of [E:Big Foot] placed [] meshes [] | Big Foot"}));

    // Scale: the selected entities' positions and the selected vertices' positions, with the
    // world positions current after it.
    document_.selectRecord(foot_);
    told.take();
    told.probe = [&] { return number(foot_->positionZ) + " " + number(toe->X); };
    ASSERT_TRUE(document_.scaleSelection(2, 1, 3));
    const std::string scaled =
        "placement+geometry of [E:Big Foot] placed [E:Big Foot] meshes [S:SubEntity[0]]";
    EXPECT_EQ(told.take(),
              (Lines{"will change " + scaled + " | 1 1", "change " + scaled + " | 3 2"}));
    settledDump(*document_.reader());

    // A drag: three steps, each announced, one undo step.
    told.probe = [&] { return number(foot_->positionX); };
    const std::string moved = "placement of [E:Big Foot] placed [E:Big Foot] meshes []";
    document_.beginDrag();
    for (int k = 0; k < 3; ++k) {
        document_.transformSelection(1, 0, 0, 1);
    }
    document_.endDrag();
    EXPECT_EQ(told.take(), (Lines{"will change " + moved + " | -0", "change " + moved + " | 1",
                                  "will change " + moved + " | 1", "change " + moved + " | 2",
                                  "will change " + moved + " | 2", "change " + moved + " | 3"}));
    document_.undo();
    EXPECT_EQ(told.take(), (Lines{"will change " + moved + " | 3", "change " + moved + " | -0",
                                  "undo 1 redo 1"}));
    EXPECT_EQ(document_.redoName(), "Translate");

    // Display switches leave the modified flag alone.
    told.probe = [&] { return std::to_string(document_.tree().check(leg_->treeItem)); };
    ASSERT_TRUE(document_.setDisplayed(leg_, false));
    EXPECT_FALSE(document_.setDisplayed(leg_, false));
    document_.setAllDisplayed(true);
    EXPECT_EQ(told.take(), (Lines{"will display E:Leg | 1", "display E:Leg | 0", "undo 1 redo 0",
                                  "will display - | 0", "display - | 1"}));

    // The bitmap list.
    told.probe = [&] {
        std::string names;
        for (const std::string& name : document_.reader()->bitmapNames) {
            names += name + ",";
        }
        return names;
    };
    ASSERT_TRUE(document_.addBitmap("GREEN"));
    ASSERT_TRUE(document_.moveBitmap(0, 1));
    EXPECT_FALSE(document_.moveBitmap(2, 1));
    EXPECT_EQ(told.take(), (Lines{"will bitmaps | RED,BLUE,", "bitmaps | RED,BLUE,GREEN,",
                                  "will bitmaps | RED,BLUE,GREEN,", "bitmaps | BLUE,RED,GREEN,"}));

    told.probe = nullptr;
    document_.setDrawMode(1);
    document_.setDrawMode(1);
    document_.setEditNormals(true);
    // Selecting ends normal editing.
    document_.selectRecord(arm_);
    EXPECT_EQ(document_.reader()->editNormals, 0);
    EXPECT_EQ(told.take(), (Lines{"draw options", "draw options", "draw options",
                                  "select E:Big Foot -> E:Arm one"}));
}

// That a drag is one step which undoes and redoes to the bit is the soak run's to check, on
// drags of every kind; here what it cannot see: the state in the middle of a drag, and a drag
// that changes its kind. (A click that moves nothing is the editor view's test.)
TEST_F(ModelDocumentEdits, ADragKeepsWorldPositionsCurrentAndEndsItsStepWhenItsKindChanges) {
    Reader& r = *document_.reader();
    document_.selectRecord(arm_);
    const std::string start = settledDump(r);
    document_.beginDrag();
    for (int k = 0; k < 40; ++k) {
        document_.transformSelection(0.3f * static_cast<float>(k % 7) - 1, 7.1f, -3.3f, 2);
        // The "Absolute" boxes are current after every step.
        settledDump(r);
    }
    document_.endDrag();
    EXPECT_NE(settledDump(r), start);

    // Vertices of a face, on their normals while normal editing is on: positions stay.
    document_.selectRecord(arm_->subEntities[0]->faces[0]);
    document_.setEditNormals(true);
    const std::string before = settledDump(r);
    const float x = arm_->subEntities[0]->vertices[1]->X;
    document_.beginDrag();
    document_.transformSelection(0, 0, 33, 2);
    document_.transformSelection(0, 0, 0.5f, 3);  // another kind ends the first step
    document_.endDrag();
    EXPECT_EQ(arm_->subEntities[0]->vertices[1]->X, x);
    document_.undo();
    document_.undo();
    EXPECT_EQ(settledDump(r), before);
}

TEST_F(ModelDocumentEdits, GroupNamesTheFileCannotHoldAreRefusedAndOtherNamesSaveNothing) {
    testPrompt().expectMessage("Error: A group name cannot contain a colon or a control character");
    EXPECT_FALSE(document_.rename(leg_, "Leg: left"));
    testPrompt().expectMessage("Error: A group name cannot contain a colon or a control character");
    EXPECT_FALSE(document_.rename(leg_, "Leg\nleft"));
    EXPECT_FALSE(document_.rename(leg_, "Leg"));
    EXPECT_FALSE(document_.canUndo());
    // Names of sub-entities, faces and vertices are not in the file.
    ASSERT_TRUE(document_.rename(arm_->subEntities[0]->vertices[0], "Tip"));
    EXPECT_FALSE(document_.isModified());
    EXPECT_EQ(document_.tree().itemText(
                  arm_->subEntities[0]->vertices[0]->treeItems(document_.tree())[0]),
              "Tip");
    ASSERT_TRUE(document_.rename(leg_, std::string(70, 'L')));
    EXPECT_EQ(leg_->name(), std::string(63, 'L'));
    EXPECT_TRUE(document_.isModified());
}

// The bitmap numbers of the sub-entities, then of the faces.
std::vector<int> bitmapNumbers(const Reader& r) {
    std::vector<int> numbers;
    for (const SubEntity* s : r.subEntities) {
        numbers.push_back(s->bitmapIndex);
    }
    for (const Face* f : r.faces) {
        numbers.push_back(f->bitmapIndex);
    }
    return numbers;
}

TEST_F(ModelDocumentEdits, BitmapEditsKeepNamesAndImagesTogetherAndUndoToTheSameImages) {
    Reader& r = *document_.reader();
    const auto red = r.textures.images[0];
    const std::string start = SceneDump::text(r);
    ASSERT_EQ(bitmapNumbers(r), (std::vector<int>{1, 0, 255, 1, 255, 255}));
    // The numbers stay: 0 now draws BLUE, and 1 names nothing, so its records draw untextured.
    ASSERT_TRUE(document_.removeBitmap(0));
    EXPECT_EQ(r.bitmapNames, std::vector<std::string>{"BLUE"});
    EXPECT_EQ(bitmapNumbers(r), (std::vector<int>{1, 0, 255, 1, 255, 255}));
    EXPECT_TRUE(document_.isModified());
    document_.undo();
    EXPECT_EQ(r.textures.images[0], red);
    EXPECT_EQ(SceneDump::text(r), start);
    EXPECT_FALSE(document_.isModified());
    EXPECT_FALSE(document_.renameBitmap(0, ""));

    // A name whose picture cannot be read would leave a file that does not load: the loader's
    // report and its refusal, and nothing changes. (A name without a file the soak run tries.)
    std::ofstream(dir_.file("JUNK.BMP")) << "not a picture";
    const std::size_t steps = document_.history().size();
    for (int k = 0; k < 2; ++k) {
        testPrompt().expectMessage("Unknown DIB file format.");
        testPrompt().expectMessage("Error: Could not open required texture; aborting");
    }
    EXPECT_FALSE(document_.renameBitmap(0, "JUNK"));
    EXPECT_FALSE(document_.addBitmap("JUNK"));
    EXPECT_EQ(SceneDump::text(r), start);
    EXPECT_EQ(r.textures.images[0], red);
    EXPECT_EQ(document_.history().size(), steps);
    EXPECT_EQ(document_.history().position(), 0u);
    EXPECT_FALSE(document_.isModified());
    // A name with a picture takes it; renaming changes what a save writes.
    ASSERT_TRUE(document_.renameBitmap(0, "GREEN"));
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"GREEN", "BLUE"}));
    ASSERT_EQ(r.textures.images.size(), 2u);
    EXPECT_NE(r.textures.images[0], nullptr);
    EXPECT_TRUE(document_.isModified());
    document_.undo();
    EXPECT_EQ(r.textures.images[0], red);
    testPrompt().expectMessage("Error: A texture name cannot contain a control character");
    EXPECT_FALSE(document_.addBitmap("A\tB"));
}

TEST_F(ModelDocumentEdits, ACommitTellsWhichRecordsGoBeforeTheyGo) {
    struct Purge : DocumentObserver {
        void recordsAboutToBeRemoved(const RecordSet& set) override {
            for (const SceneObject* r : watched) {
                covered.push_back(set.covers(r));
            }
        }
        std::vector<const SceneObject*> watched;
        std::vector<bool> covered;
    } purge;
    SubEntity* empty = arm_->subEntities[1];
    Face* face = foot_->subEntities[0]->faces[1];
    purge.watched = {empty, face, face->vertexA, foot_, foot_->subEntities[0]->faces[0]};
    document_.addObserver(&purge);
    RecordingObserver told(document_);
    document_.selectRecord(face);
    ASSERT_TRUE(document_.toggleDeleted(empty));
    document_.selectRecord(face);
    ASSERT_TRUE(document_.toggleDeleted(face));
    document_.selectRecord(face);
    told.take();
    ASSERT_TRUE(document_.commit());
    EXPECT_EQ(purge.covered, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(told.take(), (Lines{"select F:Face[1] -> -",
                                  "will remove [S:SubEntity[1] F:Face[1]] meshes [S:SubEntity[0]]",
                                  "removed 2", "undo 0 redo 0"}));
    EXPECT_EQ(foot_->subEntities[0]->faces.size(), 1u);
    document_.removeObserver(&purge);
}

// What each record of a terrain draws: the name its file gives the record.
std::vector<std::string> recordPictures(const Reader& r) {
    std::vector<std::string> names;
    for (const SubEntity* s : r.subEntities) {
        const auto at = static_cast<std::size_t>(s->bitmapIndex);
        names.push_back(at < r.bitmapNames.size() ? r.bitmapNames[at] : "(null)");
    }
    return names;
}

TEST(ModelDocumentTerrain, TheOwnRecordIsProtectedAndTextureListEditsKeepEveryPicture) {
    TempDir dir;
    ModelDocument document;
    ASSERT_TRUE(document.load(ModelFixture::write(
        dir, "HILLS.Y4T", test::kHillsY4T, {{"GRASS"}, {"ROCK"}, {"HILLS", 8, 8}, {"SAND"}})));
    Reader& r = *document.reader();
    // The terrain's own record and bitmap are protected; its name in the tree is not in the file.
    SubEntity* own = r.subEntities[2];
    EXPECT_FALSE(document.rename(own, "Other"));
    ASSERT_TRUE(document.rename(r.root(), "Valley"));
    EXPECT_FALSE(document.isModified());
    document.undo();
    const std::string start = SceneDump::text(r);
    const std::vector<std::string> pictures{"GRASS", "ROCK", "Zelvan's Terrain"};
    ASSERT_EQ(recordPictures(r), pictures);
    // Saves, loads the file again and gives what its records draw.
    const auto reloaded = [&](const std::string& name) {
        const std::string path = dir.file(name + ".Y4T");
        EXPECT_TRUE(document.save(path));
        ModelDocument again;
        EXPECT_TRUE(again.load(path));
        return again.reader() ? recordPictures(*again.reader()) : std::vector<std::string>{};
    };

    // ROCK goes: its record falls back on bitmap 0, the terrain's own keeps its bitmap.
    ASSERT_TRUE(document.removeBitmap(1));
    EXPECT_EQ(r.bitmapNames, (std::vector<std::string>{"GRASS", "Zelvan's Terrain"}));
    EXPECT_EQ(bitmapNumbers(r), (std::vector<int>{0, 0, 1, 0, 1, 1}));
    const std::vector<std::string> fallen{"GRASS", "GRASS", "Zelvan's Terrain"};
    EXPECT_EQ(recordPictures(r), fallen);
    EXPECT_EQ(reloaded("FALLEN"), fallen);
    // The last bitmap besides the terrain's own stays while other records name it.
    EXPECT_FALSE(document.canRemoveBitmap(0));
    EXPECT_FALSE(document.removeBitmap(0));
    EXPECT_TRUE(document.canRenameBitmap(0));
    document.undo();
    EXPECT_EQ(SceneDump::text(r), start);

    // SAND goes in before the terrain's own bitmap, which its record follows.
    ASSERT_TRUE(document.addBitmap("SAND"));
    EXPECT_EQ(r.bitmapNames,
              (std::vector<std::string>{"GRASS", "ROCK", "SAND", "Zelvan's Terrain"}));
    EXPECT_EQ(r.textures.images[3]->sizeX, 8);
    EXPECT_EQ(bitmapNumbers(r), (std::vector<int>{0, 1, 3, 0, 3, 3}));
    EXPECT_EQ(recordPictures(r), pictures);
    EXPECT_EQ(reloaded("ADDED"), pictures);
    // A move swaps what the two positions draw, and the file follows.
    ASSERT_TRUE(document.moveBitmap(0, 1));
    EXPECT_EQ(reloaded("MOVED"), (std::vector<std::string>{"ROCK", "GRASS", "Zelvan's Terrain"}));
    document.undo();
    ASSERT_TRUE(document.removeBitmap(0));
    EXPECT_EQ(bitmapNumbers(r), (std::vector<int>{0, 0, 2, 0, 2, 2}));
    EXPECT_EQ(reloaded("REMOVED"), (std::vector<std::string>{"ROCK", "ROCK", "Zelvan's Terrain"}));
    while (document.canUndo()) {
        document.undo();
    }
    EXPECT_EQ(SceneDump::text(r), start);
}

// A terrain file has no place for its root's position and angles: the root never moves, so
// what the editor shows is what the file keeps.
TEST(ModelDocumentTerrain, TheRootStaysWhereTheFileKeepsItAndEverythingElseSavesAsShown) {
    TempDir dir;
    ModelDocument document;
    ASSERT_TRUE(document.load(ModelFixture::copySample(dir, "ISLAND.Y4T")));
    Reader& r = *document.reader();
    Entity* const root = r.root();
    ASSERT_NE(root, nullptr);
    document.selectRecord(root);
    const std::string start = settledDump(r);
    for (int kind : {1, 2}) {
        document.beginDrag();
        document.transformSelection(3, -2, 5, kind);
        document.endDrag();
        document.transformSelection(1, 1, 1, kind);
    }
    AttributeValues values = document.attributesOf(root);
    values.position = {4, 5, 6};
    values.rotation = {0.5f, 0, 0};
    EXPECT_FALSE(document.applyAttributes(values));
    EXPECT_EQ(settledDump(r), start);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.canUndo());

    // A scaling reaches the terrain's vertices, which the file keeps.
    ASSERT_TRUE(document.scaleSelection(2, 1, 1));
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(root->positionX, -0.0f);
    document.deselect();
    // The records as the file holds them: without the box the load measured, and the root
    // named after its file.
    const auto records = [](Reader& reader) {
        std::string dump = settledDump(reader);
        const std::size_t box = dump.find("\nbox:");
        dump.erase(box, dump.find('\n', box + 1) - box);
        const std::size_t name = dump.find(reader.baseName());
        return dump.replace(name, reader.baseName().size(), "<name>");
    };
    const std::string scaled = records(r);
    EXPECT_NE(scaled, start);
    const std::string path = dir.file("MOVED.Y4T");
    ASSERT_TRUE(document.save(path));
    ModelDocument again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(records(*again.reader()), scaled);
}

TEST(ModelDocumentHistory, TheHistoryKeepsToItsBudgetDroppingTheOldestSteps) {
    TempDir dir;
    gen::GeneratorOptions options;
    options.faces = 4000;
    const std::string path = dir.file("BIG.Y4P");
    gen::ModelGenerator::write(options, path);
    ModelDocument document;
    ASSERT_TRUE(document.load(path));
    document.selectRecord(document.reader()->root());
    const std::string start = SceneDump::text(*document.reader());
    ASSERT_TRUE(document.scaleSelection(2, 2, 2));
    const std::size_t step = document.history().bytes();
    EXPECT_GT(step, 20 * document.reader()->vertices.size() / 2);
    document.setHistoryBudget(3 * step + step / 2);
    for (int k = 0; k < 9; ++k) {
        ASSERT_TRUE(document.scaleSelection(1.5f, 0.5f, 1));
        EXPECT_LE(document.history().bytes(), document.history().budget());
    }
    EXPECT_EQ(document.history().size(), 3u);
    int undone = 0;
    for (; document.canUndo(); ++undone) {
        document.undo();
    }
    EXPECT_EQ(undone, 3);
    // The state the file holds is no longer in the history: the model stays modified.
    EXPECT_TRUE(document.isModified());
    EXPECT_NE(SceneDump::text(*document.reader()), start);
    document.setHistoryBudget(0);
    EXPECT_EQ(document.history().size(), 0u);
    EXPECT_FALSE(document.canRedo());
}

}  // namespace
}  // namespace y4
