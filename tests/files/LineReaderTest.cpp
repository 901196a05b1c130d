// Lines read through the refilled window: the same lines whatever the window and wherever a
// range is cut, the line-length rule with its carriage returns, and a file that another
// process shortens or extends while it is read.
#include "files/LineReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/LoadError.h"
#include "platform/InputFile.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;

// Every line of [begin, end) of `path`, and the number of the last one.
Lines readLines(const std::string& path, std::uint64_t begin, std::uint64_t end, int before,
                std::size_t window, int* lastNumber = nullptr) {
    std::optional<InputFile> file = InputFile::open(path);
    EXPECT_TRUE(file);
    LineReader lines(*file, "F.Y4P", begin, end, before, window);
    Lines out;
    while (!lines.atEnd()) {
        out.emplace_back(lines.next("a line"));
    }
    if (lastNumber) {
        *lastNumber = lines.lineNumber();
    }
    return out;
}

std::string loadError(const std::function<void()>& action) {
    try {
        action();
    } catch (const LoadError& error) {
        return error.what();
    }
    return "(no LoadError)";
}

TEST(LineReader, TheSameLinesWhateverTheWindowAndWhereverARangeIsCut) {
    test::TempDir dir;
    std::mt19937 random(5);
    Lines expected;
    std::string text;
    std::vector<std::uint64_t> lineStarts;
    for (int k = 0; k < 3000; ++k) {
        const std::size_t length = random() % 8 == 0 ? 1000 + random() % 24 : random() % 60;
        std::string line(length, static_cast<char>('a' + k % 26));
        lineStarts.push_back(text.size());
        text += line + (k % 3 == 0 ? "\r\n" : "\n");
        expected.push_back(line);
    }
    text += "last line without an end";
    expected.push_back("last line without an end");
    const std::string path = dir.write("F.Y4P", text);

    for (const std::size_t window : {std::size_t{0}, std::size_t{3000}, LineReader::kWindowSize}) {
        SCOPED_TRACE(window);
        int last = 0;
        EXPECT_EQ(readLines(path, 0, text.size(), 0, window, &last), expected);
        EXPECT_EQ(last, 3001);
        // Two ranges cut at a line start read the same lines, numbered on.
        const int cut = 1234;
        const Lines first = readLines(path, 0, lineStarts[cut], 0, window);
        const Lines second = readLines(path, lineStarts[cut], ~0ull, cut, window, &last);
        EXPECT_EQ(first, Lines(expected.begin(), expected.begin() + cut));
        EXPECT_EQ(second, Lines(expected.begin() + cut, expected.end()));
        EXPECT_EQ(last, 3001);
    }
    std::optional<InputFile> file = InputFile::open(path);
    LineReader lines(*file, "F.Y4P", lineStarts[5], lineStarts[6], 5);
    EXPECT_EQ(lines.offset(), lineStarts[5]);
    EXPECT_EQ(lines.next("a line"), expected[5]);
    EXPECT_EQ(lines.offset(), lineStarts[6]);
    EXPECT_EQ(loadError([&] { lines.next("a vertex line"); }),
              "Error: F.Y4P, line 7: the file ends where a vertex line was expected");
}

TEST(LineReader, LinesOfAtMost1023CharactersBeforeTheirCarriageReturns) {
    test::TempDir dir;
    const std::string longest(1023, 'x');
    // Carriage returns before a line end are not part of the line, however many there are.
    const std::string manyReturns = "short" + std::string(5000, '\r') + "\n";
    const std::string path = dir.write("F.Y4P", longest + "\n" + manyReturns + "end");
    for (const std::size_t window : {std::size_t{0}, LineReader::kWindowSize}) {
        EXPECT_EQ(readLines(path, 0, ~0ull, 0, window), (Lines{longest, "short", "end"}));
    }
    const std::pair<std::string, int> refused[] = {
        {longest + "x\nnext", 1},
        {"ok\n" + longest + std::string(3000, '\r') + "x\n", 2},
        {"ok\nok\n" + std::string(9000, 'y'), 3},
    };
    for (const auto& [text, line] : refused) {
        const std::string file = dir.write("F.Y4P", text);
        for (const std::size_t window : {std::size_t{0}, LineReader::kWindowSize}) {
            EXPECT_EQ(loadError([&] { readLines(file, 0, ~0ull, 0, window); }),
                      "Error: F.Y4P, line " + std::to_string(line) +
                          ": expected a line of at most 1023 characters");
        }
    }
}

TEST(LineReader, AFileChangedByAnotherProcessWhileItIsReadIsRefused) {
    test::TempDir dir;
    std::string text;
    for (int k = 0; k < 5000; ++k) {
        text += "Vertex[" + std::to_string(k) + "]: 1 2 3 4 5 6 7 8 9 10\n";
    }
    const std::string path = dir.write("F.Y4P", text);
    const auto change = [&](const char* how) {
        test::ChildProcess::run([&] {
            return ::truncate(path.c_str(),
                              how[0] == 's' ? 1000 : static_cast<off_t>(text.size() + 10));
        });
    };
    for (const char* how : {"shrinks", "grows"}) {
        SCOPED_TRACE(how);
        dir.write("F.Y4P", text);
        std::optional<InputFile> file = InputFile::open(path);
        // While the window still holds the start, and when the next window is read.
        LineReader lines(*file, "F.Y4P", 0, ~0ull, 0, LineReader::kMinWindowSize);
        EXPECT_EQ(lines.next("a line"), "Vertex[0]: 1 2 3 4 5 6 7 8 9 10");
        change(how);
        EXPECT_EQ(loadError([&] {
                      while (!lines.atEnd()) {
                          lines.next("a line");
                      }
                  }),
                  "Error: F.Y4P changed while it was read");

        // A change after the last window was read shows at the final check.
        dir.write("F.Y4P", text);
        file = InputFile::open(path);
        LineReader whole(*file, "F.Y4P");
        EXPECT_EQ(whole.next("a line"), "Vertex[0]: 1 2 3 4 5 6 7 8 9 10");
        change(how);
        while (!whole.atEnd()) {
            whole.next("a line");
        }
        EXPECT_EQ(loadError([&] { whole.checkUnchanged(); }),
                  "Error: F.Y4P changed while it was read");
    }
}

}  // namespace
}  // namespace y4
