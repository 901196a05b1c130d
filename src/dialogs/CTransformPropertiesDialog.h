// CTransformPropertiesDialog ("Transform Properties"): the scaling factors of the object
// transform commands and of view navigation. They take effect at the next command, so Apply
// only stores them.
#pragma once

#include "dialogs/CPropertyDialog.h"
#include "shell/TransformSettings.h"

namespace y4 {

class CTransformPropertiesDialog : public CPropertyDialog {
    Q_OBJECT

public:
    CTransformPropertiesDialog(TransformSettings& transform, SettingsStore& store, QWidget* parent);

protected:
    void takeEffect() override {}
    bool saveGroup(SettingsStore& store) override;

private:
    TransformSettings& transform_;
};

}  // namespace y4
