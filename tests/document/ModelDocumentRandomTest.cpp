// A model-based random sequence of edits, undos and redos on each sample and on a generated
// model. Every edit is made through ModelDocument and, with the scene's own operations, on a
// plain copy of the model; after each edit the two must match record for record, label for
// label. Every state the history can return to is remembered, and each undo and redo must bring
// it back exactly. Undoing everything saves the file as it was loaded (or as the commit in the
// middle wrote it) byte for byte; redoing everything saves what the plain copy saves.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include "document/ModelDocument.h"
#include "files/Writer.h"
#include "model/ShadowView.h"
#include "support/ModelFixture.h"
#include "support/PlainCopy.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::badGroupName;
using test::fingerprint;
using test::isTerrainRecord;
using test::itemAt;
using test::Op;
using test::PlainCopy;
using test::recordAt;
using test::ShadowView;
using test::Target;
using test::TempDir;
using test::testPrompt;

class RandomRun {
public:
    RandomRun(const TempDir& dir, std::string path, std::uint32_t seed)
        : dir_(dir), path_(std::move(path)), random_(seed) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().extension() == ".BMP") {
                pictures_.push_back(entry.path().stem().string());
            }
        }
        std::sort(pictures_.begin(), pictures_.end());
    }

    void run(int editsPerHalf) {
        ASSERT_TRUE(document_.load(path_));
        plain_ = std::make_unique<PlainCopy>(path_);
        std::string base = TempDir::read(path_);
        nodes_.push_back(Node{Op{}, -1, fingerprint(*document_.reader(), document_.tree())});
        current_ = 0;  // the load
        start();
        for (int half = 0; half < 2; ++half) {
            SCOPED_TRACE("half " + std::to_string(half));
            const std::string baseOutline = ShadowView::outline(document_.tree());
            for (int k = 0; k < editsPerHalf && !testing::Test::HasFailure(); ++k) {
                step();
            }
            ASSERT_FALSE(testing::Test::HasFailure());
            // Undo everything: the file as it was loaded or committed, the same labels and
            // checks; redo everything: what the plain copy saves.
            while (document_.canUndo()) {
                undo();
            }
            ASSERT_EQ(position_, 0u);
            EXPECT_EQ(ShadowView::outline(document_.tree()), baseOutline);
            ASSERT_TRUE(document_.save(dir_.file("UNDONE" + extension())));
            EXPECT_TRUE(TempDir::read(dir_.file("UNDONE" + extension())) == base)
                << "undoing everything does not save the file back";
            EXPECT_FALSE(document_.isModified() && half == 0);
            while (document_.canRedo()) {
                redo();
            }
            catchUp();
            ASSERT_TRUE(document_.save(dir_.file("REDONE" + extension())));
            Writer(plain_->reader, dir_.file("PLAIN" + extension()));
            EXPECT_TRUE(TempDir::read(dir_.file("REDONE" + extension())) ==
                        TempDir::read(dir_.file("PLAIN" + extension())))
                << "redoing everything does not save what the edits made";
            if (half == 0) {
                // A commit in the middle: the purge, a snapshot, and an empty history.
                Op commit;
                commit.kind = Op::Commit;
                apply(commit);
                EXPECT_FALSE(document_.canUndo());
                EXPECT_FALSE(document_.canRedo());
                base = TempDir::read(dir_.file("commit1" + extension()));
            }
        }
    }

    int undos = 0;
    int redos = 0;
    int rebuilds = 0;

