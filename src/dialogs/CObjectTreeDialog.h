// CObjectTreeDialog ("Object Tree Hierarchy"): the tool window that shows the scene's object
// tree in a tree view, with the selection, display, picking and structural edit buttons beside
// it. The core's tree is the truth: the view mirrors its selected item and its check states,
// and a user's click only asks for a change, through functions the main window can replace.
#pragma once

#include <functional>

#include "dialogs/CToolDialog.h"
#include "dialogs/SceneTreeModel.h"

class QPushButton;
class QTreeView;

namespace y4 {

class CObjectTreeDialog : public CToolDialog {
    Q_OBJECT

public:
    // Asked to select an item (kNoItem: nothing) when the user chooses one in the view.
    using SelectRequest = std::function<void(TreeItem item)>;

    // `tree` must outlive the dialog.
    CObjectTreeDialog(SceneTree& tree, QWidget* parent);
    ~CObjectTreeDialog() override;

    // Until these are set, a click selects the item in the tree and a check box switches its
    // record's display on the spot.
    void setSelectRequest(SelectRequest request);
    void setDisplaySwitch(SceneTreeModel::DisplaySwitch displaySwitch);

    QTreeView& treeView() const { return *view_; }
    SceneTreeModel& treeModel() const { return *model_; }

signals:
    // The text for the main window's "Selected Object": the selected record's path, or "NULL".
    void selectedObjectChanged(const QString& path);

private:
    void createButtons();
    void layoutControls();
    // The view selects `item` (or nothing), showing it, without asking the tree again.
    void showSelectedItem(TreeItem item);
    void onViewSelectionChanged();
    void onTreeSelectionChanged(TreeItem item);
    // Each top-level item open, so that the root's children show.
    void expandFirstLevel();

    SceneTree& tree_;
    SceneTreeModel* model_;
    QTreeView* view_;
    SelectRequest selectRequest_;
    bool mirroring_ = false;

    QPushButton* deselect_ = nullptr;
    QPushButton* displayAll_ = nullptr;
    QPushButton* hideAll_ = nullptr;
    QPushButton* pickVertex_ = nullptr;
    QPushButton* pickNormal_ = nullptr;
    QPushButton* addGroup_ = nullptr;
    QPushButton* addSubEntity_ = nullptr;
    QPushButton* addFace_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* paste_ = nullptr;
    QPushButton* moveVertices_ = nullptr;
    QPushButton* splitFace_ = nullptr;
    QPushButton* createShape_ = nullptr;
    QPushButton* hideHidden_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace y4
