// ShortcutTable: every key of the editor in one table, from which the main window's shortcuts
// are installed and the "Keyboard shortcuts" window lists them, so the list never goes stale.
// A row either clicks the main window's button of its caption (so a key does nothing while the
// button is disabled) or runs a command the window names. Keys the view handles itself while it
// has the focus are listed too, so no shortcut can take them.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QWidget;

namespace y4 {

class ShortcutTable {
public:
    // Where a key acts.
    enum class Scope {
        // In every window of the editor (unless an edit box there takes the key itself).
        kEditor,
        // While the main window is the active window: single letters, which edit boxes of the
        // tool dialogs must keep for typing.
        kMainWindow,
        // While the 3D view has the focus; the view handles these itself.
        kView,
    };
    struct Row {
        // The caption of the button the key clicks, or the command's name.
        QString command;
        // What the key does, as the list shows it.
        QString description;
        QList<QKeySequence> keys;
        Scope scope;
        bool clicksButton;
    };
    // What a command row runs (and what a button row runs while its button is disabled), by the
    // row's command.
    using Commands = std::map<QString, std::function<void()>>;

    static const std::vector<Row>& rows();
    // One shortcut per row that is not the view's, on `window`, named after the row's command.
    static void install(QWidget& window, const Commands& commands);
    // The row's keys in the platform's spelling, "Ctrl+Shift+Z, Ctrl+Y".
    static QString keysText(const Row& row);
    // "Everywhere", "Main window" or "3D view".
    static QString scopeText(Scope scope);
};

}  // namespace y4
