// The object tree's item model over a generated scene, through a seeded sequence of the edits
// the editor makes (marks, purges, inserts as paste makes them, corner relistings, display
// switches, selections, rebuilds): Qt's model tester checks every signal, and a client that
// knows the tree only from the signals must see the core tree after every step.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QTreeView>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ModelGenerator.h"
#include "SceneBuilder.h"
#include "dialogs/SceneTreeModel.h"
#include "model/TreeListing.h"
#include "support/GuiApplication.h"
#include "support/ModelTesterComplaints.h"

namespace y4 {
namespace {

// What a view knows of the model from its signals alone: each item it was told of, under a
// persistent index that Qt moves as the announced rows come and go, with the label and check
// read when the item came or was announced as changed.
class SignalShadow {
public:
    explicit SignalShadow(SceneTreeModel& model) : model_(model) {
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex& parent, int first, int last) {
                             for (int row = first; row <= last; ++row) {
                                 learn(model_.index(row, 0, parent));
                             }
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved,
                         [this](const QModelIndex& parent, int first, int last) {
                             for (int row = first; row <= last; ++row) {
                                 forget(model_.index(row, 0, parent));
                             }
                         });
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& top, const QModelIndex& bottom) {
                             for (int row = top.row(); row <= bottom.row(); ++row) {
                                 read(model_.index(row, 0, top.parent()));
                             }
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { learnAll(); });
        learnAll();
    }

    // Every item of the tree is known, at its row under its parent, with its label and check.
    void expectTree() const {
        const SceneTree& tree = model_.tree();
        ASSERT_EQ(known_.size(), tree.size());
        for (const auto& [item, seen] : known_) {
            ASSERT_TRUE(seen.index.isValid()) << "item " << item << " lost";
            ASSERT_EQ(seen.index.internalId(), item);
            ASSERT_EQ(seen.index.row(), tree.row(item)) << "item " << item;
            ASSERT_EQ(model_.itemAt(seen.index.parent()), tree.parentItem(item));
            ASSERT_EQ(seen.label, tree.itemText(item)) << "item " << item;
            ASSERT_EQ(seen.checked, tree.check(item)) << "item " << item;
        }
    }

private:
    struct Seen {
        QPersistentModelIndex index;
        std::string label;
        bool checked;
    };

