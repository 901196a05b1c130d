// The object tree structure: its shape against a plain reference and against a view that knows
// only what the notifications told it, labels, handles in records, selection and batches.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/Scene.h"
#include "model/SceneTree.h"

namespace y4 {
namespace {

// A view's copy of the tree, kept from the notifications alone. After each notification it
// must equal the real tree (unless told not to compare, for large trees); after each finished
// edit its labels and checks must, too. It also writes each notification as one line.
class ShadowView : public SceneTreeObserver {
public:
    explicit ShadowView(SceneTree& tree, bool compare = true) : tree_(tree), compare_(compare) {
        tree_.addObserver(this);
        copyAll();
    }
    ~ShadowView() override { tree_.removeObserver(this); }

    void itemsAboutToBeInserted(TreeItem parent, int first, int last) override {
        log("will insert", parent, first, last);
        begin("insert", parent, first, last);
        EXPECT_LE(first, size(parent));
    }
    void itemsInserted(TreeItem parent, int first, int last) override {
        log("inserted", parent, first, last);
        end("insert", parent, first, last);
        std::vector<TreeItem>& list = kids_[parent];
        for (int row = first; row <= last; ++row) {
            const TreeItem item = tree_.child(parent, row);
            list.insert(list.begin() + row, item);
            copySubtree(item);
        }
        compareShape();
    }
    void itemsAboutToBeRemoved(TreeItem parent, int first, int last) override {
        log("will remove", parent, first, last);
        begin("remove", parent, first, last);
        ASSERT_LT(last, size(parent));
        ASSERT_LE(0, first);
    }
    void itemsRemoved(TreeItem parent, int first, int last) override {
        log("removed", parent, first, last);
        end("remove", parent, first, last);
        std::vector<TreeItem>& list = kids_[parent];
        for (int row = first; row <= last; ++row) {
            forget(list[row]);
        }
        list.erase(list.begin() + first, list.begin() + last + 1);
        compareShape();
    }
    void itemsChanged(TreeItem parent, int first, int last) override {
        log("changed", parent, first, last);
        EXPECT_FALSE(pending_) << "change inside a will/did pair";
        ASSERT_TRUE(first >= 0 && first <= last && last < size(parent));
        for (int row = first; row <= last; ++row) {
            const TreeItem item = kids_[parent][row];
            labels_[item] = tree_.itemText(item);
            checks_[item] = tree_.check(item);
        }
        ++changes;
        compareShape();
    }
    void treeAboutToBeReset() override {
        lines.push_back("will reset");
        EXPECT_FALSE(resetting_);
        resetting_ = true;
    }
    void treeReset() override {
        lines.push_back("reset");
        EXPECT_TRUE(resetting_);
        resetting_ = false;
        copyAll();
    }
    void selectionChanged(TreeItem previous, TreeItem current) override {
        lines.push_back("selected " + std::to_string(previous) + " -> " + std::to_string(current));
        EXPECT_EQ(previous, selected_);
        EXPECT_EQ(current, tree_.selectedItem());
        // The view still shows the old item, and its record can be read to clear marks.
        EXPECT_TRUE(previous == kNoItem || resetting_ || labels_.count(previous));
        EXPECT_TRUE(previous == kNoItem || tree_.itemData(previous));
        selected_ = current;
    }

    // Everything the view shows matches the tree, labels and checks included.
    void compareSettled() {
        EXPECT_FALSE(pending_);
        compareShape();
        for (const auto& [item, label] : labels_) {
            EXPECT_EQ(label, tree_.itemText(item)) << "unannounced label change of " << item;
            EXPECT_EQ(checks_[item], tree_.check(item)) << "unannounced check change of " << item;
        }
        EXPECT_EQ(selected_, tree_.selectedItem());
    }

    std::vector<std::string> take() { return std::exchange(lines, {}); }

    std::vector<std::string> lines;
    int changes = 0;

private:
    void log(const char* what, TreeItem parent, int first, int last) {
        lines.push_back(std::string(what) + " " + std::to_string(parent) + " " +
                        std::to_string(first) + ".." + std::to_string(last));
    }
    int size(TreeItem parent) { return static_cast<int>(kids_[parent].size()); }