private:
    // One applied edit: what it was and the edit before it.
    struct Node {
        Op op;
        int parent;
        // The fingerprint of the state the edit left.
        std::uint64_t print = 0;
    };

    std::string extension() const { return path_.substr(path_.rfind('.')); }
    std::size_t pick(std::size_t count) {
        return count == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    float between(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random_);
    }

    Target randomTarget() {
        const Reader& r = *document_.reader();
        const std::size_t sizes[] = {r.entities.size(), r.subEntities.size(), r.faces.size(),
                                     r.vertices.size()};
        Target t;
        const std::size_t roll = pick(20);
        t.kind = roll == 0 ? -1 : roll < 5 ? 0 : roll < 8 ? 1 : roll < 14 ? 2 : 3;
        if (t.kind >= 0) {
            t.position = pick(sizes[t.kind]);
            t.listing = pick(3);
        }
        return t;
    }

    Op randomOp() {
        static const std::string kNames[] = {"Alpha",     "Beta gamma",         "Left: wing",
                                             "Tab\there", std::string(70, 'N'), "Zelvan's Terrain"};
        const Reader& r = *document_.reader();
        const int bitmaps = static_cast<int>(r.bitmapNames.size());
        Op op;
        op.target = randomTarget();
        const std::size_t roll = pick(100);
        if (roll < 28) {
            op.kind = Op::Select;
        } else if (roll < 40) {
            op.kind = Op::Delete;
        } else if (roll < 46) {
            op.kind = Op::Scale;
            for (float& f : op.factors) {
                f = between(0.5f, 2.0f);
            }
        } else if (roll < 60) {
            op.kind = Op::Drag;
            op.dragKind = static_cast<int>(1 + pick(4));
            const std::size_t steps = 1 + pick(4);
            for (std::size_t k = 0; k < 3 * steps; ++k) {
                const float range[] = {0, 2, 45, 1.5f, 0.3f};
                const float d = between(-range[op.dragKind], range[op.dragKind]);
                op.deltas.push_back(pick(5) == 0 ? 0.0f : op.dragKind == 3 ? std::abs(d) : d);
            }
        } else if (roll < 68) {
            op.kind = Op::Rename;
            op.text = kNames[pick(std::size(kNames))];
        } else if (roll < 76) {
            op.kind = Op::Display;
            op.on = pick(3) == 0;
        } else if (roll < 79) {
            op.kind = Op::DisplayAll;
            op.on = pick(2) == 0;
        } else if (roll < 82) {
            op.kind = Op::AddBitmap;
            op.text = pictures_[pick(pictures_.size())];
        } else if (roll < 85) {
            op.kind = Op::RemoveBitmap;
            op.position = static_cast<int>(pick(static_cast<std::size_t>(bitmaps)));
        } else if (roll < 89) {
            op.kind = Op::MoveBitmap;
            op.position = static_cast<int>(pick(static_cast<std::size_t>(bitmaps)));
            op.offset = pick(2) ? 1 : -1;
        } else if (roll < 92) {
            op.kind = Op::RenameBitmap;
            op.position = static_cast<int>(pick(static_cast<std::size_t>(bitmaps)));
            op.text = pictures_[pick(pictures_.size())];
        } else {
            op.kind = Op::EditNormals;
            op.on = pick(2) == 0;
        }
        return op;
    }

    // Makes the edit through the document; false when the document refuses it.
    bool perform(const Op& op) {
        ModelDocument& d = document_;
        SceneObject* record = recordAt(*d.reader(), op.target);
        switch (op.kind) {
            case Op::Select:
                d.select(itemAt(*d.reader(), op.target));
                return true;
            case Op::Delete:
                if (record == d.reader()->root()) {
                    testPrompt().expectMessage(
                        "Error: Cannot remove root entity.  Operation aborted");
                } else if (isTerrainRecord(*d.reader(), record)) {
                    testPrompt().expectMessage(
                        "Error: Cannot remove this subEntity.  Operation aborted");
                }
                return d.toggleDeleted(record);
            case Op::Scale:
                return d.scaleSelection(op.factors[0], op.factors[1], op.factors[2]);
            case Op::Drag: {
                // A drag that reaches nothing but a terrain's root is no step.
                const UndoStep* last = d.history().nextUndo();
                d.beginDrag();
                for (std::size_t k = 0; k < op.deltas.size(); k += 3) {
                    d.transformSelection(op.deltas[k], op.deltas[k + 1], op.deltas[k + 2],
                                         op.dragKind);
                }
                d.endDrag();
                return d.history().nextUndo() != last;
            }
            case Op::Rename:
                if (record && !isTerrainRecord(*d.reader(), record) &&
                    badGroupName(record, op.text)) {
                    testPrompt().expectMessage(
                        "Error: A group name cannot contain a colon or a control character");
                }
                return d.rename(record, op.text);
            case Op::Display:
                return d.setDisplayed(record, op.on);
            case Op::DisplayAll:
                d.setAllDisplayed(op.on);
                return true;
            case Op::AddBitmap:
                return d.addBitmap(op.text);
            case Op::RemoveBitmap:
                return d.removeBitmap(op.position);
            case Op::MoveBitmap:
                return d.moveBitmap(op.position, op.offset);
            case Op::RenameBitmap:
                return d.renameBitmap(op.position, op.text);
            case Op::EditNormals:
                d.setEditNormals(op.on);
                return true;
            case Op::Commit:
                return d.commit();
        }
        return false;
    }

    // The plain copy in the state the document is in: built again from the model file and the
    // edits that lead to the current state, unless it is there already.
    void catchUp() {
        if (plainAt_ != current_ && fingerprint(plain_->reader, plain_->tree) !=
                                        fingerprint(*document_.reader(), document_.tree())) {
            ++rebuilds;
            plain_ = replay(current_);
            EXPECT_EQ(fingerprint(plain_->reader, plain_->tree),
                      nodes_[static_cast<std::size_t>(current_)].print)
                << "the edits replayed do not give the state they gave";
        }
        plainAt_ = current_;
        // Normal editing is a mode of the window, not part of the model: undo leaves it alone
        // unless the selection changes.
        plain_->reader.editNormals = document_.reader()->editNormals;
    }

    // A plain copy made from the model file and the edits that lead to `node`.
    std::unique_ptr<PlainCopy> replay(int node) {
        std::vector<const Op*> path;
        for (int n = node; n > 0; n = nodes_[static_cast<std::size_t>(n)].parent) {
            path.push_back(&nodes_[static_cast<std::size_t>(n)].op);
        }
        plain_.reset();
        auto plain = std::make_unique<PlainCopy>(path_);
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            plain->apply(**it, true);
        }
        plain->reader.computeWorldPositions();
        return plain;
    }

    // Shows how the document differs from the state it should be in.
    void explain(int node) {
        plain_ = replay(node);
        plainAt_ = node;
        EXPECT_EQ(test::SceneDump::text(*document_.reader()),
                  test::SceneDump::text(plain_->reader));
        EXPECT_EQ(ShadowView::outline(document_.tree()), ShadowView::outline(plain_->tree));
        const UndoStep* next = document_.history().nextRedo();
        std::string recent;
        for (int n = node, k = 0; n > 0 && k < 12;
             n = nodes_[static_cast<std::size_t>(n)].parent, ++k) {
            const Op& op = nodes_[static_cast<std::size_t>(n)].op;
            recent += " [" + std::to_string(op.kind) + " " + std::to_string(op.target.kind) + ":" +
                      std::to_string(op.target.position) + "/" + std::to_string(op.target.listing) +
                      " " + op.text + "]";
        }
        ADD_FAILURE() << "the step is " << (next ? next->name() : "none") << "; selected "
                      << document_.tree().itemText(document_.selectedItem()) << " vs "
                      << plain_->tree.itemText(plain_->tree.selectedItem()) << "; recent" << recent;
    }

    // The history begins (after the load or a commit) at the current edit.
    void start() {
        plainAt_ = current_;
        position_ = 0;
        after_.assign(1, current_);
    }

    void apply(Op op) {
        catchUp();
        op.normals = document_.reader()->editNormals != 0;
        const bool bitmapEdit = op.kind >= Op::AddBitmap && op.kind <= Op::RenameBitmap;
        const bool allowed = !bitmapEdit || plain_->bitmapAllowed(op);
        const bool changed = perform(op);
        if (bitmapEdit) {
            EXPECT_EQ(changed, allowed) << "bitmap edit " << op.kind;
        } else if (!op.isStep()) {
            EXPECT_TRUE(changed);
        }
        plain_->apply(op);
        const std::uint64_t now = fingerprint(*document_.reader(), document_.tree());
        nodes_.push_back(Node{op, current_, now});
        current_ = plainAt_ = static_cast<int>(nodes_.size()) - 1;
        if (now != fingerprint(plain_->reader, plain_->tree)) {
            ADD_FAILURE() << "edit " << nodes_.size() << " (kind " << op.kind
                          << ") differs from the plain copy";
            EXPECT_EQ(test::SceneDump::text(*document_.reader()),
                      test::SceneDump::text(plain_->reader));
            EXPECT_EQ(ShadowView::outline(document_.tree()), ShadowView::outline(plain_->tree));
            return;
        }
        if (op.kind == Op::Commit) {
            start();
            return;
        }
        if (op.isStep() && changed) {
            EXPECT_EQ(document_.history().size(), position_ + 1);
            ++position_;
            after_.resize(position_);
            after_.push_back(current_);
        }
    }

    // An undo brings back the state just before the step, with the selection of that time.
    void undo() {
        current_ = nodes_[static_cast<std::size_t>(after_[position_])].parent;
        document_.undo();
        ++undos;
        --position_;
        check("undo");
    }

    // A redo brings back the state just after the step.
    void redo() {
        document_.redo();
        ++redos;
        ++position_;
        current_ = after_[position_];
        check("redo");
    }

    void check(const char* what) {
        if (fingerprint(*document_.reader(), document_.tree()) !=
            nodes_[static_cast<std::size_t>(current_)].print) {
            ADD_FAILURE() << what << " to " << position_ << " does not bring the state back";
            explain(current_);
        }
    }

    void step() {
        EXPECT_EQ(document_.canUndo(), position_ > 0);
        EXPECT_EQ(document_.canRedo(), position_ + 1 < after_.size());
        // Now and then go back some steps, and forward some of them again.
        if (pick(20) == 0 && document_.canUndo()) {
            const std::size_t back = 1 + pick(6);
            for (std::size_t k = 0; k < back && document_.canUndo(); ++k) {
                undo();
            }
            const std::size_t forward = pick(2) ? back : pick(back);
            for (std::size_t k = 0; k < forward && document_.canRedo(); ++k) {
                redo();
            }
            return;
        }
        apply(randomOp());
    }

    const TempDir& dir_;
    std::string path_;
    std::mt19937 random_;
    std::vector<std::string> pictures_;
    ModelDocument document_;
    std::unique_ptr<PlainCopy> plain_;
    std::vector<Node> nodes_;
    int current_ = -1;
    int plainAt_ = -1;
    // The history's position, and for each position the edit that led to it.
    std::size_t position_ = 0;
    std::vector<int> after_;
};

