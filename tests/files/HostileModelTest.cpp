// Models and textures as an attacker or a careless user leaves them: a model another process
// shortens while it loads, textures that would take unbounded memory, and names that differ
// from the files only in case.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "BitmapWriter.h"
#include "ModelGenerator.h"
#include "files/LoadError.h"
#include "files/Reader.h"
#include "files/Writer.h"
#include "platform/FolderListing.h"
#include "support/BitmapBuilder.h"
#include "support/RecordingTextureDevice.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::TempDir;

TEST(HostileModel, AModelShortenedWhileItLoadsIsRefusedNeverACrash) {
    TempDir dir;
    gen::GeneratorOptions options;
    options.faces = 60000;
    const std::string path = dir.file("BIG.Y4P");
    gen::ModelGenerator::write(options, path);
    const std::string content = TempDir::read(path);
    int refused = 0;
    for (int delayMs = 0; delayMs < 40; delayMs += 3) {
        SCOPED_TRACE(delayMs);
        dir.write("BIG.Y4P", content);
        // The load runs in a child, so a crash shows as its status; this process is the other
        // program that shortens the file once the load has begun.
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], "go", 2);
            try {
                // Every other load is parsed by two threads, each reading its half.
                Reader::Options halves;
                halves.parseSplit = delayMs % 2 ? content.size() / 2 : Reader::kNoSplit;
                Reader r(nullptr, path, halves);
                ::_exit(r.loaded() ? 0 : 3);
            } catch (const LoadError& error) {
                // Shortened before it was opened, the file is refused as malformed.
                ::_exit(error.what() == "Error: " + path + " changed while it was read" ? 1 : 2);
            }
        }
        ::close(ready[1]);
        char go[2];
        ASSERT_EQ(::read(ready[0], go, 2), 2);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ASSERT_EQ(::truncate(path.c_str(), 100000), 0);
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "the load ended with signal " << WTERMSIG(status);
        EXPECT_LE(WEXITSTATUS(status), 2);
        refused += WEXITSTATUS(status) == 1 ? 1 : 0;
    }
    // The shortening hit some loads halfway.
    EXPECT_GT(refused, 0);
}

// A nested model that lists these bitmaps and holds nothing else.
std::string bitmapsOnly(const std::vector<std::string>& names) {
    std::string text = "NumVertices: 0\nNumFaces: 0\nNumBitmaps: " + std::to_string(names.size()) +
                       "\nNumEntities: 0\n// Bitmaps\n";
    for (std::size_t k = 0; k < names.size(); ++k) {
        text += "Bitmap[" + std::to_string(k) + "]: " + names[k] + "\n";
    }
    return text + "// Entity:: name...\n";
}

std::string bitmap(int side) {
    return gen::BitmapWriter::encode(side, side, [](int x, int y) {
        return gen::Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
    });
}

std::string loadError(const std::string& path, Reader::Options options = {}) {
    try {
        Reader r(nullptr, path, options);
    } catch (const LoadError& error) {
        return error.what();
    }
    return "(loaded)";
}

TEST(HostileModel, TexturesAreDecodedOncePerFileAndTogetherWithinALimit) {
    TempDir dir;
    dir.write("Wood.bmp", bitmap(8));
    dir.write("METAL.BMP", bitmap(4));
    // Names that repeat or differ in case share one image and one texture.
    const std::string path = dir.write(
        "SHARED.Y4P", bitmapsOnly({"WOOD", "wood", "METAL", "Wood", "WOOD", "metal", "WOOD"}));
    test::RecordingTextureDevice device;
    Reader::Options options;
    options.textureDevice = &device;
    {
        Reader r(nullptr, path, options);
        const auto& images = r.textures.images;
        ASSERT_EQ(images.size(), 7u);
        for (std::size_t k : {1, 3, 4, 6}) {
            EXPECT_EQ(images[k], images[0]) << k;
        }
        EXPECT_EQ(images[5], images[2]);
        EXPECT_EQ(images[0]->sizeX, 8);
        EXPECT_EQ(device.calls, (std::vector<std::string>{"generate 1 2 3 4 5 6 7", "upload 1 8x8",
                                                          "upload 3 4x4"}));
        EXPECT_EQ(r.textures.textureNames, (std::vector<TextureName>{1, 1, 3, 1, 1, 3, 1}));
    }
    EXPECT_EQ(device.calls.back(), "release 1 2 3 4 5 6 7");
    EXPECT_TRUE(device.live.empty());

    // The limit counts each file once: the shared model fits in the bytes of its two files.
    options.imageByteLimit = (8 * 8 + 4 * 4) * 3;
    EXPECT_EQ(loadError(path, options), "(loaded)");
    options.imageByteLimit -= 1;
    EXPECT_EQ(loadError(path, options), "Error: The textures of " + path +
                                            " need more than 239 bytes when decoded; aborting");
    // A bitmap added past the limit is told and stays without its image.
    Reader r(nullptr, dir.write("WOOD.Y4P", bitmapsOnly({"WOOD"})), options);
    test::testPrompt().expectMessage("Error: The textures of " + dir.file("WOOD.Y4P") +
                                     " need more than 239 bytes when decoded");
    r.addBitmap("METAL");
    EXPECT_EQ(r.bitmapNames.size(), 2u);
    EXPECT_FALSE(r.textures.images[1]);

    // A terrain whose records all use one bitmap decodes it once.
    std::string terrain = "NumRecords:     20\n";
    for (int k = 0; k < 20; ++k) {
        terrain += "Entity[" + std::to_string(k) + "]: " + (k % 2 ? "wood" : "WOOD") + "\n";
    }
    terrain += "??: 19\n";
    for (int k = 0; k < 20; ++k) {
        terrain += "\\\\ Start Record\nnumVertices: 0\nnumFaces: 0\nRecord: " + std::to_string(k) +
                   "\n??: 1\n\\\\ End Record\n";
    }
    dir.write("HILLS.BMP", bitmap(2));
    Reader hills(nullptr, dir.write("HILLS.Y4T", terrain));
    ASSERT_EQ(hills.textures.images.size(), 21u);
    for (std::size_t k = 1; k < 20; ++k) {
        EXPECT_EQ(hills.textures.images[k], hills.textures.images[0]) << k;
    }
    EXPECT_EQ(hills.textures.images[20]->sizeX, 2);
}