    void begin(const char* what, TreeItem parent, int first, int last) {
        EXPECT_FALSE(pending_) << "nested will/did";
        EXPECT_LE(first, last);
        compareShape();
        pending_ = true;
        what_ = what;
        parent_ = parent;
        first_ = first;
        last_ = last;
    }
    void end(const char* what, TreeItem parent, int first, int last) {
        EXPECT_TRUE(pending_ && what_ == what && parent_ == parent && first_ == first &&
                    last_ == last)
            << "did without its will: " << what;
        pending_ = false;
    }

    void copySubtree(TreeItem item) {
        labels_[item] = tree_.itemText(item);
        checks_[item] = tree_.check(item);
        std::vector<TreeItem>& list = kids_[item];
        list.clear();
        for (int row = 0; row < tree_.childCount(item); ++row) {
            list.push_back(tree_.child(item, row));
            copySubtree(list.back());
        }
    }
    void copyAll() {
        kids_.clear();
        labels_.clear();
        checks_.clear();
        copySubtree(kNoItem);
        labels_.erase(kNoItem);
        checks_.erase(kNoItem);
        selected_ = tree_.selectedItem();
    }
    void forget(TreeItem item) {
        for (TreeItem child : kids_[item]) {
            forget(child);
        }
        kids_.erase(item);
        labels_.erase(item);
        checks_.erase(item);
    }
    void compareShape() {
        if (compare_ && !resetting_) {
            compareBelow(kNoItem);
        }
    }
    void compareBelow(TreeItem parent) {
        const std::vector<TreeItem>& list = kids_[parent];
        ASSERT_EQ(tree_.childCount(parent), static_cast<int>(list.size())) << "under " << parent;
        for (int row = 0; row < static_cast<int>(list.size()); ++row) {
            ASSERT_EQ(tree_.child(parent, row), list[row]) << "row " << row << " of " << parent;
            ASSERT_EQ(tree_.row(list[row]), row);
            ASSERT_EQ(tree_.parentItem(list[row]), parent);
            compareBelow(list[row]);
        }
    }

