// QSettingsStore over INI files in a private folder: round trips, the file's layout, missing,
// garbage and unwritable files. No test touches the user's real settings.
#include <gtest/gtest.h>

#include <QSettings>
#include <QString>
#include <filesystem>
#include <string>

#include "shell/QSettingsStore.h"
#include "shell/SettingsRegistry.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

TEST(QSettingsStore, ValuesRoundTripThroughTheIniFile) {
    test::TempDir dir;
    const std::string ini = dir.file("settings.ini");
    const std::string awkward = " C:\\Plans\\a, b;\"q\" = x \xC3\xBC ";
    {
        QSettingsStore store(ini);
        EXPECT_TRUE(store.set("ambientR", "0.3"));
        EXPECT_TRUE(store.set("bitmapXYName", awkward));
        EXPECT_TRUE(store.set("extension", ""));
        EXPECT_EQ(store.query("ambientR"), "0.3");
        EXPECT_TRUE(store.sync());
        const std::string text = test::TempDir::read(ini);
        EXPECT_NE(text.find("[Software]\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Miscellaneous\\Y4Editor\\ambientR=0.3\n"), std::string::npos) << text;
    }
    const QSettingsStore reopened(ini);
    EXPECT_EQ(reopened.query("ambientR"), "0.3");
    EXPECT_EQ(reopened.query("bitmapXYName"), awkward);
    EXPECT_EQ(reopened.query("extension"), "");
    EXPECT_EQ(reopened.query("ambientG"), "");
    EXPECT_EQ(reopened.query(""), "");
}

TEST(QSettingsStore, MissingFileReadsEmptyAndIsNotCreatedByReading) {
    test::TempDir dir;
    const std::string ini = dir.file("none/settings.ini");
    const QSettingsStore store(ini);
    EXPECT_EQ(store.query("gridSpacing"), "");
    ProjectionSettings projection;
    loadProjectionSettings(store, projection, true);
    EXPECT_EQ(projection, ProjectionSettings::defaults(true));
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST(QSettingsStore, GarbageInTheFileReadsAsMissingOrAsItsText) {
    test::TempDir dir;
    using namespace std::string_literals;
    const std::string ini =
        dir.write("settings.ini",
                  "\xFF\xFE\x00garbage\n"
                  "[Software]\n"
                  "Miscellaneous\\Y4Editor\\gridMin=-3, 4\n"
                  "Miscellaneous\\Y4Editor\\gridMax=@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff)\n"
                  "Miscellaneous\\Y4Editor\\gridSpacing=@ByteArray(\\0\\x1)\n"
                  "Miscellaneous\\Y4Editor\\gridXY_R=\"unterminated\n"
                  "Miscellaneous\\Y4Editor\\gridXY=\x80\x81\n"
                  "Miscellaneous\\Y4Editor\\bitmapXYName=@Rect(1 2 3 4)\n"
                  "=\n\x01\x02=\x03\n[[[\n[\n"s);
    QSettingsStore store(ini);
    EXPECT_EQ(store.query("gridMin"), "-3, 4");
    EXPECT_EQ(store.query("gridMax"), "");
    EXPECT_EQ(store.query("gridSpacing"), "");
    EXPECT_EQ(store.query("bitmapXYName"), "");
    GridSettings grid;
    loadGridSettings(store, grid);
    EXPECT_EQ(grid.gridMin, -3.0f);
    EXPECT_EQ(grid.gridMax, 10.0f);
    EXPECT_EQ(grid.gridSpacing, 2.0f);
    EXPECT_EQ(grid.gridXY, 0);
    EXPECT_EQ(grid.bitmapXYName, "");

    // The damaged file still takes new values.
    EXPECT_TRUE(store.set("gridMax", "12"));
    EXPECT_TRUE(store.sync());
    EXPECT_EQ(QSettingsStore(ini).query("gridMax"), "12");
}

TEST(QSettingsStore, UnwritableFileReportsFailedWrites) {
    test::TempDir dir;
    const std::string notAFolder = dir.write("plain", "x");
    QSettingsStore store(notAFolder + "/settings.ini");
    EXPECT_FALSE(store.set("path", "/MODELS/A.Y4P"));
    EXPECT_FALSE(saveTransformSettings(store, TransformSettings{}));
}

TEST(QSettingsStore, DefaultStoreIsTheUsersIniFile) {
    test::TempDir dir;
    // Points the user scope at the private folder for the rest of this test program.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path()));
    QSettingsStore store;
    const std::string expected = dir.file("Miscellaneous/Y4Editor.ini");
    ASSERT_EQ(store.fileName(), expected);
    EXPECT_TRUE(store.set("path", "/MODELS/A.Y4P"));
    EXPECT_TRUE(store.sync());
    EXPECT_NE(test::TempDir::read(expected).find("Miscellaneous\\Y4Editor\\path=/MODELS/A.Y4P\n"),
              std::string::npos);
}

}  // namespace
}  // namespace y4
