// The main window without a model, over a settings file in a temporary folder: the start-up
// state with every caption a screen reader can find and the tool dialogs' buttons, the stored
// settings it loads, the projection pair, the ways to end the window, and the application's
// catch-all around the event loop.
#include <QCheckBox>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <cstdlib>
#include <set>

#include "EditorFixture.h"
#include "shell/CViewArea.h"

namespace y4 {
namespace {

using test::findOneByAccessibleName;
using test::testPrompt;

class CY4EditorDlgTest : public test::EditorFixture {
protected:
    static void press(QWidget& target, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    }
};

TEST_F(CY4EditorDlgTest, StartsWithOnlyLoadAndExitUsableAndEveryCaptionNamed) {
    const auto window = make();
    EXPECT_EQ(window->windowTitle(), "Y4Editor v1.0F");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_TRUE(TraceLog::global().isOpen());
    EXPECT_TRUE(std::filesystem::exists(dir_.file("Y4Editor.log")));

    std::set<std::string> enabled;
    for (QAbstractButton* control : window->findChildren<QAbstractButton*>()) {
        if (control->window() == window.get() && control->isEnabled()) {
            enabled.insert(control->text().toStdString());
        }
    }
    EXPECT_EQ(enabled, (std::set<std::string>{"Load Y4 File", "Exit"}));

    EXPECT_EQ(window->gridSettings().gridSpacing, 2.0f);
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kPerspective);
    EXPECT_TRUE(button(*window, "Perspective").isChecked());
    EXPECT_FALSE(button(*window, "Orthogonal").isChecked());
    EXPECT_TRUE(button(*window, "Solid").isChecked());
    EXPECT_TRUE(button(*window, "Vertices").isChecked());
    EXPECT_FALSE(button(*window, "Normals").isChecked());
    EXPECT_EQ(window->displaySettings(), DisplaySettings::defaults(false));
    EXPECT_EQ(window->transformSettings(), TransformSettings{});

    // Every caption is found by its accessible name.
    for (const char* caption :
         {"Load Y4 File",   "Save Y4 File",  "Commit Changes", "Discard Changes", "Exit",
          "Textured",       "Solid",         "Wireframe",      "Vertices",        "Normals",
          "Perspective",    "Orthogonal",    "TranslateX",     "TranslateY",      "TranslateZ",
          "RotateX",        "RotateY",       "RotateZ",        "ScaleX",          "ScaleY",
          "ScaleZ",         "StretchX",      "StretchY",       "StretchZ",        "Move",
          "Zoom",           "Rotate",        "CentX",          "CentY",           "CentZ",
          "FlipX",          "FlipY",         "FlipZ",          "Objects...",      "Textures...",
          "Display...",     "Transforms...", "Grids...",       "Projections...",  "Attributes...",
          "WindowSpace:",   "ObjectSpace:",  "EntitySpace:",   "EditMode",        "PickMode",
          "Selected Object"}) {
        EXPECT_NE(findOneByAccessibleName(*window, caption), nullptr) << caption;
    }
    // The readouts show "n/a" until the mouse moves over a model; the mode texts are empty
    // and disabled.
    for (const char* readout : {"WindowSpace:", "ObjectSpace:", "EntitySpace:"}) {
        auto* value = window->findChild<QLabel*>(readout);
        ASSERT_NE(value, nullptr) << readout;
        EXPECT_EQ(value->text(), "n/a");
    }
    for (const char* text : {"EditMode", "PickMode", "Selected Object"}) {
        auto* label = findOneByAccessibleName<QLabel>(*window, text);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->text().isEmpty());
        EXPECT_FALSE(label->isEnabled());
    }

    // The object tree window is up, so its button waits for it to close.
    QDialog* tree = shownWindow("Object Tree Hierarchy");
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(button(*window, "Objects...").isEnabled());
    findOneByAccessibleName<QPushButton>(*tree, "Close")->click();
    EXPECT_FALSE(tree->isVisible());
    EXPECT_TRUE(button(*window, "Objects...").isEnabled());
    // So do the other tool windows' buttons, which a model enables.
    const struct {
        const char* button;
        const char* title;
    } tools[] = {{"Textures...", "Textures"},
                 {"Display...", "Display Properties"},
                 {"Transforms...", "Transform Properties"},
                 {"Grids...", "Grid Properties"},
                 {"Projections...", "Projection Properties"},
                 {"Attributes...", "Attributes"}};
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool.button);
        QAbstractButton& opener = button(*window, tool.button);
        opener.click();
        EXPECT_EQ(shownWindow(tool.title), nullptr);  // disabled without a model
        opener.setEnabled(true);                      // as a loaded model enables it
        opener.click();
        QDialog* dialog = shownWindow(tool.title);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(opener.isEnabled());
        findOneByAccessibleName<QPushButton>(*dialog, "Close")->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(opener.isEnabled());
    }

    // The view keeps 4:3 whatever the window's shape.
    for (const QSize size : {QSize(1200, 700), QSize(800, 1000), QSize(1400, 900)}) {
        window->resize(size);
        window->show();
        QApplication::processEvents();
        const QSize view = window->viewArea().view()->size();
        EXPECT_NEAR(view.width() * 3.0 / 4.0, view.height(), 1.0) << view.width();
        EXPECT_GT(view.width(), 300);
    }
    EXPECT_TRUE(testPrompt().shown.empty());
}