    SceneTree& tree_;
    bool compare_;
    std::map<TreeItem, std::vector<TreeItem>> kids_;
    std::map<TreeItem, std::string> labels_;
    std::map<TreeItem, bool> checks_;
    TreeItem selected_ = kNoItem;
    bool resetting_ = false;
    bool pending_ = false;
    std::string what_;
    TreeItem parent_ = kNoItem;
    int first_ = 0;
    int last_ = 0;
};

using Lines = std::vector<std::string>;

TEST(SceneTree, LabelsFollowTheRecordUntilSetExplicitly) {
    SceneTree tree;
    Entity group(nullptr, 0);
    group.setName("Hull");
    Face face(nullptr, 12);
    const TreeItem g = tree.insertItem(kNoItem, &group);
    const TreeItem f = tree.insertItem(g, &face);
    EXPECT_EQ(tree.itemText(g), "Hull");
    EXPECT_EQ(tree.itemText(f), "Face[12]");
    EXPECT_TRUE(tree.check(f));
    EXPECT_EQ(tree.itemData(f), &face);

    face.deleted = 1;
    EXPECT_EQ(tree.itemText(f), "Face[12] (*)");
    tree.setItemText(f, "Shown");
    face.deleted = 0;
    EXPECT_EQ(tree.itemText(f), "Shown");
    tree.resetItemText(f);
    EXPECT_EQ(tree.itemText(f), "Face[12]");
    group.setName("Keel");
    EXPECT_EQ(tree.itemText(g), "Keel");

    tree.setCheck(f, false);
    EXPECT_FALSE(tree.check(f));

    // Stale and absent handles answer empty and change nothing.
    tree.deleteItem(f);
    EXPECT_EQ(tree.itemText(f), "");
    EXPECT_EQ(tree.itemData(f), nullptr);
    EXPECT_EQ(tree.row(f), -1);
    tree.setItemText(f, "x");
    tree.deleteItem(f);
    tree.deleteItem(kNoItem);
    EXPECT_EQ(tree.insertItem(f, &face), kNoItem);
    EXPECT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree.itemText(kNoItem), "");
    // The freed slot is used again.
    EXPECT_EQ(tree.insertItem(g, &face), f);
}

TEST(SceneTree, DeletingTakesHandlesOutOfRecords) {
    SceneTree tree;
    Entity entity(nullptr, 0);
    SubEntity sub(&entity, 0);
    Face faces[3] = {Face(&sub, 0), Face(&sub, 1), Face(&sub, 2)};
    Vertex shared(nullptr, 0);
    Vertex other(nullptr, 1);
    entity.treeItem = tree.insertItem(kNoItem, &entity);
    sub.treeItem = tree.insertItem(entity.treeItem, &sub);
    for (Face& f : faces) {
        f.treeItem = tree.insertItem(sub.treeItem, &f);
        shared.treeItems.push_back(tree.insertItem(f.treeItem, &shared));
        other.treeItems.push_back(tree.insertItem(f.treeItem, &other));
    }
    // A record listed a second time keeps its handle when the other listing goes.
    tree.deleteItem(tree.insertItem(kNoItem, &sub));
    EXPECT_EQ(sub.treeItem, tree.child(entity.treeItem, 0));

    const std::vector<TreeItem> before = shared.treeItems;
    tree.deleteItem(faces[1].treeItem);
    EXPECT_EQ(faces[1].treeItem, kNoItem);
    EXPECT_EQ(shared.treeItems, (std::vector<TreeItem>{before[0], before[2]}));
    EXPECT_EQ(other.treeItems.size(), 2u);
    EXPECT_EQ(faces[0].treeItem, tree.child(sub.treeItem, 0));

    tree.deleteItem(shared.treeItems[1]);
    EXPECT_EQ(shared.treeItems, (std::vector<TreeItem>{before[0]}));
    EXPECT_EQ(tree.childCount(faces[2].treeItem), 1);

    tree.beginUpdate();
    tree.deleteItem(faces[0].treeItem);
    tree.deleteItem(sub.treeItem);
    EXPECT_EQ(sub.treeItem, kNoItem);
    EXPECT_TRUE(shared.treeItems.empty());
    EXPECT_TRUE(other.treeItems.empty());
    EXPECT_EQ(faces[2].treeItem, kNoItem);
    tree.endUpdate();
    EXPECT_EQ(tree.size(), 1u);

    sub.treeItem = tree.insertItem(entity.treeItem, &sub);
    shared.treeItems.push_back(tree.insertItem(sub.treeItem, &shared));
    tree.deleteAllItems();
    EXPECT_EQ(entity.treeItem, kNoItem);
    EXPECT_EQ(sub.treeItem, kNoItem);
    EXPECT_TRUE(shared.treeItems.empty());
    EXPECT_EQ(tree.size(), 0u);
    EXPECT_EQ(tree.childCount(kNoItem), 0);
}

TEST(SceneTree, SelectionIsClearedBeforeTheSelectedItemGoes) {
    SceneTree tree;
    ShadowView view(tree);
    Entity a(nullptr, 0);
    Entity b(nullptr, 1);
    const TreeItem top = tree.insertItem(kNoItem, &a);
    const TreeItem leaf = tree.insertItem(top, &b);
    const TreeItem other = tree.insertItem(kNoItem, &b);
    view.take();

    tree.selectItem(leaf);
    tree.selectItem(leaf);
    tree.selectItem(12345);  // not an item: ignored
    EXPECT_EQ(tree.selectedItem(), leaf);
    tree.deleteItem(top);
    EXPECT_EQ(tree.selectedItem(), kNoItem);
    EXPECT_EQ(view.take(), (Lines{"selected 0 -> 2", "selected 2 -> 0", "will remove 0 0..0",
                                  "removed 0 0..0"}));

    // In a batch the selection goes at once; the item is removed at the end.
    tree.selectItem(other);
    tree.beginUpdate();
    tree.deleteItem(other);
    EXPECT_EQ(tree.selectedItem(), kNoItem);
    EXPECT_EQ(tree.itemData(other), &b);  // still shown until the batch ends
    tree.endUpdate();
    EXPECT_EQ(view.take(), (Lines{"selected 0 -> 3", "selected 3 -> 0", "will remove 0 0..0",
                                  "removed 0 0..0"}));

    // Deleting every item deselects first, while the item still exists, then resets.
    const TreeItem again = tree.insertItem(kNoItem, &a);
    tree.selectItem(again);
    view.take();
    tree.deleteAllItems();
    EXPECT_EQ(view.take(), (Lines{"selected 3 -> 0", "will reset", "reset"}));
}

TEST(SceneTree, BatchAnnouncesRemovalRangesFromLastToFirstThenChanges) {
    SceneTree tree;
    std::deque<Entity> records;
    const TreeItem top = tree.insertItem(kNoItem, &records.emplace_back(nullptr, 0));
    std::vector<TreeItem> rows;
    for (int i = 0; i < 10; ++i) {
        rows.push_back(tree.insertItem(top, &records.emplace_back(nullptr, i + 1)));
    }
    const TreeItem grandchild = tree.insertItem(rows[2], &records.emplace_back(nullptr, 11));
    ShadowView view(tree);

    tree.beginUpdate();
    tree.setCheck(rows[3], false);
    tree.deleteItem(grandchild);  // its parent goes too: announced with the parent only
    tree.deleteItem(rows[2]);
    tree.beginUpdate();
    tree.deleteItem(rows[8]);
    tree.deleteItem(rows[1]);
    tree.setItemText(rows[7], "seven");
    tree.endUpdate();
    tree.deleteItem(rows[5]);
    tree.setItemText(rows[8], "gone");  // pending removal: ignored
    tree.resetItemText(rows[0]);
    EXPECT_TRUE(view.lines.empty());
    EXPECT_EQ(tree.size(), 7u);
    tree.endUpdate();
    EXPECT_EQ(view.take(),
              (Lines{"will remove 1 8..8", "removed 1 8..8", "will remove 1 5..5", "removed 1 5..5",
                     "will remove 1 1..2", "removed 1 1..2", "changed 1 0..4"}));
    view.compareSettled();
    EXPECT_EQ(tree.itemText(tree.child(top, 4)), "seven");

    // An insert inside a batch first announces the pending removals of its parent.
    tree.beginUpdate();
    tree.deleteItem(rows[0]);
    tree.deleteItem(rows[9]);
    const TreeItem added = tree.insertItem(top, &records.emplace_back(nullptr, 20), rows[7]);
    tree.endUpdate();
    EXPECT_EQ(view.take(), (Lines{"will remove 1 5..5", "removed 1 5..5", "will remove 1 0..0",
                                  "removed 1 0..0", "will insert 1 4..4", "inserted 1 4..4"}));
    EXPECT_EQ(tree.row(added), 4);
    view.compareSettled();
}

TEST(SceneTree, RebuildIsOneReset) {
    SceneTree tree;
    Entity record(nullptr, 0);
    record.treeItem = tree.insertItem(kNoItem, &record);
    ShadowView view(tree);
    tree.beginReset();
    EXPECT_EQ(record.treeItem, kNoItem);
    tree.insertItem(kNoItem, &record);
    tree.beginReset();  // nested: empties again, announces nothing
    const TreeItem a = tree.insertItem(kNoItem, &record);
    tree.endReset();
    tree.insertItem(a, &record);
    tree.setCheck(a, false);
    tree.endReset();
    tree.endReset();  // unmatched: ignored
    EXPECT_EQ(view.take(), (Lines{"will reset", "reset"}));
    EXPECT_EQ(tree.size(), 2u);
    EXPECT_FALSE(tree.check(a));
    view.compareSettled();
}

// Random edits, checked after each against a plain reference and a notification-fed view.
TEST(SceneTree, RandomEditsKeepShapeViewAndRecordHandlesInStep) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };
        SceneTree tree;
        ShadowView view(tree);
        std::deque<Entity> records;
        std::map<TreeItem, std::vector<TreeItem>> reference;  // live items and their children
        reference[kNoItem];
        auto liveItems = [&] {
            std::vector<TreeItem> items;
            for (const auto& [item, kids] : reference) {
                if (item != kNoItem) {
                    items.push_back(item);
                }
            }
            return items;
        };
        // Mostly near the top, so that lists are long and a batch removes several ranges.
        auto randomParent = [&] {
            const std::vector<TreeItem>& top = reference[kNoItem];
            const std::size_t how = pick(3);
            if (how == 0 || top.empty()) {
                return kNoItem;
            }
            if (how == 1) {
                return top[pick(top.size())];
            }
            const std::vector<TreeItem> items = liveItems();
            return items[pick(items.size())];
        };
        auto insertSome = [&] {
            const TreeItem parent = randomParent();
            std::vector<TreeItem>& kids = reference[parent];
            Entity& record = records.emplace_back(nullptr, static_cast<int>(records.size()));
            record.setName("R" + std::to_string(records.size()));
            TreeItem item = kNoItem;
            std::size_t at = kids.size();
            const std::size_t how = kids.empty() ? 0 : pick(3);
            if (how == 0) {
                item = tree.insertItem(parent, &record);
            } else {
                at = pick(kids.size());
                item = how == 1 ? tree.insertItem(parent, &record, kids[at])
                                : tree.insertItemBefore(parent, &record, kids[at]);
                at += how == 1 ? 1 : 0;
            }
            ASSERT_NE(item, kNoItem);
            record.treeItem = item;
            reference[parent].insert(reference[parent].begin() + static_cast<long>(at), item);
            reference[item];
        };
        std::function<void(TreeItem)> dropReference = [&](TreeItem item) {
            for (TreeItem child : reference[item]) {
                dropReference(child);
            }
            reference.erase(item);
        };
        auto deleteSome = [&] {
            const std::vector<TreeItem> items = liveItems();
            if (items.empty()) {
                return;
            }
            const TreeItem item = items[pick(items.size())];
            const TreeItem parent = tree.parentItem(item);
            std::erase(reference[parent], item);
            dropReference(item);
            tree.deleteItem(item);
        };
        auto relabelSome = [&] {
            const std::vector<TreeItem> items = liveItems();
            if (items.empty()) {
                return;
            }
            const TreeItem item = items[pick(items.size())];
            auto* record = static_cast<Entity*>(tree.itemData(item));
            switch (pick(4)) {
                case 0:
                    tree.setItemText(item, "text" + std::to_string(pick(100)));
                    break;
                case 1:
                    record->deleted ^= 1;
                    tree.resetItemText(item);
                    break;
                case 2:
                    tree.resetItemText(item);
                    break;
                default:
                    tree.setCheck(item, pick(2) == 0);
            }
        };
        for (int step = 0; step < 400; ++step) {
            const std::size_t action = pick(20);
            if (action < 8 && tree.size() < 150) {
                insertSome();
            } else if (action < 12) {
                deleteSome();
            } else if (action < 14) {
                relabelSome();
            } else if (action < 15) {
                const std::vector<TreeItem> items = liveItems();
                tree.selectItem(items.empty() || pick(3) == 0 ? kNoItem
                                                              : items[pick(items.size())]);
            } else if (action == 15 && pick(8) == 0) {
                tree.deleteAllItems();
                reference.clear();
                reference[kNoItem];
            } else {
                int depth = 0;
                tree.beginUpdate();
                for (int edit = 0; edit < 24; ++edit) {
                    const std::size_t what = pick(10);
                    if (what < 5) {
                        deleteSome();
                    } else if (what < 7) {
                        relabelSome();
                    } else if (what < 8) {
                        insertSome();
                    } else if (what < 9) {
                        tree.beginUpdate();
                        ++depth;
                    } else if (depth > 0) {
                        tree.endUpdate();
                        --depth;
                    }
                }
                for (; depth > 0; --depth) {
                    tree.endUpdate();
                }
                tree.endUpdate();
            }
            ASSERT_NO_FATAL_FAILURE(view.compareSettled());
            // The tree equals the reference, and records hold exactly the handles of their items.
            ASSERT_EQ(tree.size(), reference.size() - 1);
            for (const auto& [parent, kids] : reference) {
                ASSERT_EQ(tree.childCount(parent), static_cast<int>(kids.size()));
                for (std::size_t row = 0; row < kids.size(); ++row) {
                    ASSERT_EQ(tree.child(parent, static_cast<int>(row)), kids[row]);
                }
            }
            for (const Entity& record : records) {
                if (record.treeItem != kNoItem) {
                    ASSERT_TRUE(reference.count(record.treeItem));
                    ASSERT_EQ(tree.itemData(record.treeItem), &record);
                }
            }
            for (const auto& [item, kids] : reference) {
                if (item != kNoItem) {
                    ASSERT_EQ(static_cast<Entity*>(tree.itemData(item))->treeItem, item);
                }
            }
        }
    }
}

