// The soak's random sequence of every kind of edit, undo, redo, commit, discard and save with a
// load (SoakRun) on each sample and on a generated model, with every check after every step:
// invariants, refused edits that change nothing and show exactly their messages, undos and
// redos that bring their states back, undoing everything saving the file back byte for byte,
// and every file written loading and saving again unchanged.
#include <gtest/gtest.h>

#include <cstring>

#include "soak/SoakRun.h"
#include "support/ModelFixture.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::SoakRun;
using test::TempDir;

// The sanitizer build, which looks for memory faults rather than wrong states and runs many
// times slower, makes a shorter sequence (long enough for every kind of step to come often).
#if defined(__SANITIZE_ADDRESS__)
constexpr long kSteps = 600;
#else
constexpr long kSteps = 2400;
#endif

void runOn(const std::string& path, std::uint32_t seed) {
    SCOPED_TRACE(path);
    test::SoakOptions options;
    options.seed = seed;
    options.steps = kSteps;
    SoakRun run(path, options);
    ASSERT_TRUE(run.run()) << run.failure();
    if (kSteps < 2000) {
        return;  // Too few steps for the counts below to be sure.
    }
    // Each kind of step was tried, and each the model allows was made, often enough to matter.
    for (int kind = 0; kind < SoakRun::kCommit; ++kind) {
        EXPECT_GT(run.tried[kind], kind <= SoakRun::kTextures ? kSteps / 50 : kSteps / 200)
            << SoakRun::kindName(kind);
    }
    const bool terrain = path.ends_with(".Y4T");
    for (int kind = SoakRun::kDelete; kind < SoakRun::kKinds; ++kind) {
        const bool groups = kind == SoakRun::kAddGroup || kind == SoakRun::kAddSubEntity;
        const bool rare = groups || kind == SoakRun::kDisplayAll || kind >= SoakRun::kDiscard;
        if (kind != SoakRun::kCopy && kind != SoakRun::kUndoRedo && kind != SoakRun::kOptions &&
            !(terrain && groups)) {
            EXPECT_GT(run.made[kind], kSteps / (rare ? 400 : 200)) << SoakRun::kindName(kind);
        }
    }
    EXPECT_GT(run.undos, kSteps / 9);
    EXPECT_GT(run.redos, kSteps / 18);
}

TEST(ModelDocumentSoak, EveryKindOfStepKeepsTheSceneSoundOnEverySample) {
    for (const char* name : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        TempDir dir;
        runOn(test::ModelFixture::copySample(dir, name),
              3u + static_cast<std::uint32_t>(std::strlen(name)));
    }
}

TEST(ModelDocumentSoak, EveryKindOfStepKeepsTheSceneSoundOnAGeneratedModel) {
    TempDir dir;
    runOn(test::ModelFixture::writeGenerated(dir, 9), 17);
}

}  // namespace
}  // namespace y4
