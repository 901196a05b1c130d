// CNewFaceDialog ("New Face"): the modal dialog of the object tree's "Add Face". Each of the
// three corners of the new triangle is an existing vertex of the selected sub-entity, chosen in
// its row's list, or a vertex made on the spot ("New Vertex") from the values typed in its row.
// Nothing enters the model until "Apply", which hands the corners to ModelDocument as one edit
// and closes the dialog; "Close" leaves the model as it was.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <vector>

#include "dialogs/VertexRowControls.h"
#include "document/DocumentObserver.h"
#include "document/EditValues.h"

class QPushButton;

namespace y4 {

class Face;
class ModelDocument;
class SubEntity;

class CNewFaceDialog : public QDialog, private DocumentObserver {
    Q_OBJECT

public:
    // The face goes into `subEntity`, which, with `document`, must outlive the dialog. Run it
    // with exec(); a change that removes records or replaces the model closes it.
    CNewFaceDialog(ModelDocument& document, SubEntity& subEntity, QWidget* parent);
    ~CNewFaceDialog() override;

    // The number the next vertex made here would be named with ("Vertex[n]").
    int nextVertexNumber() const { return nextVertexNumber_; }
    // What each row holds now.
    const std::array<FaceCorner, 3>& corners() const { return corners_; }
    // The face Apply made; null until then.
    Face* createdFace() const { return created_; }

public slots:
    void OnSelchangeVertex1() { chooseExisting(0); }
    void OnSelchangeVertex2() { chooseExisting(1); }
    void OnSelchangeVertex3() { chooseExisting(2); }
    void OnButtonNewVertex1() { makeVertex(0); }
    void OnButtonNewVertex2() { makeVertex(1); }
    void OnButtonNewVertex3() { makeVertex(2); }
    void OnButtonApply();
    void OnButtonChangeWinding();
    void OnButtonClose();

private:
    void chooseExisting(int row);
    void makeVertex(int row);
    // A vertex made here and not yet applied is given up: its number is free again.
    void discardMade(int row);
    // Shows the row's corner, writable when it was made here.
    void showCorner(int row);
    // Takes the typed values of a row whose vertex is made here.
    void readMade(int row);
    void giveUp();

    void modelAboutToBeReplaced() override { giveUp(); }
    void recordsAboutToBeRemoved(const RecordSet&) override { giveUp(); }

    ModelDocument& document_;
    SubEntity* subEntity_;
    std::array<FaceCorner, 3> corners_{};
    int nextVertexNumber_;
    Face* created_ = nullptr;
    std::vector<std::unique_ptr<VertexRowControls>> rows_;
};

}  // namespace y4