    void read(const QModelIndex& index) {
        Seen& seen = known_[model_.itemAt(index)];
        seen.index = index;
        seen.label = index.data().toString().toStdString();
        seen.checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    void learn(const QModelIndex& index) {
        read(index);
        for (int row = 0; row < model_.rowCount(index); ++row) {
            learn(model_.index(row, 0, index));
        }
    }
    void forget(const QModelIndex& index) {
        for (int row = 0; row < model_.rowCount(index); ++row) {
            forget(model_.index(row, 0, index));
        }
        known_.erase(model_.itemAt(index));
    }
    void learnAll() {
        known_.clear();
        for (int row = 0; row < model_.rowCount(); ++row) {
            learn(model_.index(row, 0));
        }
    }

    SceneTreeModel& model_;
    std::unordered_map<TreeItem, Seen> known_;
};

TEST(SceneTreeModel, FollowsTheTreeThroughRandomEditsWithoutResets) {
    test::guiApplication();
    const test::ModelTesterComplaints complaints;
    for (const std::uint32_t seed : {1u, 2u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };

        SceneTree tree;  // outlives the scene, which empties it
        gen::GeneratorOptions options;
        options.faces = 1000;
        options.groups = 12;
        options.depth = 3;
        options.seed = seed;
        const std::unique_ptr<Reader> scene = gen::ModelGenerator::generate(options, "/x/GEN.Y4P");
        scene->m_pEntityTree = &tree;
        gen::SceneBuilder build(*scene);

        int switches = 0;
        SceneTreeModel model(tree, [&](TreeItem item, bool displayed) {
            ++switches;
            tree.itemData(item)->displayed = displayed;
            tree.setCheck(item, displayed);
        });
        int resets = 0;
        QObject::connect(&model, &QAbstractItemModel::modelAboutToBeReset, [&] { ++resets; });
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        SignalShadow shadow(model);
        QTreeView view;
        view.setModel(&model);

        TreeListing::buildTree(tree, scene->root());
        int rebuilds = 1;
        view.expandAll();
        ASSERT_NO_FATAL_FAILURE(shadow.expectTree());

        // Records picked at random; null when there is none left.
        const auto any = [&](const auto& list) {
            return list.empty() ? nullptr : list[pick(list.size())];
        };
        // A live item picked evenly through its record's kind, so that upper levels get edits.
        const auto anyItem = [&]() -> TreeItem {
            const Face* face = any(scene->faces);
            const SubEntity* sub = any(scene->subEntities);
            const Entity* entity = any(scene->entities);
            switch (pick(4)) {
                case 0:
                    return entity ? entity->treeItem : kNoItem;
                case 1:
                    return sub ? sub->treeItem : kNoItem;
                case 2:
                    return face ? face->treeItem : kNoItem;
                default:
                    return face && !face->vertexB->treeItems(tree).empty()
                               ? face->vertexB->treeItems(tree).back()
                               : kNoItem;
            }
        };
        for (int step = 0; step < 400; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            const int flag = static_cast<int>(pick(2));
            Face* face = any(scene->faces);
            SubEntity* sub = any(scene->subEntities);
            Entity* entity = any(scene->entities);
            switch (pick(10)) {
                case 0:  // deletion marks and their undoing, relabelling whole subtrees
                    if (sub) {
                        scene->markSubEntity(sub, flag);
                    }
                    break;
                case 1:
                    if (face) {
                        scene->markFace(face, flag);
                    }
                    break;
                case 2:
                    if (entity && entity != scene->root()) {
                        scene->markEntity(entity, flag);
                    }
                    break;
                case 3:  // a purge of many records, the selection among them now and then
                    if (scene->faces.size() > 400) {
                        for (int k = 0; k < 30; ++k) {
                            scene->markFace(any(scene->faces), 1);
                        }
                        tree.selectItem(any(scene->faces)->treeItem);
                        scene->finalDelete();
                    }
                    break;
                case 4:  // a pasted face, listed with its corners
                    if (sub && sub->vertices.size() >= 3) {
                        const int n = static_cast<int>(sub->vertices.size());
                        const int a = static_cast<int>(pick(sub->vertices.size()));
                        TreeListing::insertFaceItem(
                            tree, sub->treeItem, build.addFace(sub, a, (a + 1) % n, (a + 2) % n));
                    }
                    break;
                case 5:  // a sub-entity pasted before the last one (as in a terrain), or a group
                    if (entity == nullptr) {
                    } else if (!entity->subEntities.empty()) {
                        SubEntity* last = entity->subEntities.back();
                        SubEntity* pasted = build.addSubEntity(entity, 0);
                        const std::span<SubEntity*> subs = entity->subEntities.span();
                        std::swap(subs[subs.size() - 1], subs[subs.size() - 2]);
                        TreeListing::insertSubEntityItem(tree, entity->treeItem, pasted,
                                                         last->treeItem);
                    } else {
                        TreeListing::insertEntityItem(tree, entity->treeItem,
                                                      build.addEntity(entity, "New Group"));
                    }
                    break;
                case 6:
                    if (face) {
                        TreeListing::relistFaceCorners(tree, face);
                    }
                    break;
                case 7:  // a click on a check box
                    if (const QModelIndex index = model.indexOf(anyItem()); index.isValid()) {
                        EXPECT_TRUE(model.setData(index, flag ? Qt::Checked : Qt::Unchecked,
                                                  Qt::CheckStateRole));
                        EXPECT_EQ(index.data(Qt::CheckStateRole).toInt(),
                                  flag ? Qt::Checked : Qt::Unchecked);
                        EXPECT_EQ(tree.itemData(model.itemAt(index))->displayed, flag);
                    }
                    break;
                case 8:
                    tree.selectItem(pick(4) == 0 ? kNoItem : anyItem());
                    break;
                default:
                    if (pick(6) == 0) {
                        TreeListing::buildTree(tree, scene->root());
                        ++rebuilds;
                        view.expandAll();
                    } else {
                        tree.setItemText(anyItem(), "Renamed " + std::to_string(step));
                    }
                    break;
            }
            ASSERT_NO_FATAL_FAILURE(shadow.expectTree());
        }
        EXPECT_EQ(resets, rebuilds);
        EXPECT_GT(switches, 10);
        EXPECT_GT(tree.size(), 100u);
    }
}

}  // namespace
}  // namespace y4