// Edits per half of a run (a commit between the halves). The sanitizer build, which looks for
// memory faults rather than wrong states and runs many times slower, makes a shorter sequence;
// the release build of the test command makes the whole one.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kEditsPerHalf = 600;
#else
constexpr int kEditsPerHalf = 2600;
#endif

void runOn(const TempDir& dir, const std::string& path, std::uint32_t seed) {
    SCOPED_TRACE(path);
    RandomRun run(dir, path, seed);
    run.run(kEditsPerHalf);
    EXPECT_GT(run.undos, kEditsPerHalf / 9);
    EXPECT_GT(run.redos, kEditsPerHalf / 18);
    testing::Test::RecordProperty(std::filesystem::path(path).filename().string() + "_rebuilds",
                                  run.rebuilds);
}

TEST(ModelDocumentRandom, EditsUndosAndRedosMatchAPlainCopyOnEverySample) {
    for (const char* name : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        TempDir dir;
        runOn(dir, test::ModelFixture::copySample(dir, name),
              7u + static_cast<std::uint32_t>(std::strlen(name)));
    }
}

TEST(ModelDocumentRandom, EditsUndosAndRedosMatchAPlainCopyOnAGeneratedModel) {
    TempDir dir;
    runOn(dir, test::ModelFixture::writeGenerated(dir, 5), 11);
}

}  // namespace
}  // namespace y4
