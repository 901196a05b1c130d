// The soak's random sequence of edits (SoakRun) on each sample and on a generated model, run
// twice. Alone, with every kind of edit, undo, redo, commit, discard and save with a load, and
// every check after every step: invariants, refused edits that change nothing and show exactly
// their messages, undos and redos that bring their states back, undoing everything saving the
// file back byte for byte, and every file written loading and saving again unchanged. And held
// to a plain copy of the model edited with the scene's own operations: after each edit the two
// must match record for record, label for label; undoing everything saves the file as it was
// loaded (or as the last commit wrote it) byte for byte, and redoing everything saves what the
// plain copy saves.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "document/ModelDocument.h"
#include "files/Writer.h"
#include "model/ShadowView.h"
#include "soak/SoakRun.h"
#include "support/ModelFixture.h"
#include "support/PlainCopy.h"
#include "support/SceneDump.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::fingerprint;
using test::Op;
using test::PlainCopy;
using test::ShadowView;
using test::SoakRun;
using test::TempDir;

// The plain copy, kept in the state the document is in. Every edit is a node whose parent is
// the edit before it; an undo or redo moves to another node, and the copy is built again from
// the model file and the edits that lead there when it is next needed.
class PlainReference : public test::SoakReference {
public:
    explicit PlainReference(std::string path) : path_(std::move(path)) {}

    int rebuilds = 0;

    void start(const ModelDocument& document) override {
        if (!plain_) {
            plain_ = std::make_unique<PlainCopy>(path_);
            nodes_.push_back(Node{Op{}, -1, print(document)});
            current_ = 0;  // the load
        }
        plainAt_ = current_;
        position_ = 0;
        after_.assign(1, current_);
        outline_ = ShadowView::outline(document.tree());
        sinceLoad_ = nodes_.size() == 1;
    }

    bool follow(const Op& op, bool changed, const ModelDocument& document) override {
        catchUp(document);
        bool allowed = true;
        if (op.kind >= Op::AddBitmap && op.kind <= Op::RenameBitmap) {
            // The document also refuses a picture the folder does not hold.
            const bool named = op.kind == Op::AddBitmap || op.kind == Op::RenameBitmap;
            allowed = plain_->bitmapAllowed(op) &&
                      (!named || std::filesystem::exists(folder() / (op.text + ".BMP")));
            EXPECT_EQ(changed, allowed) << "bitmap edit " << op.kind;
        }
        const std::uint64_t now = print(document);
        if (allowed) {
            plain_->apply(op);
            nodes_.push_back(Node{op, current_, now});
            current_ = plainAt_ = static_cast<int>(nodes_.size()) - 1;
        }
        if (now != fingerprint(plain_->reader, plain_->tree)) {
            ADD_FAILURE() << "edit " << nodes_.size() << " (kind " << op.kind
                          << ") differs from the plain copy";
            EXPECT_EQ(test::SceneDump::text(*document.reader()),
                      test::SceneDump::text(plain_->reader));
            EXPECT_EQ(ShadowView::outline(document.tree()), ShadowView::outline(plain_->tree));
            return false;
        }
        if (allowed && op.isStep() && changed) {
            EXPECT_EQ(document.history().size(), position_ + 1);
            ++position_;
            after_.resize(position_);
            after_.push_back(current_);
        }
        return true;
    }

    // An undo brings back the state just before the step, with the selection of that time; a
    // redo the state just after it. The run compares the states.
    void undone() override {
        current_ = nodes_[static_cast<std::size_t>(after_[position_--])].parent;
    }
    void redone() override { current_ = after_[++position_]; }

    bool backAtStart(const ModelDocument& document) override {
        EXPECT_EQ(position_, 0u);
        EXPECT_EQ(ShadowView::outline(document.tree()), outline_);
        EXPECT_FALSE(sinceLoad_ && document.isModified());
        return position_ == 0 && ShadowView::outline(document.tree()) == outline_;
    }

    bool savesTheSame(ModelDocument& document) override {
        catchUp(document);
        const std::filesystem::path redone = folder() / ("REDONE" + extension());
        const std::filesystem::path plain = folder() / ("PLAIN" + extension());
        EXPECT_TRUE(document.save(redone.string()));
        Writer(plain_->reader, plain.string());
        return TempDir::read(redone.string()) == TempDir::read(plain.string());
    }

private:
    struct Node {
        Op op;
        int parent;
        // The fingerprint of the state the edit left.
        std::uint64_t print = 0;
    };

    static std::uint64_t print(const ModelDocument& document) {
        return fingerprint(*document.reader(), document.tree());
    }
    std::filesystem::path folder() const { return std::filesystem::path(path_).parent_path(); }
    std::string extension() const { return path_.substr(path_.rfind('.')); }

