// Steering the view without mouse modes: the wheel, the middle and right buttons (in device
// pixels, whatever the left button's mode), framing the selection and the model, the key table
// with the shortcuts actually installed and the list it shows, and the status line's counts.
#include <GL/glu.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QShortcut>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <map>
#include <set>

#include "EditorFixture.h"
#include "dialogs/CAttributesDialog.h"
#include "model/SceneBounds.h"
#include "shell/CShortcutsDialog.h"
#include "shell/CStatusLine.h"
#include "shell/ShortcutTable.h"
#include "shell/ViewMouse.h"
#include "shell/ViewNavigator.h"

namespace y4 {
namespace {

class EditorNavigationTest : public test::EditorFixture {
protected:
    static void wheel(CY4EditorDlg& window, int eighths) {
        CDrawFrame& frame = window.drawFrame();
        const QPointF p(100, 100);
        QWheelEvent event(p, frame.mapToGlobal(p), QPoint(), QPoint(0, eighths), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&frame, &event);
    }
    // How far the box's corners reach from the view's centre, as a share of its half width or
    // height, by the camera of the last frame; 2 when a corner is behind the eye.
    static double reach(const ViewRenderer& view, const SceneBox& box) {
        double farthest = 0;
        const int w = view.savedViewport[2];
        const int h = view.savedViewport[3];
        for (int corner = 0; corner < 8; ++corner) {
            double x = 0, y = 0, z = 0;
            gluProject(corner & 1 ? box.high[0] : box.low[0], corner & 2 ? box.high[1] : box.low[1],
                       corner & 4 ? box.high[2] : box.low[2], view.savedModelview,
                       view.savedProjection, view.savedViewport, &x, &y, &z);
            if (z < 0 || z > 1) {
                return 2;
            }
            farthest = std::max(
                {farthest, std::abs(x - w / 2.0) / (w / 2.0), std::abs(y - h / 2.0) / (h / 2.0)});
        }
        return farthest;
    }
};

TEST_F(EditorNavigationTest, TheWheelAndTheMiddleAndRightButtonsSteerTheCameraInAnyMode) {
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    Entity* lid = document.reader()->findEntityByName("Lid");
    document.selectRecord(lid);
    button(*window, "TranslateX").click();
    ViewRenderer& view = window->drawFrame().view();
    const TransformSettings& t = view.transform;
    const float lidX = lid->positionX;
    const long long frames = view.frameCount();

    // A notch away from the user zooms in as a zoom drag of 15 device pixels down would.
    const float z0 = view.cameraTranslation[2];
    wheel(*window, 120);
    EXPECT_FLOAT_EQ(view.cameraTranslation[2], z0 + 15 * 0.2f * t.viewZoomScale);
    wheel(*window, -240);
    EXPECT_NEAR(view.cameraTranslation[2], z0 - 15 * 0.2f * t.viewZoomScale, 1e-5);
    // Half a notch from a fine wheel.
    wheel(*window, 60);
    EXPECT_NEAR(view.cameraTranslation[2], z0 - 7.5f * 0.2f * t.viewZoomScale, 1e-5);

    // The middle button orbits as the view's Rotate mode, by device pixels.
    const float rx = view.cameraRotation[0];
    const float ry = view.cameraRotation[1];
    drag(*window, {{300, 200}, {330, 180}}, Qt::MiddleButton);
    EXPECT_NEAR(view.cameraRotation[0], rx - 20 * 0.2f * t.viewRotateScale, 1e-4);
    EXPECT_NEAR(view.cameraRotation[1], ry + 30 * 0.2f * t.viewRotateScale, 1e-4);
    // Shift with the middle button, and the right button, pan as the Move mode.
    const float x0 = view.cameraTranslation[0];
    const float y0 = view.cameraTranslation[1];
    drag(*window, {{300, 200}, {310, 220}}, Qt::MiddleButton, Qt::ShiftModifier);
    EXPECT_NEAR(view.cameraTranslation[0], x0 + 10 * 0.2f * t.viewMoveScale, 1e-5);
    EXPECT_NEAR(view.cameraTranslation[1], y0 - 20 * 0.2f * t.viewMoveScale, 1e-5);
    drag(*window, {{310, 220}, {300, 200}}, Qt::RightButton);
    EXPECT_NEAR(view.cameraTranslation[0], x0, 1e-5);
    EXPECT_NEAR(view.cameraTranslation[1], y0, 1e-5);
    EXPECT_EQ(view.cameraRotation[2], 0);

    // The left button's mode, its text and the selection stay; nothing was edited; each step
    // drew a frame.
    EXPECT_EQ(view.mouseMode, ViewMouse::kTranslateX);
    EXPECT_EQ(text(*window, "EditMode"), "TranslateX");
    EXPECT_EQ(lid->positionX, lidX);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.canUndo());
    EXPECT_GE(view.frameCount(), frames + 6);
    // A move without the button held (its release went elsewhere) ends the orbit.
    const float turned = view.cameraRotation[0];
    mouse(*window, QEvent::MouseButtonPress, 300, 200, Qt::MiddleButton);
    mouse(*window, QEvent::MouseMove, 350, 250, Qt::NoButton);
    mouse(*window, QEvent::MouseMove, 390, 280, Qt::MiddleButton);
    EXPECT_EQ(view.cameraRotation[0], turned);

