// CY4EditorApp: the editor's application object. It runs the main window until it ends, and it
// is the last guard of the event loop: an exception that escapes an event handler is reported
// ("Unhandled exception in Y4EditorDlg") and ends the program, instead of passing through Qt.
#pragma once

#include <QApplication>
#include <optional>
#include <string>

namespace y4 {

class CY4EditorDlg;

class CY4EditorApp : public QApplication {
    Q_OBJECT

public:
    CY4EditorApp(int& argc, char** argv);

    // Shows the main window over the user's settings, opens the model named by the first
    // argument if there is one, and runs the event loop until the window ends. Returns the
    // program's exit status.
    int InitInstance();
    // Where the first open dialog starts while no model was ever loaded; ignored when it does
    // not exist.
    void setSamplesFolder(std::string folder) { samplesFolder_ = std::move(folder); }

    bool notify(QObject* receiver, QEvent* event) override;

    // The model named by the program's arguments ("y4editor FILE"), by its full path as the
    // open dialog would give it; nothing without one.
    static std::optional<std::string> modelArgument(const QStringList& arguments);

private:
    std::string samplesFolder_;
    // The main window while it runs: the catch-all keeps its model.
    CY4EditorDlg* dialog_ = nullptr;
};

}  // namespace y4
