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

#include "ModelGenerator.h"
#include "document/ModelDocument.h"
#include "files/Writer.h"
#include "files/Y4TParser.h"
#include "model/SelectionMarks.h"
#include "model/SelectionTransform.h"
#include "model/ShadowView.h"
#include "model/TreeListing.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::ShadowView;
using test::TempDir;
using test::testPrompt;

// ---- addressing records the same way in both copies ----

// A record by kind and position in its flat list; a vertex's listing by its place among the
// vertex's tree items. Kind -1: nothing.
struct Target {
    int kind = -1;
    std::size_t position = 0;
    std::size_t listing = 0;
};

SceneObject* recordAt(const Reader& r, const Target& t) {
    switch (t.kind) {
        case SceneObject::kEntity:
            return t.position < r.entities.size() ? r.entities[t.position] : nullptr;
        case SceneObject::kSubEntity:
            return t.position < r.subEntities.size() ? r.subEntities[t.position] : nullptr;
        case SceneObject::kFace:
            return t.position < r.faces.size() ? r.faces[t.position] : nullptr;
        case SceneObject::kVertex:
            return t.position < r.vertices.size() ? r.vertices[t.position] : nullptr;
        default:
            return nullptr;
    }
}

TreeItem itemAt(const Reader& r, const Target& t) {
    const SceneObject* record = recordAt(r, t);
    if (!record) {
        return kNoItem;
    }
    switch (record->kind()) {
        case SceneObject::kEntity:
            return static_cast<const Entity*>(record)->treeItem;
        case SceneObject::kSubEntity:
            return static_cast<const SubEntity*>(record)->treeItem;
        case SceneObject::kFace:
            return static_cast<const Face*>(record)->treeItem;
        default: {
            const auto& items = static_cast<const Vertex*>(record)->treeItems;
            return t.listing < items.size() ? items[t.listing] : kNoItem;
        }
    }
}

std::vector<TreeItem> itemsOf(SceneObject* record) {
    switch (record->kind()) {
        case SceneObject::kEntity:
            return {static_cast<Entity*>(record)->treeItem};
        case SceneObject::kSubEntity:
            return {static_cast<SubEntity*>(record)->treeItem};
        case SceneObject::kFace:
            return {static_cast<Face*>(record)->treeItem};
        default:
            return static_cast<Vertex*>(record)->treeItems;
    }
}

// ---- the edits ----

struct Op {
    enum Kind {
        Select,
        Delete,
        Scale,
        Drag,
        Rename,
        Display,
        DisplayAll,
        AddBitmap,
        RemoveBitmap,
        MoveBitmap,
        RenameBitmap,
        EditNormals,
        Commit,
    };
    Kind kind = Select;
    Target target;
    float factors[3] = {1, 1, 1};
    int dragKind = 1;
    std::vector<float> deltas;  // three per drag step
    // Whether the drag turned normals: normal editing as it was when the edit was made.
    bool normals = false;
    bool on = false;
    int position = 0;
    int offset = 0;
    std::string text;

    // Whether ModelDocument keeps it as an undo step (when it is not refused).
    bool isStep() const { return kind != Select && kind != EditNormals && kind != Commit; }
};

bool isTerrainRecord(const Reader& r, const SceneObject* record) {
    return r.fileType == Reader::kY4T && record && record->kind() == SceneObject::kSubEntity &&
           record->name() == Y4TParser::kTerrainName;
}

