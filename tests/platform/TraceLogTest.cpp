// The trace log: exact line bytes, gathered and written a buffer at a time, before a message box
// and when closed; replacement at every start, silence when it cannot be opened, a full disk,
// and lines that outlive a crash or a kill of the process.
#include "platform/TraceLog.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Prompt.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

long long fileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

TEST(TraceLog, WritesEachLineWholeOnceItsBufferIsFullBeforeAMessageAndWhenClosed) {
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    TraceLog log;
    ASSERT_TRUE(log.open(path));
    EXPECT_TRUE(log.isOpen());
    log.trace("\n\nWriter - ENTRY POINT");
    log.trace("");
    log.traceRepeated("Reader::finalDelete() - before 2", 3);
    log.traceRepeated("never", 0);
    log.traceRepeated("", 2);
    log.traceLines("Reader::deleteObject(f) - before 1\nReader::deleteObject(f) - after 1\n");
    log.trace("Writer - EXIT POINT\n\n");
    std::string expected =
        "\n\nWriter - ENTRY POINT\n\nReader::finalDelete() - before 2\n"
        "Reader::finalDelete() - before 2\nReader::finalDelete() - before 2\n\n\n"
        "Reader::deleteObject(f) - before 1\nReader::deleteObject(f) - after 1\n"
        "Writer - EXIT POINT\n\n\n";
    // Gathered, not yet written; asking for the prompt (before any message box) writes them.
    EXPECT_EQ(test::TempDir::read(path), "");
    log.flush();
    EXPECT_EQ(test::TempDir::read(path), expected);
    TraceLog::global().open(dir.file("global.log"));
    trace("before a message box");
    prompt();
    EXPECT_EQ(test::TempDir::read(dir.file("global.log")), "before a message box\n");
    TraceLog::global().close();

    // 40 MB in one call go out a buffer-full at a time, each ending with a whole line; lines
    // longer than the buffer go out whole too.
    const std::string block(4000, 'x');
    log.traceRepeated(block, 10000);
    for (int i = 0; i < 10000; ++i) {
        expected += block + '\n';
    }
    const std::string written = test::TempDir::read(path);
    EXPECT_GT(written.size() + TraceLog::kBufferSize, expected.size());
    EXPECT_TRUE(written.back() == '\n' && expected.compare(0, written.size(), written) == 0);
    const std::string huge(TraceLog::kBufferSize + 5, 'y');
    log.trace("Reader::finalDelete() - after 2");
    log.trace(huge);
    log.traceLines(huge + "\n" + huge + "\n");
    log.trace("last");
    expected += "Reader::finalDelete() - after 2\n" + huge + "\n" + huge + "\n" + huge + "\nlast\n";
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_TRUE(test::TempDir::read(path) == expected);
    log.close();  // twice is harmless
    log.trace("after close");
    log.flush();
    EXPECT_EQ(fileSize(path), static_cast<long long>(expected.size()));
}

TEST(TraceLog, StartingAgainLeavesOnlyTheNewRunsLinesAndAFailedStartLeavesNone) {
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    {
        TraceLog first;
        ASSERT_TRUE(first.open(path));
        first.traceRepeated("first run", 1000);
    }  // closed by the destructor
    EXPECT_EQ(fileSize(path), 10000);

    TraceLog log;
    ASSERT_TRUE(log.open(path));
    EXPECT_EQ(fileSize(path), 0);
    log.trace("second run");
    log.flush();
    EXPECT_EQ(test::TempDir::read(path), "second run\n");
    // Opening again while open also starts afresh; an empty run leaves an empty log.
    ASSERT_TRUE(log.open(path));
    log.trace("third");
    ASSERT_TRUE(log.open(path));
    log.trace("fourth");
    log.close();
    EXPECT_EQ(test::TempDir::read(path), "fourth\n");
    ASSERT_TRUE(log.open(path));
    log.close();
    EXPECT_EQ(fileSize(path), 0);

    // One that cannot be opened stays silent, and a failed open also ends the log that was
    // open.
    const std::string missing = dir.file("missing/Y4Editor.log");
    EXPECT_FALSE(log.open(missing));
    EXPECT_FALSE(log.isOpen());
    log.trace("lost");
    log.traceRepeated("lost", 1000);
    log.close();
    EXPECT_EQ(fileSize(missing), -1);
    ASSERT_TRUE(log.open(path));
    log.trace("kept");
    EXPECT_FALSE(log.open(dir.path()));
    log.trace("lost");
    EXPECT_EQ(test::TempDir::read(path), "kept\n");
}

TEST(TraceLog, AFullDiskEndsTheLogAfterTheLastWholeLine) {
    test::TempDir dir;
    const std::string mountPoint = dir.file("tiny");
    ASSERT_TRUE(std::filesystem::create_directory(mountPoint));
    // Exit codes: 0 passed, 77 mounting not permitted, others say which check failed.
    const int status = test::ChildProcess::run([&] {
        if (!test::ChildProcess::mountTinyDisk(mountPoint)) {
            return 77;
        }
        TraceLog log;
        if (!log.open(mountPoint + "/Y4Editor.log")) {
            return 1;
        }
        std::string all;
        for (int i = 0; i < 10000 && log.isOpen(); ++i) {
            const std::string line = "Reader::deleteObject(f) - after " + std::to_string(i);
            log.trace(line);
            all += line + '\n';
        }
        log.flush();
        if (log.isOpen()) {
            return 2;  // the disk never filled up
        }
        log.trace("lost");
        const std::string written = test::TempDir::read(mountPoint + "/Y4Editor.log");
        const bool wholeLines = !written.empty() && written.back() == '\n' &&
                                all.compare(0, written.size(), written) == 0;
        return !wholeLines ? 3 : written.size() < 60000 ? 4 : 0;
    });
    if (test::ChildProcess::exitedWith(status, 77)) {
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    }
    EXPECT_TRUE(test::ChildProcess::exitedWith(status, 0)) << "wait status " << status;
}

// A child process writes lines and ends with `signal`, raised by `stop` or, without one, sent
// by this process while the child waits; every line is in the file, though most were still in
// the buffer.
void expectEveryLineAfter(int signal, const std::function<void()>& stop) {
    SCOPED_TRACE(signal);
    test::TempDir dir;
    const std::string path = dir.file("Y4Editor.log");
    constexpr int kLines = 150000;  // several megabytes: many buffers
    const auto write = [&] {
        if (!TraceLog::global().open(path)) {
            ::_exit(2);
        }
        for (int i = 0; i < kLines; ++i) {
            trace("OnButtonCommitChanges - here " + std::to_string(i));
        }
    };
    const int status = stop ? test::ChildProcess::run([&] {
        write();
        stop();
        return 3;
    })
                            : test::ChildProcess::killWhenReady(write, signal);
    // Ended by the signal, or by a sanitizer that reports a raised signal and exits with 1.
    ASSERT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == signal) ||
                (stop && test::ChildProcess::exitedWith(status, 1)))
        << "wait status " << status;
    std::string expected;
    for (int i = 0; i < kLines; ++i) {
        expected += "OnButtonCommitChanges - here " + std::to_string(i) + '\n';
    }
    EXPECT_TRUE(test::TempDir::read(path) == expected);
}

TEST(TraceLog, EveryLineWrittenBeforeACrashOrAKillIsInTheFile) {
    expectEveryLineAfter(SIGABRT, [] { std::abort(); });
    expectEveryLineAfter(SIGSEGV, [] { ::raise(SIGSEGV); });
    expectEveryLineAfter(SIGTERM, {});
}

}  // namespace
}  // namespace y4
