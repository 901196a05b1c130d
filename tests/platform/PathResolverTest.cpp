// Case-insensitive path resolution on a real folder tree.
#include "platform/PathResolver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace y4 {
namespace {

// Runs a test body in another current folder and always returns to the old one.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(old_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path old_;
};

std::optional<std::string> in(const test::TempDir& dir, const std::string& relative) {
    return dir.path() + "/" + relative;
}

TEST(PathResolver, MatchesEachComponentIgnoringCaseWithEitherSeparator) {
    test::TempDir dir;
    dir.write("Models/Ship/ship.y4p", "x");
    dir.write("Models/Ship/Hull.BMP", "x");
    const std::string root = dir.path();

    EXPECT_EQ(PathResolver::resolveExisting(root + "/MODELS/SHIP/SHIP.Y4P"),
              in(dir, "Models/Ship/ship.y4p"));
    EXPECT_EQ(PathResolver::resolveExisting(root + "\\models\\sHiP\\hull.bmp"),
              in(dir, "Models/Ship/Hull.BMP"));
    EXPECT_EQ(PathResolver::resolveExisting(root + "/Models\\Ship/Hull.BMP"),
              in(dir, "Models/Ship/Hull.BMP"));
    // Empty components, "." and ".." are path syntax, not names.
    EXPECT_EQ(PathResolver::resolveExisting(root + "//MODELS\\\\.\\SHIP\\..\\ship\\.\\SHIP.Y4P"),
              in(dir, "Models/Ship/ship.y4p"));
    EXPECT_EQ(PathResolver::resolveExisting(root + "/MODELS/SHIP/"), in(dir, "Models/Ship"));
    EXPECT_EQ(PathResolver::resolveExisting("/"), "/");

    // Missing components anywhere, and files used as folders.
    EXPECT_EQ(PathResolver::resolveExisting(root + "/MODELS/BOAT/SHIP.Y4P"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveExisting(root + "/MODELS/SHIP/SHIP.Y4D"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveExisting(root + "/MODELS/SHIP/SHIP.Y4P/X"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveExisting(root + "/MODELS/SHI"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveExisting(""), std::nullopt);
    EXPECT_EQ(PathResolver::resolveExisting(root + std::string("/Models\0/Ship", 13)),
              std::nullopt);
}

TEST(PathResolver, PrefersTheExactSpellingThenTheFirstInByteOrder) {
    test::TempDir dir;
    dir.write("Data/file.txt", "lower");
    dir.write("Data/FILE.TXT", "upper");
    dir.write("Data/File.txt", "mixed");
    const std::string root = dir.path();

    EXPECT_EQ(PathResolver::resolveExisting(root + "/data/file.txt"), in(dir, "Data/file.txt"));
    EXPECT_EQ(PathResolver::resolveExisting(root + "/DATA/File.txt"), in(dir, "Data/File.txt"));
    EXPECT_EQ(PathResolver::resolveExisting(root + "/Data/FILE.TXT"), in(dir, "Data/FILE.TXT"));
    // No exact spelling: "FILE.TXT" < "File.txt" < "file.txt" byte by byte.
    EXPECT_EQ(PathResolver::resolveExisting(root + "/Data/file.TXT"), in(dir, "Data/FILE.TXT"));
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/data/fILE.txt"), in(dir, "Data/FILE.TXT"));
}

TEST(PathResolver, RelativePathsStayRelative) {
    test::TempDir dir;
    dir.write("Models/Ship.Y4P", "x");
    CurrentFolder here(dir.path() + "/Models");

    EXPECT_EQ(PathResolver::resolveExisting("ship.y4p"), "Ship.Y4P");
    EXPECT_EQ(PathResolver::resolveExisting(".\\SHIP.Y4P"), "Ship.Y4P");
    EXPECT_EQ(PathResolver::resolveExisting("..\\MODELS\\SHIP.Y4P"), "../Models/Ship.Y4P");
    EXPECT_EQ(PathResolver::resolveExisting("."), ".");
    EXPECT_EQ(PathResolver::resolveForWrite("Y4Editor.log"), "Y4Editor.log");
    EXPECT_EQ(PathResolver::resolveForWrite("SHIP.Y4P"), "Ship.Y4P");
    EXPECT_EQ(PathResolver::resolveForWrite("../models/NEW.Y4P"), "../Models/NEW.Y4P");
}

TEST(PathResolver, ResolveForWriteKeepsTheNameUnlessAnotherCaseExists) {
    test::TempDir dir;
    dir.write("Models/Ship/commit1.y4p", "x");
    dir.write("Models/Ship/SHIP.Y4P", "x");
    const std::string root = dir.path();

    // An existing file in another case is the one replaced.
    EXPECT_EQ(PathResolver::resolveForWrite(root + "\\MODELS\\SHIP\\COMMIT1.Y4P"),
              in(dir, "Models/Ship/commit1.y4p"));
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/models/ship/SHIP.Y4P"),
              in(dir, "Models/Ship/SHIP.Y4P"));
    // A new file takes the name as given, in the resolved folder.
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/MODELS/SHIP/COMMIT2.Y4P"),
              in(dir, "Models/Ship/COMMIT2.Y4P"));
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/MODELS/SHIP/SHIP.dsp"),
              in(dir, "Models/Ship/SHIP.dsp"));

    // No folder, a file as the folder, or no name: nowhere to write.
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/MODELS/BOAT/SHIP.Y4P"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/MODELS/SHIP/SHIP.Y4P/X"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/MODELS/SHIP/"), std::nullopt);
    EXPECT_EQ(PathResolver::resolveForWrite(root + "/MODELS/SHIP\\.."), std::nullopt);
    EXPECT_EQ(PathResolver::resolveForWrite(""), std::nullopt);
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
