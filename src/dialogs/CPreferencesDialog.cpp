// CPreferencesDialog: "Autosave", the minutes between copies, "OK" and "Cancel".
#include "dialogs/CPreferencesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace y4 {

CPreferencesDialog::CPreferencesDialog(const AutosaveSettings& autosave, QWidget* parent)
    : QDialog(parent),
      autosave_(new QCheckBox(QStringLiteral("Autosave"), this)),
      minutes_(new QSpinBox(this)) {
    setWindowTitle(QStringLiteral("Preferences"));
    autosave_->setObjectName(QStringLiteral("Autosave"));
    autosave_->setChecked(autosave.enabled);
    const QString every = QStringLiteral("Minutes between autosaves:");
    minutes_->setObjectName(every);
    minutes_->setAccessibleName(every);
    minutes_->setRange(AutosaveSettings::kFewestMinutes, AutosaveSettings::kMostMinutes);
    minutes_->setValue(autosave.minutes);
    minutes_->setEnabled(autosave.enabled);
    connect(autosave_, &QCheckBox::toggled, minutes_, &QSpinBox::setEnabled);

    auto* note = new QLabel(QStringLiteral("A model with unsaved changes is copied beside it as "
                                           "<model>.autosave.<ext>; opening the model offers "
                                           "the copy."),
                            this);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* button : buttons->buttons()) {
        button->setObjectName(button->text().remove(QLatin1Char('&')));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(autosave_);
    form->addRow(every, minutes_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

AutosaveSettings CPreferencesDialog::autosaveSettings() const {
    AutosaveSettings settings;
    settings.enabled = autosave_->isChecked();
    settings.minutes = minutes_->value();
    return settings;
}

}  // namespace y4
