// The main window's view through synthetic mouse events and keys: drags that move and turn the
// selection as one undo step and end where the view ends, and what each step tells the
// document's listeners; undo and redo keys from any window, the scale, centre and flip commands,
// the camera keys, a projection applied, the readouts' formats, picking through the object tree
// window's buttons with its chooser, a paste drawn for picking, and the backdrop drags of the
// Grid Properties dialog's "Move" buttons.
#include <QCheckBox>
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
#include "dialogs/CGridPropertiesDialog.h"
#include "dialogs/CObjectTreeDialog.h"
#include "dialogs/CProjectionPropertiesDialog.h"
#include "shell/ViewMouse.h"
#include "support/BitmapBuilder.h"
#include "support/RecordingObserver.h"
#include "support/SceneDump.h"
#include "view/SceneRenderer.h"

namespace y4 {
namespace {

using test::testPrompt;

class EditorViewTest : public test::EditorFixture {
protected:
    static Entity* entity(CY4EditorDlg& window, const char* name) {
        return window.document().reader()->findEntityByName(name);
    }
    // The columns and rows (device pixels, from the top left) that the view's frame shows in
    // yellow, the colour of the test's backdrop and of nothing else drawn: {left, top, right,
    // bottom}, or all -1.
    static std::array<int, 4> yellowBounds(CY4EditorDlg& window) {
        const QImage image = window.drawFrame().grabFramebuffer();
        std::array<int, 4> box{-1, -1, -1, -1};
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 100 && c.green() > 100 && c.blue() < 40) {
                    box = box[0] < 0 ? std::array<int, 4>{x, y, x, y}
                                     : std::array<int, 4>{std::min(box[0], x), box[1],
                                                          std::max(box[2], x), y};
                }
            }
        }
        return box;
    }
};

