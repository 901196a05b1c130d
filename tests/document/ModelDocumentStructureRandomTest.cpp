// A random sequence of the object tree's structural edits, the Attributes dialog's and the
// Textures dialog's (select, delete and undelete, Add Group, Add SubEntity, New Face, Split
// Face, copy and paste, Apply, Change Winding, texture list edits, undo, redo, commit) on each
// sample and on a generated model. After every step
// the scene and its tree must keep their invariants; an edit the document refuses changes
// nothing and shows only the message it must; every undo and redo brings back the state it
// must. Before each commit, undoing every step since the last one saves that commit's file byte
// for byte; each commit's file reloads to the same records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <unordered_map>

#include "document/ModelDocument.h"
#include "files/Writer.h"
#include "model/ShadowView.h"
#include "support/ModelFixture.h"
#include "support/PlainCopy.h"
#include "support/SceneInvariants.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::badGroupName;
using test::fingerprint;
using test::isTerrainRecord;
using test::SceneInvariants;
using test::ShadowView;
using test::TempDir;
using test::testPrompt;

constexpr const char* kDeletedData =
    "Warning: Copy source contained deleted data; deleted data was not copied";
constexpr const char* kDeletedFaces =
    "Warning: Copy source contained deleted faces; deleted data will not be copied";

// The paste's one warning: for the first marked record in the order a copy meets them (an
// entity's child entities before its sub-entities, a sub-entity's vertices before its faces, a
// face before its corners), or null when nothing below `r` is marked.
const char* pasteWarning(const SceneObject* r) {
    if (r->deleted) {
        return r->kind() == SceneObject::kFace ? kDeletedFaces : kDeletedData;
    }
    switch (r->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(r);
            for (const Entity* child : e->children) {
                if (const char* warning = pasteWarning(child)) {
                    return warning;
                }
            }
            for (const SubEntity* s : e->subEntities) {
                if (const char* warning = pasteWarning(s)) {
                    return warning;
                }
            }
            return nullptr;
        }
        case SceneObject::kSubEntity: {
            const auto* s = static_cast<const SubEntity*>(r);
            for (const Vertex* v : s->vertices) {
                if (v->deleted) {
                    return kDeletedData;
                }
            }
            for (const Face* f : s->faces) {
                if (const char* warning = pasteWarning(f)) {
                    return warning;
                }
            }
            return nullptr;
        }
        case SceneObject::kFace: {
            const auto* f = static_cast<const Face*>(r);
            for (const Vertex* v : {f->vertexA, f->vertexB, f->vertexC}) {
                if (v && v->deleted) {
                    return kDeletedData;
                }
            }
            return nullptr;
        }
        default:
            return nullptr;
    }
}

// The faces a copy of `r` could make.
std::size_t facesBelow(const SceneObject* r) {
    switch (r->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(r);
            std::size_t count = 0;
            for (const Entity* child : e->children) {
                count += facesBelow(child);
            }
            for (const SubEntity* s : e->subEntities) {
                count += s->faces.size();
            }
            return count;
        }
        case SceneObject::kSubEntity:
            return static_cast<const SubEntity*>(r)->faces.size();
        default:
            return 1;
    }
}

// How the records hang together: owners, lists and corners by position in the flat lists,
// which the fingerprint leaves to the counts.
std::uint64_t structurePrint(const Reader& r) {
    std::unordered_map<const void*, std::uint64_t> at;
    auto number = [&](const auto& list) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            at[list[k]] = k + 1;
        }
    };
    number(r.entities);
    number(r.subEntities);
    number(r.faces);
    number(r.vertices);
    std::uint64_t h = 1469598103934665603ULL;
    auto add = [&](const void* record) {
        const auto found = at.find(record);
        h = (h ^ (record == nullptr   ? 0
                  : found == at.end() ? ~0ULL
                                      : found->second)) *
            0x100000001B3ULL;
    };
    auto addAll = [&](const auto& list) {
        add(nullptr);
        for (const auto* record : list) {
            add(record);
        }
    };
    for (const Entity* e : r.entities) {
        add(e->parent);
        addAll(e->children);
        addAll(e->subEntities);
    }
    for (const SubEntity* s : r.subEntities) {
        add(s->parent);
        addAll(s->faces);
        addAll(s->vertices);
    }
    for (const Face* f : r.faces) {
        add(f->parent);
        add(f->vertexA);
        add(f->vertexB);
        add(f->vertexC);
    }
    for (const Vertex* v : r.vertices) {
        add(v->subEntity);
        addAll(v->faces);
    }
    return h;
}

