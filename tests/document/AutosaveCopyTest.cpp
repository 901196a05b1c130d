// The autosave copy is the text a save of the scene writes at the moment the copy starts, in
// every variant, however the scene is edited while the copy is being written; its state file
// is tied to exactly that text.
#include <gtest/gtest.h>

#include <string>

#include "ModelGenerator.h"
#include "document/ModelDocument.h"
#include "document/RecoveryState.h"
#include "files/Writer.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"

namespace y4 {
namespace {

using test::ModelFixture;
using test::TempDir;

std::string companion(const std::string& path, const std::string& tail) {
    return path.substr(0, path.rfind('.')) + ".autosave" + tail;
}

std::string joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& piece : pieces) {
        text += piece;
    }
    return text;
}

// Where two long texts part, with a little of each from there; empty when they are equal.
std::string difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return {};
    }
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    return "at byte " + std::to_string(at) + ": \"" + actual.substr(at, 80) + "\" instead of \"" +
           expected.substr(at, 80) + "\"";
}

// What a save of the scene writes now, and the state file that goes with it.
struct Expected {
    std::string model;
    std::string state;
};

Expected expectedCopy(ModelDocument& document, const TempDir& dir, const std::string& name) {
    const std::string target = dir.file("SAVED-" + name);
    Writer writer(*document.reader(), target);
    Expected expected;
    expected.model = TempDir::read(target);
    expected.state =
        RecoveryState::fileText(RecoveryState::capture(*document.reader()), expected.model.size(),
                                RecoveryState::fingerprint(expected.model));
    return expected;
}

// Edits of what every variant's file holds: vertices moved, a face split in two, a group
// renamed, a group placed and a record deleted.
void edit(ModelDocument& document, int round) {
    Reader& r = *document.reader();
    SubEntity* sub = r.subEntities[0];
    document.selectRecord(sub);
    document.transformSelection(0.5f * static_cast<float>(round), -0.25f, 1.0f, 1);
    ASSERT_NE(document.splitFace(sub->faces[0]), nullptr);
    ASSERT_TRUE(
        document.rename(r.entities[r.entities.size() - 1], "Edited " + std::to_string(round)));
    if (r.entities.size() > 1) {
        document.selectRecord(r.entities[1]);
        document.transformSelection(1.0f, 2.0f, -4.0f, 1);
    }
    document.toggleDeleted(r.faces[r.faces.size() / 2]);
    document.deselect();
}

TEST(AutosaveCopy, IsWhatASaveWroteWhenItStartedWhateverIsEditedDuringTheWrite) {
    const std::string models[] = {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T",
                                  "GEN.Y4P",   "GEN.Y4D",    "GEN.Y4T"};
    for (const std::string& name : models) {
        SCOPED_TRACE(name);
        TempDir dir;
        TempDir saves;
        std::string path;
        if (name.starts_with("GEN")) {
            // Large enough that the edits below come while the copy is still being written.
            gen::GeneratorOptions options;
            options.faces = 20000;
            options.groups = 12;
            options.subEntities = 3;
            options.seed = 11;
            path = dir.file(name);
            gen::ModelGenerator::write(options, path);
        } else {
            path = ModelFixture::copySample(dir, name);
        }
        const std::string copy = companion(path, name.substr(name.rfind('.')));
        const std::string state = companion(path, ".state");

        ModelDocument document;
        ASSERT_TRUE(document.load(path));
        std::string previous;
        for (int round = 1; round <= 2; ++round) {
            SCOPED_TRACE(round);
            edit(document, round);
            const Expected expected = expectedCopy(document, saves, name);
            EXPECT_NE(expected.model, previous);
            EXPECT_EQ(difference(joined(Writer::layOut(*document.reader())), expected.model), "");
            ASSERT_TRUE(document.autosaveNow());
            // The editing goes on at once, while the copy is written.
            edit(document, round + 10);
            document.finishAutosave();
            EXPECT_EQ(difference(TempDir::read(copy), expected.model), "");
            EXPECT_EQ(difference(TempDir::read(state), expected.state), "");
            previous = expected.model;
        }
    }
}

// Hand-made models with what generated ones lack: records that no entity claims (the flat
// model's header then counts only the written ones), a face without a bitmap, a terrain whose
// own record is named in the middle of its records.
TEST(AutosaveCopy, TheSnapshotOfAHandMadeModelLaysOutTheSavedText) {
    struct Model {
        const char* name;
        std::string_view text;
        std::vector<test::TextureFile> textures;
    };
    const Model models[] = {{"TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}}},
                            {"FLAT.Y4D", test::kFlatY4D, {{"BRICK"}, {"GLASS"}}},
                            {"HILLS.Y4T", test::kHillsY4T, {{"GRASS"}, {"ROCK"}, {"HILLS"}}}};
    for (const Model& m : models) {
        SCOPED_TRACE(m.name);
        TempDir dir;
        Reader r(nullptr, ModelFixture::write(dir, m.name, m.text, m.textures));
        const SceneSnapshot snapshot = Writer::snapshot(r);
        std::string laidOut;
        Writer::layOut(snapshot, [&](std::string_view piece) { laidOut += piece; });
        const std::string target = dir.file(std::string("SAVED-") + m.name);
        Writer writer(r, target);
        EXPECT_EQ(difference(laidOut, TempDir::read(target)), "");
    }
}

}  // namespace
}  // namespace y4
