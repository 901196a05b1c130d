// Safe saving: the target changes only on a successful commit, failures name the file and the
// system's reason, and no temporary file is left behind.
#include "platform/SafeFileWriter.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "support/TempDir.h"

namespace y4 {
namespace {

using Names = std::set<std::string>;

Names entriesOf(const std::string& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

unsigned modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFFu;
}

// The message of the IoError that `action` throws, or a note that it threw none.
std::string ioErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const IoError& error) {
        return error.what();
    }
    return "(no IoError)";
}

// Runs `body` in a forked child, so limits and mounts stay there, and gives what it returned
// through a file in `dir`: empty on success, "SKIP: why" when the system does not allow the
// test, else what went wrong.
std::string inChild(const test::TempDir& dir, const std::function<std::string()>& body) {
    const std::string report = dir.file("report");
    const pid_t child = ::fork();
    if (child == 0) {
        std::ofstream(report) << body();
        ::_exit(0);
    }
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) {
        return "child failed, wait status " + std::to_string(status);
    }
    return test::TempDir::read(report);
}

// Writes far more than fits, expecting `reason`; then checks that the old file is intact and
// that nothing else is left in its folder.
std::string overfill(const std::string& target, const std::string& reason) {
    const std::string old = test::TempDir::read(target);
    const std::string message = ioErrorOf([&] {
        SafeFileWriter writer(target);
        for (int i = 0; i < 64; ++i) {
            writer.write(std::string(64 * 1024, 'n'));
        }
        writer.commit();
    });
    if (message != "Could not write " + target + ": " + reason) {
        return "message: " + message;
    }
    if (test::TempDir::read(target) != old) {
        return "the old file changed";
    }
    return entriesOf(std::filesystem::path(target).parent_path()).size() == 1
               ? ""
               : "a temporary file was left behind";
}

TEST(SafeFileWriter, CommitReplacesTheTargetAndKeepsItsMode) {
    test::TempDir dir;
    const std::string target = dir.write("SHIP.Y4P", "old content\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    {
        SafeFileWriter writer(target);
        writer.write("new ");
        writer.write("");
        writer.write("content\n");
        // Nothing reaches the target before the commit.
        EXPECT_EQ(test::TempDir::read(target), "old content\n");
        EXPECT_EQ(entriesOf(dir.path()).size(), 2u);
        writer.commit();
        writer.commit();  // once is enough; again changes nothing
        EXPECT_EQ(ioErrorOf([&] { writer.write("late"); }),
                  "Could not write " + target + ": Bad file descriptor");
    }
    EXPECT_EQ(test::TempDir::read(target), "new content\n");
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(entriesOf(dir.path()), Names{"SHIP.Y4P"});

    // A new file gets the usual mode for new files, not the temporary file's 0600.
    const mode_t oldMask = ::umask(027);
    for (const mode_t mask : {mode_t{027}, mode_t{0}}) {
        ::umask(mask);
        const std::string fresh = dir.file(mask ? "NEW1.Y4P" : "NEW2.Y4P");
        SafeFileWriter writer(fresh);
        writer.commit();
        EXPECT_EQ(modeOf(fresh), 0666u & ~mask);
    }
    ::umask(oldMask);
}

TEST(SafeFileWriter, AnUncommittedWriterLeavesTheOldFileAndNoTemporaryFile) {
    test::TempDir dir;
    const std::string old("ENTITY\r\n\0\xff bytes", 16);
    const std::string target = dir.write("SHIP.Y4P", old);
    {
        SafeFileWriter writer(target);
        writer.write(std::string(100000, 'n'));
        SafeFileWriter fresh(dir.file("NEW.Y4P"));
        fresh.write("x");
    }
    EXPECT_EQ(test::TempDir::read(target), old);
    EXPECT_EQ(entriesOf(dir.path()), Names{"SHIP.Y4P"});
}

TEST(SafeFileWriter, RefusesFoldersAndMissingFolders) {
    test::TempDir dir;
    const std::string folder = dir.file("Sub");
    std::filesystem::create_directory(folder);
    const std::string missing = dir.file("missing/SHIP.Y4P");
    for (const auto& [target, reason] :
         {std::pair{folder, "Is a directory"}, std::pair{folder + "/", "Is a directory"},
          std::pair{missing, "No such file or directory"}}) {
        EXPECT_EQ(ioErrorOf([&] { SafeFileWriter writer(target); }),
                  "Could not write " + target + ": " + reason);
    }
    EXPECT_EQ(entriesOf(dir.path()), Names{"Sub"});
    EXPECT_TRUE(entriesOf(folder).empty());
}

TEST(SafeFileWriter, AReadOnlyFolderFailsCleanly) {
    test::TempDir dir;
    const std::string target = dir.write("Sub/SHIP.Y4P", "old");
    const std::string folder = dir.file("Sub");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    if (::access(folder.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "permissions do not stop this user (root)";
    }
    EXPECT_EQ(ioErrorOf([&] { SafeFileWriter writer(target); }),
              "Could not write " + target + ": Permission denied");
    EXPECT_EQ(test::TempDir::read(target), "old");
    EXPECT_EQ(entriesOf(folder), Names{"SHIP.Y4P"});
}

TEST(SafeFileWriter, AFileSizeLimitFailsCleanly) {
    test::TempDir dir;
    const std::string target = dir.write("Models/SHIP.Y4P", std::string(3000, 'o'));
    const std::string report = inChild(dir, [&] {
        const rlimit limit{100000, 100000};
        std::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return std::string("setrlimit failed");
        }
        if (std::string problem = overfill(target, "File too large"); !problem.empty()) {
            return problem;
        }
        // A commit after a failed write never puts half a file in place.
        SafeFileWriter writer(target);
        const std::string first = ioErrorOf([&] { writer.write(std::string(200000, 'n')); });
        const std::string second = ioErrorOf([&] { writer.commit(); });
        if (first != "Could not write " + target + ": File too large" ||
            second.rfind("Could not write " + target + ": ", 0) != 0) {
            return "messages: " + first + " / " + second;
        }
        return test::TempDir::read(target) == std::string(3000, 'o') ? std::string()
                                                                     : "the old file changed";
    });
    EXPECT_EQ(report, "");
}

TEST(SafeFileWriter, AFullFileSystemFailsCleanly) {
    test::TempDir dir;
    const std::string mountPoint = dir.file("tiny");
    std::filesystem::create_directory(mountPoint);
    const std::string report = inChild(dir, [&] {
        // A mount namespace of the child's own: the tmpfs goes away with the child.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            return std::string("SKIP: mounting a tmpfs is not permitted here");
        }
        std::ofstream(mountPoint + "/SHIP.Y4P") << "old content";
        return overfill(mountPoint + "/SHIP.Y4P", "No space left on device");
    });
    if (report.rfind("SKIP: ", 0) == 0) {
        GTEST_SKIP() << report.substr(6);
    }
    EXPECT_EQ(report, "");
}

}  // namespace
}  // namespace y4
