// The recent models over an in-memory store: most recent first, eight at most, one entry per
// file whatever its spelling, and junk in the stored value passed over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "shell/RecentModels.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::TempDir;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

TEST(RecentModels, ARandomSequenceKeepsTheLastEightFilesMostRecentFirst) {
    TempDir dir;
    // Files that exist, each also named in another case, and files that do not.
    std::vector<std::string> pool;
    for (int k = 0; k < 7; ++k) {
        const std::string name = "M" + std::to_string(k) + ".Y4P";
        dir.write(name, "x");
        pool.push_back(dir.file(name));
        pool.push_back(dir.file("m" + std::to_string(k) + ".y4p"));
    }
    for (int k = 0; k < 4; ++k) {
        pool.push_back("/nowhere/Gone" + std::to_string(k) + ".Y4D");
        pool.push_back("/nowhere/GONE" + std::to_string(k) + ".y4d");
    }
    MemorySettingsStore store;
    RecentModels recent(store);
    // The reference: spellings as added, one per upper-case path, newest first.
    std::vector<std::string> expected;
    std::mt19937 random(20);
    for (int step = 0; step < 400; ++step) {
        const std::string& path = pool[random() % pool.size()];
        const auto same = [&](const std::string& p) { return upper(p) == upper(path); };
        std::erase_if(expected, same);
        if (random() % 4 == 0) {
            recent.remove(path);
        } else {
            recent.add(path);
            expected.insert(expected.begin(), path);
            expected.resize(std::min<std::size_t>(expected.size(), RecentModels::kMaxModels));
        }
        ASSERT_EQ(recent.models(), expected) << "step " << step;
    }
}

TEST(RecentModels, JunkInTheStoreIsPassedOverAndLinksFoldWithTheirFiles) {
    TempDir dir;
    const std::string crate = dir.write("CRATE.Y4P", "x");
    std::filesystem::create_symlink(crate, dir.file("link.y4p"));
    MemorySettingsStore store;
    std::string junk = "relative/A.Y4P\n\n\r\n" + crate + "\n" + dir.file("crate.y4p") + "\n/" +
                       std::string(5000, 'a') + "\n" + std::string("/x\0y", 4) + "\n";
    for (int k = 0; k < 20; ++k) {
        junk += "/f/" + std::to_string(k) + ".Y4P\n";
    }
    store.set(RecentModels::kValueName, junk);
    RecentModels recent(store);
    std::vector<std::string> expected = {crate};
    for (int k = 0; expected.size() < RecentModels::kMaxModels; ++k) {
        expected.push_back("/f/" + std::to_string(k) + ".Y4P");
    }
    EXPECT_EQ(recent.models(), expected);

    // The link leads to the crate: it takes the crate's place at the front. A path that could
    // not be stored, or a relative one, is not added.
    recent.add(dir.file("link.y4p"));
    expected.erase(expected.begin());
    expected.insert(expected.begin(), dir.file("link.y4p"));
    EXPECT_EQ(recent.models(), expected);
    recent.add("/a/two\nlines.Y4P");
    recent.add("CRATE.Y4P");
    EXPECT_EQ(recent.models(), expected);
    EXPECT_EQ(store.query(RecentModels::kValueName).find("two"), std::string::npos);
    recent.remove(crate);
    expected.erase(expected.begin());
    EXPECT_EQ(recent.models(), expected);
}

}  // namespace
}  // namespace y4