    // The plain copy in the state the document is in: built again from the model file and the
    // edits that lead to the current state, unless it is there already.
    void catchUp(const ModelDocument& document) {
        // The document may already have made the edit to follow: the copy is compared with the
        // state it should reach, not with the document.
        const std::uint64_t wanted = nodes_[static_cast<std::size_t>(current_)].print;
        if (plainAt_ != current_ && fingerprint(plain_->reader, plain_->tree) != wanted) {
            ++rebuilds;
            std::vector<const Op*> path;
            for (int n = current_; n > 0; n = nodes_[static_cast<std::size_t>(n)].parent) {
                path.push_back(&nodes_[static_cast<std::size_t>(n)].op);
            }
            plain_.reset();
            plain_ = std::make_unique<PlainCopy>(path_);
            for (auto it = path.rbegin(); it != path.rend(); ++it) {
                plain_->apply(**it, true);
            }
            plain_->reader.computeWorldPositions();
            EXPECT_EQ(fingerprint(plain_->reader, plain_->tree), wanted)
                << "the edits replayed do not give the state they gave";
        }
        plainAt_ = current_;
        // Normal editing is a mode of the window, not part of the model: undo leaves it alone
        // unless the selection changes.
        plain_->reader.editNormals = document.reader()->editNormals;
    }

    std::string path_;
    std::unique_ptr<PlainCopy> plain_;
    std::vector<Node> nodes_;
    int current_ = -1;
    int plainAt_ = -1;
    // The history's position, and for each position the edit that led to it.
    std::size_t position_ = 0;
    std::vector<int> after_;
    std::string outline_;
    bool sinceLoad_ = true;
};

// The sanitizer build, which looks for memory faults rather than wrong states and runs many
// times slower, makes shorter sequences (long enough for every kind of step to come often);
// the release build of the test command makes the whole ones.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kSoakSteps = 600;
constexpr long kSteps = 1200;
#else
constexpr long kSoakSteps = 2400;
constexpr long kSteps = 5200;
#endif

// A run on `path`, alone or held to a plain copy.
void runOn(const std::string& path, std::uint32_t seed, bool plain) {
    SCOPED_TRACE(path);
    PlainReference reference(path);
    test::SoakOptions options;
    options.seed = seed;
    options.steps = plain ? kSteps : kSoakSteps;
    options.reference = plain ? &reference : nullptr;
    SoakRun run(path, options);
    ASSERT_TRUE(run.run()) << run.failure();
    if (plain) {
        EXPECT_GT(run.undos, kSteps / 18);
        EXPECT_GT(run.redos, kSteps / 36);
        testing::Test::RecordProperty(std::filesystem::path(path).filename().string() + "_rebuilds",
                                      reference.rebuilds);
        return;
    }
    if (kSoakSteps < 2000) {
        return;  // Too few steps for the counts below to be sure.
    }
    // Each kind of step was tried, and each the model allows was made, often enough to matter.
    for (int kind = 0; kind < SoakRun::kCommit; ++kind) {
        EXPECT_GT(run.tried[kind], kind <= SoakRun::kTextures ? kSoakSteps / 50 : kSoakSteps / 200)
            << SoakRun::kindName(kind);
    }
    const bool terrain = path.ends_with(".Y4T");
    for (int kind = SoakRun::kDelete; kind < SoakRun::kKinds; ++kind) {
        const bool groups = kind == SoakRun::kAddGroup || kind == SoakRun::kAddSubEntity;
        const bool rare = groups || kind == SoakRun::kDisplayAll || kind >= SoakRun::kDiscard;
        if (kind != SoakRun::kCopy && kind != SoakRun::kUndoRedo && kind != SoakRun::kOptions &&
            !(terrain && groups)) {
            EXPECT_GT(run.made[kind], kSoakSteps / (rare ? 400 : 200)) << SoakRun::kindName(kind);
        }
    }
    EXPECT_GT(run.undos, kSoakSteps / 9);
    EXPECT_GT(run.redos, kSoakSteps / 18);
}

void runOnEverySample(std::uint32_t seed, bool plain) {
    for (const char* name : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        TempDir dir;
        runOn(test::ModelFixture::copySample(dir, name),
              seed + static_cast<std::uint32_t>(std::strlen(name)), plain);
    }
}

TEST(ModelDocumentSoak, EveryKindOfStepKeepsTheSceneSoundOnEverySample) {
    runOnEverySample(3, false);
}

TEST(ModelDocumentSoak, EveryKindOfStepKeepsTheSceneSoundOnAGeneratedModel) {
    TempDir dir;
    runOn(test::ModelFixture::writeGenerated(dir, 9), 17, false);
}

TEST(ModelDocumentRandom, EditsUndosAndRedosMatchAPlainCopyOnEverySample) {
    runOnEverySample(7, true);
}

TEST(ModelDocumentRandom, EditsUndosAndRedosMatchAPlainCopyOnAGeneratedModel) {
    TempDir dir;
    runOn(test::ModelFixture::writeGenerated(dir, 5), 11, true);
}

}  // namespace
}  // namespace y4
