// The main window's view through synthetic mouse events and keys: drags that move and turn the
// selection as one undo step, undo and redo keys from any window, the zoom's limit, the scale,
// centre and flip commands, the camera keys, the readouts' formats, and picking with its
// chooser.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <cmath>
#include <functional>

#include "EditorFixture.h"
#include "dialogs/CChooseVertexDialog.h"
#include "dialogs/CObjectTreeDialog.h"
#include "dialogs/CProjectionPropertiesDialog.h"
#include "shell/ViewMouse.h"
#include "support/SceneDump.h"
#include "view/SceneRenderer.h"

namespace y4 {
namespace {

using test::testPrompt;

class EditorViewTest : public test::EditorFixture {
protected:
    // The window with CRATE.Y4P loaded and `record` of it selected.
    std::unique_ptr<CY4EditorDlg> startWithCrate() {
        auto window = start();
        load(*window, sample("CRATE.Y4P"));
        window->RenderScene();
        return window;
    }
    static Entity* entity(CY4EditorDlg& window, const char* name) {
        return window.document().reader()->findEntityByName(name);
    }
    static void key(QWidget& target, int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&target, static_cast<Qt::Key>(k), modifiers);
    }
};

TEST_F(EditorViewTest, ATranslateDragMovesOnlyTheSelectedEntityAsOneUndoStep) {
    store_.set("translateXScale", "2");
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    Entity* lid = entity(*window, "Lid");
    document.selectRecord(lid);
    button(*window, "TranslateX").click();
    EXPECT_EQ(text(*window, "EditMode"), "TranslateX");
    const std::string before = test::SceneDump::text(*document.reader());
    const float x0 = lid->positionX;
    const float y0 = lid->positionY;
    const float z0 = lid->positionZ;

    // Each step moves by the unprojected distance times the factor.
    const std::vector<QPoint> path = {{300, 200}, {320, 205}, {350, 190}};
    const ViewRenderer& view = window->drawFrame().view();
    float expected = x0;
    for (std::size_t k = 1; k < path.size(); ++k) {
        const double from = view.unprojectMouse(path[k - 1].x(), path[k - 1].y())[0];
        const double to = view.unprojectMouse(path[k].x(), path[k].y())[0];
        expected += static_cast<float>((to - from) * 2.0f);
    }
    drag(*window, path);
    EXPECT_NEAR(lid->positionX, expected, 1e-5);
    EXPECT_NE(lid->positionX, x0);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.undoName(), "Translate");
    // Nothing else moved: with the lid's move taken back by hand (its flag of the step, and
    // the zeros the step added to its other two components, which turn -0 into 0) the scene
    // is as it was.
    const float moved[3] = {lid->positionX, lid->positionY, lid->positionZ};
    const auto changed = lid->changed;
    lid->positionX = x0;
    lid->positionY = y0;
    lid->positionZ = z0;
    lid->changed = 0;
    document.reader()->computeWorldPositions();
    EXPECT_EQ(test::SceneDump::text(*document.reader()), before);
    lid->positionX = moved[0];
    lid->positionY = moved[1];
    lid->positionZ = moved[2];
    lid->changed = changed;
    document.reader()->computeWorldPositions();

