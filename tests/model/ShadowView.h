// ShadowView: a view's copy of an object tree kept from the notifications alone, as the window's
// adapter keeps it, checked against the tree as the notifications arrive; and the tree written
// out as indented labels.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/SceneTree.h"

namespace y4::test {

using Lines = std::vector<std::string>;

// After each notification the copy must equal the tree (unless told not to compare, for large
// trees), and after each finished edit its labels and checks must, too. Before items go, the
// view reads each of them and its record, as a view does. Each notification is also written as
// one line.
class ShadowView : public SceneTreeObserver {
public:
    explicit ShadowView(SceneTree& tree, bool compare = true) : tree_(tree), compare_(compare) {
        tree_.addObserver(this);
        copyAll();
    }
    ~ShadowView() override { tree_.removeObserver(this); }
    ShadowView(const ShadowView&) = delete;
    ShadowView& operator=(const ShadowView&) = delete;

    void itemsAboutToBeInserted(TreeItem parent, int first, int last) override {
        begin("insert", parent, first, last);
        EXPECT_LE(first, size(parent));
    }
    void itemsInserted(TreeItem parent, int first, int last) override {
        end("inserted", parent, first, last);
        std::vector<TreeItem>& list = kids_[parent];
        for (int row = first; row <= last; ++row) {
            list.insert(list.begin() + row, tree_.child(parent, row));
            copySubtree(list[static_cast<std::size_t>(row)]);
        }
        compareShape();
    }
    void itemsAboutToBeRemoved(TreeItem parent, int first, int last) override {
        begin("remove", parent, first, last);
        ASSERT_TRUE(0 <= first && last < size(parent));
        for (int row = first; row <= last; ++row) {
            read(kids_[parent][static_cast<std::size_t>(row)]);
        }
    }
    void itemsRemoved(TreeItem parent, int first, int last) override {
        end("removed", parent, first, last);
        std::vector<TreeItem>& list = kids_[parent];
        for (int row = first; row <= last; ++row) {
            forget(list[static_cast<std::size_t>(row)]);
        }
        list.erase(list.begin() + first, list.begin() + last + 1);
        compareShape();
    }
    void itemsChanged(TreeItem parent, int first, int last) override {
        lines.push_back(line("changed", parent, first, last));
        EXPECT_TRUE(pending_.empty()) << "change inside a will/did pair";
        ASSERT_TRUE(first >= 0 && first <= last && last < size(parent));
        for (int row = first; row <= last; ++row) {
            const TreeItem item = kids_[parent][static_cast<std::size_t>(row)];
            labels_[item] = {tree_.itemText(item), tree_.check(item)};
        }
        ++changes;
        compareShape();
    }
    void subtreeChanged(TreeItem top) override {
        lines.push_back("subtree " + std::to_string(top));
        EXPECT_TRUE(pending_.empty()) << "change inside a will/did pair";
        ASSERT_TRUE(labels_.count(top)) << "a subtree the view does not show";
        relabel(top);
        ++changes;
        compareShape();
    }
    void treeAboutToBeReset() override {
        lines.push_back("will reset");
        EXPECT_FALSE(std::exchange(resetting_, true));
    }
    void treeReset() override {
        lines.push_back("reset");
        EXPECT_TRUE(std::exchange(resetting_, false));
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
        EXPECT_TRUE(pending_.empty());
        compareBelow(kNoItem);
        for (const auto& [item, label] : labels_) {
            EXPECT_EQ(label.first, tree_.itemText(item)) << "unannounced label change of " << item;
            EXPECT_EQ(label.second, tree_.check(item)) << "unannounced check change of " << item;
        }
        EXPECT_EQ(selected_, tree_.selectedItem());
    }
    Lines take() { return std::exchange(lines, {}); }

    // The tree as indented labels, one item a line; unchecked items are marked "-".
    static std::string outline(const SceneTree& tree, TreeItem parent = kNoItem, int depth = 0) {
        std::string out;
        for (int row = 0; row < tree.childCount(parent); ++row) {
            const TreeItem item = tree.child(parent, row);
            out += std::string(2 * static_cast<std::size_t>(depth), ' ') +
                   (tree.check(item) ? "" : "-") + tree.itemText(item) + "\n" +
                   outline(tree, item, depth + 1);
        }
        return out;
    }

    Lines lines;
    int changes = 0;

private:
    static std::string line(const std::string& what, TreeItem parent, int first, int last) {
        return what + " " + std::to_string(parent) + " " + std::to_string(first) + ".." +
               std::to_string(last);
    }
    int size(TreeItem parent) { return static_cast<int>(kids_[parent].size()); }
    // A "will" opens a pair that only its own "did" may close.
    void begin(const std::string& what, TreeItem parent, int first, int last) {
        lines.push_back(line("will " + what, parent, first, last));
        EXPECT_TRUE(pending_.empty()) << "nested will/did";
        EXPECT_LE(first, last);
        compareShape();
        pending_ = line(what == "insert" ? "inserted" : "removed", parent, first, last);
    }
    void end(const char* what, TreeItem parent, int first, int last) {
        lines.push_back(line(what, parent, first, last));
        EXPECT_EQ(std::exchange(pending_, {}), lines.back()) << "did without its will";
    }
    void read(TreeItem item) {
        EXPECT_NE(tree_.itemData(item), nullptr) << "item " << item << " lost its record";
        tree_.itemText(item);  // reads the record
        for (TreeItem child : kids_[item]) {
            read(child);
        }
    }
    // Reads the labels and checks of `item` and everything the view shows below it again.
    void relabel(TreeItem item) {
        labels_[item] = {tree_.itemText(item), tree_.check(item)};
        for (TreeItem child : kids_[item]) {
            relabel(child);
        }
    }
    void copySubtree(TreeItem item) {
        labels_[item] = {tree_.itemText(item), tree_.check(item)};
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
        copySubtree(kNoItem);
        labels_.erase(kNoItem);
        selected_ = tree_.selectedItem();
    }
    void forget(TreeItem item) {
        for (TreeItem child : kids_[item]) {
            forget(child);
        }
        kids_.erase(item);
        labels_.erase(item);
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
            const TreeItem item = list[static_cast<std::size_t>(row)];
            ASSERT_EQ(tree_.child(parent, row), item) << "row " << row << " of " << parent;
            ASSERT_EQ(tree_.row(item), row);
            ASSERT_EQ(tree_.parentItem(item), parent);
            compareBelow(item);
        }
    }

    SceneTree& tree_;
    bool compare_;
    std::map<TreeItem, std::vector<TreeItem>> kids_;
    std::map<TreeItem, std::pair<std::string, bool>> labels_;  // label and check
    TreeItem selected_ = kNoItem;
    bool resetting_ = false;
    std::string pending_;  // the "did" line an open "will" waits for
};

}  // namespace y4::test
