// CDisplayPropertiesDialog ("Display Properties"): the light and colour settings, a grid of
// R, G, B, A boxes per colour and the position of light 0.
#pragma once

#include "dialogs/CPropertyDialog.h"
#include "shell/DisplaySettings.h"

namespace y4 {

class CDisplayPropertiesDialog : public CPropertyDialog {
    Q_OBJECT

public:
    CDisplayPropertiesDialog(DisplaySettings& display, SettingsStore& store, QWidget* parent);

signals:
    // The light settings changed: the view sets its lighting again (setLighting).
    void lightingChanged();

protected:
    void takeEffect() override;
    bool saveGroup(SettingsStore& store) override;

private:
    DisplaySettings& display_;
};

}  // namespace y4
