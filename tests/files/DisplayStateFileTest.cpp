// The display-state file beside a model: exact content, hidden groups that come back hidden,
// the scan of each line (names stop at a blank, the first of equal names, lines without their
// number), the reminder, the tree's check boxes and the file's name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SceneBuilder.h"
#include "files/Reader.h"
#include "model/SceneTree.h"
#include "model/TreeListing.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::TempDir;

constexpr const char* kReminder =
    "Reminder: Some display flags were turned off when the display state was last saved; these "
    "groups will not be displayed";

// A model "SHIP.Y4P" in `folder`, listed in its own tree, whose entities are Root, Hull,
// Mast, "Sail boat" and two called Twin.
struct Ship {
    explicit Ship(const std::string& folder)
        : reader(std::make_unique<Reader>(&tree, folder + "/SHIP.Y4P", Reader::NewModel{})) {
        gen::SceneBuilder build(*reader);
        Entity* root = build.addEntity(nullptr, "Root");
        for (const char* name : {"Hull", "Mast", "Sail boat", "Twin", "Twin"}) {
            build.addEntity(root, name);
        }
        TreeListing::buildTree(tree, root);
    }
    Entity* at(std::size_t k) const { return reader->entities[k]; }
    std::string flags() const {
        std::string out;
        for (const Entity* e : reader->entities) {
            out += std::to_string(e->displayed);
            out += tree.check(e->treeItem) ? '+' : '-';
        }
        return out;
    }
    void hide(std::size_t k) {
        at(k)->displayed = 0;
        tree.setCheck(at(k)->treeItem, false);
    }

    SceneTree tree;
    std::unique_ptr<Reader> reader;
};

TEST(DisplayStateFile, HiddenGroupsSurviveSaveAndLoad) {
    TempDir dir;
    Ship saved(dir.path());
    saved.hide(1);
    saved.hide(3);
    ASSERT_TRUE(saved.reader->saveDisplayState());
    EXPECT_EQ(TempDir::read(dir.file("SHIP.dsp")),
              "Root 1\nHull 0\nMast 1\nSail boat 0\nTwin 1\nTwin 1\n");

    // The group whose name holds a blank cannot be found again; the other comes back hidden,
    // with its check box cleared, and the user is reminded.
    Ship loaded(dir.path());
    test::testPrompt().expectMessage(kReminder, MessageIcon::Information);
    loaded.reader->loadDisplayState();
    EXPECT_EQ(loaded.flags(), "1+0-1+1+1+1+");

    // Saving again replaces the file.
    ASSERT_TRUE(loaded.reader->saveDisplayState());
    EXPECT_EQ(TempDir::read(dir.file("SHIP.dsp")),
              "Root 1\nHull 0\nMast 1\nSail boat 1\nTwin 1\nTwin 1\n");

    // A folder that does not exist: nothing is written.
    Ship nowhere(dir.file("missing"));
    EXPECT_FALSE(nowhere.reader->saveDisplayState());
    EXPECT_EQ(TempDir::read(dir.file("missing/SHIP.dsp")), "");
}

TEST(DisplayStateFile, EachLineSetsTheFirstEntityOfItsName) {
    TempDir dir;
    struct Case {
        const char* file;
        const char* before;  // the flags hidden beforehand, by position
        const char* after;
        bool reminder;
    };
    const Case cases[] = {
        // The first Twin only; a line with the same name sets the same one again.
        {"Twin 0\n", "", "1+1+1+1+0-1+", true},
        {"Twin 0\nTwin 1\n", "5", "1+1+1+1+1+0-", true},
        // A 1 that switches a group on needs no reminder; unknown names and other cases of a
        // name are skipped silently.
        {"Ghost 0\nhull 0\nHull 1\n", "1", "1+1+1+1+1+1+", false},
        {"Root 1\nHull 1\nMast 1\n", "", "1+1+1+1+1+1+", false},
        // Names stop at the first blank.
        {"Sail boat 0\nSail 0\n", "", "1+1+1+1+1+1+", false},
        // Lines whose number is missing are skipped, also when the next line holds one.
        {"Hull\nMast x\nRoot\n0\n  \n\nTwin -\nTwin +\nHull\t\r\n", "", "1+1+1+1+1+1+", false},
        // Blanks before and between, CR LF line ends, text after the number, no final line end.
        {"  Hull\t0\r\nMast 0 extra\r\nRoot 1x\r\nTwin    0", "", "1+0-0-1+0-1+", true},
        // Any number other than 0 switches the group on.
        {"Hull 7\nMast -1\nTwin +0\n", "125", "1+1+1+1+0-0-", true},
        {"", "1", "1+0-1+1+1+1+", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Ship ship(dir.path());
        for (const char* k = c.before; *k; ++k) {
            ship.hide(static_cast<std::size_t>(*k - '0'));
        }
        dir.write("SHIP.dsp", c.file);
        if (c.reminder) {
            test::testPrompt().expectMessage(kReminder, MessageIcon::Information);
        }
        ship.reader->loadDisplayState();
        EXPECT_EQ(ship.flags(), c.after);
        EXPECT_TRUE(test::testPrompt().leftOver().empty());
    }

    // A long line is one line: its tail is not read as a line of its own.
    Ship ship(dir.path());
    dir.write("SHIP.dsp",
              std::string(1100, 'x') + " 1 Hull 0\n" + std::string(1019, 'y') + "Hull 0\n");
    ship.reader->loadDisplayState();
    EXPECT_EQ(ship.flags(), "1+1+1+1+1+1+");

    // Without a file nothing changes, silently.
    std::filesystem::remove(dir.file("SHIP.dsp"));
    ship.hide(2);
    const std::string before = test::SceneDump::text(*ship.reader);
    ship.reader->loadDisplayState();
    EXPECT_EQ(test::SceneDump::text(*ship.reader), before);
    EXPECT_EQ(ship.flags(), "1+1+0-1+1+1+");
}

TEST(DisplayStateFile, FileIsNamedAfterTheModel) {
    auto nameFor = [](const std::string& model) {
        return Reader(nullptr, model, Reader::NewModel{}).displayStateFileName();
    };
    EXPECT_EQ(nameFor("/M/SHIP.Y4P"), "/M/SHIP.dsp");
    EXPECT_EQ(nameFor("C:\\M\\SHIP.Y4T"), "C:\\M\\SHIP.dsp");
    EXPECT_EQ(nameFor("/m.d/PLANE.X.Y4D"), "/m.d/PLANE.X.dsp");

    // The editor upper-cases the model's path; the file is still found and written in the
    // model's real folder.
    TempDir dir;
    std::string upper = dir.path();
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    Ship ship(upper);
    dir.write("ship.DSP", "Mast 0\n");
    test::testPrompt().expectMessage(kReminder, MessageIcon::Information);
    ship.reader->loadDisplayState();
    EXPECT_EQ(ship.flags(), "1+1+0-1+1+1+");
    ASSERT_TRUE(ship.reader->saveDisplayState());
    EXPECT_EQ(TempDir::read(dir.file("ship.DSP")),
              "Root 1\nHull 1\nMast 0\nSail boat 1\nTwin 1\nTwin 1\n");
}

}  // namespace
}  // namespace y4
