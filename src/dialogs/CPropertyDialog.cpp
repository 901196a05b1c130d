// CPropertyDialog: the boxes bound to settings fields, Show, Apply and Save.
#include "dialogs/CPropertyDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "shell/NumericFields.h"

namespace y4 {

namespace {
// Wide enough for "-10.24" and "2e+06" with room to spare.
constexpr int kBoxWidth = 72;
}  // namespace

CPropertyDialog::CPropertyDialog(const QString& caption, SettingsStore& store, QWidget* parent)
    : CToolDialog(caption, parent), store_(store) {}

QLineEdit* CPropertyDialog::makeFloatBox(float& field, const QString& accessibleName,
                                         std::optional<float> fallback) {
    auto* box = new QLineEdit(this);
    box->setAccessibleName(accessibleName);
    box->setObjectName(accessibleName);
    box->setFixedWidth(kBoxWidth);
    floats_.push_back({box, &field, fallback});
    return box;
}

QCheckBox* CPropertyDialog::makeFlagBox(int& flag, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(caption);
    flags_.push_back({box, &flag});
    return box;
}

QWidget* CPropertyDialog::makeCaption(const QString& text) {
    return new QLabel(text, this);
}

int CPropertyDialog::addBoxGrid(QGridLayout& grid, int row, const std::vector<QString>& columns,
                                const std::vector<BoxRow>& rows, const QString& namePrefix) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
        grid.addWidget(makeCaption(columns[c]), row, static_cast<int>(c) + 1, Qt::AlignHCenter);
    }
    for (const BoxRow& boxRow : rows) {
        ++row;
        grid.addWidget(makeCaption(boxRow.caption), row, 0);
        for (std::size_t c = 0; c < boxRow.fields.size(); ++c) {
            grid.addWidget(
                makeFloatBox(*boxRow.fields[c], namePrefix + boxRow.caption + ' ' + columns[c]),
                row, static_cast<int>(c) + 1);
        }
    }
    return row + 1;
}

void CPropertyDialog::addCaptionedBoxes(QGridLayout& grid, int row,
                                        const std::vector<std::pair<QString, float*>>& boxes,
                                        const QString& namePrefix) {
    int column = 0;
    for (const auto& [caption, field] : boxes) {
        grid.addWidget(makeCaption(caption), row, column, Qt::AlignHCenter);
        grid.addWidget(makeFloatBox(*field, namePrefix + caption), row + 1, column);
        ++column;
    }
}

void CPropertyDialog::layOut(std::initializer_list<std::variant<QWidget*, QLayout*>> sections) {
    auto* layout = new QVBoxLayout(this);
    for (const auto& section : sections) {
        if (QWidget* const* widget = std::get_if<QWidget*>(&section)) {
            layout->addWidget(*widget);
        } else {
            layout->addLayout(std::get<QLayout*>(section));
        }
    }
    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    // Enter in a box applies what was typed.
    apply->setDefault(true);
    save->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &CPropertyDialog::OnButtonApply);
    connect(save, &QPushButton::clicked, this, &CPropertyDialog::OnButtonSave);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(save);
    buttons->addWidget(makeCloseButton());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CPropertyDialog::showEvent(QShowEvent* event) {
    // Only a show asked for by the editor refills the boxes; the window system showing the
    // dialog again (after a minimise) keeps what the user typed.
    if (!event->spontaneous()) {
        fillBoxes();
    }
    CToolDialog::showEvent(event);
}

void CPropertyDialog::fillBoxes() {
    for (const FloatBinding& binding : floats_) {
        putFloat(*binding.box, *binding.field);
    }
    for (const FlagBinding& binding : flags_) {
        binding.box->setChecked(*binding.flag != 0);
    }
    fillExtras();
}

void CPropertyDialog::OnButtonApply() {
    for (const FloatBinding& binding : floats_) {
        *binding.field =
            binding.fallback ? getFloatOr(*binding.box, *binding.fallback) : getFloat(*binding.box);
    }
    for (const FlagBinding& binding : flags_) {
        *binding.flag = binding.box->isChecked() ? 1 : 0;
    }
    applyExtras();
    takeEffect();
}

void CPropertyDialog::OnButtonSave() {
    OnButtonApply();
    // Both run even when the first fails, so whatever could be written is written.
    const bool written = saveGroup(store_);
    const bool synced = store_.sync();
    if (!written || !synced) {
        prompt().showMessage("Error: Could not save the settings", MessageIcon::Exclamation);
    }
}

}  // namespace y4
