// CDisplayPropertiesDialog: the boxes of the display group and what Apply and Save do with them.
#include "dialogs/CDisplayPropertiesDialog.h"

#include <QGridLayout>
#include <QLineEdit>

#include "shell/SettingsRegistry.h"

namespace y4 {

CDisplayPropertiesDialog::CDisplayPropertiesDialog(DisplaySettings& display, SettingsStore& store,
                                                   QWidget* parent)
    : CPropertyDialog(QStringLiteral("Display Properties"), store, parent), display_(display) {
    DisplaySettings& d = display;
    auto* grid = new QGridLayout;
    int row = addBoxGrid(
        *grid, 0, {"R", "G", "B", "A"},
        {
            {"Ambient", {&d.ambientR, &d.ambientG, &d.ambientB, &d.ambientA}},
            {"Diffuse", {&d.diffuseR, &d.diffuseG, &d.diffuseB, &d.diffuseA}},
            {"Specular", {&d.specularR, &d.specularG, &d.specularB, &d.specularA}},
            {"Background", {&d.backgroundR, &d.backgroundG, &d.backgroundB, &d.backgroundA}},
            {"Solid", {&d.solidR, &d.solidG, &d.solidB, &d.solidA}},
            {"Selected", {&d.selectR, &d.selectG, &d.selectB, &d.selectA}},
            {"Point", {&d.pointR, &d.pointG, &d.pointB, &d.pointA}},
            {"Highlight", {&d.highlightR, &d.highlightG, &d.highlightB, &d.highlightA}},
        });
    grid->setRowMinimumHeight(row, 12);
    addBoxGrid(*grid, row + 1, {"X", "Y", "Z", "Magnitude"},
               {{"Light0", {&d.lightPosX, &d.lightPosY, &d.lightPosZ, &d.lightPosDistance}}});

    layOut({grid});
}

void CDisplayPropertiesDialog::takeEffect() {
    emit lightingChanged();
    emit redrawRequested();
}

bool CDisplayPropertiesDialog::saveGroup(SettingsStore& store) {
    return saveDisplaySettings(store, display_);
}

}  // namespace y4
