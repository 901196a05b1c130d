// CGridPropertiesDialog: the grid and backdrop boxes, the browse and move buttons.
#include "dialogs/CGridPropertiesDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "files/BitmapLoader.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"
#include "shell/SettingsRegistry.h"

namespace y4 {

namespace {

const char* const kPlaneNames[] = {"XY", "YZ", "XZ"};

}  // namespace

CGridPropertiesDialog::CGridPropertiesDialog(GridSettings& grid, SettingsStore& store,
                                             QWidget* parent)
    : CPropertyDialog(QStringLiteral("Grid Properties"), store, parent), grid_(grid) {
    GridSettings& g = grid;
    auto* extent = new QGridLayout;
    const std::pair<const char*, float*> extentBoxes[] = {
        {"Interval", &g.gridSpacing}, {"Min", &g.gridMin}, {"Max", &g.gridMax}};
    int row = 0;
    for (const auto& [caption, field] : extentBoxes) {
        extent->addWidget(makeCaption(caption), row, 0);
        extent->addWidget(makeFloatBox(*field, caption), row, 1);
        extent->addWidget(makeCaption(QStringLiteral("metres")), row, 2);
        ++row;
    }
    extent->setColumnStretch(3, 1);

    auto* planesBox = new QGroupBox(this);
    auto* planes = new QGridLayout(planesBox);
    const char* const planeColumns[] = {"Offset", "R", "G", "B"};
    for (int c = 0; c < 4; ++c) {
        planes->addWidget(makeCaption(planeColumns[c]), 0, c + 1, Qt::AlignHCenter);
    }
    const struct {
        int* shown;
        float* offset;
        float* colour[3];
    } planeRows[] = {
        {&g.gridXY, &g.gridXYOffset, {&g.gridXY_R, &g.gridXY_G, &g.gridXY_B}},
        {&g.gridYZ, &g.gridYZOffset, {&g.gridYZ_R, &g.gridYZ_G, &g.gridYZ_B}},
        {&g.gridXZ, &g.gridXZOffset, {&g.gridXZ_R, &g.gridXZ_G, &g.gridXZ_B}},
    };
    row = 1;
    for (std::size_t p = 0; p < 3; ++p) {
        const QString caption = QStringLiteral("Grid") + kPlaneNames[p];
        planes->addWidget(makeFlagBox(*planeRows[p].shown, caption), row, 0);
        // A plane's offset that cannot be read puts the plane back through the origin.
        planes->addWidget(makeFloatBox(*planeRows[p].offset, caption + " Offset", 0.0f), row, 1);
        for (int c = 0; c < 3; ++c) {
            planes->addWidget(
                makeFloatBox(*planeRows[p].colour[c], caption + ' ' + planeColumns[c + 1]), row,
                c + 2);
        }
        ++row;
    }

    auto* backdropsBox = new QGroupBox(this);
    auto* backdrops = new QGridLayout(backdropsBox);
    std::string* const names[] = {&g.bitmapXYName, &g.bitmapYZName, &g.bitmapXZName};
    int* const switches[] = {&g.bitmapXY, &g.bitmapYZ, &g.bitmapXZ};
    for (std::size_t p = 0; p < 3; ++p) {
        const auto plane = static_cast<BackdropPlane>(p);
        const QString caption = QStringLiteral("Backdrop ") + kPlaneNames[p];
        BackdropRow& r = rows_[p];
        r.name = names[p];
        r.shown = makeFlagBox(*switches[p], caption);
        r.path = new QLineEdit(this);
        r.path->setAccessibleName(caption + " File");
        r.path->setObjectName(caption + " File");
        r.path->setMinimumWidth(260);
        r.browse = new QPushButton(QStringLiteral("..."), this);
        r.browse->setObjectName(caption + " ...");
        r.browse->setAccessibleDescription("Choose the bitmap of " + caption);
        r.browse->setToolTip(r.browse->accessibleDescription());
        r.browse->setAutoDefault(false);
        r.browse->setMaximumWidth(r.browse->fontMetrics().horizontalAdvance("...") + 24);
        r.move = new QPushButton(QStringLiteral("Move"), this);
        r.move->setObjectName(caption + " Move");
        r.move->setAccessibleDescription("Drag " + caption + " in the view");
        r.move->setToolTip(r.move->accessibleDescription());
        r.move->setAutoDefault(false);
        // The switch itself changes only on Apply; its Move button follows the box at once.
        connect(r.shown, &QCheckBox::toggled, r.move, &QPushButton::setEnabled);
        connect(r.browse, &QPushButton::clicked, this, [this, plane] { OnButtonBrowse(plane); });
        connect(r.move, &QPushButton::clicked, this, [this, plane] { OnButtonMove(plane); });
        const int line = static_cast<int>(p);
        backdrops->addWidget(r.shown, line, 0);
        backdrops->addWidget(r.path, line, 1);
        backdrops->addWidget(r.browse, line, 2);
        backdrops->addWidget(r.move, line, 3);
    }
    backdrops->setColumnStretch(1, 1);
    auto* opacity = new QHBoxLayout;
    opacity->addWidget(makeCaption(QStringLiteral("Opacity")));
    opacity->addWidget(makeFloatBox(g.gridBitmapOpacity, QStringLiteral("Opacity")));
    opacity->addStretch(1);
    backdrops->addLayout(opacity, 3, 0, 1, 4);

    layOut({extent, planesBox, backdropsBox});
}

void CGridPropertiesDialog::fillExtras() {
    for (const BackdropRow& r : rows_) {
        r.path->setText(QString::fromStdString(*r.name));
        r.move->setEnabled(r.shown->isChecked());
    }
}

void CGridPropertiesDialog::applyExtras() {
    for (const BackdropRow& r : rows_) {
        *r.name = r.path->text().toStdString();
    }
}

void CGridPropertiesDialog::takeEffect() {
    emit backdropsChanged();
    emit redrawRequested();
}

bool CGridPropertiesDialog::saveGroup(SettingsStore& store) {
    return saveGridSettings(store, grid_);
}

void CGridPropertiesDialog::OnButtonBrowse(BackdropPlane plane) {
    QLineEdit& path = pathBox(plane);
    const std::string current = path.text().toStdString();
    // The stored name may come from a case-insensitive system and use "\".
    const FileDialogRequest request{
        std::string("Backdrop ") + kPlaneNames[index(plane)], "BMP Files (*.BMP *.bmp)",
        PathResolver::resolveExisting(current).value_or(current), "BMP"};
    const std::optional<std::string> chosen = prompt().chooseOpenFile(request);
    if (!chosen) {
        return;
    }
    std::unique_ptr<RGBImage> image = loadBitmapImage(*chosen);
    if (!image) {
        prompt().showMessage("ERROR: Invalid DIB Bitmap File", MessageIcon::Exclamation);
        return;
    }
    path.setText(QString::fromStdString(*chosen));
    emit backdropImageChosen(plane, std::shared_ptr<RGBImage>(std::move(image)));
    emit redrawRequested();
}

void CGridPropertiesDialog::OnButtonMove(BackdropPlane plane) {
    emit backdropMoveRequested(kBackdropMoveModes[index(plane)]);
}

}  // namespace y4
