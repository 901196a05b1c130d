// EditorFixture: the main window over a settings file and the bundled samples copied into a
// test's temporary folder, shown with its GL view, and the ways a test drives it: buttons by
// caption (the dialogs' tests' driver finds any control), loads through the open dialog, modal
// dialogs answered, synthetic mouse events on the view at device pixels, keys, and the trace log
// as lines.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs/DialogDriver.h"
#include "document/ModelDocument.h"
#include "platform/TraceLog.h"
#include "shell/CY4EditorApp.h"
#include "shell/CY4EditorDlg.h"
#include "shell/QSettingsStore.h"
#include "support/GuiApplication.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"
#include "view/CDrawFrame.h"

namespace y4::test {

class EditorFixture : public testing::Test {
protected:
    EditorFixture() : store_(dir_.file("Y4Editor.ini")) {
        guiApplication<CY4EditorApp>();
        for (const auto& entry : std::filesystem::directory_iterator(Y4_SAMPLES_DIR)) {
            dir_.write(entry.path().filename().string(), TempDir::read(entry.path().string()));
        }
    }

    // The window, not yet shown.
    std::unique_ptr<CY4EditorDlg> make() {
        return std::make_unique<CY4EditorDlg>(store_, dir_.file("Y4Editor.log"));
    }
    // The window, shown at a fixed size with its view ready.
    std::unique_ptr<CY4EditorDlg> start() {
        auto window = make();
        window->resize(1000, 720);
        window->show();
        EXPECT_TRUE(window->waitForView());
        QApplication::processEvents();
        return window;
    }

    // A sample's copy in the test's folder.
    std::string sample(const std::string& name) const { return dir_.file(name); }

    // The window with CRATE.Y4P loaded and drawn.
    std::unique_ptr<CY4EditorDlg> startWithCrate() {
        auto window = start();
        load(*window, sample("CRATE.Y4P"));
        window->RenderScene();
        return window;
    }

    // "Load Y4 File" answered with `path`.
    static void load(CY4EditorDlg& window, const std::string& path) {
        testPrompt().expectFileDialog(path);
        button(window, "Load Y4 File").click();
    }

    static QAbstractButton& button(CY4EditorDlg& window, const char* caption) {
        return control<QAbstractButton>(window, caption);
    }
    // The visible tool window captioned `title`, or null.
    static QDialog* shownWindow(const QString& title) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible() && dialog->windowTitle() == title) {
                return dialog;
            }
        }
        return nullptr;
    }

    static QString text(CY4EditorDlg& window, const char* name) {
        auto* label = window.findChild<QLabel*>(name);
        return label == nullptr ? QStringLiteral("?") : label->text();
    }

    // A mouse event on the view at device pixel (x, y), y downwards: `button` pressed, released,
    // or held while moving (Qt::NoButton: a move with none held).
    static void mouse(CY4EditorDlg& window, QEvent::Type type, int x, int y,
                      Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        CDrawFrame& frame = window.drawFrame();
        const QPointF p = QPointF(x, y) / frame.devicePixelRatio();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
        QMouseEvent event(type, p, frame.mapToGlobal(p), changed, held, modifiers);
        QApplication::sendEvent(&frame, &event);
    }
    // A press at the first point, moves to each further point, a release at the last.
    static void drag(CY4EditorDlg& window, const std::vector<QPoint>& points,
                     Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(window, QEvent::MouseButtonPress, points.front().x(), points.front().y(), button,
              modifiers);
        for (std::size_t k = 1; k < points.size(); ++k) {
            mouse(window, QEvent::MouseMove, points[k].x(), points[k].y(), button, modifiers);
        }
        mouse(window, QEvent::MouseButtonRelease, points.back().x(), points.back().y(), button,
              modifiers);
    }
    static void key(QWidget& target, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&target, k, modifiers);
    }
    static void activate(QWidget& window) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    static void withModal(const std::function<void()>& open,
                          const std::function<void(QDialog&)>& answer) {
        test::withModal(open, answer);
    }

    // The trace log's lines so far; the log gathers them in a buffer until asked.
    std::vector<std::string> logLines() const {
        TraceLog::global().flush();
        std::string text = TempDir::read(dir_.file("Y4Editor.log"));
        text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }

    TempDir dir_;
    QSettingsStore store_;
};

}  // namespace y4::test
