// Saving: every line of each variant byte for byte, and saves that fail without harming the old
// file or the scene. (That every file written loads and saves again unchanged is the soak run's
// to check, on every sample, and the parallel parse test's on generated models.)
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>

#include "files/LoadError.h"
#include "files/Reader.h"
#include "files/Writer.h"
#include "support/ChildProcess.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/SceneDump.h"

namespace y4 {
namespace {

using test::ModelFixture;
using test::SceneDump;
using test::TempDir;

std::string replaceLine(std::string_view text, std::string_view startOfLine,
                        std::string_view line) {
    std::string out(text);
    const std::size_t at = out.find(startOfLine);
    out.replace(at, out.find('\n', at) - at, line);
    return out;
}

std::string saved(Reader& r, const TempDir& dir, std::string_view name) {
    const std::string target = dir.file(name);
    Writer writer(r, target);
    return TempDir::read(target);
}

// The flat model as the writer writes it: unclaimed vertices and faces are not part of any
// entity and are not written, and the columns are recomputed.
std::string flatAsWritten() {
    std::string flat = replaceLine(replaceLine(test::kFlatY4D, "NumVertices: 8", "NumVertices: 7"),
                                   "NumFaces: 4", "NumFaces: 3");
    flat = replaceLine(
        flat, "Entity[  0]",
        "Entity[  0]:                             Base:   0.0000   0.0000   0.0000   0.0000   "
        "0.0000   0.0000   0.0000     -1     -1     -1      1      0      0      0      0      0   "
        "   0      0");
    for (const char* stray : {"  9.0000", "Face[   3]"}) {
        const std::size_t at = flat.find(stray);
        flat.erase(at, flat.find('\n', at) - at + 1);
    }
    return flat;
}

// A hand model of each variant (nested, flat, terrain) with its texture files.
struct HandFile {
    const char* name;
    std::string_view text;
    std::vector<test::TextureFile> textures;
};

std::vector<HandFile> handFiles() {
    return {{"TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}}},
            {"FLAT.Y4D", test::kFlatY4D, {{"BRICK"}, {"GLASS"}}},
            {"HILLS.Y4T", test::kHillsY4T, {{"GRASS"}, {"ROCK"}, {"HILLS"}}}};
}

TEST(Writer, EachVariantIsWrittenLineForLine) {
    // Nested: everything as read, except the counts of "Leg", which are recounted: it holds no
    // faces. Flat: face 255 is named "(null)". Terrain: record r names bitmap r, and the
    // terrain's name now stands last.
    const std::string expected[] = {
        replaceLine(
            test::kTinyY4P, "Entity[   2]",
            "Entity[   2]:                              Leg:     0.000000    -2.000000     "
            "0.000000     0.000000     0.000000     0.000000     0.000000     -1      0      "
            "3      0      0     -4      1      3      0      0  -5141"),
        flatAsWritten(),
        replaceLine(replaceLine(test::kHillsY4T, "Entity[  1]",
                                "Entity[  1]:                             ROCK"),
                    "Entity[  2]", "Entity[  2]:                 Zelvan's Terrain")};
    const std::vector<HandFile> files = handFiles();
    for (std::size_t k = 0; k < files.size(); ++k) {
        const HandFile& c = files[k];
        SCOPED_TRACE(c.name);
        TempDir dir;
        Reader r(nullptr, ModelFixture::write(dir, c.name, c.text, c.textures));
        EXPECT_EQ(saved(r, dir, std::string("OUT") + (c.name + std::strlen(c.name) - 4)),
                  expected[k]);
        if (r.fileType == Reader::kY4D) {
            EXPECT_EQ(r.numVertices, 7);
            EXPECT_EQ(r.numFaces, 3);
            // The variant it was loaded from, whatever the target's name.
            EXPECT_EQ(saved(r, dir, "OTHER.Y4P"), expected[k]);
            // A bitmap number that names no bitmap is written "(null)" as 255 is.
            r.faces[1]->bitmapIndex = 9;
            EXPECT_NE(saved(r, dir, "OUT.Y4D").find("Face[   1]:    0    2    3    9 // (null)\n"),
                      std::string::npos);
        }
    }
}

TEST(Writer, AFailedSaveKeepsTheOldFileAndTheScene) {
    TempDir dir;
    Reader r(nullptr, ModelFixture::write(dir, "TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}}));
    const std::string scene = SceneDump::text(r);
    const std::string old = "the previous save\n";
    dir.write("OLD.Y4P", old);
    std::filesystem::create_directory(dir.file("FOLDER.Y4P"));

    // A target that is a folder, and a target in a missing folder.
    for (const std::string& target : {dir.file("FOLDER.Y4P"), dir.file("MISSING/OUT.Y4P")}) {
        testing::internal::CaptureStderr();
        EXPECT_THROW(Writer(r, target), SaveError);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "\nError: Could not open file " + target + "\n");
        EXPECT_EQ(SceneDump::text(r), scene);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("FOLDER.Y4P")));

    // A disk that fills up halfway: the file size limit of a child process plays the full disk
    // (permissions do not stop root, which the tests may run as).
    const int status = test::ChildProcess::run([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        std::freopen("/dev/null", "w", stderr);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            Writer writer(r, dir.file("OLD.Y4P"));
            return 1;
        } catch (const SaveError& error) {
            return SceneDump::text(r) == scene &&
                           std::string(error.what()).find("File too large") != std::string::npos
                       ? 0
                       : 2;
        }
    });
    EXPECT_TRUE(test::ChildProcess::exitedWith(status, 0)) << "child status " << status;
    EXPECT_EQ(TempDir::read(dir.file("OLD.Y4P")), old);
    EXPECT_EQ(TempDir::entries(dir.path()),
              (std::set<std::string>{"FOLDER.Y4P", "OLD.Y4P", "RED.BMP", "BLUE.BMP", "TINY.Y4P"}));
}

TEST(Writer, RefusesBeforeTouchingTheTargetAFileTheReaderWouldRefuse) {
    // A bitmap name that fits the line it was read from can make a longer line when written:
    // the nested variant pads it, the flat one repeats it in face comments, the terrain pads
    // its record lines. One character less makes a line of exactly 1023 characters.
    const std::size_t longestNames[] = {1010, 988, 1010};
    const char* const records[] = {"bitmap 0", "face 0 with bitmap 0", "record 0 with bitmap 0"};
    const std::vector<HandFile> files = handFiles();
    for (std::size_t k = 0; k < files.size(); ++k) {
        const HandFile& c = files[k];
        SCOPED_TRACE(c.name);
        TempDir dir;
        Reader r(nullptr, ModelFixture::write(dir, c.name, c.text, c.textures));
        const std::string target =
            dir.write(std::string("OUT.") + (c.name + std::strlen(c.name) - 3), "old\n");
        const std::set<std::string> before = TempDir::entries(dir.path());
        r.bitmapNames[0] = std::string(longestNames[k] + 1, 'N');
        const std::string scene = SceneDump::text(r);
        try {
            Writer writer(r, target);
            ADD_FAILURE() << "saved";
        } catch (const SaveError& error) {
            EXPECT_EQ(error.what(), "Error: Could not write " + target + ": " + records[k] +
                                        " (\"" + std::string(40, 'N') +
                                        "...\") would need a line of more than 1023 characters");
        }
        EXPECT_EQ(TempDir::read(target), "old\n");
        EXPECT_EQ(TempDir::entries(dir.path()), before);
        EXPECT_EQ(SceneDump::text(r), scene);
        r.bitmapNames[0] = std::string(longestNames[k], 'N');
        Writer writer(r, target);
        Reader::Options noImages;
        noImages.loadImages = false;
        Reader reloaded(nullptr, target, noImages);
        EXPECT_EQ(reloaded.bitmapNames[0], r.bitmapNames[0]);
    }
}

}  // namespace
}  // namespace y4