// The bitmap names a model's file holds: a terrain names one per record, the other variants
// list them.
std::vector<std::string> bitmapsOf(const Reader& r) {
    if (r.fileType != Reader::kY4T) {
        return r.bitmapNames;
    }
    std::vector<std::string> names;
    for (const SubEntity* s : r.subEntities) {
        const auto at = static_cast<std::size_t>(s->bitmapIndex);
        names.push_back(at < r.bitmapNames.size() ? r.bitmapNames[at] : "");
    }
    return names;
}

class StructureRun {
public:
    StructureRun(const TempDir& dir, std::string path, std::uint32_t seed)
        : dir_(dir), path_(std::move(path)), random_(seed) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().extension() == ".BMP") {
                pictures_.push_back(entry.path().stem().string());
            }
        }
        std::sort(pictures_.begin(), pictures_.end());
    }

    void run(int edits) {
        ASSERT_TRUE(document_.load(path_));
        base_ = TempDir::read(path_);
        baseOutline_ = ShadowView::outline(document_.tree());
        faceLimit_ = 2 * document_.reader()->faces.size() + 800;
        start();
        for (int k = 0; k < edits && !testing::Test::HasFailure(); ++k) {
            step(k == edits / 2);
        }
        ASSERT_FALSE(testing::Test::HasFailure());
        undoEverything();
        while (document_.canRedo()) {
            redo();
        }
        commit();
    }

    // How often each kind of edit was tried, and made.
    int counts[16] = {};
    int made[16] = {};

private:
    enum Kind {
        kSelect,
        kDelete,
        kAddGroup,
        kAddSubEntity,
        kNewFace,
        kSplit,
        kCopy,
        kPaste,
        kApply,
        kWinding,
        kUndoRedo,
        kCommit,
        kTextures,
    };

public:
    static constexpr int kTextureEdits = kTextures;

