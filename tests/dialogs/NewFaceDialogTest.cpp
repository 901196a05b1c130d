// The "New Face" dialog over a document: rows made with "New Vertex" and given up again, the
// next vertex number, existing corners left as they are, deleted vertices offered, Change
// Winding carrying typed values, and the refusals with their messages.
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/CNewFaceDialog.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"
#include "soak/SceneInvariants.h"
#include "support/HandModels.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using namespace test;

class NewFaceDialogTest : public testing::Test {
protected:
    NewFaceDialogTest() { dialog_.show(); }

    Lines row(int k) { return test::rowTexts(dialog_, k); }
    void newVertex(int k) {
        button(dialog_, "Vertex " + std::to_string(k) + " New Vertex").click();
    }
    QComboBox& existing(int k) {
        return list(dialog_, "Vertex " + std::to_string(k) + " Use Existing");
    }
    std::string scene() { return test::SceneDump::text(model_.reader()); }

    test::OpenModel model_{"TINY.Y4P", test::kTinyY4P};
    SubEntity& foot_ = *model_.reader().findEntityByName("Foot")->subEntities[0];
    CNewFaceDialog dialog_{model_.document, foot_, nullptr};
};

TEST_F(NewFaceDialogTest, NewVertexTwiceMakesOneAndCountsOnce) {
    EXPECT_EQ(existing(1).count(), 3);
    EXPECT_EQ(existing(1).currentIndex(), -1);
    EXPECT_EQ(row(1), Lines(8, ""));
    EXPECT_TRUE(box(dialog_, "Vertex 1 X").isReadOnly());
    EXPECT_EQ(dialog_.nextVertexNumber(), 3);

    newVertex(1);
    newVertex(1);
    EXPECT_EQ(dialog_.nextVertexNumber(), 4);
    EXPECT_EQ(dialog_.corners()[0].source, FaceCorner::kCreated);
    EXPECT_FALSE(box(dialog_, "Vertex 1 X").isReadOnly());
    EXPECT_EQ(row(1), (Lines{"-0", "-0", "-0", "0", "0", "-0", "-0", "-0"}));
    // A made vertex given up for an existing one frees its number.
    newVertex(2);
    EXPECT_EQ(dialog_.nextVertexNumber(), 5);
    choose(existing(2), 1);
    EXPECT_EQ(dialog_.nextVertexNumber(), 4);
    EXPECT_EQ(dialog_.corners()[1].vertex, foot_.vertices[1]);
    EXPECT_TRUE(box(dialog_, "Vertex 2 X").isReadOnly());
    EXPECT_EQ(row(2), (Lines{"1", "-1", "0", "1", "0", "0", "-1", "0"}));
    choose(existing(3), 2);

    type(dialog_, "Vertex 1 X", "2.5");
    type(dialog_, "Vertex 1 TextureV", "0.75");
    type(dialog_, "Vertex 1 NormalZ", "1");
    // Existing corners are not read: what is typed there changes nothing.
    const float secondX = foot_.vertices[1]->X;
    type(dialog_, "Vertex 2 X", "7");
    button(dialog_, "Apply").click();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    ASSERT_EQ(foot_.vertices.size(), 4u);
    ASSERT_EQ(foot_.faces.size(), 3u);
    Face& face = *foot_.faces[2];
    EXPECT_EQ(dialog_.createdFace(), &face);
    EXPECT_EQ(face.name(), "Face[2]");
    EXPECT_EQ(face.bitmapIndex, 0);
    Vertex& made = *foot_.vertices[3];
    EXPECT_EQ(made.name(), "Vertex[3]");
    EXPECT_EQ(face.vertexA, &made);
    EXPECT_EQ(face.vertexB, foot_.vertices[1]);
    EXPECT_EQ(face.vertexC, foot_.vertices[2]);
    EXPECT_EQ((std::array<int, 3>{face.indexA, face.indexB, face.indexC}),
              (std::array<int, 3>{3, 1, 2}));
    EXPECT_EQ((std::array<float, 3>{made.X, made.textureV, made.normalZ}),
              (std::array<float, 3>{-2.5f, 0.75f, -1.0f}));
    EXPECT_EQ(model_.document.selectedRecord(), &face);
    EXPECT_TRUE(model_.document.isModified());
    EXPECT_EQ(test::SceneInvariants::check(model_.reader(), model_.document.tree()), Lines{});
    EXPECT_EQ(foot_.vertices[1]->X, secondX);
}

TEST_F(NewFaceDialogTest, DeletedVerticesAreOfferedAndMakeAFace) {
    // Deleting the sub-entity marks its vertices; they may still be corners here.
    ASSERT_TRUE(model_.document.toggleDeleted(&foot_));
    ASSERT_TRUE(foot_.vertices[0]->deleted);
    CNewFaceDialog dialog(model_.document, foot_, nullptr);
    QComboBox& first = list(dialog, "Vertex 1 Use Existing");
    EXPECT_EQ(first.count(), 3);
    EXPECT_EQ(first.itemText(0), "Vertex[0]");
    for (int k = 0; k < 3; ++k) {
        choose(list(dialog, "Vertex " + std::to_string(k + 1) + " Use Existing"), 2 - k);
    }
    button(dialog, "Apply").click();
    EXPECT_EQ(foot_.vertices.size(), 3u);
    EXPECT_EQ(foot_.faces.back()->vertexA, foot_.vertices[2]);
    EXPECT_EQ(test::SceneInvariants::check(model_.reader(), model_.document.tree()), Lines{});
}

TEST_F(NewFaceDialogTest, RefusalsLeaveTheDialogOpenAndTheModelAsItWas) {
    const std::string before = scene();
    newVertex(1);
    choose(existing(3), 0);
    testPrompt().expectMessage("All vertices need to be set before winding can be changed");
    button(dialog_, "Change Winding").click();
    testPrompt().expectMessage(
        "Error: Need to specify all vertices.  Click Close to cancel without creating a new face");
    button(dialog_, "Apply").click();
    choose(existing(2), 0);
    testPrompt().expectMessage(
        "Error: The same vertex is being used twice; all three vertices must be different.");
    button(dialog_, "Apply").click();
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(scene(), before);

    // Change Winding exchanges rows 1 and 3 with what was typed, and their writability.
    choose(existing(2), 1);
    type(dialog_, "Vertex 1 Y", "4");
    button(dialog_, "Change Winding").click();
    EXPECT_EQ(existing(1).currentText(), "Vertex[0]");
    EXPECT_EQ(existing(3).currentIndex(), -1);
    EXPECT_EQ(textOf(dialog_, "Vertex 3 Y"), "4");
    EXPECT_FALSE(box(dialog_, "Vertex 3 Y").isReadOnly());
    EXPECT_TRUE(box(dialog_, "Vertex 1 Y").isReadOnly());
    EXPECT_EQ(dialog_.corners()[2].source, FaceCorner::kCreated);

    button(dialog_, "Close").click();
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
    EXPECT_EQ(scene(), before);
}

}  // namespace
}  // namespace y4
