// CTransformPropertiesDialog: the boxes of the transform group under their two headings.
#include "dialogs/CTransformPropertiesDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

#include "shell/SettingsRegistry.h"

namespace y4 {

CTransformPropertiesDialog::CTransformPropertiesDialog(TransformSettings& transform,
                                                       SettingsStore& store, QWidget* parent)
    : CPropertyDialog(QStringLiteral("Transform Properties"), store, parent),
      transform_(transform) {
    TransformSettings& t = transform;
    auto* object = new QGroupBox(QStringLiteral("Object Transform Scaling Factors"), this);
    auto* objectGrid = new QGridLayout(object);
    const int rotateRow =
        addBoxGrid(*objectGrid, 0, {"X", "Y", "Z"},
                   {{"Scale", {&t.scaleXScale, &t.scaleYScale, &t.scaleZScale}},
                    {"Translate", {&t.translateXScale, &t.translateYScale, &t.translateZScale}}});
    // One factor turns about all three axes.
    objectGrid->addWidget(makeCaption(QStringLiteral("Rotate")), rotateRow, 0);
    objectGrid->addWidget(makeFloatBox(t.rotateXScale, QStringLiteral("Rotate")), rotateRow, 1);

    auto* view = new QGroupBox(QStringLiteral("Viewpoint Scaling Factors"), this);
    auto* viewGrid = new QGridLayout(view);
    addCaptionedBoxes(
        *viewGrid, 0,
        {{"Move", &t.viewMoveScale}, {"Rotate", &t.viewRotateScale}, {"Zoom", &t.viewZoomScale}},
        QStringLiteral("Viewpoint "));
    layOut({object, view});
}

bool CTransformPropertiesDialog::saveGroup(SettingsStore& store) {
    return saveTransformSettings(store, transform_);
}

}  // namespace y4
