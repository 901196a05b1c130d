// The "Textures" dialog over a document: the list and which buttons it offers, removal with its
// question, moves that keep the moved bitmap selected, adding a file chosen anywhere with the
// archive warnings, a terrain's own bitmap kept last, and renaming through "Change Texture
// Name" (an empty name changes nothing).
#include <gtest/gtest.h>

#include <QListWidget>

#include "DialogDriver.h"
#include "dialogs/CChangeTextureNameDialog.h"
#include "dialogs/CTexturesDialog.h"
#include "model/Entity.h"
#include "model/SubEntity.h"
#include "support/HandModels.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using namespace test;

const char* const kRemoveQuestion =
    "Are you sure you want to remove this texture?  You MUST remember to update the object "
    "texture mapping if you do so";
const char* const kRenameQuestion =
    "Changing the texture to an invalid name may cause problems.  Are you sure you want to "
    "proceed?";

class TexturesDialogTest : public testing::Test {
protected:
    TexturesDialogTest() { dialog_.show(); }

    Lines shown() {
        Lines texts;
        auto& list = test::control<QListWidget>(dialog_, "Texture List");
        for (int i = 0; i < list.count(); ++i) {
            texts.push_back(list.item(i)->text().toStdString());
        }
        return texts;
    }
    // "<position> <buttons offered>", e.g. "0 Remove Rename Down".
    std::string offered() {
        std::string text = std::to_string(dialog_.selectedPosition());
        for (const char* caption : {"Remove Texture", "Rename Texture", "Up", "Down"}) {
            if (button(dialog_, caption).isEnabled()) {
                text += std::string(" ") + caption;
            }
        }
        return text;
    }
    void rename(const std::string& name, bool confirm) {
        test::withModal([this] { button(dialog_, "Rename Texture").click(); },
                        [&](QDialog& d) {
                            EXPECT_EQ(d.windowTitle(), "Change Texture Name");
                            test::type(d, "New name:", name);
                            testPrompt().expectQuestion(kRenameQuestion, confirm);
                            button(d, "Apply").click();
                            // No keeps it open, and the user cancels; Yes closes it.
                            EXPECT_EQ(d.isVisible(), !confirm);
                            if (d.isVisible()) {
                                d.reject();
                            }
                        });
    }
    Reader& reader() { return model_.reader(); }

    test::OpenModel model_{"TINY.Y4P", test::kTinyY4P};
    CTexturesDialog dialog_{model_.document, nullptr};
};

TEST_F(TexturesDialogTest, ButtonsFollowTheSelectedPositionThroughMovesAndRemovals) {
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE"}));
    EXPECT_EQ(offered(), "0 Remove Texture Rename Texture Down");
    // Moves keep the moved bitmap selected, its picture with it.
    const auto red = reader().textures.images[0];
    const auto blue = reader().textures.images[1];
    ASSERT_TRUE(red && blue);
    button(dialog_, "Down").click();
    EXPECT_EQ(shown(), (Lines{"[0] BLUE", "[1] RED"}));
    EXPECT_EQ(offered(), "1 Remove Texture Rename Texture Up");
    EXPECT_EQ(reader().textures.images[0], blue);
    EXPECT_EQ(reader().textures.images[1], red);
    button(dialog_, "Up").click();
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE"}));
    EXPECT_EQ(offered(), "0 Remove Texture Rename Texture Down");
    model_.document.undo();
    EXPECT_EQ(shown(), (Lines{"[0] BLUE", "[1] RED"}));
    model_.document.undo();
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE"}));
    for (const char* name : {"BRICK", "GLASS", "GRASS"}) {
        ASSERT_TRUE(model_.document.addBitmap(name));
    }
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE", "[2] BRICK", "[3] GLASS", "[4] GRASS"}));
    dialog_.selectTextureItem(2);
    EXPECT_EQ(offered(), "2 Remove Texture Rename Texture Up Down");
    dialog_.selectTextureItem(4);
    EXPECT_EQ(offered(), "4 Remove Texture Rename Texture Up");

    // Removing position 2: later bitmaps move up; what draws with 2 and 3 draws their followers.
    SubEntity& arm = *reader().findEntityByName("Arm one")->subEntities[0];
    arm.bitmapIndex = 2;
    dialog_.selectTextureItem(2);
    testPrompt().expectQuestion(kRemoveQuestion, false);
    button(dialog_, "Remove Texture").click();
    EXPECT_EQ(reader().bitmapNames.size(), 5u);
    testPrompt().expectQuestion(kRemoveQuestion, true);
    button(dialog_, "Remove Texture").click();
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE", "[2] GLASS", "[3] GRASS"}));
    EXPECT_EQ(arm.bitmapIndex, 2);
    EXPECT_EQ(reader().bitmapNames[2], "GLASS");
    EXPECT_EQ(offered(), "0 Remove Texture Rename Texture Down");

    for (int k = 0; k < 3; ++k) {
        testPrompt().expectQuestion(kRemoveQuestion, true);
        button(dialog_, "Remove Texture").click();
    }
    EXPECT_EQ(shown(), (Lines{"[0] GRASS"}));
    EXPECT_EQ(offered(), "0 Remove Texture Rename Texture");
    testPrompt().expectQuestion(kRemoveQuestion, true);
    button(dialog_, "Remove Texture").click();
    EXPECT_EQ(offered(), "-1");
}

