// Read-only file mappings: content, failures with the system's reason, and dropping the pages
// already parsed.
#include "platform/MappedFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace y4 {
namespace {

// The resident size of the mapping that starts at `address`, from /proc/self/smaps; -1 when
// the system does not tell.
long residentKiB(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    std::ostringstream start;
    start << std::hex << reinterpret_cast<std::uintptr_t>(address) << '-';
    std::string line;
    bool inMapping = false;
    while (std::getline(smaps, line)) {
        if (line.rfind(start.str(), 0) == 0) {
            inMapping = true;
        } else if (inMapping && line.rfind("Rss:", 0) == 0) {
            return std::stol(line.substr(4));
        }
    }
    return -1;
}

TEST(MappedFile, MapsTheWholeFileAndMovesOwnership) {
    test::TempDir dir;
    const std::string content("ENTITY\r\n\0tail without line end", 30);
    std::string error = "untouched";
    std::optional<MappedFile> file = MappedFile::open(dir.write("SHIP.Y4P", content), &error);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->bytes(), content);
    EXPECT_EQ(error, "untouched");

    MappedFile moved = std::move(*file);
    EXPECT_EQ(moved.bytes(), content);
    EXPECT_EQ(file->size(), 0u);
    std::optional<MappedFile> other = MappedFile::open(dir.write("B.Y4P", "b"));
    ASSERT_TRUE(other);
    moved = std::move(*other);
    EXPECT_EQ(moved.bytes(), "b");

    std::optional<MappedFile> empty = MappedFile::open(dir.write("EMPTY.Y4P", ""), &error);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->bytes().empty());
    empty->discardBefore(10);
}

TEST(MappedFile, FailsWithTheSystemsReason) {
    test::TempDir dir;
    // A pipe has no size: refused at once instead of waiting for a writer.
    const std::string fifo = dir.file("PIPE");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string locked = dir.write("LOCKED.Y4P", "x");
    ::chmod(locked.c_str(), 0);
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.file("MISSING.Y4P"), "No such file or directory"},
        {dir.path(), "Is a directory"},
        {dir.write("A.Y4P", "x") + "/B.Y4P", "Not a directory"},
        {fifo, "No such device"}};
    if (::geteuid() != 0) {
        cases.emplace_back(locked, "Permission denied");
    }
    for (const auto& [path, reason] : cases) {
        std::string error;
        EXPECT_FALSE(MappedFile::open(path, &error));
        EXPECT_EQ(error, reason) << path;
        EXPECT_FALSE(MappedFile::open(path));  // no error slot
    }
}

TEST(MappedFile, DiscardedPagesLeaveResidentMemoryButStayReadable) {
    test::TempDir dir;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::string content(64 * page, 'v');
    for (std::size_t i = 0; i < content.size(); i += 97) {
        content[i] = static_cast<char>('A' + i % 26);
    }
    std::optional<MappedFile> file = MappedFile::open(dir.write("BIG.Y4P", content));
    ASSERT_TRUE(file);
    std::size_t sum = 0;
    for (std::size_t i = 0; i < file->size(); i += page) {
        sum += static_cast<unsigned char>(file->bytes()[i]);
    }
    ASSERT_GT(sum, 0u);
    const long before = residentKiB(file->bytes().data());
    if (before < 0) {
        GTEST_SKIP() << "/proc/self/smaps does not show the mapping";
    }
    EXPECT_EQ(before, static_cast<long>(64 * page / 1024));

    // Half a page past page 48: pages 0 to 47 go, page 48 is still being read.
    file->discardBefore(48 * page + page / 2);
    EXPECT_EQ(residentKiB(file->bytes().data()), static_cast<long>(16 * page / 1024));
    file->discardBefore(10 * page);  // going back changes nothing
    file->discardBefore(content.size() + 1000);
    EXPECT_EQ(residentKiB(file->bytes().data()), 0);
    EXPECT_EQ(file->bytes(), content);
}

}  // namespace
}  // namespace y4