bool badGroupName(const SceneObject* record, const std::string& name) {
    return record->kind() == SceneObject::kEntity &&
           (name.find(':') != std::string::npos ||
            std::any_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
}

bool goesWithPurge(const SceneObject* r) {
    while (r) {
        if (r->deleted) {
            return true;
        }
        switch (r->kind()) {
            case SceneObject::kEntity:
                r = static_cast<const Entity*>(r)->parent;
                break;
            case SceneObject::kSubEntity:
                r = static_cast<const SubEntity*>(r)->parent;
                break;
            case SceneObject::kFace:
                r = static_cast<const Face*>(r)->parent;
                break;
            default:
                r = static_cast<const Vertex*>(r)->subEntity;
                break;
        }
    }
    return false;
}

// The model edited with the scene's own operations, as the object tree and the main window
// drive them in the original editor, without any undo.
class Plain {
public:
    // The images are left out: the edits are checked on the names (the document's own tests
    // check that the images follow the names).
    explicit Plain(const std::string& path)
        : reader(&tree, ModelSource::chosen(path), withoutImages()) {
        TreeListing::buildTree(tree, reader.root());
    }
    static Reader::Options withoutImages() {
        Reader::Options options;
        options.loadImages = false;
        return options;
    }

    void select(TreeItem item) {
        if (item == tree.selectedItem()) {
            return;
        }
        reader.editNormals = 0;
        SelectionMarks::apply(tree.itemData(tree.selectedItem()), 0);
        tree.selectItem(item);
        SelectionMarks::apply(tree.itemData(item), 1);
    }

    void setDisplayed(SceneObject* record, bool on) {
        record->displayed = on;
        for (TreeItem item : itemsOf(record)) {
            tree.setCheck(item, on);
        }
    }

    // Whether a change of the bitmap list is allowed: positions in the list, and a terrain's
    // own bitmap, last, stays where and what it is.
    bool bitmapAllowed(const Op& op) const {
        const int count = static_cast<int>(reader.bitmapNames.size());
        const bool terrainLast = reader.fileType == Reader::kY4T && count > 0 &&
                                 reader.bitmapNames.back() == Y4TParser::kTerrainName;
        auto movable = [&](int p) {
            return p >= 0 && p < count && !(terrainLast && p == count - 1);
        };
        switch (op.kind) {
            case Op::AddBitmap:
                return true;
            case Op::RemoveBitmap:
                return movable(op.position);
            case Op::MoveBitmap:
                return movable(op.position) && movable(op.position + op.offset);
            case Op::RenameBitmap:
                return movable(op.position) &&
                       reader.bitmapNames[static_cast<std::size_t>(op.position)] != op.text;
            default:
                return false;
        }
    }

    // While `replaying`, world positions are left to the end: they follow from the rest.
    void apply(const Op& op, bool replaying = false) {
        SceneObject* record = recordAt(reader, op.target);
        if (op.kind >= Op::AddBitmap && op.kind <= Op::RenameBitmap && !bitmapAllowed(op)) {
            return;
        }
        switch (op.kind) {
            case Op::Select:
                select(itemAt(reader, op.target));
                break;
            case Op::Delete: {
                if (!record || record == reader.root() || isTerrainRecord(reader, record) ||
                    record->kind() == SceneObject::kVertex) {
                    break;
                }
                select(kNoItem);
                const int flag = record->deleted ? 0 : 1;
                if (record->kind() == SceneObject::kEntity) {
                    reader.markEntity(static_cast<Entity*>(record), flag);
                } else if (record->kind() == SceneObject::kSubEntity) {
                    reader.markSubEntity(static_cast<SubEntity*>(record), flag);
                } else {
                    reader.markFace(static_cast<Face*>(record), flag);
                }
                if (!flag) {
                    select(itemsOf(record).front());
                }
                break;
            }
            case Op::Scale:
                reader.scaleSelected(op.factors[0], op.factors[1], op.factors[2]);
                if (!replaying) {
                    reader.computeWorldPositions();
                }
                break;
            case Op::Drag:
                reader.editNormals = op.normals;
                for (std::size_t k = 0; k < op.deltas.size(); k += 3) {
                    SelectionTransform::step(reader, op.deltas[k], op.deltas[k + 1],
                                             op.deltas[k + 2], op.dragKind, op.normals);
                }
                if (!replaying) {
                    reader.computeWorldPositions();
                }
                break;
            case Op::Rename:
                if (record && !isTerrainRecord(reader, record) && !badGroupName(record, op.text)) {
                    record->setName(op.text);
                    for (TreeItem item : itemsOf(record)) {
                        tree.resetItemText(item);
                    }
                }
                break;
            case Op::Display:
                if (record) {
                    setDisplayed(record, op.on);
                }
                break;
            case Op::DisplayAll:
                for (Vertex* v : reader.vertices) {
                    setDisplayed(v, op.on);
                }
                for (Face* f : reader.faces) {
                    setDisplayed(f, op.on);
                }
                for (SubEntity* s : reader.subEntities) {
                    setDisplayed(s, op.on);
                }
                for (Entity* e : reader.entities) {
                    setDisplayed(e, op.on);
                }
                break;
            case Op::AddBitmap: {
                // A terrain's own bitmap stays last.
                std::vector<std::string>& names = reader.bitmapNames;
                const bool terrain = reader.fileType == Reader::kY4T && !names.empty();
                names.insert(terrain ? names.end() - 1 : names.end(), op.text);
                break;
            }
            case Op::RemoveBitmap:
                reader.bitmapNames.erase(reader.bitmapNames.begin() + op.position);
                break;
            case Op::MoveBitmap:
                std::swap(reader.bitmapNames[static_cast<std::size_t>(op.position)],
                          reader.bitmapNames[static_cast<std::size_t>(op.position + op.offset)]);
                break;
            case Op::RenameBitmap:
                reader.bitmapNames[static_cast<std::size_t>(op.position)] = op.text;
                break;
            case Op::EditNormals:
                reader.editNormals = op.on;
                break;
            case Op::Commit:
                if (goesWithPurge(tree.itemData(tree.selectedItem()))) {
                    select(kNoItem);
                }
                reader.finalDelete();
                break;
        }
    }

    SceneTree tree;
    Reader reader;
};

// ---- fingerprints ----

// A quick 64-bit mix, a word at a time.
class Hash {
public:
    void word(std::uint64_t w) {
        value_ = (value_ ^ w) * 0x9E3779B97F4A7C15ULL;
        value_ ^= value_ >> 29;
    }
    template <class T>
    void add(const T& v) {
        static_assert(sizeof(T) <= 8);
        std::uint64_t w = 0;
        std::memcpy(&w, &v, sizeof v);
        word(w);
    }
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const char*>(data);
        for (std::size_t k = 0; k < size; k += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, p + k, std::min<std::size_t>(8, size - k));
            word(w);
        }
    }
    void text(const std::string& s) {
        add(s.size());
        bytes(s.data(), s.size());
    }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 1469598103934665603ULL;
};

