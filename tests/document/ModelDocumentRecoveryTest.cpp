// Autosave, recovery and the crash copy: an editor killed after an autosave gets every edit
// back, a failing autosave is told once and the editing goes on, and a crash copy never
// replaces a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>

#include "document/Autosave.h"
#include "document/ModelDocument.h"
#include "files/Writer.h"
#include "model/ShadowView.h"
#include "platform/SafeFileWriter.h"
#include "platform/TraceLog.h"
#include "support/ChildProcess.h"
#include "support/ModelFixture.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using std::chrono::minutes;
using test::ModelFixture;
using test::ShadowView;
using test::TempDir;
using test::testPrompt;
using Clock = std::chrono::steady_clock;

constexpr const char* kSamples[] = {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"};

std::string baseOf(const std::string& name) {
    return name.substr(0, name.rfind('.'));
}

std::string extensionOf(const std::string& name) {
    return name.substr(name.rfind('.'));
}

// The scene without the marks of a session (selection, highlight, made, changed), which no
// file holds.
std::string contentOf(const ModelDocument& document) {
    static const std::regex session(" (selected|changed|created|marked)=[01]");
    return std::regex_replace(test::SceneDump::text(*document.reader()), session, "");
}

// Edits that the model file holds: a group placed through Attributes and moved (a terrain has
// only its root, which stays where it is), and a face with one new vertex. Values with few
// binary digits, so that the file's six decimals hold them exactly.
void editGeometry(ModelDocument& document) {
    Reader& r = *document.reader();
    if (r.entities.size() > 1) {
        Entity* group = r.entities[1];
        document.selectRecord(group);
        AttributeValues values = document.attributesOf(group);
        values.position = {0.5f, -1.25f, 2.0f};
        values.rotation = {0.25f, 0.0f, 0.0f};
        ASSERT_TRUE(document.applyAttributes(values));
        document.transformSelection(0.25f, 0.5f, -1.0f, 1);
    }
    SubEntity* sub = r.subEntities[0];
    ASSERT_TRUE(document.canAddFace(sub));
    ASSERT_GE(sub->vertices.size(), 2u);
    const VertexValues made{0.5f, 0.25f, 1.0f, 0.5f, 0.75f, 0.0f, 0.0f, 1.0f};
    ASSERT_NE(
        document.addFace(sub, {FaceCorner::existing(sub->vertices[0]),
                               FaceCorner::existing(sub->vertices[1]), FaceCorner::created(made)}),
        nullptr);
    document.deselect();
}

// Edits that only the state beside a recovery copy holds: a group switched off, a face
// deleted and not purged, names set on a sub-entity, a face and a vertex.
void editMarks(ModelDocument& document) {
    Reader& r = *document.reader();
    ASSERT_TRUE(document.setDisplayed(r.entities[r.entities.size() - 1], false));
    SubEntity* sub = r.subEntities[0];
    ASSERT_TRUE(document.setDisplayed(sub->faces[1], false));
    ASSERT_TRUE(document.toggleDeleted(sub->faces[0]));
    ASSERT_TRUE(document.rename(sub, "Side panel"));
    ASSERT_TRUE(document.rename(sub->faces[sub->faces.size() - 1], "Lid 50% done"));
    ASSERT_TRUE(document.rename(sub->vertices[0], "Corner\tA"));
    document.deselect();
}

// Runs `work` in a child process, which is then killed as a crash kills it, with no destructor
// and no exit step: whether `work` succeeded and the kill ended the child.
bool runThenKill(const std::function<bool()>& work) {
    const int status = test::ChildProcess::killWhenReady(
        [&] {
            if (!work()) {
                ::_exit(1);
            }
        },
        SIGKILL);
    return status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// A sample copied twice: the model a test edits, and elsewhere the file that a save of the same
// scene writes.
struct EditedSample {
    explicit EditedSample(const std::string& name)
        : base(baseOf(name)),
          extension(extensionOf(name)),
          path(ModelFixture::copySample(dir, name)),
          reference(ModelFixture::copySample(referenceDir, name)) {}
    // A file beside the model named after it.
    std::string beside(const std::string& tail) const { return dir.file(base + tail + extension); }

    TempDir dir;
    TempDir referenceDir;
    const std::string base;
    const std::string extension;
    const std::string path;
    const std::string reference;
};

std::string recoveryQuestion(const std::string& model, const std::string& copy) {
    return "Unsaved changes of " + model + " were autosaved to " + copy +
           ", which is newer than the model.\nOpen the autosaved copy instead?";
}

TEST(ModelDocumentRecovery, AnEditorKilledAfterAnAutosaveGetsEveryEditBack) {
    for (const std::string name : kSamples) {
        SCOPED_TRACE(name);
        const EditedSample sample(name);
        const std::string& path = sample.path;
        const std::string& reference = sample.reference;
        const std::string copy = sample.beside(".autosave");
        const std::string state = sample.dir.file(sample.base + ".autosave.state");
        const std::string original = TempDir::read(path);

        ASSERT_TRUE(runThenKill([&] {
            ModelDocument document;
            if (!document.load(path)) {
                return false;
            }
            editGeometry(document);
            editMarks(document);
            // Due two minutes after the edits were first seen, not before.
            const Clock::time_point start = Clock::now();
            const bool early = document.tickAutosave(start) ||
                               document.tickAutosave(start + minutes(2) - std::chrono::seconds(1));
            const bool due = document.tickAutosave(start + minutes(2));
            document.finishAutosave();
            // What a save of the same scene writes, elsewhere.
            Writer written(*document.reader(), reference);
            return !early && due && !::testing::Test::HasFailure();
        }));
        EXPECT_EQ(TempDir::read(path), original);
        EXPECT_EQ(TempDir::typeOf(copy), "file");

        ModelDocument expected;
        ASSERT_TRUE(expected.load(reference));
        editMarks(expected);

        // Yes: the copy's scene with its marks, known as the model and modified.
        ModelDocument recovered;
        testPrompt().expectQuestion(recoveryQuestion(path, copy), true);
        ASSERT_TRUE(recovered.load(path));
        EXPECT_EQ(contentOf(recovered), contentOf(expected));
        EXPECT_EQ(ShadowView::outline(recovered.tree()), ShadowView::outline(expected.tree()));
        EXPECT_EQ(recovered.modelFile(), path);
        EXPECT_EQ(recovered.modelPath(), ModelSource::chosen(path).name);
        EXPECT_EQ(recovered.reader()->filePath, path);
        EXPECT_EQ(recovered.commitCounter(), 1);
        EXPECT_TRUE(recovered.isModified());
        EXPECT_FALSE(recovered.canUndo());

        // No: the model as it was; the copy stays for another time.
        ModelDocument declined;
        testPrompt().expectQuestion(recoveryQuestion(path, copy), false);
        ASSERT_TRUE(declined.load(path));
        EXPECT_FALSE(declined.isModified());
        EXPECT_NE(contentOf(declined), contentOf(expected));
        EXPECT_EQ(TempDir::typeOf(copy), "file");

        // The save of the recovered model writes what the editor held, and removes the copy.
        ASSERT_TRUE(recovered.save(path));
        EXPECT_EQ(TempDir::read(path), TempDir::read(reference));
        EXPECT_EQ(TempDir::typeOf(copy), "missing");
        EXPECT_EQ(TempDir::typeOf(state), "missing");
        ModelDocument again;
        ASSERT_TRUE(again.load(path));
    }
}

TEST(ModelDocumentRecovery, ABrokenCopyOrStateIsToldAndTheRestOpens) {
    TempDir dir;
    const std::string path = ModelFixture::copySample(dir, "CRATE.Y4P");
    const std::string copy = dir.file("CRATE.autosave.Y4P");
    const std::string state = dir.file("CRATE.autosave.state");
    {
        ModelDocument document;
        ASSERT_TRUE(document.load(path));
        editMarks(document);
        ASSERT_TRUE(document.autosaveNow());
        document.finishAutosave();
    }
    const std::string goodState = TempDir::read(state);
    ASSERT_NE(goodState.find("\nname F "), std::string::npos);

    // Junk among the lines: the lines that name a record are applied, the rest told once. A
    // state taken with another copy is not applied at all.
    const std::string junk =
        goodState + "mark F 0 0 99999 0 1\nname S 0\nrubbish\n" + "mark E 0 x 1\n\x01\xff\n";
    const std::string otherCopy = "Y4Editor autosave state 1 12 0000000000000000\n" +
                                  goodState.substr(goodState.find('\n') + 1);
    for (const std::string* broken : {&junk, &otherCopy}) {
        dir.write("CRATE.autosave.state", *broken);
        ModelDocument document;
        testPrompt().expectQuestion(recoveryQuestion(path, copy), true);
        testPrompt().expectMessage(
            "Warning: Some deleted marks, display switches or names could not be recovered "
            "from " +
            state);
        ASSERT_TRUE(document.load(path));
        const SubEntity& sub = *document.reader()->subEntities[0];
        EXPECT_EQ(sub.faces[0]->deleted != 0, broken == &junk);
        EXPECT_EQ(sub.name() == "Side panel", broken == &junk);
    }

    // A copy that is no model: its load's message, then the model itself.
    dir.write("CRATE.autosave.Y4P", "NumVertices: banana\n");
    ModelDocument broken;
    testPrompt().expectQuestion(recoveryQuestion(path, copy), true);
    testPrompt().expectMessage("Error: " + copy +
                               ", line 1: expected the line \"NumVertices: <count>\"");
    ASSERT_TRUE(broken.load(path));
    EXPECT_FALSE(broken.isModified());
    EXPECT_EQ(broken.modelFile(), path);
    EXPECT_EQ(TempDir::typeOf(copy), "file");
}

TEST(ModelDocumentRecovery, AFailingAutosaveIsToldOnceAndTheEditingGoesOn) {
    TempDir dir;
    const std::string path = ModelFixture::copySample(dir, "CRATE.Y4P");
    const std::string copy = dir.file("CRATE.autosave.Y4P");
    ASSERT_TRUE(TraceLog::global().open(dir.file("Y4Editor.log")));
    ModelDocument document;
    ASSERT_TRUE(document.load(path));
    EXPECT_EQ(document.recoveryCopyPath(), copy);
    const Clock::time_point start = Clock::now();
    // Without unsaved edits nothing is ever due.
    EXPECT_FALSE(document.tickAutosave(start));
    EXPECT_FALSE(document.tickAutosave(start + minutes(60)));

    // The copy cannot be written: a folder in its way, and the folder read-only (which does
    // not stop the superuser).
    std::filesystem::create_directory(copy);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    std::string reason;
    try {
        SafeFileWriter probe(copy);
        probe.commit();
    } catch (const IoError& error) {
        reason = error.what();
    }
    ASSERT_FALSE(reason.empty());

    Reader& r = *document.reader();
    ASSERT_TRUE(document.toggleDeleted(r.faces[2]));
    EXPECT_FALSE(document.tickAutosave(start));
    EXPECT_FALSE(document.tickAutosave(start + minutes(1)));
    EXPECT_TRUE(document.tickAutosave(start + minutes(2)));
    testPrompt().expectMessage("Warning: Autosave failed: " + reason);
    document.finishAutosave();
    // The editing goes on; the next failure is not told again.
    ASSERT_TRUE(document.rename(r.faces[3], "Still editing"));
    EXPECT_TRUE(document.tickAutosave(start + minutes(4)));
    document.finishAutosave();
    EXPECT_TRUE(document.isModified());

    // Writable again: the next interval tries again, with no new edit needed.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    std::filesystem::remove(copy);
    EXPECT_TRUE(document.tickAutosave(start + minutes(6)));
    document.finishAutosave();
    ASSERT_EQ(TempDir::typeOf(copy), "file");
    Reader written(nullptr, ModelSource{copy, document.modelPath()});
    EXPECT_EQ(written.faces.size(), r.faces.size());
    // Nothing new since: no write.
    EXPECT_FALSE(document.tickAutosave(start + minutes(8)));

    // The autosave left the flag, the history, the counter and the log alone.
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.undoName().empty(), false);
    EXPECT_EQ(document.commitCounter(), 1);
    TraceLog::global().close();
    EXPECT_EQ(TempDir::read(dir.file("Y4Editor.log")),
              "OnButtonLoad - before new Reader()\nOnButtonLoad - after new Reader()\n");

    // Switched off, nothing is due.
    document.autosave().setEnabled(false);
    ASSERT_TRUE(document.rename(r.faces[4], "Off"));
    EXPECT_FALSE(document.tickAutosave(start + minutes(100)));
    EXPECT_FALSE(document.tickAutosave(start + minutes(200)));

    // A confirmed exit without saving removes the copy and its state.
    document.removeRecoveryCopy();
    EXPECT_EQ(TempDir::typeOf(copy), "missing");
    EXPECT_EQ(TempDir::typeOf(dir.file("CRATE.autosave.state")), "missing");
    EXPECT_EQ(TempDir::read(path), TempDir::read(std::string(Y4_SAMPLES_DIR) + "/CRATE.Y4P"));
}

TEST(ModelDocumentRecovery, TheCrashCopyTakesANewNameAndOpensAsTheModel) {
    EXPECT_EQ(ModelDocument().writeCrashCopy(), "");
    for (const std::string name : kSamples) {
        SCOPED_TRACE(name);
        const EditedSample sample(name);
        ModelDocument document;
        ASSERT_TRUE(document.load(sample.path));
        editGeometry(document);
        { Writer written(*document.reader(), sample.reference); }

        const std::string taken =
            sample.dir.write(sample.base + "-crash" + sample.extension, "mine");
        const std::string written = document.writeCrashCopy();
        EXPECT_EQ(written, sample.beside("-crash-2"));
        EXPECT_EQ(TempDir::read(taken), "mine");
        EXPECT_EQ(TempDir::read(written), TempDir::read(sample.reference));
        EXPECT_EQ(document.writeCrashCopy(), sample.beside("-crash-3"));
        EXPECT_TRUE(document.isModified());

        ModelDocument crashed;
        ModelDocument expected;
        ASSERT_TRUE(crashed.load(written));
        ASSERT_TRUE(expected.load(sample.reference));
        // A terrain's root is named after its file.
        const std::string crashName = "\"" + sample.base + "-CRASH-2\"";
        std::string content = contentOf(crashed);
        if (const std::size_t at = content.find(crashName); at != std::string::npos) {
            content.replace(at, crashName.size(), "\"" + sample.base + "\"");
        }
        EXPECT_EQ(content, contentOf(expected));
    }
}

}  // namespace
}  // namespace y4
