// The main window with its object tree window: the tree window's pick buttons and Paste reaching
// the view through the main window, and its "Pick Normal" following the "Normals" box.
#include <QPushButton>

#include "EditorFixture.h"
#include "dialogs/CObjectTreeDialog.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/SubEntity.h"
#include "shell/ViewMouse.h"
#include "view/SceneRenderer.h"

namespace y4 {
namespace {

class EditorDialogsTest : public test::EditorFixture {
protected:
    static SubEntity& part(CY4EditorDlg& window, const char* entity) {
        return *window.document().reader()->findEntityByName(entity)->subEntities[0];
    }
};

TEST_F(EditorDialogsTest, TheTreeWindowsCommandsReachTheView) {
    const auto window = startWithCrate();
    ModelDocument& document = window->document();
    CObjectTreeDialog& tree = window->objectTreeDialog();
    const ViewRenderer& view = window->drawFrame().view();
    SubEntity& body = part(*window, "Body");
    SubEntity& lid = part(*window, "Lid");

    // "Pick Normal" is offered while the main window's "Normals" box is checked.
    QPushButton& pickNormal = test::control<QPushButton>(tree, "Pick Normal");
    EXPECT_FALSE(pickNormal.isEnabled());
    button(*window, "Normals").click();
    EXPECT_TRUE(pickNormal.isEnabled());
    button(*window, "Normals").click();
    EXPECT_FALSE(pickNormal.isEnabled());

    // The tree window's pick buttons set the main window's mode texts and the view's mode.
    document.selectRecord(&lid);
    button(*window, "TranslateX").click();
    EXPECT_EQ(text(*window, "EditMode"), "TranslateX");
    test::control<QPushButton>(tree, "Pick Vertex").click();
    EXPECT_EQ(text(*window, "PickMode"), "Vertex");
    EXPECT_EQ(text(*window, "EditMode"), "");
    EXPECT_EQ(view.mouseMode, ViewMouse::kPickVertex);
    EXPECT_EQ(view.editKind, ViewMouse::kEditPickVertex);
    button(*window, "Normals").click();
    pickNormal.click();
    EXPECT_EQ(text(*window, "PickMode"), "Normal");
    EXPECT_EQ(view.mouseMode, ViewMouse::kPickNormal);
    EXPECT_EQ(view.editKind, ViewMouse::kEditPickNormal);

    // A paste is drawn at once in the vertex pick mode, so that its vertices can be picked,
    // and the view keeps the mode it had.
    button(*window, "TranslateX").click();
    document.selectRecord(lid.faces[0]);
    test::control<QPushButton>(tree, "Copy").click();
    document.selectRecord(&body);
    const std::size_t faces = body.faces.size();
    const std::size_t vertices = body.vertices.size();
    test::control<QPushButton>(tree, "Paste").click();
    ASSERT_EQ(body.faces.size(), faces + 1);
    ASSERT_GT(body.vertices.size(), vertices);
    EXPECT_EQ(view.mouseMode, ViewMouse::kTranslateX);
    EXPECT_EQ(view.editKind, ViewMouse::kEditTranslate);
    ASSERT_NE(window->sceneRenderer(), nullptr);
    EXPECT_TRUE(window->sceneRenderer()->windowPositions().findVertex(body.vertices.back()));

    EXPECT_TRUE(test::testPrompt().shown.empty());
}

}  // namespace
}  // namespace y4
