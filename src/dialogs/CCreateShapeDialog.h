// CCreateShapeDialog ("Create Shape"): the modal dialog that collects the parameters of a cube,
// a plane or a cylinder and hands them to a ShapeCreator. The cylinder cannot be chosen yet.
#pragma once

#include <QDialog>
#include <array>

#include "dialogs/ShapeCreator.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace y4 {

class CCreateShapeDialog : public QDialog {
    Q_OBJECT

public:
    CCreateShapeDialog(ShapeCreator& creator, QWidget* parent);

    ShapeKind shapeKind() const { return shapeKind_; }

public slots:
    void OnButtonCube();
    void OnButtonPlane();
    void OnButtonCylinder();
    void OnButtonCreateShape();

private:
    enum Size { Length, Width, Height, Radius };
    // Writes all seven boxes for a kind: "1.00" or empty for the sizes, "1" or empty for the
    // segments; a box left empty is disabled with its caption.
    void selectKind(ShapeKind kind);

    ShapeCreator& creator_;
    ShapeKind shapeKind_ = ShapeKind::Cube;
    std::array<QLineEdit*, 4> sizes_{};
    std::array<QLabel*, 4> sizeCaptions_{};
    std::array<QLineEdit*, 3> segments_{};
    std::array<QLabel*, 3> segmentCaptions_{};
    QPushButton* cube_;
    QPushButton* plane_;
    QPushButton* cylinder_;
};

}  // namespace y4