// Appends to `root` a sub-entity whose faces form a strip (face i has the corners i, i + 1 and
// i + 2), listed in the tree as the object tree lists them.
SubEntity* addStrip(Scene& scene, SceneTree& tree, Entity* root, int faceCount) {
    auto* sub = scene.create<SubEntity>(root, static_cast<int>(root->subEntities.size()));
    root->subEntities.push_back(sub);
    scene.subEntities.push_back(sub);
    sub->treeItem = tree.insertItem(root->treeItem, sub);
    for (int i = 0; i < faceCount + 2; ++i) {
        auto* v = scene.create<Vertex>(nullptr, i);
        v->subEntity = sub;
        sub->vertices.push_back(v);
        scene.vertices.push_back(v);
    }
    for (int i = 0; i < faceCount; ++i) {
        auto* f = scene.create<Face>(sub, i);
        f->vertexA = sub->vertices[i];
        f->vertexB = sub->vertices[i + 1];
        f->vertexC = sub->vertices[i + 2];
        sub->faces.push_back(f);
        scene.faces.push_back(f);
        f->treeItem = tree.insertItem(sub->treeItem, f);
        for (Vertex* v : {f->vertexA, f->vertexB, f->vertexC}) {
            v->faces.push_back(f);
            v->treeItems.push_back(tree.insertItem(f->treeItem, v));
        }
    }
    return sub;
}

