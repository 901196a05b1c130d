// CProjectionPropertiesDialog: the boxes of the projection group.
#include "dialogs/CProjectionPropertiesDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

#include "shell/SettingsRegistry.h"

namespace y4 {

CProjectionPropertiesDialog::CProjectionPropertiesDialog(ProjectionSettings& projection,
                                                         SettingsStore& store, QWidget* parent)
    : CPropertyDialog(QStringLiteral("Projection Properties"), store, parent),
      projection_(projection) {
    ProjectionSettings& p = projection;
    auto* orthogonal = new QGroupBox(QStringLiteral("Orthogonal"), this);
    auto* orthogonalGrid = new QGridLayout(orthogonal);
    addBoxGrid(*orthogonalGrid, 0, {"X", "Y", "Z"},
               {{"Min", {&p.orthogonal1, &p.orthogonal3, &p.orthogonal5}},
                {"Max", {&p.orthogonal2, &p.orthogonal4, &p.orthogonal6}}},
               QStringLiteral("Orthogonal "));

    auto* perspective = new QGroupBox(QStringLiteral("Perspective"), this);
    auto* perspectiveGrid = new QGridLayout(perspective);
    addCaptionedBoxes(
        *perspectiveGrid, 0,
        {{"FoV", &p.perspective1}, {"Near", &p.perspective2}, {"Far", &p.perspective3}},
        QStringLiteral("Perspective "));
    layOut({orthogonal, perspective});
}

void CProjectionPropertiesDialog::takeEffect() {
    emit projectionChanged();
    emit redrawRequested();
}

bool CProjectionPropertiesDialog::saveGroup(SettingsStore& store) {
    return saveProjectionSettings(store, projection_);
}

}  // namespace y4