TEST(HostileModel, ATinyModelCannotTakeGigabytesThroughItsTextures) {
    TempDir dir;
    // 1,080 bytes that declare 8192 x 8192 pixels of nothing, listed ten times: refused at the
    // first, which is read once.
    dir.write("HUGE.BMP", test::BitmapBuilder(8192, 8192, 8, {}, std::vector<std::uint32_t>(256))
                              .rle({0, 1})
                              .build());
    const std::string path =
        dir.write("TINY.Y4P", bitmapsOnly(std::vector<std::string>(10, "HUGE")));
    EXPECT_LT(test::TempDir::read(path).size(), 300u);
    test::testPrompt().expectMessage("Image file conversion error.");
    EXPECT_EQ(loadError(path), "Error: Could not open required texture; aborting");
}

TEST(HostileModel, EachFolderIsListedOncePerLoad) {
    TempDir dir;
    for (int k = 0; k < 1000; ++k) {
        dir.write("other" + std::to_string(k) + ".txt", "");
    }
    // Every bitmap name differs in case from its file, so each needs the folder's names.
    std::vector<std::string> names;
    for (int k = 0; k < 200; ++k) {
        const std::string name = "Tex" + std::to_string(k);
        dir.write(name + ".bmp", bitmap(1));
        names.push_back("TEX" + std::to_string(k));
    }
    const std::string path = dir.write("MANY.Y4P", bitmapsOnly(names));
    const std::uint64_t before = FolderListing::foldersRead();
    Reader r(nullptr, path);
    EXPECT_EQ(FolderListing::foldersRead() - before, 1u);
    EXPECT_EQ(r.textures.images[199]->sizeX, 1);
}

std::string upperCased(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

TEST(HostileModel, TheFileANameLeadsToIsTheOneOpenedOrWritten) {
    TempDir dir;
    const auto model = [](const char* root) {
        return std::string("NumVertices: 0\nNumFaces: 0\nNumBitmaps: 1\nNumEntities: 1\n") +
               "// Bitmaps\nBitmap[0]: WOOD\n// Entity:: name...\nEntity[0]: " + root +
               ": 0 0 0 0 0 0 0 -1 -1 -1 0 0 0 0 0 0 0 -5141\n";
    };
    // Two folders and two files whose names differ only in case, each with its own texture.
    const std::string chosen = dir.write("cs/a.Y4P", model("Lower"));
    dir.write("cs/A.Y4P", model("Upper"));
    dir.write("cs/wood.bmp", bitmap(2));
    dir.write("CS/A.Y4P", model("Other folder"));
    dir.write("CS/WOOD.BMP", bitmap(4));

    // The file chosen is opened; the model is known by its path in upper case, and what it
    // refers to is looked for beside the file read.
    Reader r(nullptr, ModelSource::chosen(chosen));
    EXPECT_EQ(r.entities.at(0)->name(), "Lower");
    EXPECT_EQ(r.filePath, chosen);
    EXPECT_EQ(r.fileName, upperCased(chosen));
    EXPECT_EQ(r.modelFolder, upperCased(dir.path()) + "/CS");
    EXPECT_EQ(r.textures.images.at(0)->sizeX, 2);
    EXPECT_EQ(r.besideModel("commit1.Y4P"), dir.file("cs/commit1.Y4P"));
    r.entities[0]->displayed = 0;
    ASSERT_TRUE(r.saveDisplayState());
    EXPECT_EQ(TempDir::read(dir.file("cs/A.dsp")), "Lower 0\n");
    EXPECT_EQ(TempDir::read(dir.file("CS/A.dsp")), "");
    // A stored name that no longer exists as spelled is matched ignoring case, exact
    // spellings first.
    Reader stored(nullptr, upperCased(chosen));
    EXPECT_EQ(stored.entities.at(0)->name(), "Other folder");
    EXPECT_EQ(stored.filePath, dir.file("CS/A.Y4P"));

    // A save writes the file named, in its spelling; a name the editor made replaces the
    // file that differs only in case.
    const std::string other = dir.write("Out.y4p", "another model\n");
    Writer(r, dir.file("out.Y4P"));
    EXPECT_EQ(TempDir::read(other), "another model\n");
    EXPECT_EQ(TempDir::read(dir.file("out.Y4P")).substr(0, 14), "NumVertices: 0");
    Writer(r, dir.file("OUT.Y4P"), Writer::Target::IgnoringCase);
    EXPECT_EQ(TempDir::read(other), TempDir::read(dir.file("out.Y4P")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("OUT.Y4P")));
}

}  // namespace
}  // namespace y4