void addBase(Hash& h, const SceneObject& o) {
    static std::string name;
    name.clear();
    o.appendName(name);
    h.text(name);
    for (int mark : {o.selected, o.changed, o.created, o.displayed, o.marked, o.deleted}) {
        h.add(mark);
    }
    h.add(o.index);
    h.bytes(o.cumulativeOffset, sizeof o.cumulativeOffset);
    h.bytes(o.cumulativeRotation, sizeof o.cumulativeRotation);
    h.bytes(o.absolutePosition, sizeof o.absolutePosition);
}

void addTree(Hash& h, const SceneTree& tree, TreeItem parent, int depth) {
    for (int row = 0; row < tree.childCount(parent); ++row) {
        const TreeItem item = tree.child(parent, row);
        h.add(depth);
        h.text(tree.itemText(item));
        h.add(tree.check(item));
        addTree(h, tree, item, depth + 1);
    }
}

// Every field of every record that an edit can change, the bitmap names, the tree's labels
// and checks, and the selection.
std::uint64_t fingerprint(const Reader& r, const SceneTree& tree) {
    Hash h;
    for (const std::string& name : r.bitmapNames) {
        h.text(name);
    }
    for (const Entity* e : r.entities) {
        addBase(h, *e);
        for (float f :
             {e->positionX, e->positionY, e->positionZ, e->rotateX, e->rotateY, e->rotateZ}) {
            h.add(f);
        }
        // The link and count columns are left out: every save computes them again.
        for (int v : {e->level, e->auxA, e->auxB}) {
            h.add(v);
        }
        h.add(e->children.size());
        h.add(e->subEntities.size());
    }
    for (const SubEntity* s : r.subEntities) {
        addBase(h, *s);
        h.add(s->bitmapIndex);
        h.add(s->faces.size());
        h.add(s->vertices.size());
    }
    for (const Face* f : r.faces) {
        addBase(h, *f);
        for (int v : {f->bitmapIndex, f->indexA, f->indexB, f->indexC}) {
            h.add(v);
        }
    }
    for (const Vertex* v : r.vertices) {
        addBase(h, *v);
        for (float f :
             {v->X, v->Y, v->Z, v->normalX, v->normalY, v->normalZ, v->textureU, v->textureV}) {
            h.add(f);
        }
        h.add(v->faces.size());
    }
    addTree(h, tree, kNoItem, 0);
    const TreeItem selected = tree.selectedItem();
    h.add(selected != kNoItem);
    h.text(tree.itemText(selected));
    h.text(tree.itemText(tree.parentItem(selected)));
    return h.value();
}