    // Ctrl+Z, from the main window or any tool window, puts it back: the whole drag, and only
    // the lid; Ctrl+Shift+Z and Ctrl+Y move it again.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    key(*window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(test::SceneDump::text(*document.reader()), before);
    EXPECT_FALSE(document.canUndo());
    key(*window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NEAR(lid->positionX, expected, 1e-5);
    CObjectTreeDialog& tree = window->objectTreeDialog();
    tree.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tree));
    key(tree.treeView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(lid->positionX, x0);
    key(tree, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_NEAR(lid->positionX, expected, 1e-5);

    // A click without moving is a step of no length that still marks the model modified.
    document.undo();
    ASSERT_FALSE(document.isModified());
    button(*window, "TranslateX").click();
    drag(*window, {{200, 200}});
    EXPECT_FLOAT_EQ(lid->positionX, x0);
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(button(*window, "Commit Changes").isEnabled());
    EXPECT_TRUE(button(*window, "Discard Changes").isEnabled());
}

TEST_F(EditorViewTest, RotateAndScaleCommandsAndTheCamera) {
    store_.set("scaleXScale", "2");
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    Entity* lid = entity(*window, "Lid");
    document.selectRecord(lid);

    // RotateX: 50 pixels to the left are 10 degrees about X, which is rotateY.
    button(*window, "RotateX").click();
    const float turned = lid->rotateY;
    drag(*window, {{300, 200}, {250, 200}});
    EXPECT_NEAR(lid->rotateY - turned, 0.17453292f, 1e-6);
    EXPECT_EQ(window->viewMouse().dragRotate()[1], 10.0f);

    // ScaleX at once: the lid's position and its vertices, not their normals.
    const float x = lid->positionX;
    Vertex* corner = lid->subEntities[0]->vertices[0];
    const float cornerX = corner->X;
    const float normalX = corner->normalX;
    button(*window, "ScaleX").click();
    EXPECT_EQ(text(*window, "EditMode"), "ScaleX");
    EXPECT_FLOAT_EQ(lid->positionX, 2 * x);
    EXPECT_FLOAT_EQ(corner->X, 2 * cornerX);
    EXPECT_FLOAT_EQ(corner->normalX, normalX);
    EXPECT_EQ(document.undoName(), "Scale");

    // Centre and flip.
    ViewRenderer& view = window->drawFrame().view();
    view.cameraTranslation[0] = 1;
    view.cameraTranslation[1] = 2;
    const float distance = view.cameraTranslation[2];
    const struct {
        const char* caption;
        float rotX, rotY;
    } cents[] = {{"CentX", 180, 90}, {"CentY", 270, 90}, {"CentZ", 180, 0}};
    for (const auto& cent : cents) {
        button(*window, cent.caption).click();
        EXPECT_EQ(view.cameraRotation[0], cent.rotX) << cent.caption;
        EXPECT_EQ(view.cameraRotation[1], cent.rotY) << cent.caption;
        EXPECT_EQ(view.cameraRotation[2], 0) << cent.caption;
        EXPECT_EQ(view.cameraTranslation[0], 0);
        EXPECT_EQ(view.cameraTranslation[1], 0);
        EXPECT_EQ(view.cameraTranslation[2], distance);
    }
    button(*window, "FlipX").click();
    EXPECT_EQ(view.cameraRotation[1], 180);
    button(*window, "FlipZ").click();
    EXPECT_EQ(view.cameraRotation[1], 360);
    button(*window, "FlipY").click();
    button(*window, "FlipY").click();
    EXPECT_EQ(view.cameraRotation[0], 540);

    // The camera keys in the view: 4 degrees times the rotation factor.
    CDrawFrame& frame = window->drawFrame();
    key(frame, Qt::Key_A);
    EXPECT_EQ(view.cameraRotation[0], 544);
    EXPECT_EQ(view.cameraRotation[1], 0);
    key(frame, Qt::Key_Q);
    EXPECT_EQ(view.cameraRotation[1], -4);
    EXPECT_EQ(view.cameraRotation[0], 0);
    key(frame, Qt::Key_W);
    key(frame, Qt::Key_Z);
    EXPECT_EQ(view.cameraRotation[0], -4);
}

TEST_F(EditorViewTest, TheOrthographicZoomStopsAtATenthOnEachSide) {
    const auto window = startWithCrate();
    button(*window, "Orthogonal").click();
    button(*window, "Zoom").click();
    EXPECT_EQ(text(*window, "EditMode"), "ViewZoom");
    // Dragging down narrows the box, by 0.5 and 0.375 per step of the zoom factor.
    drag(*window, {{300, 100}, {300, 110}});
    const ProjectionSettings& p = window->projectionSettings();
    EXPECT_NEAR(p.orthogonal1, -10.24 + 2 * 0.3 * 0.5, 1e-5);
    EXPECT_NEAR(p.orthogonal4, 7.68 - 2 * 0.3 * 0.375, 1e-5);
    drag(*window, {{300, 0}, {300, 5000}});
    EXPECT_FLOAT_EQ(p.orthogonal1, -0.1f);
    EXPECT_FLOAT_EQ(p.orthogonal2, 0.1f);
    EXPECT_FLOAT_EQ(p.orthogonal3, -0.1f);
    EXPECT_FLOAT_EQ(p.orthogonal4, 0.1f);
    EXPECT_NEAR(window->drawFrame().view().savedProjection[0], 10, 1e-4);
}

TEST_F(EditorViewTest, TheReadoutsShowFileCoordinatesFromTheBottomLeftCorner) {
    const auto window = startWithCrate();
    const ViewRenderer& view = window->drawFrame().view();
    const int h = view.viewportHeight();
    mouse(*window, QEvent::MouseMove, 0, h, Qt::NoButton);
    EXPECT_EQ(text(*window, "WindowSpace:"), " 0.00,  0.00");
    EXPECT_EQ(text(*window, "EntitySpace:"), "n/a");
    const std::array<double, 3> p = view.unprojectMouse(0, h);
    char expected[96];
    std::snprintf(expected, sizeof expected, "%5.2f, %5.2f, %5.2f", -p[0], -p[1], -p[2]);
    EXPECT_EQ(text(*window, "ObjectSpace:"), expected);

    // With a selection, the pointer's offset from its world position.
    Entity* lid = entity(*window, "Lid");
    window->document().selectRecord(lid);
    mouse(*window, QEvent::MouseMove, 120, h - 35, Qt::NoButton);
    EXPECT_EQ(text(*window, "WindowSpace:"), "120.00, 35.00");
    const std::array<double, 3> q = view.unprojectMouse(120, h - 35);
    const double* a = lid->absolutePosition;
    std::snprintf(expected, sizeof expected, "%5.2f, %5.2f, %5.2f", a[0] - q[0], a[1] - q[1],
                  a[2] - q[2]);
    EXPECT_EQ(text(*window, "EntitySpace:"), expected);
    // Outside the view nothing changes.
    mouse(*window, QEvent::MouseMove, -3, h - 35, Qt::NoButton);
    EXPECT_EQ(text(*window, "WindowSpace:"), "120.00, 35.00");
}

TEST_F(EditorViewTest, PickingSelectsOneCandidateAndOffersSeveralInTheChooser) {
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    SubEntity* body = entity(*window, "Body")->subEntities[0];
    // Body's corner at file (1, -0.7, 0.7) is listed three times, once per side.
    Vertex* corner[] = {body->vertices[0], body->vertices[14], body->vertices[17]};
    window->OnButtonPickVertex();
    EXPECT_EQ(text(*window, "PickMode"), "Vertex");
    EXPECT_EQ(text(*window, "EditMode"), "");
    const SceneRenderer* renderer = window->sceneRenderer();
    ASSERT_NE(renderer, nullptr);
    const auto drawn = renderer->windowPositions().findVertex(corner[0]);
    ASSERT_TRUE(drawn);
    const int x = static_cast<int>(std::lround((*drawn)[0]));
    const int y =
        window->drawFrame().view().viewportHeight() - static_cast<int>(std::lround((*drawn)[1]));
    const auto click = [&] { drag(*window, {{x, y}}); };

    // Three candidates: the chooser lists them in vertex-list order and each choice is the
    // picked vertex at once; Cancel clears the highlighting and the selection.
    withModal(click, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Choose Vertex");
        auto* list = dialog.findChild<QComboBox*>("Vertex List");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->itemText(0), "Body; SubEntity[0]; Vertex[0]");
        EXPECT_EQ(list->itemText(1), "Body; SubEntity[0]; Vertex[14]");
        EXPECT_EQ(list->itemText(2), "Body; SubEntity[0]; Vertex[17]");
        EXPECT_EQ(document.selectedRecord(), corner[0]);
        list->setCurrentIndex(2);
        EXPECT_EQ(document.selectedRecord(), corner[2]);
        EXPECT_EQ(corner[2]->faces[0]->marked, 1);
        EXPECT_EQ(corner[0]->faces[0]->marked, 0);
        dialog.findChild<QPushButton*>("Cancel")->click();
    });
    EXPECT_EQ(document.selectedRecord(), nullptr);
    for (const Face* f : document.reader()->faces) {
        EXPECT_EQ(f->marked, 0);
    }
    withModal(click, [](QDialog& dialog) {
        dialog.findChild<QComboBox*>("Vertex List")->setCurrentIndex(1);
        dialog.findChild<QPushButton*>("Select")->click();
    });
    EXPECT_EQ(document.selectedRecord(), corner[1]);
    EXPECT_EQ(text(*window, "Selected Object"), QString::fromStdString([&] {
                  std::string path;
                  corner[1]->appendPathName(path);
                  return path;
              }()));

    // With two of them switched off, one is left: selected at once, its faces highlighted.
    document.setDisplayed(corner[0], false);
    document.setDisplayed(corner[2], false);
    document.select(kNoItem);
    click();
    EXPECT_EQ(document.selectedRecord(), corner[1]);
    EXPECT_EQ(document.selectedItem(), corner[1]->treeItems.back());
    for (const Face* f : corner[1]->faces) {
        EXPECT_EQ(f->marked, 1);
    }
    EXPECT_EQ(document.reader()->editNormals, 0);
    // A group switched off hides its vertices from picking, whatever was drawn before.
    document.setDisplayed(entity(*window, "Body"), false);
    document.select(kNoItem);
    click();
    EXPECT_EQ(document.selectedRecord(), nullptr);

    // The corners share a place but not a normal: each normal tip is a pick of its own, which
    // turns normal editing on.
    document.setDisplayed(entity(*window, "Body"), true);
    button(*window, "Normals").click();
    window->OnButtonPickNormal();
    EXPECT_EQ(text(*window, "PickMode"), "Normal");
    const auto tip = window->sceneRenderer()->windowPositions().findNormalTip(corner[1]);
    ASSERT_TRUE(tip);
    drag(*window, {{static_cast<int>(std::lround((*tip)[0])),
                    window->drawFrame().view().viewportHeight() -
                        static_cast<int>(std::lround((*tip)[1]))}});
    EXPECT_EQ(document.selectedRecord(), corner[1]);
    EXPECT_EQ(document.reader()->editNormals, 1);
    EXPECT_TRUE(testPrompt().shown.empty());
}

