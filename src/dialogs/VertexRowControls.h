// VertexRowControls: one vertex row of the Attributes and New Face dialogs: a drop-down list of
// vertices and eight boxes, X, Y, Z, TextureU, TextureV, NormalX, NormalY and NormalZ.
// Positions and normals show negated, as the model files write them, and are read back
// negated; texture coordinates go as they are. Each control is named after its row and column
// ("Vertex 1 NormalZ") for screen readers.
#pragma once

#include <QString>
#include <array>

#include "document/EditValues.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace y4 {

class VertexListModel;

class VertexRowControls {
public:
    static constexpr int kBoxes = 8;
    // The column captions of the eight boxes.
    static const std::array<const char*, kBoxes> kColumns;

    // Puts the list at column 0 of `row` and the boxes from `firstBoxColumn` on.
    VertexRowControls(QWidget& parent, QGridLayout& grid, int row, int firstBoxColumn,
                      const QString& rowName, const QString& listName);

    QComboBox& list() const { return *list_; }
    QLineEdit& box(int column) const { return *boxes_[static_cast<std::size_t>(column)]; }
    VertexListModel& model() const { return *model_; }
    // The vertex of the list's chosen entry; null when none is chosen.
    Vertex* chosenVertex() const;

    void show(const VertexValues& values);
    // Reads the boxes in reading order; a refused box reads as 1 after its message.
    VertexValues read() const;
    // Every box shows "n/a".
    void showNotApplicable();
    void clearBoxes();
    void setEnabled(bool enabled);
    // The position, texture and (when `normals`) normal boxes.
    void setReadOnly(bool readOnly, bool normals = true);

private:
    QComboBox* list_;
    VertexListModel* model_;
    std::array<QLineEdit*, kBoxes> boxes_{};
};

}  // namespace y4
