// The list of keys and mouse gestures.
#include "shell/CShortcutsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/ShortcutTable.h"

namespace y4 {

namespace {

struct Gesture {
    const char* what;
    const char* input;
    const char* does;
};

// The view's mouse, which acts whatever the left button's mode.
constexpr Gesture kGestures[] = {
    {"Zoom", "Wheel", "Zoom the view in or out"},
    {"Orbit", "Middle button drag", "Turn the view"},
    {"Pan", "Shift+middle or right button drag", "Move the view"},
};

}  // namespace

CShortcutsDialog::CShortcutsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Keyboard shortcuts"));
    const std::vector<ShortcutTable::Row>& rows = ShortcutTable::rows();
    const int count = static_cast<int>(rows.size() + std::size(kGestures));
    table_ = new QTableWidget(count, 4, this);
    table_->setAccessibleName(QStringLiteral("Keyboard shortcuts"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys"),
                                       QStringLiteral("Where"), QStringLiteral("Does")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    int r = 0;
    const auto add = [&](const QString& command, const QString& keys, const QString& where,
                         const QString& does) {
        const QString texts[] = {command, keys, where, does};
        for (int column = 0; column < 4; ++column) {
            table_->setItem(r, column, new QTableWidgetItem(texts[column]));
        }
        ++r;
    };
    for (const ShortcutTable::Row& row : rows) {
        add(row.command, ShortcutTable::keysText(row), ShortcutTable::scopeText(row.scope),
            row.description);
    }
    for (const Gesture& g : kGestures) {
        add(QString::fromLatin1(g.what), QString::fromLatin1(g.input),
            ShortcutTable::scopeText(ShortcutTable::Scope::kView), QString::fromLatin1(g.does));
    }
    table_->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(640, 560);
}

}  // namespace y4
