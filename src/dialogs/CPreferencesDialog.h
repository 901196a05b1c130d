// CPreferencesDialog ("Preferences"): the modal dialog of the editor's own preferences, which
// belong to no model: whether the recovery copy of unsaved edits is written, and how often.
// "OK" keeps what was chosen; the main window stores it and applies it.
#pragma once

#include <QDialog>

#include "shell/AutosaveSettings.h"

class QCheckBox;
class QSpinBox;

namespace y4 {

class CPreferencesDialog : public QDialog {
    Q_OBJECT

public:
    CPreferencesDialog(const AutosaveSettings& autosave, QWidget* parent);

    // What the controls show.
    AutosaveSettings autosaveSettings() const;

private:
    QCheckBox* autosave_;
    QSpinBox* minutes_;
};

}  // namespace y4