private:
    std::string extension() const { return path_.substr(path_.rfind('.')); }
    std::size_t pick(std::size_t count) {
        return count == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    float between(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random_);
    }
    template <class T>
    T* any(const RecordList<T>& list) {
        return list.empty() ? nullptr : list[pick(list.size())];
    }
    SceneObject* anyRecord() {
        const Reader& r = *document_.reader();
        switch (pick(4)) {
            case 0:
                return any(r.entities);
            case 1:
                return any(r.subEntities);
            case 2:
                return any(r.faces);
            default:
                return any(r.vertices);
        }
    }

    // Everything an edit, undo or redo can change, but the columns a save computes again.
    std::uint64_t print() const {
        return fingerprint(*document_.reader(), document_.tree()) * 31 +
               structurePrint(*document_.reader());
    }

    void start() {
        before_.clear();
        after_.assign(1, print());
    }

    void step(bool middle) {
        const Kind kind = middle ? kCommit : randomKind();
        ++counts[kind];
        const std::uint64_t was = print();
        const std::size_t position = document_.history().position();
        bool changed = false;
        switch (kind) {
            case kUndoRedo:
                undoAndRedo();
                return;
            case kCommit:
                commit();
                return;
            default:
                changed = perform(kind);
                break;
        }
        const std::vector<std::string> problems =
            SceneInvariants::check(*document_.reader(), document_.tree());
        if (!problems.empty()) {
            ADD_FAILURE() << "edit kind " << kind << " breaks the scene: " << problems[0];
            return;
        }
        const std::uint64_t now = print();
        if (kind == kSelect || kind == kCopy) {
            return;
        }
        if (!changed) {
            EXPECT_EQ(now, was) << "a refused edit of kind " << kind << " changed the scene";
            EXPECT_EQ(document_.history().position(), position);
            return;
        }
        ++made[kind];
        ASSERT_EQ(document_.history().position(), position + 1) << "edit kind " << kind;
        ASSERT_EQ(document_.history().size(), position + 1);
        before_.resize(position);
        before_.push_back(was);
        after_.resize(position + 1);
        after_.push_back(now);
    }

    Kind randomKind() {
        const std::size_t roll = pick(100);
        static constexpr std::pair<std::size_t, Kind> kBands[] = {
            {15, kSelect},  {23, kDelete},  {28, kAddGroup}, {33, kAddSubEntity},
            {43, kNewFace}, {51, kSplit},   {59, kCopy},     {71, kPaste},
            {83, kApply},   {88, kWinding}, {93, kTextures}, {99, kUndoRedo}};
        for (const auto& [below, kind] : kBands) {
            if (roll < below) {
                return kind;
            }
        }
        return kCommit;
    }

    // Makes one edit through the document, announcing the messages it must show; whether it
    // changed the model.
    bool perform(Kind kind) {
        ModelDocument& d = document_;
        const Reader& r = *d.reader();
        switch (kind) {
            case kSelect: {
                SceneObject* record = pick(12) == 0 ? nullptr : anyRecord();
                if (record && record->kind() == SceneObject::kVertex) {
                    const std::vector<TreeItem> items =
                        static_cast<Vertex*>(record)->treeItems(d.tree());
                    d.select(items.empty() ? kNoItem : items[pick(items.size())]);
                } else {
                    d.selectRecord(record);
                }
                return false;
            }
            case kDelete: {
                SceneObject* record = anyRecord();
                if (record == r.root()) {
                    testPrompt().expectMessage(
                        "Error: Cannot remove root entity.  Operation aborted");
                } else if (isTerrainRecord(r, record)) {
                    testPrompt().expectMessage(
                        "Error: Cannot remove this subEntity.  Operation aborted");
                }
                const bool marking = record && !record->deleted;
                const bool done = d.toggleDeleted(record);
                // A marked record is no longer selected; an unmarked one is selected again.
                if (done) {
                    EXPECT_EQ(d.selectedRecord(), marking ? nullptr : record);
                }
                return done;
            }
            case kAddGroup: {
                auto* parent = any(r.entities);
                const bool offered = d.canAddGroup(parent);
                Entity* group = d.addGroup(parent);
                EXPECT_EQ(group != nullptr, offered);
                return group != nullptr;
            }
            case kAddSubEntity: {
                auto* parent = any(r.entities);
                const bool offered = d.canAddSubEntity(parent);
                SubEntity* mesh = d.addSubEntity(parent);
                EXPECT_EQ(mesh != nullptr, offered);
                return mesh != nullptr;
            }
            case kNewFace:
                return newFace();
            case kSplit: {
                auto* face = any(r.faces);
                const bool offered = d.canSplitFace(face);
                Face* half = face && r.faces.size() < faceLimit_ ? d.splitFace(face) : nullptr;
                EXPECT_TRUE(!half || offered);
                return half != nullptr;
            }
            case kCopy: {
                SceneObject* record = anyRecord();
                EXPECT_EQ(d.copy(record), d.canCopy(record));
                return false;
            }
            case kPaste:
                return paste();
            case kApply:
                return apply();
            case kWinding: {
                auto* face = any(r.faces);
                return d.changeWinding(face);
            }
            case kTextures:
                return textures();
            default:
                return false;
        }
    }

    bool newFace() {
        const Reader& r = *document_.reader();
        SubEntity* mesh = any(r.subEntities);
        if (!mesh || r.faces.size() >= faceLimit_) {
            return false;
        }
        std::array<FaceCorner, 3> corners;
        int number = document_.nextVertexNumber(mesh);
        bool unset = false;
        for (FaceCorner& corner : corners) {
            const std::size_t roll = pick(16);
            if (roll == 0) {
                unset = true;
            } else if (roll < 10 && !mesh->vertices.empty()) {
                corner = FaceCorner::existing(any(mesh->vertices));
            } else {
                VertexValues values;
                values.X = between(-5, 5);
                values.Y = between(-5, 5);
                values.textureU = between(0, 1);
                values.normalZ = 1;
                corner = FaceCorner::created(values, number++);
            }
        }
        const auto same = [&](int a, int b) {
            return corners[a].source == FaceCorner::kExisting &&
                   corners[a].vertex == corners[b].vertex;
        };
        if (unset) {
            testPrompt().expectMessage(
                "Error: Need to specify all vertices.  Click Close to cancel without creating a "
                "new face");
        } else if (same(0, 1) || same(0, 2) || same(1, 2)) {
            testPrompt().expectMessage(
                "Error: The same vertex is being used twice; all three vertices must be "
                "different.");
        }
        Face* face = document_.addFace(mesh, corners);
        if (face) {
            EXPECT_EQ(document_.selectedRecord(), face);
        }
        return face != nullptr;
    }

    bool paste() {
        ModelDocument& d = document_;
        const SceneObject* source = d.copySource();
        if (!source) {
            return false;
        }
        // The selection, or a record of the kind the source goes into, or any record.
        SceneObject* destination = nullptr;
        const Reader& r = *d.reader();
        switch (pick(4)) {
            case 0:
                destination = d.selectedRecord();
                break;
            case 1:
                destination = anyRecord();
                break;
            default:
                destination = source->kind() == SceneObject::kFace
                                  ? static_cast<SceneObject*>(any(r.subEntities))
                                  : any(r.entities);
                break;
        }
        // The tree offers Paste only where it may go; the refusals of the table have their own
        // test. Copies that would outgrow the run are left out.
        if (!d.canPaste(destination) ||
            d.reader()->faces.size() + facesBelow(source) > faceLimit_) {
            return false;
        }
        // The table's refusals that the tree's offer leaves: the record itself, and an entity
        // into one further down.
        const char* refusal = nullptr;
        if (source == destination) {
            refusal = "Error: Cannot paste an object into itself";
        } else if (source->kind() == SceneObject::kEntity &&
                   static_cast<const Entity*>(source)->level <
                       static_cast<const Entity*>(destination)->level) {
            refusal = "Cannot copy an entity into a subordinate entity";
        }
        const char* warning = refusal ? refusal : pasteWarning(source);
        if (warning) {
            testPrompt().expectMessage(warning);
        }
        // A marked source leaves nothing to paste, and so does a face with a marked corner.
        bool nothing = source->deleted;
        if (source->kind() == SceneObject::kFace) {
            const auto* face = static_cast<const Face*>(source);
            for (const Vertex* v : {face->vertexA, face->vertexB, face->vertexC}) {
                nothing = nothing || !v || v->deleted;
            }
        }
        const bool pasted = d.paste(destination);
        EXPECT_EQ(pasted, !refusal && !nothing);
        return pasted;
    }

    bool apply() {
        static const std::string kNames[] = {"Alpha",     "Beta gamma",         "Left: wing",
                                             "Tab\there", std::string(70, 'N'), "Zelvan's Terrain"};
        ModelDocument& d = document_;
        SceneObject* selected = d.selectedRecord();
        if (!selected) {
            return false;
        }
        AttributeValues values = d.attributesOf(selected);
        if (pick(3) == 0) {
            values.groupName = kNames[pick(std::size(kNames))];
        }
        if (pick(3) == 0) {
            values.position[pick(3)] += between(-2, 2);
            values.rotation[pick(3)] += between(-1, 1);
        }
        if (pick(4) == 0) {
            values.subEntityName = kNames[pick(std::size(kNames))];
            values.faceName = kNames[pick(std::size(kNames))];
        }
        if (pick(4) == 0) {
            values.bitmapIndex = static_cast<int>(pick(d.reader()->bitmapNames.size() + 1)) - 1;
        }
        for (VertexValues& row : values.rows) {
            if (pick(3) == 0) {
                row.Y += between(-1, 1);
                row.textureV = between(0, 1);
            }
        }
        const Entity* entity = nullptr;
        const Face* face = nullptr;
        switch (selected->kind()) {
            case SceneObject::kEntity:
                entity = static_cast<Entity*>(selected);
                break;
            case SceneObject::kSubEntity:
                entity = static_cast<SubEntity*>(selected)->parent;
                break;
            case SceneObject::kFace:
                face = static_cast<Face*>(selected);
                entity = face->parent->parent;
                break;
            default:
                entity = static_cast<Vertex*>(selected)->subEntity->parent;
                break;
        }
        bool duplicate = false;
        if (face) {
            for (Vertex*& chosen : values.chosen) {
                if (pick(4) == 0) {
                    chosen = any(face->parent->vertices);
                }
            }
            const Vertex* own[3] = {face->vertexA, face->vertexB, face->vertexC};
            for (std::size_t k = 0; k < 3; ++k) {
                for (std::size_t j = 0; j < 3 && values.chosen[k]; ++j) {
                    duplicate |= j != k && (values.chosen[k] == own[j] ||
                                            values.chosen[k] == values.chosen[j]);
                }
            }
        }
        const std::string cut = values.groupName.substr(0, SceneObject::kMaxNameLength);
        if (duplicate) {
            testPrompt().expectMessage(
                "Error: Duplicate vertices; all three vertices in a face must be different");
        } else if (cut != entity->name() && badGroupName(entity, cut)) {
            testPrompt().expectMessage(
                "Error: A group name cannot contain a colon or a control character");
        }
        const bool applied = d.applyAttributes(values);
        if (applied) {
            // What was applied is what the dialog shows again, and applying it again is no
            // step.
            const std::size_t steps = d.history().size();
            EXPECT_FALSE(d.applyAttributes(d.attributesOf(selected)));
            EXPECT_EQ(d.history().size(), steps);
        }
        return applied;
    }

    // An edit of the bitmap list, at any position and one past the end: a picture beside the
    // model added or named, or now and then a name without one, which the document refuses.
    bool textures() {
        ModelDocument& d = document_;
        const std::size_t count = d.reader()->bitmapNames.size();
        const int position = static_cast<int>(pick(count + 1));
        const bool unreadable = pick(5) == 0;
        const std::string name = unreadable ? "NOSUCH" : pictures_[pick(pictures_.size())];
        const auto expectRefusal = [&] {
            testPrompt().expectMessage("Failed to open DIB file " + dir_.file("NOSUCH.BMP") +
                                       ".\n");
            testPrompt().expectMessage(extension() == ".Y4P"
                                           ? "Error: Could not open required texture; aborting"
                                           : "Error: Could not read required texture; aborting");
        };
        switch (pick(4)) {
            case 0: {
                if (unreadable) {
                    expectRefusal();
                }
                const bool added = d.addBitmap(name);
                EXPECT_EQ(added, !unreadable);
                return added;
            }
            case 1: {
                const bool offered = d.canRemoveBitmap(position);
                const bool removed = d.removeBitmap(position);
                EXPECT_EQ(removed, offered);
                return removed;
            }
            case 2: {
                const int offset = pick(2) ? 1 : -1;
                const bool offered = d.canMoveBitmap(position, offset);
                const bool moved = d.moveBitmap(position, offset);
                EXPECT_EQ(moved, offered);
                return moved;
            }
            default: {
                const bool offered =
                    d.canRenameBitmap(position) &&
                    d.reader()->bitmapNames[static_cast<std::size_t>(position)] != name;
                if (offered && unreadable) {
                    expectRefusal();
                }
                const bool renamed = d.renameBitmap(position, name);
                EXPECT_EQ(renamed, offered && !unreadable);
                return renamed;
            }
        }
    }

    // Now and then go back some steps, and forward some of them again.
    void undoAndRedo() {
        const std::size_t back = 1 + pick(6);
        for (std::size_t k = 0; k < back && document_.canUndo(); ++k) {
            undo();
        }
        const std::size_t forward = pick(2) ? back : pick(back);
        for (std::size_t k = 0; k < forward && document_.canRedo(); ++k) {
            redo();
        }
    }

    void undo() {
        const std::size_t position = document_.history().position();
        document_.undo();
        check(before_[position - 1], "undo");
    }
    void redo() {
        const std::size_t position = document_.history().position();
        document_.redo();
        check(after_[position + 1], "redo");
    }
    void check(std::uint64_t expected, const char* what) {
        const std::vector<std::string> problems =
            SceneInvariants::check(*document_.reader(), document_.tree());
        EXPECT_EQ(problems, std::vector<std::string>{}) << what;
        EXPECT_EQ(print(), expected)
            << what << " to " << document_.history().position()
            << " does not bring the state back ("
            << (document_.history().nextRedo() ? document_.history().nextRedo()->name() : "none")
            << ")";
    }

    // Undoing every step since the load or the last commit gives back that file and tree.
    void undoEverything() {
        while (document_.canUndo()) {
            undo();
        }
        EXPECT_EQ(ShadowView::outline(document_.tree()), baseOutline_);
        const std::string undone = dir_.file("UNDONE" + extension());
        ASSERT_TRUE(document_.save(undone));
        EXPECT_TRUE(TempDir::read(undone) == base_)
            << "undoing everything does not save the file back";
    }

    // A commit after undoing and redoing everything; its file reloads to the same records.
    void commit() {
        undoEverything();
        while (document_.canRedo()) {
            redo();
        }
        const int counter = document_.commitCounter();
        ASSERT_TRUE(document_.commit());
        ASSERT_FALSE(document_.canUndo());
        const std::string snapshot = dir_.file("commit" + std::to_string(counter) + extension());
        base_ = TempDir::read(snapshot);
        baseOutline_ = ShadowView::outline(document_.tree());
        const std::vector<std::string> problems =
            SceneInvariants::check(*document_.reader(), document_.tree());
        EXPECT_EQ(problems, std::vector<std::string>{}) << "after the commit";

        test::PlainCopy reloaded(snapshot);
        const Reader& r = *document_.reader();
        EXPECT_EQ(reloaded.reader.entities.size(), r.entities.size());
        EXPECT_EQ(reloaded.reader.faces.size(), r.faces.size());
        EXPECT_EQ(reloaded.reader.vertices.size(), r.vertices.size());
        EXPECT_EQ(bitmapsOf(reloaded.reader), bitmapsOf(r));
        const std::string again = dir_.file("AGAIN" + extension());
        Writer(reloaded.reader, again);
        EXPECT_TRUE(TempDir::read(again) == base_) << "the commit's file does not reload";
        start();
    }

    const TempDir& dir_;
    std::string path_;
    std::mt19937 random_;
    ModelDocument document_;
    std::string base_;
    std::string baseOutline_;
    std::size_t faceLimit_ = 0;
    std::vector<std::string> pictures_;
    // For each history position: the state before the step that led there, and after it.
    std::vector<std::uint64_t> before_;
    std::vector<std::uint64_t> after_;
};

