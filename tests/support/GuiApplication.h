// The one Qt application of a GUI test program: made on first use and kept until the program
// ends, so every test of the program shares it. A program may ask for its own application class
// (the editor's), as long as it always asks for the same one.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QList>
#include <QString>
#include <QWidget>

namespace y4::test {

template <class App = QApplication>
App& guiApplication() {
    static int argc = 1;
    static char name[] = "y4_gui_tests";
    static char* argv[] = {name, nullptr};
    // Never deleted: widgets of a failed test may outlive it.
    static App* const app = new App(argc, argv);
    return *app;
}

// What a screen reader calls the widget.
inline QString accessibleNameOf(QWidget& widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&widget);
    return face == nullptr ? QString() : face->text(QAccessible::Name);
}

// The widgets of type W in `window` itself (not in the windows it owns) named `name` for screen
// readers.
template <class W = QWidget>
QList<W*> findByAccessibleName(QWidget& window, const QString& name) {
    QList<W*> found;
    for (W* widget : window.findChildren<W*>()) {
        if (widget->window() == &window && accessibleNameOf(*widget) == name) {
            found.push_back(widget);
        }
    }
    return found;
}

// The one such widget; null when there is none or more than one.
template <class W = QWidget>
W* findOneByAccessibleName(QWidget& window, const QString& name) {
    const QList<W*> found = findByAccessibleName<W>(window, name);
    return found.size() == 1 ? found.front() : nullptr;
}

}  // namespace y4::test
