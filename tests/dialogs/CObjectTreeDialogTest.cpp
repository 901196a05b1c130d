// The object tree window over a generated model: the first level shown after each rebuild, the
// view's selection mirroring the tree's both ways, what is open and selected surviving edits
// elsewhere, and check boxes that ask for a display switch and show the tree.
#include <gtest/gtest.h>

#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DialogDriver.h"
#include "SceneBuilder.h"
#include "dialogs/CObjectTreeDialog.h"
#include "document/ModelDocument.h"
#include "model/TreeListing.h"
#include "support/GuiApplication.h"
#include "support/ModelFixture.h"

namespace y4 {
namespace {

// The items the view shows open, found by walking down through open items only.
std::set<TreeItem> openItems(const QTreeView& view, const SceneTreeModel& model,
                             const QModelIndex& parent = {}) {
    std::set<TreeItem> open;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (view.isExpanded(index)) {
            open.insert(model.itemAt(index));
            open.merge(openItems(view, model, index));
        }
    }
    return open;
}

// The item the view shows selected (kNoItem: none), checking that it is also the current one.
TreeItem shownSelection(const QTreeView& view, const SceneTreeModel& model) {
    const QModelIndexList selected = view.selectionModel()->selectedIndexes();
    EXPECT_LE(selected.size(), 1);
    if (selected.isEmpty()) {
        return kNoItem;
    }
    EXPECT_EQ(view.selectionModel()->currentIndex(), selected.front());
    return model.itemAt(selected.front());
}

// Where the view draws the check box of a shown item, as its delegate places it.
QPoint checkBoxOf(QTreeView& view, const QModelIndex& index) {
    QCoreApplication::processEvents();
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = view.visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return view.style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view)
        .center();
}

void clickRow(QTreeView& view, const QModelIndex& index) {
    view.scrollTo(index);
    QCoreApplication::processEvents();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
}

TreeItem rootItem(const Reader& scene) {
    const Entity* root = scene.root();
    return root ? root->treeItem : kNoItem;
}

// The listing of a corner under its face.
TreeItem cornerItem(const SceneTree& tree, const Face* face, const Vertex* corner) {
    for (const TreeItem item : corner->treeItems(tree)) {
        if (tree.parentItem(item) == face->treeItem) {
            return item;
        }
    }
    return kNoItem;
}