// ---- the run ----

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

    void run(int editsPerPhase) {
        ASSERT_TRUE(document_.load(path_));
        plain_ = std::make_unique<Plain>(path_);
        std::string base = TempDir::read(path_);
        nodes_.push_back(Node{Op{}, -1, fingerprint(*document_.reader(), document_.tree())});
        current_ = 0;  // the load
        start();
        for (int phase = 0; phase < 2; ++phase) {
            SCOPED_TRACE("phase " + std::to_string(phase));
            const std::string baseOutline = ShadowView::outline(document_.tree());
            for (int k = 0; k < editsPerPhase && !testing::Test::HasFailure(); ++k) {
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
            EXPECT_FALSE(document_.isModified() && phase == 0);
            while (document_.canRedo()) {
                redo();
            }
            catchUp();
            ASSERT_TRUE(document_.save(dir_.file("REDONE" + extension())));
            Writer(plain_->reader, dir_.file("PLAIN" + extension()));
            EXPECT_TRUE(TempDir::read(dir_.file("REDONE" + extension())) ==
                        TempDir::read(dir_.file("PLAIN" + extension())))
                << "redoing everything does not save what the edits made";
            if (phase == 0) {
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
            case Op::Drag:
                d.beginDrag();
                for (std::size_t k = 0; k < op.deltas.size(); k += 3) {
                    d.transformSelection(op.deltas[k], op.deltas[k + 1], op.deltas[k + 2],
                                         op.dragKind);
                }
                d.endDrag();
                return true;
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
    std::unique_ptr<Plain> replay(int node) {
        std::vector<const Op*> path;
        for (int n = node; n > 0; n = nodes_[static_cast<std::size_t>(n)].parent) {
            path.push_back(&nodes_[static_cast<std::size_t>(n)].op);
        }
        plain_.reset();
        auto plain = std::make_unique<Plain>(path_);
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
    std::unique_ptr<Plain> plain_;
    std::vector<Node> nodes_;
    int current_ = -1;
    int plainAt_ = -1;
    // The history's position, and for each position the edit that led to it.
    std::size_t position_ = 0;
    std::vector<int> after_;
};

void runOn(const TempDir& dir, const std::string& path, std::uint32_t seed) {
    SCOPED_TRACE(path);
    RandomRun run(dir, path, seed);
    run.run(2600);
    EXPECT_GT(run.undos, 300);
    EXPECT_GT(run.redos, 150);
    testing::Test::RecordProperty(std::filesystem::path(path).filename().string() + "_rebuilds",
                                  run.rebuilds);
}

TEST(ModelDocumentRandom, EditsUndosAndRedosMatchAPlainCopyOnEverySample) {
    for (const char* name : {"CRATE.Y4P", "GARDEN.Y4D", "ISLAND.Y4T"}) {
        TempDir dir;
        for (const auto& entry : std::filesystem::directory_iterator(Y4_SAMPLES_DIR)) {
            const std::string file = entry.path().filename().string();
            if (file == name || entry.path().extension() == ".BMP") {
                dir.write(file, TempDir::read(entry.path().string()));
            }
        }
        runOn(dir, dir.file(name), 7u + static_cast<std::uint32_t>(std::strlen(name)));
    }
}

TEST(ModelDocumentRandom, EditsUndosAndRedosMatchAPlainCopyOnAGeneratedModel) {
    TempDir dir;
    gen::GeneratorOptions options;
    options.faces = 400;
    options.groups = 12;
    options.depth = 3;
    options.textures = 5;
    options.seed = 5;
    gen::ModelGenerator::write(options, dir.file("GEN.Y4P"));
    runOn(dir, dir.file("GEN.Y4P"), 11);
}

}  // namespace
}  // namespace y4