// A purge of every other face of a large sub-entity, one deleteItem at a time, is announced as
// one range per face and leaves the tree in step with the scene.
TEST(SceneTree, PurgeOfEveryOtherFaceIsAnnouncedPerRange) {
    SceneTree tree;
    Scene scene(&tree);
    Entity* root = scene.create<Entity>(nullptr, 0);
    scene.entities.push_back(root);
    root->treeItem = tree.insertItem(kNoItem, root);
    constexpr int kFaces = 100000;
    SubEntity* sub = addStrip(scene, tree, root, kFaces);
    for (int i = 1; i < kFaces; i += 2) {
        sub->faces[i]->deleted = 1;
    }
    ShadowView view(tree, false);
    scene.finalDelete();
    ASSERT_EQ(view.lines.size(), static_cast<std::size_t>(kFaces));
    // From the last range to the first: rows stay valid for the view.
    EXPECT_EQ(view.lines[0], "will remove 2 99999..99999");
    EXPECT_EQ(view.lines[kFaces - 1], "removed 2 1..1");
    ASSERT_EQ(tree.childCount(sub->treeItem), kFaces / 2);
    for (int row = 0; row < kFaces / 2; ++row) {
        const TreeItem item = tree.child(sub->treeItem, row);
        ASSERT_EQ(item, sub->faces[row]->treeItem);
        ASSERT_EQ(tree.row(item), row);
    }
    // Vertex 2 was listed under faces 0, 1 and 2; face 1 went.
    const std::vector<TreeItem>& listings = sub->vertices[2]->treeItems;
    ASSERT_EQ(listings.size(), 2u);
    EXPECT_EQ(tree.parentItem(listings[0]), sub->faces[0]->treeItem);
    EXPECT_EQ(tree.parentItem(listings[1]), sub->faces[1]->treeItem);
    EXPECT_EQ(tree.size(), 2u + 4u * kFaces / 2);
}