    // Orthographic: the wheel and a zoom drag down narrow the box by the same steps, 0.5 and
    // 0.375 of the step each side, and stop at a tenth.
    button(*window, "Orthogonal").click();
    const ProjectionSettings& p = window->projectionSettings();
    const float left = p.orthogonal1;
    const float top = p.orthogonal4;
    wheel(*window, 120);
    const float f = 15 * 0.2f * t.viewZoomScale;
    EXPECT_NEAR(p.orthogonal1, left + f * 0.5f, 1e-5);
    EXPECT_NEAR(p.orthogonal4, top - f * 0.375f, 1e-5);
    button(*window, "Zoom").click();
    EXPECT_EQ(text(*window, "EditMode"), "ViewZoom");
    drag(*window, {{300, 100}, {300, 115}}, Qt::LeftButton);
    EXPECT_NEAR(p.orthogonal1, left + 2 * f * 0.5f, 1e-5);
    EXPECT_NEAR(p.orthogonal4, top - 2 * f * 0.375f, 1e-5);
    wheel(*window, 120 * 1000);
    EXPECT_FLOAT_EQ(p.orthogonal1, -0.1f);
    EXPECT_FLOAT_EQ(p.orthogonal2, 0.1f);
    EXPECT_FLOAT_EQ(p.orthogonal3, -0.1f);
    EXPECT_FLOAT_EQ(p.orthogonal4, 0.1f);
    EXPECT_NEAR(view.savedProjection[0], 10, 1e-4);
    EXPECT_NEAR(view.cameraTranslation[2], z0 - 7.5f * 0.2f * t.viewZoomScale, 1e-5);
}

TEST_F(EditorNavigationTest, FramingFillsTheViewWithTheSelectionOrTheWholeModel) {
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    ViewRenderer& view = window->drawFrame().view();
    const Reader& reader = *document.reader();
    Entity* lid = reader.findEntityByName("Lid");
    const std::optional<SceneBox> model = SceneBounds::ofModel(reader);
    ASSERT_TRUE(model.has_value());
    activate(*window);

    for (const char* projection : {"Perspective", "Orthogonal"}) {
        SCOPED_TRACE(projection);
        button(*window, projection).click();
        // Somewhere off to the side, turned, and far away.
        view.cameraTranslation[0] = 7;
        view.cameraTranslation[1] = -3;
        view.cameraTranslation[2] = -60;
        view.cameraRotation[0] = 200;
        view.cameraRotation[1] = 30;
        const std::array<float, 3> turn{view.cameraRotation[0], view.cameraRotation[1],
                                        view.cameraRotation[2]};

        document.selectRecord(lid);
        key(*window, Qt::Key_F);
        const SceneBox lidBox = SceneBounds::ofRecord(*lid);
        EXPECT_GT(reach(view, lidBox), 0.85);
        EXPECT_LE(reach(view, lidBox), 0.91);
        // The model reaches beyond the view now: the lid fills it.
        EXPECT_GT(reach(view, *model), reach(view, lidBox));
        EXPECT_EQ((std::array<float, 3>{view.cameraRotation[0], view.cameraRotation[1],
                                        view.cameraRotation[2]}),
                  turn);

        key(*window, Qt::Key_Home);
        EXPECT_GT(reach(view, *model), 0.85);
        EXPECT_LE(reach(view, *model), 0.91);
        const std::array<float, 3> whole{view.cameraTranslation[0], view.cameraTranslation[1],
                                         view.cameraTranslation[2]};
        // With nothing selected F frames the model too.
        document.select(kNoItem);
        view.cameraTranslation[2] = -60;
        key(*window, Qt::Key_F);
        EXPECT_EQ((std::array<float, 3>{view.cameraTranslation[0], view.cameraTranslation[1],
                                        view.cameraTranslation[2]}),
                  whole);
    }
    // Framing leaves the mode and the model alone.
    EXPECT_EQ(view.mouseMode, 0);
    EXPECT_FALSE(document.isModified());
}

TEST_F(EditorNavigationTest, EveryKeyHasOneActionAndTheListShowsThemAll) {
    const auto window = startWithCrate();
    // Keys of the table, the view's own keys among them: each once.
    std::map<QString, QString> owners;
    std::map<QString, const ShortcutTable::Row*> rows;
    for (const ShortcutTable::Row& row : ShortcutTable::rows()) {
        EXPECT_FALSE(row.keys.isEmpty()) << row.command.toStdString();
        EXPECT_TRUE(rows.emplace(row.command, &row).second) << row.command.toStdString();
        for (const QKeySequence& k : row.keys) {
            const auto [at, added] = owners.emplace(k.toString(), row.command);
            EXPECT_TRUE(added) << k.toString().toStdString() << " is " << at->second.toStdString()
                               << " and " << row.command.toStdString();
        }
    }
    // Every shortcut installed anywhere in the editor's windows is a row of the table with its
    // keys, and no key is installed twice or taken from the view.
    std::map<QString, QString> installed;
    for (const ShortcutTable::Row& row : ShortcutTable::rows()) {
        if (row.scope == ShortcutTable::Scope::kView) {
            for (const QKeySequence& k : row.keys) {
                installed.emplace(k.toString(), row.command);
            }
        }
    }
    std::set<QString> seen;
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>()) {
        const QString name = shortcut->objectName();
        ASSERT_TRUE(rows.count(name)) << "a shortcut outside the table: " << name.toStdString();
        EXPECT_EQ(shortcut->keys(), rows[name]->keys) << name.toStdString();
        seen.insert(name);
        for (const QKeySequence& k : shortcut->keys()) {
            EXPECT_TRUE(installed.emplace(k.toString(), name).second)
                << k.toString().toStdString() << " twice";
        }
    }
    for (const QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& k : action->shortcuts()) {
            EXPECT_TRUE(installed.emplace(k.toString(), action->text()).second)
                << k.toString().toStdString() << " twice";
        }
    }
    for (const ShortcutTable::Row& row : ShortcutTable::rows()) {
        EXPECT_EQ(seen.count(row.command), row.scope == ShortcutTable::Scope::kView ? 0u : 1u)
            << row.command.toStdString();
    }
    // The standard keys of the platform.
    EXPECT_EQ(owners[QKeySequence(QKeySequence::Open).toString()], "Load Y4 File");
    EXPECT_EQ(owners[QKeySequence(QKeySequence::Save).toString()], "Save Y4 File");
    EXPECT_EQ(owners["Ctrl+Z"], "Undo");
    EXPECT_EQ(owners["Ctrl+Y"], "Redo");
    EXPECT_EQ(owners["Ctrl+Shift+Z"], "Redo");

    // Single keys act in the main window, through the buttons they name.
    ModelDocument& document = window->document();
    activate(*window);
    key(*window, Qt::Key_E);
    EXPECT_TRUE(button(*window, "Wireframe").isChecked());
    key(*window, Qt::Key_1);
    EXPECT_EQ(text(*window, "EditMode"), "") << "TranslateX is disabled without a selection";
    document.selectRecord(document.reader()->findEntityByName("Lid"));
    key(*window, Qt::Key_1);
    EXPECT_EQ(text(*window, "EditMode"), "TranslateX");
    key(*window, Qt::Key_9);
    EXPECT_EQ(text(*window, "EditMode"), "ViewRotate");
    key(*window, Qt::Key_O);
    EXPECT_TRUE(button(*window, "Orthogonal").isChecked());
    EXPECT_EQ(window->projectionSettings().projectionMode, ProjectionSettings::kOrthogonal);

    // Ctrl+7 opens Attributes; typing there goes into its edit boxes, not to the main window.
    key(*window, Qt::Key_7, Qt::ControlModifier);
    CAttributesDialog& attributes = window->attributesDialog();
    ASSERT_TRUE(attributes.isVisible());
    EXPECT_FALSE(button(*window, "Attributes...").isEnabled());
    activate(attributes);
    QLineEdit* name = &test::box(attributes, "GroupName:");
    name->setFocus();
    const QString before = name->text();
    EXPECT_EQ(before, "Lid");  // the window's own document and selection
    key(*name, Qt::Key_S);
    key(*name, Qt::Key_P);
    EXPECT_EQ(name->text(), before + "sp");
    EXPECT_TRUE(button(*window, "Wireframe").isChecked());
    EXPECT_TRUE(button(*window, "Orthogonal").isChecked());
    // Ctrl+7 again, from anywhere, brings the open dialog forward.
    activate(*window);
    key(*window, Qt::Key_7, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&attributes));

    // F1 lists every row and the mouse's gestures, read-only.
    activate(*window);
    key(*window, Qt::Key_F1);
    auto* list = window->findChild<CShortcutsDialog*>();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    QTableWidget& table = list->table();
    ASSERT_EQ(table.rowCount(), static_cast<int>(ShortcutTable::rows().size()) + 3);
    EXPECT_EQ(table.item(0, 0)->text(), "Load Y4 File");
    EXPECT_EQ(table.item(0, 1)->text(),
              QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    EXPECT_EQ(table.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(table.item(table.rowCount() - 1, 1)->text(), "Shift+middle or right button drag");
    list->hide();
    // So does the status line's link.
    auto* link = window->findChild<QLabel*>("Keyboard shortcuts");
    ASSERT_NE(link, nullptr);
    QMetaObject::invokeMethod(link, "linkActivated", Q_ARG(QString, "#shortcuts"));
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(window->findChildren<CShortcutsDialog*>().size(), 1);
    list->hide();
}

TEST_F(EditorNavigationTest, TheStatusLineFollowsLoadsEditsUndoSelectionAndCommits) {
    const auto window = start();
    CStatusLine& status = window->statusLine();
    EXPECT_EQ(status.modelText(), "");
    EXPECT_FALSE(status.frameTimeCheck().isEnabled());
    load(*window, sample("CRATE.Y4P"));
    ModelDocument& document = window->document();
    const Reader& reader = *document.reader();
    const QString subEntities = QString::number(reader.subEntities.size());
    EXPECT_EQ(status.modelText(),
              "Groups 6  Sub-entities " + subEntities + "  Faces 48  Vertices 96  Textures 2");
    EXPECT_EQ(status.selectionText(), "");
    EXPECT_EQ(status.modifiedText(), "");

    // The selection's own counts: a group's through its descendants, a face's corners.
    Entity* root = reader.root();
    document.selectRecord(root);
    EXPECT_EQ(status.selectionText(),
              "Selected: Groups 6  Sub-entities " + subEntities + "  Faces 48  Vertices 96");
    Entity* lid = reader.findEntityByName("Lid");
    SubEntity* lidMesh = lid->subEntities[0];
    const QString lidFaces = QString::number(lidMesh->faces.size());
    const QString lidVertices = QString::number(lidMesh->vertices.size());
    document.selectRecord(lidMesh);
    EXPECT_EQ(status.selectionText(),
              "Selected: Sub-entities 1  Faces " + lidFaces + "  Vertices " + lidVertices);
    document.selectRecord(lidMesh->faces[0]);
    EXPECT_EQ(status.selectionText(), "Selected: Faces 1  Vertices 3");

    // An edit, its undo and redo.
    document.selectRecord(root);
    ASSERT_NE(document.addGroup(root), nullptr);
    EXPECT_TRUE(status.modelText().startsWith("Groups 7  "));
    EXPECT_TRUE(status.selectionText().startsWith("Selected: Groups 7  "));
    EXPECT_EQ(status.modifiedText(), "Modified");
    document.undo();
    EXPECT_TRUE(status.modelText().startsWith("Groups 6  "));
    EXPECT_EQ(status.modifiedText(), document.isModified() ? "Modified" : "");
    document.redo();
    EXPECT_TRUE(status.modelText().startsWith("Groups 7  "));

    // A deleted lid counts until the commit purges it.
    ASSERT_TRUE(document.toggleDeleted(lid));
    EXPECT_TRUE(status.modelText().contains("  Faces 48  "));
    document.select(kNoItem);
    EXPECT_EQ(status.selectionText(), "");
    test::testPrompt().expectQuestion("Are you sure you want to commit changes?", true);
    button(*window, "Commit Changes").click();
    EXPECT_TRUE(
        status.modelText().contains(QStringLiteral("  Faces %1  ").arg(48 - lidFaces.toInt())));

    // Frame times on request.
    EXPECT_EQ(status.frameTimeText(), "");
    status.frameTimeCheck().click();
    window->RenderScene();
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d\\d ms$").match(status.frameTimeText()).hasMatch())
        << status.frameTimeText().toStdString();
    status.frameTimeCheck().click();
    EXPECT_EQ(status.frameTimeText(), "");
}

}  // namespace
}  // namespace y4