TEST_F(EditorViewTest, ATranslateDragMovesTheSelectedEntityAsOneUndoStepWithinTheView) {
    store_.set("translateXScale", "2");
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    Entity* lid = entity(*window, "Lid");
    document.selectRecord(lid);
    button(*window, "TranslateX").click();
    EXPECT_EQ(text(*window, "EditMode"), "TranslateX");
    const std::string before = test::SceneDump::text(*document.reader());
    const float x0 = lid->positionX;

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
    // Ctrl+Z, from the main window or any tool window, puts it back: the whole drag, and only
    // the lid; Ctrl+Shift+Z and Ctrl+Y move it again.
    activate(*window);
    key(*window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(test::SceneDump::text(*document.reader()), before);
    EXPECT_FALSE(document.canUndo());
    key(*window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NEAR(lid->positionX, expected, 1e-5);
    CObjectTreeDialog& tree = window->objectTreeDialog();
    activate(tree);
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

    // A drag ends when the pointer leaves the view over the window's own background, outside
    // the band the view's size allows; back over the view the button is still down, but the
    // drag is over.
    document.undo();
    ASSERT_FALSE(document.canUndo());
    const float x = lid->positionX;
    button(*window, "TranslateX").click();
    mouse(*window, QEvent::MouseButtonPress, 300, 200);
    EXPECT_TRUE(window->viewMouse().dragging());
    const QPointF outside(window->width() - 2, window->height() - 2);
    QMouseEvent away(QEvent::MouseMove, outside, window->mapToGlobal(outside), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &away);
    EXPECT_FALSE(window->viewMouse().dragging());
    mouse(*window, QEvent::MouseMove, 350, 200);
    EXPECT_EQ(lid->positionX, x);
    EXPECT_EQ(document.undoName(), "Translate");
    // A press on the window's background, even where the view's size would allow a drag,
    // starts none: only a press in the view does.
    const QPointF background(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, background, window->mapToGlobal(background),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &press);
    EXPECT_FALSE(window->viewMouse().dragging());
    mouse(*window, QEvent::MouseMove, 300, 200);
    EXPECT_EQ(lid->positionX, x);
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

    // A projection applied in its dialog is drawn at once: a field of view of 90 degrees
    // scales y by 1 / tan(45 degrees).
    button(*window, "Projections...").click();
    auto* projections = window->findChild<CProjectionPropertiesDialog*>();
    ASSERT_NE(projections, nullptr);
    ASSERT_TRUE(projections->isVisible());
    test::type(*projections, "Perspective FoV", "90");
    const long long frames = view.frameCount();
    test::button(*projections, "Apply").click();
    EXPECT_NEAR(view.savedProjection[5], 1.0, 1e-6);
    EXPECT_GT(view.frameCount(), frames);
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
    const Position a = lid->absolutePosition();
    std::snprintf(expected, sizeof expected, "%5.2f, %5.2f, %5.2f", a[0] - q[0], a[1] - q[1],
                  a[2] - q[2]);
    EXPECT_EQ(text(*window, "EntitySpace:"), expected);
    // Outside the view nothing changes.
    mouse(*window, QEvent::MouseMove, -3, h - 35, Qt::NoButton);
    EXPECT_EQ(text(*window, "WindowSpace:"), "120.00, 35.00");
}

TEST_F(EditorViewTest, PickingThroughTheTreeWindowSelectsOneCandidateOrOffersSeveral) {
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    SubEntity* body = entity(*window, "Body")->subEntities[0];
    // Body's corner at file (1, -0.7, 0.7) is listed three times, once per side.
    Vertex* corner[] = {body->vertices[0], body->vertices[14], body->vertices[17]};
    SubEntity& lid = *entity(*window, "Lid")->subEntities[0];
    // The object tree window's pick buttons set the main window's mode texts and the view's
    // mode, whatever mode it had.
    CObjectTreeDialog& tree = window->objectTreeDialog();
    const ViewRenderer& view = window->drawFrame().view();
    document.selectRecord(&lid);
    button(*window, "TranslateX").click();
    EXPECT_EQ(text(*window, "EditMode"), "TranslateX");
    test::button(tree, "Pick Vertex").click();
    EXPECT_EQ(text(*window, "PickMode"), "Vertex");
    EXPECT_EQ(text(*window, "EditMode"), "");
    EXPECT_EQ(view.mouseMode, ViewMouse::kPickVertex);
    EXPECT_EQ(view.editKind, ViewMouse::kEditPickVertex);
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
    EXPECT_EQ(text(*window, "Selected Object").toStdString(), test::pathOf(corner[1]));

    // With two of them switched off, one is left: selected at once, its faces highlighted.
    document.setDisplayed(corner[0], false);
    document.setDisplayed(corner[2], false);
    document.select(kNoItem);
    click();
    EXPECT_EQ(document.selectedRecord(), corner[1]);
    EXPECT_EQ(document.selectedItem(), corner[1]->treeItems(document.tree()).back());
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
    // "Pick Normal" is offered while the main window's "Normals" box is checked.
    document.setDisplayed(entity(*window, "Body"), true);
    QPushButton& pickNormal = test::button(tree, "Pick Normal");
    EXPECT_FALSE(pickNormal.isEnabled());
    button(*window, "Normals").click();
    EXPECT_TRUE(pickNormal.isEnabled());
    button(*window, "Normals").click();
    EXPECT_FALSE(pickNormal.isEnabled());
    button(*window, "Normals").click();
    pickNormal.click();
    EXPECT_EQ(text(*window, "PickMode"), "Normal");
    EXPECT_EQ(view.mouseMode, ViewMouse::kPickNormal);
    EXPECT_EQ(view.editKind, ViewMouse::kEditPickNormal);
    const auto tip = window->sceneRenderer()->windowPositions().findNormalTip(corner[1]);
    ASSERT_TRUE(tip);
    drag(*window, {{static_cast<int>(std::lround((*tip)[0])),
                    window->drawFrame().view().viewportHeight() -
                        static_cast<int>(std::lround((*tip)[1]))}});
    EXPECT_EQ(document.selectedRecord(), corner[1]);
    EXPECT_EQ(document.reader()->editNormals, 1);

    // A paste through the tree window is drawn at once in the vertex pick mode, so that its
    // vertices can be picked, and the view keeps the mode it had.
    document.selectRecord(&lid);
    button(*window, "TranslateX").click();
    document.selectRecord(lid.faces[0]);
    test::button(tree, "Copy").click();
    document.selectRecord(body);
    const std::size_t faces = body->faces.size();
    const std::size_t vertices = body->vertices.size();
    test::button(tree, "Paste").click();
    ASSERT_EQ(body->faces.size(), faces + 1);
    ASSERT_GT(body->vertices.size(), vertices);
    EXPECT_EQ(view.mouseMode, ViewMouse::kTranslateX);
    EXPECT_EQ(view.editKind, ViewMouse::kEditTranslate);
    EXPECT_TRUE(window->sceneRenderer()->windowPositions().findVertex(body->vertices.back()));
    EXPECT_TRUE(testPrompt().shown.empty());

    // A vertex outside any sub-entity, or in one outside any entity, is named by what holds it.
    SubEntity loose(nullptr, 0);
    Vertex v(nullptr, 12);
    EXPECT_EQ(CChooseVertexDialog::entryText(v), "Vertex[12]");
    v.subEntity = &loose;
    EXPECT_EQ(CChooseVertexDialog::entryText(v), "SubEntity[0]; Vertex[12]");
}

TEST_F(EditorViewTest, EachDragStepTellsListenersWhatMovedWithTheNewValuesInPlace) {
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    Entity* lid = entity(*window, "Lid");
    Face* face = lid->subEntities[0]->faces[1];
    test::RecordingObserver told(document);
    // What an attributes window would show of the selection, in file coordinates: the
    // entity's translation, with the world position of a vertex below it; or the face's first
    // corner.
    Vertex* below = lid->subEntities[0]->vertices[0];
    told.probe = [&] {
        char text[96];
        const SceneObject* shown = document.selectedRecord();
        if (shown == lid) {
            std::snprintf(text, sizeof text, "%.2f %.2f", -lid->positionX,
                          -below->absolutePosition()[0]);
        } else {
            std::snprintf(text, sizeof text, "%.2f", -face->vertexA->X);
        }
        return std::string(text);
    };
    const ViewRenderer& view = window->drawFrame().view();
    const auto moved = [&](int from, int to) {
        return view.unprojectMouse(to, 200)[0] - view.unprojectMouse(from, 200)[0];
    };
    const auto lastChange = [](const std::vector<std::string>& lines) {
        const auto found = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
            return line.starts_with("change ");
        });
        return found == lines.rend() ? std::string("none") : *found;
    };
    char expected[96];

    // The selected entity: its placement, the record itself named, after the world positions
    // were computed again.
    document.selectRecord(lid);
    button(*window, "TranslateX").click();
    told.take();
    const float x0 = lid->positionX;
    const double a0 = below->absolutePosition()[0];
    drag(*window, {{300, 200}, {340, 200}});
    const double step = moved(300, 340);
    std::snprintf(expected, sizeof expected, "%.2f %.2f", -(x0 + step), -(a0 + step));
    EXPECT_EQ(lastChange(told.take()),
              "change placement of [E:Lid] placed [E:Lid] meshes [] | " + std::string(expected));

    // A selected face: the geometry of its sub-entity, the face named.
    document.selectRecord(face);
    told.take();
    const float corner = face->vertexA->X;
    drag(*window, {{300, 200}, {280, 200}});
    std::snprintf(expected, sizeof expected, "%.2f", -(corner + moved(300, 280)));
    EXPECT_EQ(lastChange(told.take()),
              "change geometry of [F:Face[1]] placed [] meshes [S:SubEntity[0]] | " +
                  std::string(expected));
}

