// Junk typed into every box of the Attributes, New Face and Textures dialogs and their buttons
// pressed in a random order on a sample: no step may crash, every step leaves the scene and its
// tree sound and the Attributes dialog showing the selection, and the model saves to a file
// that reloads and saves again byte for byte.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <random>

#include "CarelessUser.h"
#include "DialogDriver.h"
#include "dialogs/CAttributesDialog.h"
#include "dialogs/CChangeTextureNameDialog.h"
#include "dialogs/CNewFaceDialog.h"
#include "dialogs/CTexturesDialog.h"
#include "model/Entity.h"
#include "model/SubEntity.h"
#include "soak/SceneInvariants.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;

using test::CarelessUser;
using test::fiddle;
using test::Junk;

void runSession(const char* sample, std::uint32_t seed, int steps) {
    SCOPED_TRACE(std::string(sample) + " seed " + std::to_string(seed));
    QApplication& application = test::guiApplication();
    (void)application;
    test::TempDir dir;
    const std::string path = test::ModelFixture::copySample(dir, sample);
    const std::string junkFile = dir.write("JUNK.BMP", "BM junk");
    std::mt19937 random(seed);
    Junk junk(random);
    CarelessUser user(random, {dir.file("STONE.BMP"), junkFile, dir.file("ROCK.BMP")});
    const test::InstalledPrompt installed(&user);

    ModelDocument document;
    ASSERT_TRUE(document.load(path));
    CAttributesDialog attributes(document, nullptr);
    CTexturesDialog textures(document, nullptr);
    attributes.show();
    textures.show();
    QPushButton& close = test::button(attributes, "Close");
    QPushButton& texturesClose = test::button(textures, "Close");
    QPushButton& rename = test::button(textures, "Rename Texture");

    for (int step = 0; step < steps; ++step) {
        Reader& r = *document.reader();
        const unsigned action = random() % 20;
        if (action < 4) {
            std::vector<SceneObject*> records;
            records.push_back(junk.any(r.entities));
            records.push_back(junk.any(r.subEntities));
            records.push_back(junk.any(r.faces));
            records.push_back(junk.any(r.vertices));
            records.push_back(nullptr);
            SceneObject* record = records[random() % records.size()];
            record ? document.selectRecord(record) : document.deselect();
        } else if (action < 12) {
            fiddle(attributes, junk, random, {&close});
        } else if (action < 15) {
            if (random() % 4 == 0 && rename.isEnabled()) {
                QTimer::singleShot(0, [&] {
                    if (auto* d = qobject_cast<CChangeTextureNameDialog*>(
                            QApplication::activeModalWidget())) {
                        test::type(*d, "New name:", junk.text());
                        test::button(*d, "Apply").click();
                        d->reject();
                    }
                });
                rename.click();
            } else {
                fiddle(textures, junk, random, {&texturesClose, &rename});
            }
        } else if (action < 18) {
            SceneObject* selected = document.selectedRecord();
            if (selected && selected->kind() == SceneObject::kSubEntity) {
                CNewFaceDialog newFace(document, *static_cast<SubEntity*>(selected), nullptr);
                newFace.show();
                for (int k = 0; k < 6; ++k) {
                    fiddle(newFace, junk, random);
                }
                if (newFace.isVisible()) {
                    test::button(newFace, "Apply").click();
                }
                if (newFace.isVisible()) {
                    test::button(newFace, "Close").click();
                }
            }
        } else {
            random() % 2 ? document.undo() : document.redo();
        }
        const Lines problems = test::SceneInvariants::check(*document.reader(), document.tree());
        ASSERT_EQ(problems, Lines{}) << "after step " << step;
        // The dialog shows the selection.
        const SceneObject* selected = document.selectedRecord();
        ASSERT_EQ(test::box(attributes, "GroupName:").isEnabled(), selected != nullptr);
        ASSERT_EQ(test::control<QListWidget>(textures, "Texture List").count(),
                  static_cast<int>(document.reader()->bitmapNames.size()));
    }

    // A model whose bitmap cannot be read does not open again: the user gives each such bitmap
    // a name whose file is there.
    for (std::size_t i = 0; i < document.reader()->bitmapNames.size(); ++i) {
        const int position = static_cast<int>(i);
        if (!document.reader()->textures.images[i] && document.canRenameBitmap(position)) {
            document.renameBitmap(position, "STONE");
        }
    }
    // A terrain names each record's bitmap: one whose bitmap was removed gets another.
    Reader& r = *document.reader();
    for (SubEntity* s : r.subEntities) {
        if (r.fileType == Reader::kY4T &&
            static_cast<std::size_t>(s->bitmapIndex) >= r.bitmapNames.size()) {
            document.selectRecord(s);
            test::choose(test::list(attributes, "Bitmap:"), 0);
            test::button(attributes, "Apply").click();
        }
    }
    const std::string saved = dir.file(std::string("SAVED") + (sample + std::strlen(sample) - 4));
    ASSERT_TRUE(document.save(saved));
    ModelDocument reloaded;
    ASSERT_TRUE(reloaded.load(saved)) << user.messages.back();
    EXPECT_EQ(reloaded.reader()->faces.size(), document.reader()->faces.size());
    // A terrain file keeps only the bitmaps its records use.
    if (r.fileType != Reader::kY4T) {
        EXPECT_EQ(reloaded.reader()->bitmapNames, r.bitmapNames);
    }
    const std::string again = dir.file(std::string("AGAIN") + (sample + std::strlen(sample) - 4));
    ASSERT_TRUE(reloaded.save(again));
    // A terrain's records name their bitmaps: one whose number moved onto the terrain's own
    // picture (after a removal) is written as the terrain and read back in another order.
    if (r.fileType != Reader::kY4T) {
        EXPECT_TRUE(test::TempDir::read(again) == test::TempDir::read(saved))
            << "the saved model does not reload to the same file";
    }
}

TEST(EditingDialogsRandom, JunkInEveryBoxAndButtonKeepsTheModelSound) {
    runSession("CRATE.Y4P", 19, 600);
    runSession("GARDEN.Y4D", 23, 400);
    runSession("ISLAND.Y4T", 7, 300);
}

}  // namespace
}  // namespace y4
