// The parse split between two threads gives what one thread gives, record for record (ids
// included) and byte for byte on save, wherever the split falls: at the start of a block, inside
// one, in the header, in the middle of a line; a generated model of each variant saves as the
// generator wrote it; and a malformed file is refused with the same message wherever the fault
// lies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ModelGenerator.h"
#include "files/LoadError.h"
#include "files/Reader.h"
#include "files/Writer.h"
#include "support/SceneDump.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::SceneDump;
using test::TempDir;

Reader::Options splitAt(std::uint64_t offset) {
    Reader::Options options;
    options.parseSplit = offset;
    return options;
}

// What a load gives: the scene as text and the file a save writes, or the load's error; and
// how many threads parsed it.
std::string outcome(const std::string& path, Reader::Options options, TempDir& out,
                    int* threads = nullptr) {
    try {
        Reader r(nullptr, path, options);
        const std::string extension = path.substr(path.rfind('.'));
        Writer w(r, out.file("SAVED" + extension));
        if (threads) {
            *threads = r.parseThreads;
        }
        return SceneDump::text(r) + "\n---\n" + TempDir::read(out.file("SAVED" + extension));
    } catch (const LoadError& error) {
        return error.what();
    }
}

// The offsets to split at: every line that starts a block, and a spread of others: inside
// blocks, in the header, in the middle of lines, near the end.
std::vector<std::uint64_t> splitPoints(const std::string& text, std::string_view blockStart) {
    std::vector<std::uint64_t> points = {0, 1, 7, text.size() - 2, text.size() - 1, text.size()};
    std::size_t line = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1, ++line) {
        if (text.compare(at, blockStart.size(), blockStart) == 0) {
            points.push_back(at);
        } else if (line % 257 == 0) {
            points.push_back(at);
            points.push_back(at + 3);
        }
        if (text.find('\n', at) == std::string::npos) {
            break;
        }
    }
    return points;
}

TEST(ParallelParse, EverySplitGivesWhatOneThreadGives) {
    const struct {
        const char* name;
        const char* blockStart;
        int subEntities;
    } variants[] = {
        {"GEN.Y4P", "Entity[", 3}, {"GEN.Y4T", "\\\\ Start Record", 14}, {"GEN.Y4D", "Entity[", 1}};
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        TempDir dir, out;
        gen::GeneratorOptions options;
        options.faces = 1200;
        options.groups = 24;
        options.subEntities = v.subEntities;
        options.seed = 5;
        const std::string path = dir.file(v.name);
        gen::ModelGenerator::write(options, path);
        const std::string text = TempDir::read(path);
        const std::string expected = outcome(path, splitAt(Reader::kNoSplit), out);
        ASSERT_EQ(expected.find("Error"), std::string::npos) << expected;
        // The generator writes what the writer writes, so what is saved loads and saves again
        // unchanged.
        EXPECT_TRUE(expected.ends_with("\n---\n" + text)) << "the save differs from the file";
        int twoThreads = 0;
        for (std::uint64_t at : splitPoints(text, v.blockStart)) {
            int threads = 0;
            ASSERT_EQ(outcome(path, splitAt(at), out, &threads), expected)
                << "split at byte " << at;
            twoThreads += threads == 2 ? 1 : 0;
        }
        // A flat model is read by one thread; the others were split at every block start.
        EXPECT_GE(twoThreads, std::string(v.name) == "GEN.Y4D" ? 0 : 10);
    }
}

TEST(ParallelParse, ALargeModelSplitsByItselfAndGivesWhatOneThreadGives) {
    if (std::thread::hardware_concurrency() < 2) {
        GTEST_SKIP() << "one core: no second thread";
    }
    TempDir dir, out;
    gen::GeneratorOptions options;
    options.faces = 90000;  // over 8 MB of entity blocks
    options.groups = 120;
    gen::ModelGenerator::write(options, dir.file("BIG.Y4P"));
    EXPECT_EQ(Reader(nullptr, dir.file("BIG.Y4P")).parseThreads, 2);
    EXPECT_EQ(outcome(dir.file("BIG.Y4P"), Reader::Options(), out),
              outcome(dir.file("BIG.Y4P"), splitAt(Reader::kNoSplit), out));
}

// Replaces the first line that starts with `prefix` after `from` with `line`.
std::string withLine(std::string text, std::size_t from, const std::string& prefix,
                     const std::string& line) {
    const std::size_t at = text.find("\n" + prefix, from) + 1;
    return text.replace(at, text.find('\n', at) - at, line);
}

TEST(ParallelParse, AFaultIsReportedAsOneThreadReportsIt) {
    TempDir dir, out;
    gen::GeneratorOptions options;
    options.faces = 1500;
    options.groups = 16;
    options.seed = 9;
    gen::ModelGenerator::write(options, dir.file("GEN.Y4P"));
    const std::string good = TempDir::read(dir.file("GEN.Y4P"));
    const std::size_t back = good.size() * 3 / 4;
    const std::string faults[] = {
        // A corner out of range, a count line, and a sub-entity count that swallows the next
        // entity line, all in the back half.
        withLine(good, back, "Face[", "Face[  0]:   0   1 999"),
        withLine(good, back, "Faces:", "Faces: x"),
        withLine(good, back, "Vertices:", "Vertices: 1000000"),
        // More entities than the file holds, and fewer: the rest is never read.
        withLine(good, 0, "NumEntities:", "NumEntities: 999"),
        withLine(good, 0, "NumEntities:", "NumEntities: 9"),
    };
    for (const std::string& text : faults) {
        dir.write("BAD.Y4P", text);
        const std::string expected = outcome(dir.file("BAD.Y4P"), splitAt(Reader::kNoSplit), out);
        for (std::uint64_t at : splitPoints(text, "Entity[")) {
            if (at % 3 == 0 || text.compare(at, 7, "Entity[") == 0) {
                ASSERT_EQ(outcome(dir.file("BAD.Y4P"), splitAt(at), out), expected)
                    << "split at byte " << at;
            }
        }
    }
}

}  // namespace
}  // namespace y4