TEST_F(EditorViewTest, TheMoveButtonsDragTheBackdropsWithinTheirPlanes) {
    const std::string yellow =
        dir_.write("YELLOW.BMP",
                   test::BitmapBuilder(4, 4, 24, std::vector<std::uint32_t>(16, 0xffff00)).build());
    for (const auto& [name, value] : {std::pair<const char*, std::string>{"translateXScale", "0.1"},
                                      {"bitmapXY", "1"},
                                      {"bitmapXYName", yellow},
                                      {"gridBitmapOpacity", "1"},
                                      {"gridMin", "-1"},
                                      {"gridMax", "1"}}) {
        store_.set(name, value);
    }
    const auto window = startWithCrate();
    const GridSettings& grid = window->gridSettings();
    button(*window, "Grids...").click();
    auto* dialog = window->findChild<CGridPropertiesDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    const auto boxTexts = [&] {
        std::vector<QString> texts;
        for (const QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
            texts.push_back(box->text());
        }
        return texts;
    };
    const std::vector<QString> boxesBefore = boxTexts();
    const std::array<int, 4> shown = yellowBounds(*window);
    ASSERT_GE(shown[0], 0);

    // XY: each pixel to the right takes 0.2 x 0.1 from the X offset, each pixel down from the
    // Y offset; every step is drawn at once.
    button(*window, "Zoom").click();
    dialog->moveButton(BackdropPlane::XY).click();
    EXPECT_EQ(text(*window, "EditMode"), "");
    const long long frames = window->drawFrame().view().frameCount();
    mouse(*window, QEvent::MouseButtonPress, 300, 200);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetX, 0.0f);
    mouse(*window, QEvent::MouseMove, 310, 200);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetX, -0.2f);
    mouse(*window, QEvent::MouseMove, 330, 200);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetX, -0.6f);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetY, 0.0f);
    EXPECT_EQ(window->drawFrame().view().frameCount(), frames + 3);
    mouse(*window, QEvent::MouseButtonRelease, 330, 200);
    const std::array<int, 4> slid = yellowBounds(*window);
    // The backdrop follows the pointer to the right.
    EXPECT_GT(slid[0], shown[0] + 20);
    drag(*window, {{330, 200}, {330, 190}});
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetY, 0.2f);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetX, -0.6f);

    // YZ and XZ, each a step of 10 pixels right and 5 down.
    for (const char* row : {"Backdrop YZ", "Backdrop XZ"}) {
        test::control<QCheckBox>(*dialog, row).click();
    }
    dialog->moveButton(BackdropPlane::YZ).click();
    drag(*window, {{300, 200}, {310, 205}});
    EXPECT_FLOAT_EQ(grid.gridYZ_OffsetZ, 0.2f);
    EXPECT_FLOAT_EQ(grid.gridYZ_OffsetY, -0.1f);
    dialog->moveButton(BackdropPlane::XZ).click();
    drag(*window, {{300, 200}, {310, 205}});
    EXPECT_FLOAT_EQ(grid.gridXZ_OffsetZ, 0.2f);
    EXPECT_FLOAT_EQ(grid.gridXZ_OffsetX, 0.1f);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetX, -0.6f);
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetY, 0.2f);
    // The backdrops are settings, not the model.
    EXPECT_FALSE(window->document().isModified());
    EXPECT_FALSE(window->document().canUndo());

    // The dialog shows no backdrop offsets: its boxes are as they were, and Apply and Save
    // keep and store what the drags did.
    EXPECT_EQ(boxTexts(), boxesBefore);
    for (const char* row : {"Backdrop YZ", "Backdrop XZ"}) {
        test::control<QCheckBox>(*dialog, row).click();
    }
    test::button(*dialog, "Save").click();
    EXPECT_FLOAT_EQ(grid.gridXY_OffsetX, -0.6f);
    EXPECT_FLOAT_EQ(grid.gridYZ_OffsetZ, 0.2f);
    EXPECT_FLOAT_EQ(std::stof(store_.query("gridXY_OffsetX")), -0.6f);
    EXPECT_FLOAT_EQ(std::stof(store_.query("gridXZ_OffsetX")), 0.1f);

    // Unchecking "Backdrop XY" disables its "Move" at once; the backdrop stays until Apply.
    const std::array<int, 4> placed = yellowBounds(*window);
    ASSERT_GE(placed[0], 0);
    test::control<QCheckBox>(*dialog, "Backdrop XY").click();
    EXPECT_FALSE(dialog->moveButton(BackdropPlane::XY).isEnabled());
    window->RenderScene();
    EXPECT_EQ(grid.bitmapXY, 1);
    EXPECT_EQ(yellowBounds(*window), placed);
    test::button(*dialog, "Apply").click();
    EXPECT_EQ(grid.bitmapXY, 0);
    EXPECT_EQ(yellowBounds(*window)[0], -1);
    EXPECT_TRUE(testPrompt().shown.empty());
}

}  // namespace
}  // namespace y4
