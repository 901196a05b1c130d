// CChooseVertexDialog ("Choose Vertex" / "Choose Normal"): the modal chooser the 3D view opens
// when a click hits more than one vertex marker (or normal tip). It lists the candidates by
// their path, and each one the user moves to becomes the picked vertex at once (its faces
// highlighted, itself selected), so the view shows which one it is; "Select" keeps the choice,
// "Cancel" leaves it to the caller to undo.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace y4 {

class ModelDocument;
class Vertex;

class CChooseVertexDialog : public QDialog {
    Q_OBJECT

public:
    // `candidates` are copied; `document` applies each choice and must outlive the dialog.
    CChooseVertexDialog(QWidget* parent, const QString& caption, std::vector<Vertex*> candidates,
                        ModelDocument& document);

    // "Entity; SubEntity[0]; Vertex[12]": the vertex's name after those of its sub-entity and
    // the sub-entity's entity, where it has them.
    static std::string entryText(const Vertex& v);

    QComboBox& vertexList() const { return *list_; }

signals:
    // The dialog was moved: the view shows what it uncovered.
    void redrawRequested();

public slots:
    void OnSelchangeVertexList();

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    std::vector<Vertex*> candidates_;
    ModelDocument& document_;
    QComboBox* list_;
};

}  // namespace y4