TEST(CObjectTreeDialog, ViewMirrorsTheTreeAndKeepsWhatIsOpenAndSelectedThroughEdits) {
    test::guiApplication();
    ModelDocument document;
    SceneTree& tree = document.tree();
    CObjectTreeDialog dialog(document, nullptr);
    QTreeView& view = dialog.treeView();
    SceneTreeModel& model = dialog.treeModel();
    std::vector<std::string> paths;
    QObject::connect(&dialog, &CObjectTreeDialog::selectedObjectChanged,
                     [&](const QString& path) { paths.push_back(path.toStdString()); });

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    const test::TempDir dir;
    ASSERT_TRUE(document.load(test::ModelFixture::writeGenerated(dir, 7)));
    Reader* scene = document.reader();
    gen::SceneBuilder build(*scene);
    EXPECT_EQ(openItems(view, model), std::set<TreeItem>{rootItem(*scene)});
    EXPECT_EQ(paths, std::vector<std::string>{"NULL"});

    // A face chosen with the mouse is selected in the tree, and its path is told.
    SubEntity* first = scene->subEntities.front();
    SubEntity* last = scene->subEntities.back();
    ASSERT_NE(first->parent, last->parent);
    Face* chosen = first->faces[0];
    clickRow(view, model.indexOf(chosen->treeItem));
    EXPECT_EQ(tree.selectedItem(), chosen->treeItem);
    EXPECT_EQ(shownSelection(view, model), chosen->treeItem);
    EXPECT_EQ(paths.back(), test::pathOf(chosen));

    // A check box switches its record's display, for a vertex in every listing.
    Vertex* shared = chosen->vertexA;
    TreeListing::insertFaceItem(
        tree, first->treeItem,
        build.addFace(first, chosen->indexA, chosen->indexC, chosen->indexB));
    ASSERT_GE(shared->treeItems(tree).size(), 2u);
    const QModelIndex box = model.indexOf(cornerItem(tree, chosen, shared));
    view.scrollTo(box);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, checkBoxOf(view, box));
    EXPECT_EQ(shared->displayed, 0);
    for (const TreeItem listing : shared->treeItems(tree)) {
        EXPECT_FALSE(tree.check(listing));
    }
    EXPECT_EQ(box.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    // The tree selects a corner in another group, as picking does: the view follows and opens
    // the way to it.
    Face* picked = last->faces.back();
    ASSERT_GE(last->faces.size(), 2u);
    const TreeItem corner = cornerItem(tree, picked, picked->vertexC);
    tree.selectItem(corner);
    EXPECT_EQ(shownSelection(view, model), corner);
    EXPECT_TRUE(view.isExpanded(model.indexOf(picked->treeItem)));
    EXPECT_EQ(paths.back(), test::pathOf(picked->vertexC));
    const std::set<TreeItem> open = openItems(view, model);
    EXPECT_TRUE(open.count(first->treeItem));
    EXPECT_TRUE(open.count(chosen->treeItem));

    // Edits elsewhere, also among the rows of an open item and around the selection, keep what
    // is open and selected.
    scene->markFace(first->faces[1], 1);
    scene->markFace(first->faces[2], 1);
    scene->markFace(last->faces.front(), 1);
    scene->finalDelete();
    TreeListing::insertFaceItem(tree, first->treeItem, build.addFace(first, 0, 1, 2));
    TreeListing::relistFaceCorners(tree, chosen);
    scene->markEntity(first->parent, 1);
    scene->markEntity(first->parent, 0);
    EXPECT_EQ(openItems(view, model), open);
    EXPECT_EQ(tree.selectedItem(), corner);
    EXPECT_EQ(shownSelection(view, model), corner);

    // Clicks only ask: when neither request is followed, the view keeps showing the tree.
    std::vector<std::pair<TreeItem, bool>> switches;
    std::vector<TreeItem> selections;
    dialog.setDisplaySwitch([&](TreeItem item, bool on) { switches.emplace_back(item, on); });
    dialog.setSelectRequest([&](TreeItem item) { selections.push_back(item); });
    const QModelIndex face = model.indexOf(chosen->treeItem);
    view.scrollTo(face);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, checkBoxOf(view, face));
    EXPECT_EQ(switches, (std::vector<std::pair<TreeItem, bool>>{{chosen->treeItem, false}}));
    EXPECT_EQ(face.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    clickRow(view, face);
    EXPECT_EQ(selections, std::vector<TreeItem>{chosen->treeItem});
    EXPECT_EQ(tree.selectedItem(), corner);
    EXPECT_EQ(shownSelection(view, model), corner);
    // A switch that the tree follows shows at once.
    dialog.setDisplaySwitch([&](TreeItem item, bool on) { tree.setCheck(item, on); });
    view.scrollTo(face);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, checkBoxOf(view, face));
    EXPECT_EQ(face.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    // The selected item purged: the tree lets go of it first, and the view with it.
    const std::size_t told = paths.size();
    scene->markEntity(last->parent, 1);
    scene->finalDelete();
    EXPECT_EQ(tree.selectedItem(), kNoItem);
    EXPECT_EQ(shownSelection(view, model), kNoItem);
    EXPECT_EQ(paths.size(), told + 1);
    EXPECT_EQ(paths.back(), "NULL");

    // A rebuild shows the first level again, with nothing selected.
    TreeListing::buildTree(tree, scene->root());
    EXPECT_EQ(openItems(view, model), std::set<TreeItem>{rootItem(*scene)});
    EXPECT_EQ(shownSelection(view, model), kNoItem);
}

}  // namespace
}  // namespace y4