// The sanitizer build, which looks for memory faults rather than wrong states and runs many
// times slower, makes a shorter sequence.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kEdits = 300;
#else
constexpr int kEdits = 2400;
#endif

void runOn(const TempDir& dir, const std::string& path, std::uint32_t seed) {
    SCOPED_TRACE(path);
    StructureRun run(dir, path, seed);
    run.run(kEdits);
    if (testing::Test::HasFailure()) {
        return;
    }
    // Each kind of edit was tried, and each the model allows was made, often enough to matter.
    for (int kind = 0; kind < 11; ++kind) {
        EXPECT_GT(run.counts[kind], kEdits / 50) << "edit kind " << kind;
    }
    EXPECT_GT(run.counts[StructureRun::kTextureEdits], kEdits / 50);
    EXPECT_GT(run.made[StructureRun::kTextureEdits], kEdits / 200);
    const bool terrain = path.ends_with(".Y4T");
    for (int kind = 1; kind < 10; ++kind) {
        const bool groups = kind == 2 || kind == 3;
        if (kind != 6 && !(terrain && groups)) {
            EXPECT_GT(run.made[kind], kEdits / (groups ? 400 : 200)) << "edit kind " << kind;
        }
    }
}

TEST(ModelDocumentStructureRandom, StructuralEditsKeepTheSceneSoundOnEverySample) {
    for (const char* name : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        TempDir dir;
        runOn(dir, test::ModelFixture::copySample(dir, name),
              3u + static_cast<std::uint32_t>(std::strlen(name)));
    }
}

TEST(ModelDocumentStructureRandom, StructuralEditsKeepTheSceneSoundOnAGeneratedModel) {
    TempDir dir;
    runOn(dir, test::ModelFixture::writeGenerated(dir, 9), 17);
}

}  // namespace
}  // namespace y4
