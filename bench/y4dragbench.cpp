// y4dragbench: times one drag step through the editor's view, as y4bench asks it to in a
// process of its own: the main window opens the model, an entity below the root is selected and
// "TranslateX" chosen, and each step is a mouse move sent to the view, handled, transformed
// through the document and drawn, until the GL has finished the frame. A second drag moves the
// vertices of one sub-entity, whose arrays are rebuilt. Needs an X server (bench/run starts
// Xvfb when there is none). Prints "view_drag_step <seconds>" and "view_drag_vertices
// <seconds>", each the median of its steps, and "view_frame <seconds>", the median time of a
// frame of the same window drawn without a mouse event.
#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "document/ModelDocument.h"
#include "shell/CY4EditorDlg.h"
#include "shell/QSettingsStore.h"
#include "view/CDrawFrame.h"

namespace {

using Clock = std::chrono::steady_clock;

void mouse(y4::CDrawFrame& frame, QEvent::Type type, int x, int y) {
    const QPointF p = QPointF(x, y) / frame.devicePixelRatio();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, p, frame.mapToGlobal(p), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&frame, &event);
}

double median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return seconds.empty() ? 0.0 : seconds[seconds.size() / 2];
}

// The median time of `frames` frames drawn in the window as it stands: the step's yardstick.
double frame(y4::CY4EditorDlg& window, int frames) {
    std::vector<double> seconds;
    for (int k = 0; k < frames; ++k) {
        const auto start = Clock::now();
        window.RenderScene();
        window.drawFrame().finishFrames();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    return median(seconds);
}

// The median time of `steps` mouse steps of one drag, back and forth across the view's centre.
double dragStep(y4::CY4EditorDlg& window, int steps) {
    y4::CDrawFrame& frame = window.drawFrame();
    const int x = frame.view().viewportWidth() / 2;
    const int y = frame.view().viewportHeight() / 2;
    mouse(frame, QEvent::MouseButtonPress, x, y);
    frame.finishFrames();
    std::vector<double> seconds;
    for (int k = 0; k < steps; ++k) {
        const auto start = Clock::now();
        mouse(frame, QEvent::MouseMove, x + (k % 2 == 0 ? 8 : 0), y);
        frame.finishFrames();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    mouse(frame, QEvent::MouseButtonRelease, x, y);
    return median(seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: y4dragbench MODEL STEPS\n");
        return 2;
    }
    const std::string path = argv[1];
    const int steps = std::max(1, std::atoi(argv[2]));
    // The off-screen platform's notes would only clutter the benchmark's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "y4dragbench: %s\n", qPrintable(text));
        }
    });
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string ini =
        (folder / ("y4dragbench." + std::to_string(getpid()) + ".ini")).string();
    int status = EXIT_SUCCESS;
    {
        y4::QSettingsStore store(ini);
        y4::CY4EditorDlg window(store, (folder / "y4dragbench.log").string());
        window.resize(1000, 720);
        window.show();
        if (!window.waitForView() || !window.openModel(path)) {
            std::fprintf(stderr, "y4dragbench: %s could not be opened in the view\n", path.c_str());
            status = EXIT_FAILURE;
        } else {
            y4::ModelDocument& document = window.document();
            y4::Entity* moved = document.reader()->root();
            if (moved != nullptr && !moved->children.empty()) {
                moved = moved->children.front();
            }
            document.selectRecord(moved);
            std::printf("view_frame %.9f\n", frame(window, steps));
            window.OnButtonTranslate(0);
            std::printf("view_drag_step %.9f\n", dragStep(window, steps));
            // The first sub-entity of the model: its vertices move, their arrays are rebuilt.
            if (!document.reader()->subEntities.empty()) {
                document.selectRecord(document.reader()->subEntities.front());
                window.OnButtonTranslate(0);
                std::printf("view_drag_vertices %.9f\n", dragStep(window, steps));
            }
        }
        // The window goes without asking to save.
    }
    std::filesystem::remove(ini);
    return status;
}