TEST_F(CY4EditorDlgTest, StoredSettingsAreLoadedAndTheProjectionPairFollowsThem) {
    store_.set("gridSpacing", "0.5");
    store_.set("ambientR", "0.25");
    store_.set("viewZoomScale", "3");
    store_.set("orthogonal1", "-20");
    store_.set("projectionMode", "2");
    const auto window = make();
    EXPECT_EQ(window->gridSettings().gridSpacing, 0.5f);
    EXPECT_EQ(window->displaySettings().ambientR, 0.25f);
    EXPECT_EQ(window->transformSettings().viewZoomScale, 3.0f);
    EXPECT_EQ(window->projectionSettings().orthogonal1, -20.0f);
    // A saved orthogonal projection is shown as such, not hidden behind a checked Perspective.
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kOrthogonal);
    QAbstractButton& perspective = button(*window, "Perspective");
    QAbstractButton& orthogonal = button(*window, "Orthogonal");
    EXPECT_TRUE(orthogonal.isChecked());
    EXPECT_FALSE(perspective.isChecked());

    perspective.setEnabled(true);
    orthogonal.setEnabled(true);
    perspective.click();
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kPerspective);
    EXPECT_FALSE(orthogonal.isChecked());
    perspective.click();  // the chosen projection stays chosen
    EXPECT_TRUE(perspective.isChecked());
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kPerspective);
    orthogonal.click();
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kOrthogonal);
    EXPECT_FALSE(perspective.isChecked());
    EXPECT_EQ(window->projectionSettings().orthogonal1, -20.0f);

    window->enableTransformButtons(true);
    for (const char* caption : {"TranslateX", "RotateY", "ScaleZ"}) {
        EXPECT_TRUE(button(*window, caption).isEnabled()) << caption;
    }
    for (const char* caption : {"StretchX", "StretchY", "StretchZ"}) {
        EXPECT_FALSE(button(*window, caption).isEnabled()) << caption;
    }
}

TEST_F(CY4EditorDlgTest, EscapeEnterCloseAndExitEndTheWindow) {
    const struct {
        const char* way;
        std::function<void(CY4EditorDlg&)> end;
        int result;
    } ways[] = {
        {"Exit", [](CY4EditorDlg& w) { button(w, "Exit").click(); }, QDialog::Rejected},
        {"Escape", [](CY4EditorDlg& w) { press(w, Qt::Key_Escape); }, QDialog::Rejected},
        {"Enter on a check box",
         [](CY4EditorDlg& w) {
             QAbstractButton& vertices = button(w, "Vertices");
             vertices.setEnabled(true);
             press(vertices, Qt::Key_Return);
         },
         QDialog::Accepted},
        {"close", [](CY4EditorDlg& w) { w.close(); }, QDialog::Rejected},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const auto window = make();
        window->show();
        QAbstractButton& grids = button(*window, "Grids...");
        grids.setEnabled(true);
        grids.click();
        QPointer<QDialog> grid = shownWindow("Grid Properties");
        QPointer<QDialog> tree = shownWindow("Object Tree Hierarchy");
        ASSERT_TRUE(grid && tree);
        int finished = -1;
        QObject::connect(window.get(), &QDialog::finished, [&finished](int r) { finished = r; });

        way.end(*window);
        EXPECT_EQ(finished, way.result);
        EXPECT_FALSE(window->isVisible());
        // The tool dialogs are gone and gave their buttons back; the log is closed.
        EXPECT_TRUE(grid.isNull());
        EXPECT_TRUE(tree.isNull());
        EXPECT_TRUE(grids.isEnabled());
        EXPECT_FALSE(TraceLog::global().isOpen());
    }

    // Enter on a push button is that button's.
    const auto window = make();
    int finished = 0;
    QObject::connect(window.get(), &QDialog::finished, [&finished] { ++finished; });
    QAbstractButton& display = button(*window, "Display...");
    display.setEnabled(true);
    press(display, Qt::Key_Return);
    EXPECT_EQ(finished, 0);
    EXPECT_NE(shownWindow("Display Properties"), nullptr);
}

// Throws from its event handler, as a faulty command would.
class Faulty : public QObject {
protected:
    bool event(QEvent*) override { throw std::runtime_error("faulty command"); }
};

TEST_F(CY4EditorDlgTest, AnExceptionFromAnEventHandlerIsReportedAndEndsTheLoop) {
    auto& app = test::guiApplication<CY4EditorApp>();
    Faulty faulty;
    QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
    // Should the exception be lost, this ends the loop with another status.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    testPrompt().expectMessage("Unhandled exception in Y4EditorDlg");
    EXPECT_EQ(app.exec(), EXIT_FAILURE);
}

}  // namespace
}  // namespace y4
