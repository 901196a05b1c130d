// The model workflow without a window: load, save, commit and discard through ModelDocument,
// their trace lines, and the failures that must leave the user's model and files as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "document/ModelDocument.h"
#include "files/LoadError.h"
#include "model/ShadowView.h"
#include "model/TreeListing.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/RecordingObserver.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using test::RecordingObserver;
using test::ShadowView;
using test::TempDir;
using test::testPrompt;

std::string copySample(const TempDir& dir, const std::string& name) {
    return test::ModelFixture::copySample(dir, name);
}

std::size_t liveFaces(const Reader& r) {
    return r.faces.size();
}

// Deletes the last face that is not deleted yet, as the object tree's Delete does.
void deleteAFace(ModelDocument& document) {
    const std::vector<Face*> faces = document.reader()->faces.toVector();
    auto face = std::find_if(faces.rbegin(), faces.rend(), [](Face* f) { return !f->deleted; });
    ASSERT_NE(face, faces.rend());
    document.selectRecord(*face);
    ASSERT_TRUE(document.toggleDeleted(*face));
}

TEST(ModelDocumentWorkflow, CommitsAndDiscardsStepThroughTheSnapshotsOfEveryVariant) {
    for (const std::string name : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string path = copySample(dir, name);
        const std::string extension = name.substr(name.size() - 3);
        ModelDocument document;
        ASSERT_TRUE(document.load(path));
        EXPECT_EQ(document.modelFile(), path);
        EXPECT_EQ(document.modelPath(), ModelSource::chosen(path).name);
        EXPECT_EQ(document.commitCounter(), 1);
        const std::size_t faces = liveFaces(*document.reader());

        // Two commits, each after deleting a face: snapshots 1 and 2 beside the model. The
        // first follows a save, which holds the face still: the purge marks the model modified.
        for (int commit = 1; commit <= 2; ++commit) {
            deleteAFace(document);
            EXPECT_TRUE(document.isModified());
            if (commit == 1) {
                ASSERT_TRUE(document.save(path));
                EXPECT_FALSE(document.isModified());
            }
            ASSERT_TRUE(document.commit());
            EXPECT_TRUE(document.isModified());
            EXPECT_EQ(document.commitCounter(), commit + 1);
            EXPECT_FALSE(document.canUndo());
            EXPECT_EQ(liveFaces(*document.reader()), faces - static_cast<std::size_t>(commit));
            const std::string snapshot = "commit" + std::to_string(commit) + "." + extension;
            Reader written(nullptr, ModelSource::named(dir.file(snapshot)));
            EXPECT_EQ(written.faces.size(), faces - static_cast<std::size_t>(commit));
        }
        EXPECT_EQ(TempDir::typeOf(dir.file(name.substr(0, name.size() - 4) + ".dsp")), "file");

        // Three discards: snapshot 2, snapshot 1, then the model itself.
        const std::size_t expected[] = {faces - 2, faces - 1, faces};
        const int counters[] = {2, 1, 1};
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(k);
            ASSERT_TRUE(document.discard());
            EXPECT_EQ(document.commitCounter(), counters[k]);
            EXPECT_EQ(liveFaces(*document.reader()), expected[k]);
            EXPECT_FALSE(document.isModified());
            // The tree lists the file read back, as a fresh load lists it.
            SceneTree tree;
            Reader again(&tree, ModelSource::named(document.reader()->filePath));
            TreeListing::buildTree(tree, again.root());
            EXPECT_EQ(ShadowView::outline(document.tree()), ShadowView::outline(tree));
        }
        EXPECT_EQ(document.reader()->fileName, document.modelPath());
    }
}

TEST(ModelDocumentWorkflow, AFailedLoadOrDiscardKeepsTheModelItsTreeCounterAndSelection) {
    TempDir dir;
    const std::string path = copySample(dir, "CRATE.Y4P");
    ModelDocument document;
    ShadowView view(document.tree());
    ASSERT_TRUE(document.load(path));
    view.compareSettled();
    deleteAFace(document);
    ASSERT_TRUE(document.commit());
    document.selectRecord(document.reader()->faces[2]);
    document.setAllDisplayed(false);

    const Reader* reader = document.reader();
    const std::string outline = ShadowView::outline(document.tree());
    const TreeItem selected = document.selectedItem();
    RecordingObserver recorder(document);
    view.take();

    const std::string malformed = dir.write("BAD.Y4P", "NumVertices: many\n");
    std::string malformedText;
    try {
        Reader(nullptr, ModelSource::chosen(malformed));
    } catch (const LoadError& error) {
        malformedText = error.what();
    }
    ASSERT_NE(malformedText.find("line 1"), std::string::npos) << malformedText;
    const std::vector<std::pair<std::string, std::string>> failures = {
        {malformed, malformedText},
        {test::ModelFixture::write(dir, "TINY.Y4P", test::kTinyY4P, {{"RED"}}),
         "Error: Could not open required texture; aborting"},
        {dir.file("GONE.Y4P"),
         "Error: Could not open file " + dir.file("GONE.Y4P") + ": No such file or directory"},
        {dir.write("NOTES.TXT", "text"), "Error: Unknown file type"},
        {dir.file("PIPE.Y4P"),
         "Error: Could not open file " + dir.file("PIPE.Y4P") + ": Is a FIFO, not a regular file"},
    };
    ASSERT_EQ(::mkfifo(dir.file("PIPE.Y4P").c_str(), 0644), 0);
    for (const auto& [file, message] : failures) {
        SCOPED_TRACE(file);
        if (file.find("TINY") != std::string::npos) {
            testPrompt().expectMessage("Failed to open DIB file " + dir.file("BLUE.BMP") + ".\n");
        }
        testPrompt().expectMessage(message);
        EXPECT_FALSE(document.load(file));
        EXPECT_EQ(document.reader(), reader);
        EXPECT_EQ(document.commitCounter(), 2);
        EXPECT_EQ(document.selectedItem(), selected);
        EXPECT_TRUE(document.canUndo());
        EXPECT_EQ(ShadowView::outline(document.tree()), outline);
        EXPECT_EQ(document.modelPath(), ModelSource::chosen(path).name);
    }
    // A discard whose snapshot has gone keeps the model and the counter too.
    ASSERT_EQ(std::remove(dir.file("commit1.Y4P").c_str()), 0);
    ASSERT_TRUE(document.commit());
    ASSERT_TRUE(document.discard());
    view.take();
    recorder.take();
    testPrompt().expectMessage("Error: Could not open file " + dir.file("commit1.Y4P") +
                               ": No such file or directory");
    EXPECT_FALSE(document.discard());
    EXPECT_EQ(document.commitCounter(), 2);
    EXPECT_EQ(recorder.take(), std::vector<std::string>{});
    EXPECT_EQ(view.take(), test::Lines{});
}

