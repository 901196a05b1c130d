// CGridPropertiesDialog ("Grid Properties"): the reference grids on the three axis planes and
// the backdrop bitmaps drawn on them. Besides the settings it offers, per backdrop, a browse
// button that loads a new bitmap at once and a "Move" button that lets the user drag the
// backdrop in the view.
#pragma once

#include <array>
#include <memory>

#include "dialogs/CPropertyDialog.h"
#include "files/RGBImage.h"
#include "shell/GridSettings.h"

class QPushButton;

namespace y4 {

// The three planes a backdrop can lie on, in the order of the settings.
enum class BackdropPlane { XY = 0, YZ = 1, XZ = 2 };

class CGridPropertiesDialog : public CPropertyDialog {
    Q_OBJECT

public:
    CGridPropertiesDialog(GridSettings& grid, SettingsStore& store, QWidget* parent);

    // The view's mouse modes that drag the XY, YZ and XZ backdrops within their planes.
    static constexpr std::array<int, 3> kBackdropMoveModes{17, 18, 19};

    QLineEdit& pathBox(BackdropPlane plane) const { return *rows_[index(plane)].path; }
    QPushButton& browseButton(BackdropPlane plane) const { return *rows_[index(plane)].browse; }
    QPushButton& moveButton(BackdropPlane plane) const { return *rows_[index(plane)].move; }

signals:
    // The backdrop switches or files changed: the main window reloads the backdrops
    // (loadBackdrops).
    void backdropsChanged();
    // A bitmap chosen with "..." was loaded: it is now that plane's backdrop image.
    void backdropImageChosen(y4::BackdropPlane plane, std::shared_ptr<y4::RGBImage> image);
    // The view is to drag a backdrop with the mouse, in this mouse mode.
    void backdropMoveRequested(int mouseMode);

public slots:
    void OnButtonBrowse(y4::BackdropPlane plane);
    void OnButtonMove(y4::BackdropPlane plane);

protected:
    void fillExtras() override;
    void applyExtras() override;
    void takeEffect() override;
    bool saveGroup(SettingsStore& store) override;

private:
    static std::size_t index(BackdropPlane plane) { return static_cast<std::size_t>(plane); }

    struct BackdropRow {
        QCheckBox* shown;
        QLineEdit* path;
        QPushButton* browse;
        QPushButton* move;
        std::string* name;
    };
    GridSettings& grid_;
    std::array<BackdropRow, 3> rows_{};
};

}  // namespace y4