// Marking and purging through the scene, watched by a view.
TEST(SceneTree, SceneMarkAndPurgeKeepTheViewInStep) {
    SceneTree tree;
    ShadowView view(tree);
    Scene scene(&tree);
    Entity* root = scene.create<Entity>(nullptr, 0);
    scene.entities.push_back(root);
    root->treeItem = tree.insertItem(kNoItem, root);
    for (int s = 0; s < 3; ++s) {
        addStrip(scene, tree, root, 3);
    }
    const std::vector<Face*> faces = scene.faces;
    tree.selectItem(scene.vertices[6]->treeItems[1]);
    scene.markSubEntity(scene.subEntities[1], 1);
    scene.markFace(faces[7], 1);
    view.compareSettled();
    EXPECT_EQ(tree.itemText(scene.vertices[6]->treeItems[1]), "Vertex[1] (*)");
    EXPECT_EQ(view.changes, 1 + 3 + 1 + 1);  // the faces, each face's corners, the sub-entity, root
    scene.finalDelete();
    view.compareSettled();
    EXPECT_EQ(tree.selectedItem(), kNoItem);
    EXPECT_EQ(tree.childCount(root->treeItem), 2);
    EXPECT_EQ(tree.childCount(scene.subEntities[1]->treeItem), 2);
    EXPECT_EQ(tree.size(), 1u + 2u + 5u * 4u);
}

}  // namespace
}  // namespace y4
