// The editor's keys and their installation.
#include "shell/ShortcutTable.h"

#include <QAbstractButton>
#include <QShortcut>
#include <QWidget>

namespace y4 {

namespace {

using Scope = ShortcutTable::Scope;
using Row = ShortcutTable::Row;

// The platform's keys for a standard command, then the editor's own, each once.
QList<QKeySequence> standard(QKeySequence::StandardKey key, QList<QKeySequence> own = {}) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    for (const QKeySequence& k : own) {
        if (!keys.contains(k)) {
            keys.append(k);
        }
    }
    return keys;
}

QList<QKeySequence> key(QKeyCombination combination) {
    return {QKeySequence(combination)};
}

Row button(const char* caption, const char* description, QList<QKeySequence> keys,
           Scope scope = Scope::kMainWindow) {
    return {QString::fromLatin1(caption), QString::fromLatin1(description), std::move(keys), scope,
            true};
}

Row command(const char* name, const char* description, QList<QKeySequence> keys,
            Scope scope = Scope::kMainWindow) {
    return {QString::fromLatin1(name), QString::fromLatin1(description), std::move(keys), scope,
            false};
}

// The window's own button of that caption, not one of a tool dialog's.
QAbstractButton* windowButton(QWidget& window, const QString& caption) {
    for (QAbstractButton* candidate : window.findChildren<QAbstractButton*>()) {
        if (candidate->window() == &window && candidate->text() == caption) {
            return candidate;
        }
    }
    return nullptr;
}

std::vector<Row> makeRows() {
    const Qt::KeyboardModifier ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    return {
        // The model.
        button("Load Y4 File", "Open a model",
               standard(QKeySequence::Open, {QKeySequence(ctrl | Qt::Key_O)}), Scope::kEditor),
        button("Save Y4 File", "Save the model",
               standard(QKeySequence::Save, {QKeySequence(ctrl | Qt::Key_S)}), Scope::kEditor),
        button("Commit Changes", "Purge the deleted records and write a snapshot",
               key(ctrl | Qt::Key_K), Scope::kEditor),
        button("Discard Changes", "Go back to the last snapshot", key(ctrlShift | Qt::Key_K),
               Scope::kEditor),
        command("Undo", "Take back the last edit",
                standard(QKeySequence::Undo, {QKeySequence(ctrl | Qt::Key_Z)}), Scope::kEditor),
        command("Redo", "Make the edit taken back again",
                standard(QKeySequence::Redo,
                         {QKeySequence(ctrlShift | Qt::Key_Z), QKeySequence(ctrl | Qt::Key_Y)}),
                Scope::kEditor),
        button("Exit", "Leave the editor",
               standard(QKeySequence::Quit, {QKeySequence(ctrl | Qt::Key_Q)}), Scope::kEditor),
        // The tool dialogs, in the order of their buttons.
        button("Objects...", "Show the object tree", key(ctrl | Qt::Key_1), Scope::kEditor),
        button("Textures...", "Show the textures", key(ctrl | Qt::Key_2), Scope::kEditor),
        button("Display...", "Show the display properties", key(ctrl | Qt::Key_3), Scope::kEditor),
        button("Transforms...", "Show the transform properties", key(ctrl | Qt::Key_4),
               Scope::kEditor),
        button("Grids...", "Show the grid properties", key(ctrl | Qt::Key_5), Scope::kEditor),
        button("Projections...", "Show the projection properties", key(ctrl | Qt::Key_6),
               Scope::kEditor),
        button("Attributes...", "Show the attributes of the selection", key(ctrl | Qt::Key_7),
               Scope::kEditor),
        // What the left button drags, in the order of the button columns.
        button("TranslateX", "Drag moves the selection along X", key(Qt::Key_1)),
        button("TranslateY", "Drag moves the selection along Y", key(Qt::Key_2)),
        button("TranslateZ", "Drag moves the selection along Z", key(Qt::Key_3)),
        button("RotateX", "Drag turns the selection about X", key(Qt::Key_4)),
        button("RotateY", "Drag turns the selection about Y", key(Qt::Key_5)),
        button("RotateZ", "Drag turns the selection about Z", key(Qt::Key_6)),
        button("Move", "Drag moves the view", key(Qt::Key_7)),
        button("Zoom", "Drag zooms the view", key(Qt::Key_8)),
        button("Rotate", "Drag turns the view", key(Qt::Key_9)),
        // How the model is drawn.
        button("Solid", "Draw solid faces", key(Qt::Key_S)),
        button("Wireframe", "Draw the edges only", key(Qt::Key_E)),
        button("Textured", "Draw textured faces", key(Qt::Key_T)),
        button("Vertices", "Show or hide the vertex markers", key(Qt::Key_V)),
        button("Normals", "Show or hide the normals", key(Qt::Key_N)),
        button("Perspective", "Perspective projection", key(Qt::Key_P)),
        button("Orthogonal", "Orthographic projection", key(Qt::Key_O)),
        // The camera.
        command("Frame Selection", "Fit the selection (or the whole model) into the view",
                key(Qt::Key_F)),
        command("Frame Model", "Fit the whole model into the view", key(Qt::Key_Home)),
        command("Turn Up", "Turn the camera about X", key(Qt::Key_A), Scope::kView),
        command("Turn Down", "Turn the camera back about X", key(Qt::Key_Z), Scope::kView),
        command("Turn Left", "Turn the camera about Y", key(Qt::Key_Q), Scope::kView),
        command("Turn Right", "Turn the camera back about Y", key(Qt::Key_W), Scope::kView),
        // The status line and this list.
        button("Frame time", "Show or hide the time each frame takes", key(ctrlShift | Qt::Key_F)),
        command("Keyboard shortcuts", "List the keys",
                standard(QKeySequence::HelpContents, {QKeySequence(Qt::Key_F1)})),
    };
}

}  // namespace

const std::vector<Row>& ShortcutTable::rows() {
    static const std::vector<Row> table = makeRows();
    return table;
}

void ShortcutTable::install(QWidget& window, const Commands& commands) {
    const auto run = [&commands](const QString& name) {
        const auto found = commands.find(name);
        return found != commands.end() ? found->second : std::function<void()>();
    };
    for (const Row& row : rows()) {
        if (row.scope == Scope::kView || row.keys.isEmpty()) {
            continue;
        }
        auto* shortcut = new QShortcut(&window);
        shortcut->setObjectName(row.command);
        shortcut->setKeys(row.keys);
        shortcut->setContext(row.scope == Scope::kEditor ? Qt::ApplicationShortcut
                                                         : Qt::WindowShortcut);
        std::function<void()> action = run(row.command);
        if (row.clicksButton) {
            QAbstractButton* target = windowButton(window, row.command);
            if (target == nullptr) {
                continue;
            }
            QObject::connect(shortcut, &QShortcut::activated, target, [target, action] {
                if (target->isEnabled() && target->isVisible()) {
                    target->click();
                } else if (action) {
                    action();
                }
            });
        } else if (action) {
            QObject::connect(shortcut, &QShortcut::activated, &window, action);
        }
    }
}

QString ShortcutTable::keysText(const Row& row) {
    QStringList texts;
    for (const QKeySequence& k : row.keys) {
        texts.append(k.toString(QKeySequence::NativeText));
    }
    return texts.join(QStringLiteral(", "));
}

QString ShortcutTable::scopeText(Scope scope) {
    switch (scope) {
        case Scope::kEditor:
            return QStringLiteral("Everywhere");
        case Scope::kMainWindow:
            return QStringLiteral("Main window");
        case Scope::kView:
            return QStringLiteral("3D view");
    }
    return {};
}

}  // namespace y4
