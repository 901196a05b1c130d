// Case-insensitive path resolution on a real folder tree.
#include "platform/PathResolver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace y4 {
namespace {

using Resolved = std::optional<std::string>;
constexpr std::nullopt_t kNone = std::nullopt;

TEST(PathResolver, MatchesEachComponentIgnoringCaseWithEitherSeparator) {
    test::TempDir dir;
    dir.write("Models/Ship/ship.y4p", "x");
    dir.write("Models/Ship/Hull.BMP", "x");
    dir.write("Models/Ship/SHIP.Y4P", "x");
    dir.write("Models/Ship/File.txt", "x");
    const std::string root = dir.path() + "/";
    const std::string ship = root + "Models/Ship/";
    const std::pair<std::string, Resolved> existing[] = {
        {root + "MODELS\\sHiP\\hull.bmp", ship + "Hull.BMP"},
        {root + "Models\\Ship/Hull.BMP", ship + "Hull.BMP"},
        // The exact spelling wins; without one, the first in byte order ("SHIP" < "ship").
        {root + "models/ship/ship.y4p", ship + "ship.y4p"},
        {root + "MODELS/SHIP/SHIP.Y4P", ship + "SHIP.Y4P"},
        {root + "MODELS/SHIP/Ship.y4p", ship + "SHIP.Y4P"},
        // Empty components, "." and ".." are path syntax, not names.
        {root + "/MODELS\\\\.\\SHIP\\..\\ship\\.\\hull.bmp", ship + "Hull.BMP"},
        {root + "MODELS/SHIP/", root + "Models/Ship"},
        {"/", "/"},
        // Missing components anywhere, files used as folders, and no path at all.
        {root + "MODELS/BOAT/SHIP.Y4P", kNone},
        {root + "MODELS/SHIP/SHIP.Y4D", kNone},
        {root + "MODELS/SHIP/SHIP.Y4P/X", kNone},
        {root + "MODELS/SHI", kNone},
        {"", kNone},
        {root + std::string("Models\0/Ship", 12), kNone},
    };
    for (const auto& [path, expected] : existing) {
        EXPECT_EQ(PathResolver::resolveExisting(path), expected) << path;
    }

    const std::pair<std::string, Resolved> forWrite[] = {
        // An existing file in another case is the one replaced.
        {root + "MODELS\\SHIP\\FILE.TXT", ship + "File.txt"},
        {root + "models/ship/SHIP.Y4P", ship + "SHIP.Y4P"},
        {root + "models/ship/sHIP.y4p", ship + "SHIP.Y4P"},
        // A new file takes the name as given, in the resolved folder.
        {root + "MODELS/SHIP/COMMIT2.Y4P", ship + "COMMIT2.Y4P"},
        // No folder, a file as the folder, or no name: nowhere to write.
        {root + "MODELS/BOAT/SHIP.Y4P", kNone},
        {root + "MODELS/SHIP/SHIP.Y4P/X", kNone},
        {root + "MODELS/SHIP/", kNone},
        {root + "MODELS/SHIP\\..", kNone},
        {"", kNone},
    };
    for (const auto& [path, expected] : forWrite) {
        EXPECT_EQ(PathResolver::resolveForWrite(path), expected) << path;
    }

    // Relative paths stay relative.
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(ship);
    EXPECT_EQ(PathResolver::resolveExisting("HULL.BMP"), "Hull.BMP");
    EXPECT_EQ(PathResolver::resolveExisting(".\\HULL.BMP"), "Hull.BMP");
    EXPECT_EQ(PathResolver::resolveExisting("..\\SHIP\\HULL.BMP"), "../Ship/Hull.BMP");
    EXPECT_EQ(PathResolver::resolveExisting("."), ".");
    EXPECT_EQ(PathResolver::resolveForWrite("Y4Editor.log"), "Y4Editor.log");
    EXPECT_EQ(PathResolver::resolveForWrite("hull.bmp"), "Hull.BMP");
    EXPECT_EQ(PathResolver::resolveForWrite("../../models/NEW.Y4P"), "../../Models/NEW.Y4P");
    std::filesystem::current_path(old);
}

TEST(PathResolver, SplitsAndJoinsAtEitherSeparator) {
    EXPECT_EQ(PathResolver::folderOf("C:\\MODELS\\SHIP.Y4P"), "C:\\MODELS");
    EXPECT_EQ(PathResolver::folderOf("/models/ship\\SHIP.Y4P"), "/models/ship");
    EXPECT_EQ(PathResolver::folderOf("/SHIP.Y4P"), "");
    EXPECT_EQ(PathResolver::folderOf("SHIP.Y4P"), "SHIP.Y4P");
    EXPECT_EQ(PathResolver::fileNameOf("C:\\MODELS\\SHIP.Y4P"), "SHIP.Y4P");
    EXPECT_EQ(PathResolver::fileNameOf("/models\\ship/SHIP.Y4P"), "SHIP.Y4P");
    EXPECT_EQ(PathResolver::fileNameOf("SHIP.Y4P"), "SHIP.Y4P");
    EXPECT_EQ(PathResolver::fileNameOf("/models/"), "");
    EXPECT_EQ(PathResolver::join("/models", "SHIP.BMP"), "/models/SHIP.BMP");
    EXPECT_EQ(PathResolver::join("/models/", "SHIP.BMP"), "/models/SHIP.BMP");
    EXPECT_EQ(PathResolver::join("/", "SHIP.BMP"), "/SHIP.BMP");
    EXPECT_EQ(PathResolver::join("", "SHIP.BMP"), "SHIP.BMP");
}

}  // namespace
}  // namespace y4
