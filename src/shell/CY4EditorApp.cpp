// CY4EditorApp: the run of the main window and the catch-all around event delivery.
#include "shell/CY4EditorApp.h"

#include <QFile>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "platform/Prompt.h"
#include "shell/CY4EditorDlg.h"
#include "shell/QSettingsStore.h"
#include "shell/QtPrompt.h"

namespace y4 {

CY4EditorApp::CY4EditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Y4Editor"));
    setOrganizationName(QStringLiteral("Miscellaneous"));
}

int CY4EditorApp::InitInstance() {
    QtPrompt qtPrompt;
    Prompt* const previous = installPrompt(&qtPrompt);
    int status = EXIT_SUCCESS;
    {
        QSettingsStore store;
        CY4EditorDlg dialog(store, "Y4Editor.log");
        dialog_ = &dialog;
        qtPrompt.setParentWindow(&dialog);
        if (std::error_code error; std::filesystem::is_directory(samplesFolder_, error)) {
            dialog.setSamplesFolder(samplesFolder_);
        }
        connect(&dialog, &QDialog::finished, this, [] { QCoreApplication::exit(EXIT_SUCCESS); });
        dialog.show();
        // Opened from the event loop, as a model chosen in the open dialog is: a long load's
        // progress window then comes and goes like any other window.
        if (const std::optional<std::string> model = modelArgument(arguments())) {
            QTimer::singleShot(0, &dialog, [&dialog, path = *model] { dialog.openModel(path); });
        }
        status = exec();
        dialog_ = nullptr;
    }
    installPrompt(previous);
    return status;
}

std::optional<std::string> CY4EditorApp::modelArgument(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1].isEmpty()) {
        return std::nullopt;
    }
    // Known by its full path, as a file chosen in the open dialog is; the bytes of the name as
    // the file system has them.
    std::error_code error;
    const std::filesystem::path given = QFile::encodeName(arguments[1]).toStdString();
    const std::filesystem::path full = std::filesystem::absolute(given, error);
    return (error ? given : full).string();
}

bool CY4EditorApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        // Every event loop of the program ends with this one, nested ones (an open message
        // box) included; the main window then runs its exit steps as it is destroyed.
        static bool reported = false;
        if (!reported) {
            reported = true;
            // The model is kept under a new name before anything else can go wrong.
            if (dialog_) {
                dialog_->writeCrashCopy();
            }
            prompt().showMessage("Unhandled exception in Y4EditorDlg", MessageIcon::Exclamation);
        }
        QCoreApplication::exit(EXIT_FAILURE);
        return false;
    }
}

}  // namespace y4
