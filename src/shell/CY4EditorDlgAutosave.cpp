// CY4EditorDlg: the autosave timer, the "Preferences..." dialog that sets it, and the crash copy.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "dialogs/CPreferencesDialog.h"
#include "document/Autosave.h"
#include "document/ModelDocument.h"
#include "platform/Prompt.h"
#include "shell/CY4EditorDlg.h"
#include "shell/SettingsRegistry.h"

namespace y4 {

namespace {
// How often the timer asks whether a copy is due; the interval itself is minutes.
constexpr std::chrono::seconds kTickPeriod{5};
}  // namespace

void CY4EditorDlg::startAutosave() {
    applyAutosaveSettings(AutosaveSettings::load(store_));
    autosaveTimer_ = new QTimer(this);
    autosaveTimer_->setInterval(kTickPeriod);
    connect(autosaveTimer_, &QTimer::timeout, this, [this] {
        // A modal box may be open in the middle of a command; the copy waits until it ends.
        if (document_ && !QApplication::activeModalWidget()) {
            document_->tickAutosave(std::chrono::steady_clock::now());
        }
    });
    autosaveTimer_->start();
    connect(preferences_, &QPushButton::clicked, this, &CY4EditorDlg::OnButtonPreferences);
}

void CY4EditorDlg::applyAutosaveSettings(const AutosaveSettings& settings) {
    Autosave& autosave = document_->autosave();
    autosave.setEnabled(settings.enabled);
    autosave.setInterval(std::chrono::minutes(settings.minutes));
}

void CY4EditorDlg::OnButtonPreferences() {
    CPreferencesDialog dialog(AutosaveSettings::load(store_), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const AutosaveSettings chosen = dialog.autosaveSettings();
    applyAutosaveSettings(chosen);
    if (!chosen.save(store_)) {
        prompt().showMessage("Warning: Could not store the preferences", MessageIcon::Exclamation);
    }
}

std::string CY4EditorDlg::writeCrashCopy() noexcept {
    return document_ ? document_->writeCrashCopy() : std::string();
}

}  // namespace y4
