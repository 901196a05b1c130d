// CProjectionPropertiesDialog ("Projection Properties"): the orthographic box and the
// perspective parameters. The projection mode itself is chosen in the main window.
#pragma once

#include "dialogs/CPropertyDialog.h"
#include "shell/ProjectionSettings.h"

namespace y4 {

class CProjectionPropertiesDialog : public CPropertyDialog {
    Q_OBJECT

public:
    CProjectionPropertiesDialog(ProjectionSettings& projection, SettingsStore& store,
                                QWidget* parent);

signals:
    // The projection parameters changed: the view sets its projection again (setProjection).
    void projectionChanged();

protected:
    void takeEffect() override;
    bool saveGroup(SettingsStore& store) override;

private:
    ProjectionSettings& projection_;
};

}  // namespace y4
