// CAttributesDialog ("Attributes"): the tool window that shows and edits what the object tree
// has selected: the names of the record and its owners, the placement of its entity, the bitmap
// of its sub-entity and the vertex rows of a face or a vertex. It follows the document: every
// change of the selection or of the records shows the dialog afresh, and nothing reaches the
// model until "Apply", which hands the boxes to ModelDocument as one edit.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "dialogs/CToolDialog.h"
#include "dialogs/VertexRowControls.h"
#include "document/DocumentObserver.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace y4 {

class Face;
class ModelDocument;
class SceneObject;

class CAttributesDialog : public CToolDialog, private DocumentObserver {
    Q_OBJECT

public:
    // `document` must outlive the dialog. Messages go through the process-wide prompt.
    CAttributesDialog(ModelDocument& document, QWidget* parent);
    ~CAttributesDialog() override;

    // Shows the current selection: its values, the lists, and which controls apply to it.
    void refreshAttributes();

    // The vertices chosen in the three rows' lists since the dialog last showed a face; null
    // where the face keeps its corner.
    const std::array<Vertex*, 3>& chosenVertices() const { return chosen_; }

public slots:
    void OnButtonApply();
    void OnButtonChangeWinding();
    void OnButtonSelect();
    void OnSelchangeVertex1() { chooseVertex(0); }
    void OnSelchangeVertex2() { chooseVertex(1); }
    void OnSelchangeVertex3() { chooseVertex(2); }

private:
    QGridLayout* makeNameControls();
    QGridLayout* makePlacementBoxes();
    QGridLayout* makeVertexRows();
    // Each control enabled as the kind of the selection (-1: nothing) wants it.
    void enableFor(int kind);
    // Drops every record pointer the lists and slots hold.
    void forgetRecords();
    void showNothing();
    void showPlacement(const SceneObject& record);
    void showBitmap(int bitmapIndex);
    void showFace(Face& face);
    void showVertex(Vertex& vertex);
    void chooseVertex(int row);

    // DocumentObserver: the dialog shows the document afresh after each change.
    void modelAboutToBeReplaced() override;
    void modelReplaced() override;
    void recordsChanged(const RecordChange&) override;
    void recordsAdded(const RecordSet&) override;
    void recordsAboutToBeRemoved(const RecordSet&) override;
    void recordsRemoved(const RecordSet&) override;
    void selectionChanged(const SelectionChange&) override;
    void bitmapsChanged() override;

    ModelDocument& document_;
    // Between an "about to" and its change the records may not be read: the dialog shows
    // nothing and holds no pointer to them.
    bool frozen_ = false;
    std::array<Vertex*, 3> chosen_{};
    // The faces the "Face Name:" entries stand for.
    std::vector<Face*> faces_;

    QLineEdit* groupName_ = nullptr;
    QLineEdit* subEntityName_ = nullptr;
    QComboBox* faceName_ = nullptr;
    QPushButton* select_ = nullptr;
    QComboBox* bitmap_ = nullptr;
    std::array<QLineEdit*, 3> translate_{};
    std::array<QLineEdit*, 3> rotate_{};
    std::array<QLineEdit*, 3> absolute_{};
    std::vector<std::unique_ptr<VertexRowControls>> rows_;
    QPushButton* apply_ = nullptr;
    QPushButton* changeWinding_ = nullptr;
};

}  // namespace y4