TEST_F(EditorViewTest, ADragEndsWhenThePointerLeavesTheViewOverTheWindow) {
    store_.set("translateXScale", "2");
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    Entity* lid = entity(*window, "Lid");
    document.selectRecord(lid);
    button(*window, "TranslateX").click();
    mouse(*window, QEvent::MouseButtonPress, 300, 200);
    EXPECT_TRUE(window->viewMouse().dragging());
    // Over the window's own background, outside the band the view's size allows.
    const QPointF outside(window->width() - 2, window->height() - 2);
    QMouseEvent away(QEvent::MouseMove, outside, window->mapToGlobal(outside), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &away);
    EXPECT_FALSE(window->viewMouse().dragging());
    // Back over the view the button is still down, but the drag is over.
    const float x = lid->positionX;
    mouse(*window, QEvent::MouseMove, 350, 200);
    EXPECT_EQ(lid->positionX, x);
    EXPECT_EQ(document.undoName(), "Translate");
}

TEST_F(EditorViewTest, AProjectionAppliedInItsDialogIsDrawnAtOnce) {
    const auto window = startWithCrate();
    button(*window, "Projections...").click();
    auto* dialog = window->findChild<CProjectionPropertiesDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    auto* fov = test::findOneByAccessibleName<QLineEdit>(*dialog, "Perspective FoV");
    ASSERT_NE(fov, nullptr);
    fov->setText("90");
    const long long frames = window->drawFrame().view().frameCount();
    test::findOneByAccessibleName<QPushButton>(*dialog, "Apply")->click();
    // A field of view of 90 degrees scales y by 1 / tan(45 degrees).
    EXPECT_NEAR(window->drawFrame().view().savedProjection[5], 1.0, 1e-6);
    EXPECT_GT(window->drawFrame().view().frameCount(), frames);
}

TEST_F(EditorViewTest, TheChooserNamesAVertexByItsOwners) {
    SubEntity loose(nullptr, 0);
    Vertex v(nullptr, 12);
    EXPECT_EQ(CChooseVertexDialog::entryText(v), "Vertex[12]");
    v.subEntity = &loose;
    EXPECT_EQ(CChooseVertexDialog::entryText(v), "SubEntity[0]; Vertex[12]");
}

}  // namespace
}  // namespace y4
