// Files read with pread: content at any offset, whole reads with a size cap, the reasons of
// failures, and files that another process changes while they are open.
#include "platform/InputFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

// Runs `change` in a second process and waits for it.
void inAnotherProcess(const std::function<void()>& change) {
    ASSERT_TRUE(test::ChildProcess::exitedWith(test::ChildProcess::run([&] {
                                                   change();
                                                   return 0;
                                               }),
                                               0));
}

TEST(InputFile, ReadsAtAnyOffsetAndWholeWithinACap) {
    test::TempDir dir;
    const std::string content("ENTITY\r\n\0tail without line end", 30);
    const std::string path = dir.write("SHIP.Y4P", content);
    std::string error = "untouched";
    std::optional<InputFile> file = InputFile::open(path, &error);
    ASSERT_TRUE(file);
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(file->size(), content.size());
    char bytes[64] = {};
    EXPECT_EQ(file->readAt(8, bytes, 4), 4);
    EXPECT_EQ(std::string(bytes, 4), std::string("\0tai", 4));
    EXPECT_EQ(file->readAt(26, bytes, 64), 4);  // short only at the end
    EXPECT_EQ(file->readAt(100, bytes, 64), 0);
    InputFile moved = std::move(*file);
    EXPECT_EQ(moved.readAt(0, bytes, 6), 6);
    EXPECT_FALSE(moved.changedSinceOpen());

    EXPECT_EQ(InputFile::readWhole(path, 30), content);
    EXPECT_EQ(InputFile::readWhole(dir.write("EMPTY", ""), 0), "");
    EXPECT_FALSE(InputFile::readWhole(path, 29, &error));
    EXPECT_EQ(error, "File too large");
}

TEST(InputFile, OnlyRegularFilesOpenAndFailuresGiveTheReason) {
    test::TempDir dir;
    const std::string fifo = dir.file("PIPE");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = dir.file("SOCKET");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string locked = dir.write("LOCKED.Y4P", "x");
    ::chmod(locked.c_str(), 0);
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.file("MISSING.Y4P"), "No such file or directory"},
        {dir.path(), "Is a directory"},
        {dir.write("A.Y4P", "x") + "/B.Y4P", "Not a directory"},
        // Refused at once instead of waiting for a writer or reading for ever.
        {fifo, "Is a FIFO, not a regular file"},
        {socketPath, "No such device or address"},
        {"/dev/zero", "Is a character device, not a regular file"}};
    if (::geteuid() != 0) {
        cases.emplace_back(locked, "Permission denied");
    }
    for (const auto& [path, reason] : cases) {
        std::string error;
        EXPECT_FALSE(InputFile::open(path, &error));
        EXPECT_EQ(error, reason) << path;
        EXPECT_FALSE(InputFile::readWhole(path, 100, &error));
        EXPECT_EQ(error, reason) << path;
        EXPECT_FALSE(InputFile::open(path));  // no error slot
    }
    ::close(listening);
}

TEST(InputFile, ChangesByAnotherProcessShow) {
    test::TempDir dir;
    const std::string path = dir.write("SHIP.Y4P", std::string(1000, 'a'));
    // An old modification time, so that a rewrite within the clock's granularity still shows.
    const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    const auto openAged = [&] {
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), past, 0), 0);
        return InputFile::open(path);
    };
    std::optional<InputFile> file = openAged();
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->changedSinceOpen());
    inAnotherProcess([&] { ::truncate(path.c_str(), 10); });
    EXPECT_TRUE(file->changedSinceOpen());
    char bytes[100];
    EXPECT_EQ(file->readAt(0, bytes, 100), 10);

    for (const char* how : {"grown", "rewritten in place"}) {
        SCOPED_TRACE(how);
        dir.write("SHIP.Y4P", std::string(1000, 'a'));
        file = openAged();
        ASSERT_TRUE(file);
        inAnotherProcess([&] {
            const int fd = ::open(path.c_str(), O_WRONLY | (how[0] == 'g' ? O_APPEND : 0));
            [[maybe_unused]] const ssize_t written = ::write(fd, "b", 1);
            ::close(fd);
        });
        EXPECT_TRUE(file->changedSinceOpen());
    }
}

}  // namespace
}  // namespace y4