TEST(ModelDocumentWorkflow, TheTreeViewsStayAttachedAcrossLoadsAndSeeOneResetEach) {
    TempDir dir;
    ModelDocument document;
    ShadowView view(document.tree());
    RecordingObserver recorder(document);
    ASSERT_TRUE(document.load(copySample(dir, "GARDEN.Y4D")));
    document.selectRecord(document.reader()->entities[1]);
    const TreeItem selected = document.selectedItem();
    recorder.take();
    view.take();
    ASSERT_TRUE(document.load(copySample(dir, "CRATE.Y4P")));
    view.compareSettled();
    EXPECT_EQ(view.take(), (test::Lines{"selected " + std::to_string(selected) + " -> 0",
                                        "will reset", "reset"}));
    EXPECT_EQ(recorder.take(),
              (std::vector<std::string>{"select E:Lawn -> -", "will replace", "replaced"}));
}

TEST(ModelDocumentWorkflow, AFailedSaveKeepsTheModifiedFlagAndTheOldFile) {
    TempDir dir;
    const std::string path = copySample(dir, "CRATE.Y4P");
    const std::string original = TempDir::read(path);
    ModelDocument document;
    ASSERT_TRUE(document.load(path));
    // A bitmap name the reader could not take back refuses the save before the file is touched:
    // a picture deep in folders below the model's.
    std::string longName;
    for (int k = 0; k < 6; ++k) {
        longName += std::string(180, 'A') + "/";
    }
    std::filesystem::create_directories(dir.file(longName));
    longName += "DEEP";
    std::filesystem::copy_file(dir.file("WOOD.BMP"), dir.file(longName + ".BMP"));
    ASSERT_TRUE(document.addBitmap(longName));
    ASSERT_TRUE(document.isModified());
    testPrompt().expectMessage("Error: Could not write " + path + ": bitmap 2 (\"" +
                               longName.substr(0, 40) +
                               "...\") would need a line of more than 1023 characters");
    EXPECT_FALSE(document.save(path));
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(TempDir::read(path), original);

    // A target that is no file is refused and left alone.
    ASSERT_EQ(::mkfifo(dir.file("PIPE.Y4P").c_str(), 0644), 0);
    document.undo();
    testPrompt().expectMessage("Error: Could not write " + dir.file("PIPE.Y4P") +
                               ": Is a FIFO, not a regular file");
    EXPECT_FALSE(document.save(dir.file("PIPE.Y4P")));
    EXPECT_EQ(TempDir::typeOf(dir.file("PIPE.Y4P")), "fifo");
    EXPECT_FALSE(document.isModified());

    // A save clears the flag; an undo after it sets it again and a redo back clears it.
    document.redo();
    EXPECT_TRUE(document.isModified());
    document.undo();
    ASSERT_TRUE(document.rename(document.reader()->root(), "Box"));
    ASSERT_TRUE(document.save(path));
    EXPECT_FALSE(document.isModified());
    document.undo();
    EXPECT_TRUE(document.isModified());
    document.redo();
    EXPECT_FALSE(document.isModified());
    // A display switch changes nothing a save writes.
    ASSERT_TRUE(document.setDisplayed(document.reader()->root(), false));
    EXPECT_FALSE(document.isModified());
    document.undo();
    document.undo();
    EXPECT_TRUE(document.isModified());
}

TEST(ModelDocumentWorkflow, ATerrainSavedOrCommittedElsewhereTakesItsPictureAlong) {
    TempDir dir;
    const std::string path = copySample(dir, "ISLAND.Y4T");
    ModelDocument document;
    ASSERT_TRUE(document.load(path));
    const ModelDocument::SaveResult saved = document.save(dir.file("Atoll.Y4T"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.bitmapCopiedFrom, dir.file("ISLAND.BMP"));
    EXPECT_EQ(saved.bitmapCopiedTo, dir.file("Atoll.BMP"));
    EXPECT_EQ(TempDir::read(dir.file("Atoll.BMP")), TempDir::read(dir.file("ISLAND.BMP")));
    // A stale picture of an older snapshot is replaced; the model's own is left alone.
    dir.write("COMMIT1.BMP", "stale");
    ASSERT_TRUE(document.commit());
    EXPECT_EQ(TempDir::read(dir.file("COMMIT1.BMP")), TempDir::read(dir.file("ISLAND.BMP")));
    ASSERT_TRUE(document.commit());
    ASSERT_TRUE(document.discard());
    EXPECT_EQ(document.reader()->textures.images.back()->sizeX,
              document.reader()->textures.images.front()->sizeX);
}

}  // namespace
}  // namespace y4
