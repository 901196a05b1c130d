// CShortcutsDialog ("Keyboard shortcuts"): a read-only list of every key of the editor, built
// from the shortcut table, followed by what the mouse buttons and the wheel do in the view.
#pragma once

#include <QDialog>

class QTableWidget;

namespace y4 {

class CShortcutsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CShortcutsDialog(QWidget* parent);

    QTableWidget& table() const { return *table_; }

private:
    QTableWidget* table_;
};

}  // namespace y4
