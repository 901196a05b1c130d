// The trace log: exact line bytes, replacement at every start, silence when it cannot be
// opened, growth of the mapping, and lines that outlive a crash.
#include "platform/TraceLog.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace y4 {
namespace {

long long fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

// The log as a reader sees it while it is open or after a crash: the lines, then the zero
// bytes of the mapping's unused rest.
std::string linesOf(const std::string& path) {
    std::string content = test::TempDir::read(path);
    content.erase(content.find_last_not_of('\0') + 1);
    return content;
}

TEST(TraceLog, WritesEachLineWholeWithALineFeed) {
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    TraceLog log;
    ASSERT_TRUE(log.open(path));
    EXPECT_TRUE(log.isOpen());
    log.trace("\n\nWriter - ENTRY POINT");
    log.trace("Writer - before preprocess()");
    log.trace("");
    log.traceRepeated("Reader::finalDelete() - before 2", 3);
    log.traceRepeated("never", 0);
    log.traceRepeated("", 2);
    log.trace("Writer - EXIT POINT\n\n");
    const std::string expected =
        "\n\nWriter - ENTRY POINT\nWriter - before preprocess()\n\n"
        "Reader::finalDelete() - before 2\nReader::finalDelete() - before 2\n"
        "Reader::finalDelete() - before 2\n\n\nWriter - EXIT POINT\n\n\n";
    // Already in the file while the log is open.
    EXPECT_EQ(linesOf(path), expected);
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(test::TempDir::read(path), expected);
    log.close();  // twice is harmless
    log.trace("after close");
    EXPECT_EQ(test::TempDir::read(path), expected);

    EXPECT_EQ(&TraceLog::global(), &TraceLog::global());
}

TEST(TraceLog, StartingAgainLeavesOnlyTheNewRunsLines) {
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    {
        TraceLog first;
        ASSERT_TRUE(first.open(path));
        first.traceRepeated("first run", 1000);
    }  // closed by the destructor
    EXPECT_EQ(fileSize(path), 10000);

    TraceLog second;
    ASSERT_TRUE(second.open(path));
    second.trace("second run");
    second.close();
    EXPECT_EQ(test::TempDir::read(path), "second run\n");

    // Opening again while open also starts afresh.
    ASSERT_TRUE(second.open(path));
    second.trace("third");
    ASSERT_TRUE(second.open(path));
    second.trace("fourth");
    second.close();
    EXPECT_EQ(test::TempDir::read(path), "fourth\n");

    // An empty run leaves an empty log.
    ASSERT_TRUE(second.open(path));
    second.close();
    EXPECT_EQ(fileSize(path), 0);
}

TEST(TraceLog, StaysSilentWhenItCannotBeOpened) {
    test::TempDir dir;
    const std::string missing = dir.file("missing/Y4Editor.log");
    TraceLog log;
    EXPECT_FALSE(log.open(missing));
    EXPECT_FALSE(log.isOpen());
    log.trace("lost");
    log.traceRepeated("lost", 1000);
    log.close();
    EXPECT_EQ(fileSize(missing), -1);

    // A failed open also ends the log that was open.
    const std::string path = dir.file("Y4Editor.log");
    ASSERT_TRUE(log.open(path));
    log.trace("kept");
    EXPECT_FALSE(log.open(dir.path()));
    log.trace("lost");
    EXPECT_EQ(test::TempDir::read(path), "kept\n");
}

TEST(TraceLog, GrowsAcrossSeveralMappingStepsAndIsTrimmedWhenClosed) {
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    TraceLog log;
    ASSERT_TRUE(log.open(path));
    std::string expected;
    expected.reserve(48u << 20);
    for (int i = 0; i < 200000; ++i) {
        std::string line = "Reader::deleteObject(f) - before " + std::to_string(i);
        log.trace(line);
        expected += line + '\n';
    }
    const std::string block(4000, 'x');
    log.traceRepeated(block, 10000);  // 40 MB in one call
    for (int i = 0; i < 10000; ++i) {
        expected += block + '\n';
    }
    log.trace("Reader::finalDelete() - after 2");
    expected += "Reader::finalDelete() - after 2\n";

    // The mapping is larger than the lines until the log is closed.
    EXPECT_GT(fileSize(path), static_cast<long long>(expected.size()));
    log.close();
    EXPECT_EQ(fileSize(path), static_cast<long long>(expected.size()));
    EXPECT_TRUE(test::TempDir::read(path) == expected);
}

TEST(TraceLog, AFullDiskEndsTheLogAfterTheLastWholeLine) {
    test::TempDir dir;
    const std::string mountPoint = dir.file("tiny");
    ASSERT_TRUE(std::filesystem::create_directory(mountPoint));
    const std::string path = mountPoint + "/Y4Editor.log";
    // In a child with a mount namespace of its own, so the tmpfs goes away with it. Exit codes:
    // 0 passed, 77 mounting not permitted, others say which check failed.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(77);
        }
        TraceLog log;
        if (!log.open(path)) {
            ::_exit(1);
        }
        std::string expected;
        for (int i = 0; i < 10000 && log.isOpen(); ++i) {
            const std::string line = "Reader::deleteObject(f) - after " + std::to_string(i);
            log.trace(line);
            if (log.isOpen()) {
                expected += line + '\n';
            }
        }
        if (log.isOpen()) {
            ::_exit(2);  // the disk never filled up
        }
        log.trace("lost");
        const std::string written = test::TempDir::read(path);
        ::_exit(written != expected ? 3 : written.size() < 60000 ? 4 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(TraceLog, SurvivesACrash) {
    // A child process writes lines and aborts; the parent reads every line back.
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    constexpr int kLines = 150000;  // several megabytes: more than one mapping step
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (!TraceLog::global().open(path)) {
            ::_exit(2);
        }
        for (int i = 0; i < kLines; ++i) {
            trace("OnButtonCommitChanges - here " + std::to_string(i));
        }
        std::abort();
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGABRT);

    std::string expected;
    for (int i = 0; i < kLines; ++i) {
        expected += "OnButtonCommitChanges - here " + std::to_string(i) + '\n';
    }
    EXPECT_TRUE(linesOf(path) == expected);
}

}  // namespace
}  // namespace y4
