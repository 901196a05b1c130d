// The inputs the fuzz campaigns found or met, in tests/data/bad, each with the outcome its reader
// must give (listed in tests/data/bad/expected: file, outcome, and what the campaign saw). A
// crash found by a campaign is listed with "?" until its cause is mended and the sound outcome
// written in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "soak/HostileInput.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

// An outcome as one line of the list.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
    }
    return out;
}

TEST(BadInput, EachFileGivesItsListedOutcomeAndEveryFileIsListed) {
    const std::filesystem::path folder = std::filesystem::path(Y4_TEST_DATA_DIR) / "bad";
    std::ifstream manifest(folder / "expected");
    ASSERT_TRUE(manifest) << "no list of expected outcomes in " << folder;
    std::set<std::string> listed;
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const std::string file = line.substr(0, tab);
        const std::string rest = line.substr(tab + 1);
        const std::string expected = rest.substr(0, rest.find('\t'));
        SCOPED_TRACE(file);
        EXPECT_TRUE(listed.insert(file).second) << "listed twice";
        const std::string data = test::TempDir::read((folder / file).string());
        EXPECT_EQ(escaped(test::HostileInput::outcome(data, file.substr(file.rfind('.') + 1))),
                  expected);
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "expected" || listed.count(name)) << name << " is not listed";
    }
    EXPECT_FALSE(listed.empty());
}

}  // namespace
}  // namespace y4
