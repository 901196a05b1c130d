// CObjectTreeDialog ("Object Tree Hierarchy"): the tool window that shows the document's object
// tree in a tree view, with the selection, display, picking and structural edit buttons beside
// it. The document is the truth: the view mirrors its selected item and its check states, the
// buttons follow its selection and what it would offer for it, and every button only reads the
// selection and asks the document; the dialog never writes a record.
//
// What the main window connects:
//   closed(), redrawRequested()  (CToolDialog) the "Objects..." button and a frame after Close;
//   selectedObjectChanged        the text of its "Selected Object" field;
//   pickModeRequested            "Pick Vertex" and "Pick Normal": empty and disable "EditMode",
//                                show the text in "PickMode" and enable it, and switch the view
//                                to the mouse mode and edit kind given (it redraws at once);
//   pasteDrawRequested           after a Paste that reached the paste table, pasted or refused:
//                                draw one frame at once in mouse mode 16, then restore the mode
//                                (that frame records where each displayed vertex lands, which
//                                picking searches);
//   addFaceRequested             "Add Face": run the New Face dialog modally on the selected
//                                sub-entity;
//   setNormalsChecked            to be called whenever its "Normals" box changes.
// Redraws after edits and selections come from the document's announcements, not from here.
#pragma once

#include <functional>

#include "dialogs/CToolDialog.h"
#include "dialogs/SceneTreeModel.h"
#include "dialogs/ShapeCreator.h"
#include "document/DocumentObserver.h"

class QPushButton;
class QTreeView;

namespace y4 {

class ModelDocument;

class CObjectTreeDialog : public CToolDialog, public ShapeCreator, private DocumentObserver {
    Q_OBJECT

public:
    // Asked to select an item (kNoItem: nothing) when the user chooses one in the view.
    using SelectRequest = std::function<void(TreeItem item)>;

    // The view's mouse modes and edit kinds of the two pick buttons.
    static constexpr int kPickVertexMode = 16;
    static constexpr int kPickVertexKind = 5;
    static constexpr int kPickNormalMode = 20;
    static constexpr int kPickNormalKind = 6;

    // `document` must outlive the dialog.
    CObjectTreeDialog(ModelDocument& document, QWidget* parent);
    ~CObjectTreeDialog() override;

    // A click in the view asks the document to select the item, and a check box asks it to
    // switch the record's display; these replace the requests (a window that filters them).
    void setSelectRequest(SelectRequest request);
    void setDisplaySwitch(SceneTreeModel::DisplaySwitch displaySwitch);
    // Whether the main window's "Normals" box is checked: "Pick Normal" is offered exactly then.
    void setNormalsChecked(bool checked);

    QTreeView& treeView() const { return *view_; }
    SceneTreeModel& treeModel() const { return *model_; }

    // Reports the parameters the "Create Shape" dialog collected; shapes are not built yet.
    void CreateShape(ShapeKind kind, float length, float width, float height, float radius,
                     int lengthSegments, int widthSegments, int heightSegments) override;

public slots:
    void OnButtonDeselect();
    void OnButtonDisplayAll();
    void OnButtonHideAll();
    void OnButtonPickVertex();
    void OnButtonPickNormal();
    void OnButtonAddGroup();
    void OnButtonAddSubEntity();
    void OnButtonAddFace();
    void OnButtonDelete();
    void OnButtonCopy();
    void OnButtonPaste();
    void onButtonMovevertices();
    void OnButtonSplitFace();
    void OnButtonCreateShape();
    void OnButtonHideHidden() {}

signals:
    // The text for the main window's "Selected Object": the selected record's path, or "NULL".
    void selectedObjectChanged(const QString& path);
    void pickModeRequested(int mouseMode, int editKind, const QString& pickModeText);
    void pasteDrawRequested();
    void addFaceRequested();

private:
    void createButtons();
    void layoutControls();
    // The view selects `item` (or nothing), showing it, without asking the tree again.
    void showSelectedItem(TreeItem item);
    void onViewSelectionChanged();
    void OnSelchangedTree(TreeItem item);
    // Each top-level item open, so that the root's children show.
    void expandFirstLevel();
    // Every button's state and the Delete caption from the selection and the document.
    void refreshButtons();
    void setAllDisplayed(bool on);

    void modelReplaced() override;
    void recordsChanged(const RecordChange&) override;
    void recordsAdded(const RecordSet&) override;
    void recordsRemoved(const RecordSet&) override;
    void displayChanged(const DisplayChange&) override;
    void selectionChanged(const SelectionChange&) override;

    ModelDocument& document_;
    SceneTree& tree_;
    SceneTreeModel* model_;
    QTreeView* view_;
    SelectRequest selectRequest_;
    bool mirroring_ = false;
    bool normalsChecked_ = false;
    // What the last "Display All" or "Hide All" left true, until a display switch changes
    // again: the button that would change nothing is not offered.
    bool allDisplayed_ = false;
    bool allHidden_ = false;
    bool switchingAll_ = false;

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
