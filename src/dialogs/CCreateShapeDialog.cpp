// CCreateShapeDialog: the shape buttons, the size and segment boxes and "Create Shape".
#include "dialogs/CCreateShapeDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "shell/NumericFields.h"

namespace y4 {

CCreateShapeDialog::CCreateShapeDialog(ShapeCreator& creator, QWidget* parent)
    : QDialog(parent), creator_(creator) {
    setWindowTitle(QStringLiteral("Create Shape"));

    auto* kinds = new QHBoxLayout;
    auto* kindGroup = new QButtonGroup(this);
    auto makeKind = [&](const char* caption, void (CCreateShapeDialog::*handler)()) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        // The pressed-in button shows the kind chosen.
        button->setCheckable(true);
        button->setAutoDefault(false);
        kindGroup->addButton(button);
        kinds->addWidget(button);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    cube_ = makeKind("Cube", &CCreateShapeDialog::OnButtonCube);
    plane_ = makeKind("Plane", &CCreateShapeDialog::OnButtonPlane);
    cylinder_ = makeKind("Cylinder", &CCreateShapeDialog::OnButtonCylinder);

    auto* boxes = new QGridLayout;
    const char* const sizeNames[] = {"Length", "Width", "Height", "Radius"};
    // The segment boxes take digits only, as typed; pasted text is still checked on reading.
    auto* digitsOnly =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (int i = 0; i < 4; ++i) {
        const QString name = QString::fromLatin1(sizeNames[i]);
        sizeCaptions_[i] = new QLabel(name, this);
        sizes_[i] = new QLineEdit(this);
        sizes_[i]->setAccessibleName(name);
        sizes_[i]->setObjectName(name);
        sizeCaptions_[i]->setBuddy(sizes_[i]);
        boxes->addWidget(sizeCaptions_[i], i, 0);
        boxes->addWidget(sizes_[i], i, 1);
        if (i < 3) {
            segmentCaptions_[i] = new QLabel(QStringLiteral("Segments"), this);
            segments_[i] = new QLineEdit(this);
            segments_[i]->setAccessibleName(name + QStringLiteral(" Segments"));
            segments_[i]->setObjectName(name + QStringLiteral(" Segments"));
            segments_[i]->setValidator(digitsOnly);
            segmentCaptions_[i]->setBuddy(segments_[i]);
            boxes->addWidget(segmentCaptions_[i], i, 2);
            boxes->addWidget(segments_[i], i, 3);
        }
    }

    auto* create = new QPushButton(QStringLiteral("Create Shape"), this);
    create->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setAutoDefault(false);
    connect(create, &QPushButton::clicked, this, &CCreateShapeDialog::OnButtonCreateShape);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(create);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    OnButtonCube();
    // The cylinder's parameters cannot be used yet.
    cylinder_->setEnabled(false);
}

void CCreateShapeDialog::OnButtonCube() {
    selectKind(ShapeKind::Cube);
}

void CCreateShapeDialog::OnButtonPlane() {
    selectKind(ShapeKind::Plane);
}

void CCreateShapeDialog::OnButtonCylinder() {
    selectKind(ShapeKind::Cylinder);
}

void CCreateShapeDialog::selectKind(ShapeKind kind) {
    shapeKind_ = kind;
    const bool height = kind == ShapeKind::Cube;
    const bool radius = kind == ShapeKind::Cylinder;
    const bool sizeUsed[] = {true, true, height, radius};
    const bool segmentsUsed[] = {true, true, height};
    for (int i = 0; i < 4; ++i) {
        sizes_[i]->setText(sizeUsed[i] ? QStringLiteral("1.00") : QString());
        sizes_[i]->setEnabled(sizeUsed[i]);
        sizeCaptions_[i]->setEnabled(sizeUsed[i]);
    }
    for (int i = 0; i < 3; ++i) {
        segments_[i]->setText(segmentsUsed[i] ? QStringLiteral("1") : QString());
        segments_[i]->setEnabled(segmentsUsed[i]);
        segmentCaptions_[i]->setEnabled(segmentsUsed[i]);
    }
    QPushButton* const chosen[] = {cube_, plane_, cylinder_};
    chosen[static_cast<int>(kind)]->setChecked(true);
}

void CCreateShapeDialog::OnButtonCreateShape() {
    float size[4];
    for (int i = 0; i < 4; ++i) {
        size[i] = getFloatOr(*sizes_[i], 1.0f);
    }
    int segments[3];
    for (int i = 0; i < 3; ++i) {
        segments[i] = getInt(*segments_[i], 1);
    }
    creator_.CreateShape(shapeKind_, size[Length], size[Width], size[Height], size[Radius],
                         segments[0], segments[1], segments[2]);
}

}  // namespace y4
