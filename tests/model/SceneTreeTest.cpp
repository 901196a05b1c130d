// The object tree structure: its shape against a plain reference and against a view that knows
// only what the notifications told it, labels, handles in records, selection and batches.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ShadowView.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/SceneTree.h"

namespace y4 {
namespace {

using test::Lines;
using test::ShadowView;

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
    EXPECT_EQ(tree.insertItem(g, &face), f);  // the freed slot is used again
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
    tree.selectItem(tree.insertItem(kNoItem, &a));
    view.take();
    tree.deleteAllItems();
    EXPECT_EQ(view.take(), (Lines{"selected 3 -> 0", "will reset", "reset"}));

    // A rebuild is one reset, however nested; its edits are not announced one by one.
    a.treeItem = tree.insertItem(kNoItem, &a);
    view.take();
    tree.beginReset();
    EXPECT_EQ(a.treeItem, kNoItem);
    tree.insertItem(kNoItem, &a);
    tree.beginReset();  // nested: empties again, announces nothing
    const TreeItem kept = tree.insertItem(kNoItem, &a);
    tree.endReset();
    tree.insertItem(kept, &a);
    tree.setCheck(kept, false);
    tree.endReset();
    tree.endReset();  // unmatched: ignored
    EXPECT_EQ(view.take(), (Lines{"will reset", "reset"}));
    EXPECT_EQ(tree.size(), 2u);
    EXPECT_FALSE(tree.check(kept));
    view.compareSettled();
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

    // Relabelling a subtree drops the explicit labels in it and is announced once, after the
    // batch's changes; outside a batch at once.
    tree.setItemText(added, "twenty");
    view.take();
    tree.beginUpdate();
    tree.setCheck(tree.child(top, 0), !tree.check(tree.child(top, 0)));
    tree.resetSubtreeText(top);
    tree.resetSubtreeText(top);
    EXPECT_TRUE(view.lines.empty());
    tree.endUpdate();
    EXPECT_EQ(view.take(), (Lines{"changed 1 0..0", "subtree 1"}));
    EXPECT_EQ(tree.itemText(added), "<undefined>");
    tree.resetSubtreeText(tree.child(top, 1));
    EXPECT_EQ(view.take(), (Lines{"subtree " + std::to_string(tree.child(top, 1))}));
    view.compareSettled();
}

// Random edits, checked after each against a plain reference and the notification-fed view.
TEST(SceneTree, RandomEditsKeepShapeViewAndRecordHandlesInStep) {
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };
        SceneTree tree;
        ShadowView view(tree);
        std::deque<Entity> records;
        // Every live item with its children; the top level is kNoItem, the first key.
        std::map<TreeItem, std::vector<TreeItem>> reference{{kNoItem, {}}};
        auto anyItem = [&] {  // kNoItem when the tree is empty
            const std::size_t n = reference.size() - 1;
            return n == 0 ? kNoItem
                          : std::next(reference.begin(), 1 + static_cast<long>(pick(n)))->first;
        };
        auto edit = [&](std::size_t action) {
            const TreeItem item = anyItem();
            if (action < 3 && tree.size() < 150) {
                // Half of them at the top, so that lists are long and a batch removes several
                // ranges; after the last child, after or before another.
                const TreeItem parent = pick(2) == 0 ? kNoItem : item;
                std::vector<TreeItem>& kids = reference[parent];
                Entity& record = records.emplace_back(nullptr, static_cast<int>(records.size()));
                record.setName("R" + std::to_string(records.size()));
                const std::size_t how = kids.empty() ? 0 : pick(3);
                std::size_t at = how == 0 ? kids.size() : pick(kids.size());
                record.treeItem = how == 0   ? tree.insertItem(parent, &record)
                                  : how == 1 ? tree.insertItem(parent, &record, kids[at++])
                                             : tree.insertItemBefore(parent, &record, kids[at]);
                ASSERT_NE(record.treeItem, kNoItem);
                kids.insert(kids.begin() + static_cast<long>(at), record.treeItem);
                reference[record.treeItem];
            } else if (item == kNoItem) {
            } else if (action < 6) {
                std::erase(reference[tree.parentItem(item)], item);
                for (std::vector<TreeItem> gone{item}; !gone.empty();) {
                    const TreeItem x = gone.back();
                    gone.pop_back();
                    gone.insert(gone.end(), reference[x].begin(), reference[x].end());
                    reference.erase(x);
                }
                tree.deleteItem(item);
            } else if (action == 6) {
                tree.setItemText(item, "text" + std::to_string(pick(100)));
            } else if (action == 7) {
                static_cast<Entity*>(tree.itemData(item))->deleted ^= 1;
                if (pick(2) == 0) {
                    tree.resetItemText(item);
                } else {
                    const TreeItem parent = tree.parentItem(item);
                    tree.resetSubtreeText(parent == kNoItem || pick(2) == 0 ? item : parent);
                }
            } else if (action == 8) {
                tree.setCheck(item, pick(2) == 0);
            } else {
                tree.selectItem(pick(3) == 0 ? kNoItem : item);
            }
        };
        for (int step = 0; step < 1500; ++step) {
            if (pick(4) != 0) {
                edit(pick(10));
            } else if (pick(30) == 0) {
                tree.deleteAllItems();
                reference = {{kNoItem, {}}};
            } else {
                // A batch of edits, with nested batches in it.
                int depth = 0;
                tree.beginUpdate();
                for (int k = 0; k < 24; ++k) {
                    const std::size_t action = pick(12);
                    if (action < 10) {
                        edit(action);
                    } else if (action == 10) {
                        tree.beginUpdate();
                        ++depth;
                    } else if (depth > 0) {
                        tree.endUpdate();
                        --depth;
                    }
                }
                for (; depth >= 0; --depth) {
                    tree.endUpdate();
                }
            }
            ASSERT_NO_FATAL_FAILURE(view.compareSettled());
            // The tree equals the reference, and records hold exactly the handles of their items.
            ASSERT_EQ(tree.size(), reference.size() - 1);
            for (const auto& [parent, kids] : reference) {
                ASSERT_EQ(tree.childCount(parent), static_cast<int>(kids.size()));
                for (std::size_t row = 0; row < kids.size(); ++row) {
                    ASSERT_EQ(tree.child(parent, static_cast<int>(row)), kids[row]);
                }
                ASSERT_TRUE(parent == kNoItem ||
                            static_cast<Entity*>(tree.itemData(parent))->treeItem == parent);
            }
            for (const Entity& record : records) {
                ASSERT_TRUE(record.treeItem == kNoItem ||
                            tree.itemData(record.treeItem) == &record);
            }
        }
    }
}

}  // namespace
}  // namespace y4