TEST_F(TexturesDialogTest, AddTakesTheNameOfAFileChosenAnywhere) {
    test::TempDir elsewhere;
    const std::string chosen = elsewhere.write("Stone.bmp", "not a bitmap");
    testPrompt().expectFileDialog(std::nullopt);
    button(dialog_, "Add Texture").click();
    EXPECT_EQ(shown().size(), 2u);
    testPrompt().expectFileDialog(chosen);
    testPrompt().expectMessage(
        "Warning: You MUST ensure that the specified bitmap is in the AQ5.PKV archive.  If it is "
        "not, add it using the PKVTOOL -a add file option.");
    button(dialog_, "Add Texture").click();
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE", "[2] Stone"}));
    // Read from the model's folder (STONE.BMP there), not from the unreadable file chosen.
    EXPECT_TRUE(reader().textures.images[2] != nullptr);
    EXPECT_TRUE(model_.document.isModified());
}

TEST_F(TexturesDialogTest, RenameWithAnEmptyNameChangesNothing) {
    rename("", true);
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE"}));
    EXPECT_FALSE(model_.document.isModified());
    rename("STONE", false);
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] BLUE"}));
    dialog_.selectTextureItem(1);
    rename("STONE", true);
    EXPECT_EQ(shown(), (Lines{"[0] RED", "[1] STONE"}));
    EXPECT_TRUE(reader().textures.images[1] != nullptr);

    // "..." takes a chosen file's name without folder and extension.
    CChangeTextureNameDialog names(nullptr);
    testPrompt().expectFileDialog("/some/where/Marble.Tile.bmp");
    button(names, "Browse").click();
    EXPECT_EQ(box(names, "New name:").text(), "Marble.Tile");
}

TEST(TexturesDialogTerrain, TheTerrainsOwnBitmapStaysLast) {
    test::OpenModel model("HILLS.Y4T", test::kHillsY4T);
    CTexturesDialog dialog(model.document, nullptr);
    const Reader& r = model.reader();
    ASSERT_EQ(r.bitmapNames.back(), "Zelvan's Terrain");
    const int last = static_cast<int>(r.bitmapNames.size()) - 1;
    dialog.selectTextureItem(last);
    EXPECT_FALSE(button(dialog, "Remove Texture").isEnabled());
    EXPECT_FALSE(button(dialog, "Rename Texture").isEnabled());
    EXPECT_FALSE(button(dialog, "Up").isEnabled());
    dialog.selectTextureItem(last - 1);
    EXPECT_FALSE(button(dialog, "Down").isEnabled());
}

}  // namespace
}  // namespace y4
