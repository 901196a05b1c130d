// The main window's part of autosave: the stored switch and interval (junk reads as the
// defaults), "Preferences..." changing and storing them, and an exit without saving that takes
// the recovery copy with it.
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <chrono>
#include <utility>

#include "EditorFixture.h"
#include "document/Autosave.h"

namespace y4 {
namespace {

using std::chrono::minutes;
using test::TempDir;
using test::testPrompt;

class EditorAutosaveTest : public test::EditorFixture {};

TEST_F(EditorAutosaveTest, PreferencesSetTheAutosaveAndAnExitWithoutSavingDropsTheCopy) {
    store_.set("autosave", "maybe");
    store_.set("autosaveMinutes", "999");
    const auto window = startWithCrate();
    Autosave& autosave = window->document().autosave();
    EXPECT_TRUE(autosave.enabled());
    EXPECT_EQ(autosave.interval(), minutes(2));

    const auto controls = [](QDialog& dialog) {
        return std::pair{&test::control<QCheckBox>(dialog, "Autosave"),
                         &test::control<QSpinBox>(dialog, "Minutes between autosaves:")};
    };
    withModal([&] { button(*window, "Preferences...").click(); },
              [&](QDialog& dialog) {
                  EXPECT_EQ(dialog.windowTitle(), "Preferences");
                  auto [on, every] = controls(dialog);
                  EXPECT_TRUE(on->isChecked());
                  EXPECT_EQ(every->value(), 2);
                  every->setValue(75);  // past the longest interval
                  EXPECT_EQ(every->value(), 60);
                  every->setValue(5);
                  on->setChecked(false);
                  EXPECT_FALSE(every->isEnabled());
                  test::button(dialog, "OK").click();
              });
    EXPECT_FALSE(autosave.enabled());
    EXPECT_EQ(autosave.interval(), minutes(5));
    EXPECT_EQ(store_.query("autosave"), "0");
    EXPECT_EQ(store_.query("autosaveMinutes"), "5");
    // Cancel keeps what was there.
    withModal([&] { button(*window, "Preferences...").click(); },
              [&](QDialog& dialog) {
                  auto [on, every] = controls(dialog);
                  EXPECT_FALSE(on->isChecked());
                  EXPECT_EQ(every->value(), 5);
                  on->setChecked(true);
                  test::button(dialog, "Cancel").click();
              });
    EXPECT_FALSE(autosave.enabled());
    EXPECT_EQ(store_.query("autosave"), "0");

    // A copy of unsaved edits goes when the user answers No to "Save changes?" on exit.
    ModelDocument& document = window->document();
    ASSERT_TRUE(document.toggleDeleted(document.reader()->faces[0]));
    ASSERT_TRUE(document.autosaveNow());
    document.finishAutosave();
    const std::string copy = sample("CRATE.autosave.Y4P");
    EXPECT_EQ(TempDir::typeOf(copy), "file");
    testPrompt().expectQuestion("Save changes?", false);
    button(*window, "Exit").click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(TempDir::typeOf(copy), "missing");
    EXPECT_EQ(TempDir::typeOf(sample("CRATE.autosave.state")), "missing");
    EXPECT_EQ(TempDir::read(sample("CRATE.Y4P")),
              TempDir::read(std::string(Y4_SAMPLES_DIR) + "/CRATE.Y4P"));
}

}  // namespace
}  // namespace y4
