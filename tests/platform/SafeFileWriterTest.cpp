// Safe saving: the target changes only on a successful commit, failures name the file and the
// system's reason, and no temporary file is left behind.
#include "platform/SafeFileWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using Names = std::set<std::string>;

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

// Runs `body` in a child process, so limits and mounts stay there, and gives what it returned:
// empty on success, "SKIP: why" when the system does not allow the test, else what went wrong.
std::string inChild(const test::TempDir& dir, const std::function<std::string()>& body) {
    const std::string report = dir.file("report");
    const int status = test::ChildProcess::run([&] {
        std::ofstream(report) << body();
        return 0;
    });
    return test::ChildProcess::exitedWith(status, 0)
               ? test::TempDir::read(report)
               : "child failed, wait status " + std::to_string(status);
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
    return test::TempDir::entries(std::filesystem::path(target).parent_path()).size() == 1
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
        EXPECT_EQ(test::TempDir::entries(dir.path()).size(), 2u);
        writer.commit();
        writer.commit();  // once is enough; again changes nothing
        EXPECT_EQ(ioErrorOf([&] { writer.write("late"); }),
                  "Could not write " + target + ": Bad file descriptor");
    }
    EXPECT_EQ(test::TempDir::read(target), "new content\n");
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(test::TempDir::entries(dir.path()), Names{"SHIP.Y4P"});

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
    EXPECT_EQ(test::TempDir::entries(folder), Names{"SHIP.Y4P"});
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
        if (!test::ChildProcess::mountTinyDisk(mountPoint)) {
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

void link(const std::string& target, const std::string& path) {
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0) << path;
}

std::string save(const std::string& target, const std::string& text) {
    return ioErrorOf([&] {
        SafeFileWriter writer(target);
        writer.write(text);
        writer.commit();
    });
}

TEST(SafeFileWriter, LinksAreFollowedAndOnlyRegularFilesReplaced) {
    test::TempDir dir;
    const std::string models = dir.file("models");
    const std::string real = dir.write("models/real.Y4P", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    link("real.Y4P", dir.file("models/LINK.Y4P"));
    link("models/LINK.Y4P", dir.file("CHAIN.Y4P"));
    link(real, dir.file("ABSOLUTE.Y4P"));
    // The file a link leads to is replaced in its own folder; the links stay links.
    for (const char* name : {"models/LINK.Y4P", "CHAIN.Y4P", "ABSOLUTE.Y4P"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(save(dir.file(name), name), "(no IoError)");
        EXPECT_EQ(test::TempDir::read(real), name);
        EXPECT_EQ(test::TempDir::typeOf(dir.file(name)), "link");
        EXPECT_EQ(modeOf(real), 0640u);
    }
    SafeFileWriter viaLink(dir.file("CHAIN.Y4P"));
    EXPECT_EQ(viaLink.replacedPath(), models + "/real.Y4P");
    EXPECT_EQ(test::TempDir::entries(dir.path()), (Names{"ABSOLUTE.Y4P", "CHAIN.Y4P", "models"}));
    EXPECT_EQ(test::TempDir::entries(models).size(),
              3u);  // the temporary file sits beside the real one

    // A link that leads nowhere gets its file; one into a missing folder cannot.
    link("models/new.Y4P", dir.file("DANGLING.Y4P"));
    EXPECT_EQ(save(dir.file("DANGLING.Y4P"), "made"), "(no IoError)");
    EXPECT_EQ(test::TempDir::read(dir.file("models/new.Y4P")), "made");
    EXPECT_EQ(test::TempDir::typeOf(dir.file("DANGLING.Y4P")), "link");

    // Everything else that is not a regular file is refused and left as it was: link loops,
    // devices, FIFOs, sockets and folders, also behind a link.
    link("LOOP2.Y4P", dir.file("LOOP1.Y4P"));
    link("LOOP1.Y4P", dir.file("LOOP2.Y4P"));
    link("nowhere/NEW.Y4P", dir.file("NOFOLDER.Y4P"));
    ASSERT_EQ(::mkfifo(dir.file("FIFO.Y4P").c_str(), 0644), 0);
    link("FIFO.Y4P", dir.file("TOFIFO.Y4P"));
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    dir.file("SOCKET.Y4P").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::vector<std::pair<std::string, std::string>> refused = {
        {"LOOP1.Y4P", "Too many levels of symbolic links"},
        {"NOFOLDER.Y4P", "No such file or directory"},
        {"FIFO.Y4P", "Is a FIFO, not a regular file"},
        {"TOFIFO.Y4P", "Is a FIFO, not a regular file"},
        {"SOCKET.Y4P", "Is a socket, not a regular file"},
        {"models", "Is a directory"},
        {"models/", "Is a directory"},
        {"missing/SHIP.Y4P", "No such file or directory"}};
    // /dev/null's twin, where the system lets this user make device nodes.
    if (::mknod(dir.file("NUL.Y4P").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        refused.emplace_back("NUL.Y4P", "Is a character device, not a regular file");
    } else {
        std::printf("note: device nodes cannot be made here; that case is skipped\n");
    }
    const Names before = test::TempDir::entries(dir.path());
    for (const auto& [name, reason] : refused) {
        const std::string type = test::TempDir::typeOf(dir.file(name));
        EXPECT_EQ(save(dir.file(name), "x"), "Could not write " + dir.file(name) + ": " + reason);
        EXPECT_EQ(test::TempDir::typeOf(dir.file(name)), type) << name;
    }
    EXPECT_EQ(test::TempDir::entries(dir.path()), before);
    EXPECT_EQ(test::TempDir::entries(models).size(), 4u);
    ::close(listening);
}

TEST(SafeFileWriter, LeftoverTemporaryFilesGoAtTheNextSaveToTheirTarget) {
    test::TempDir dir;
    const std::string target = dir.write("SHIP.Y4P", "old");
    EXPECT_TRUE(SafeFileWriter::isTemporaryName(".SHIP.Y4P.y4save.Ab3dE9", "SHIP.Y4P"));
    EXPECT_TRUE(SafeFileWriter::isTemporaryName("." + std::string(200, 'N') + ".y4save.abcdef",
                                                std::string(230, 'N')));
    for (const char* name :
         {".SHIP.Y4P.y4save.Ab3dE", ".SHIP.Y4P.y4save.Ab3dE9x", ".SHIP.Y4P.y4save.Ab-dE9",
          ".SHIP.Y4P.backup", ".ship.Y4P.y4save.Ab3dE9", ".SHIP.Y4.y4save.Ab3dE9",
          "SHIP.Y4P.y4save.Ab3dE9"}) {
        EXPECT_FALSE(SafeFileWriter::isTemporaryName(name, "SHIP.Y4P")) << name;
    }
    // A save that is still running holds its lock and keeps its file.
    SafeFileWriter running(target);
    running.write("running");
    // Left by a save that was killed, and files that only look alike.
    dir.write(".SHIP.Y4P.y4save.Ab3dE9", std::string(5000, 'k'));
    dir.write(".SHIP.Y4P.y4save.ZZZZZZ", "");
    dir.write(".SHIP.Y4P.backup", "mine");
    dir.write(".OTHER.Y4P.y4save.Ab3dE9", "another target's");
    const Names during = test::TempDir::entries(dir.path());
    EXPECT_EQ(save(target, "second"), "(no IoError)");
    Names expected = during;
    expected.erase(".SHIP.Y4P.y4save.Ab3dE9");
    expected.erase(".SHIP.Y4P.y4save.ZZZZZZ");
    EXPECT_EQ(test::TempDir::entries(dir.path()), expected);
    running.commit();
    EXPECT_EQ(test::TempDir::read(target), "running");
    EXPECT_EQ(test::TempDir::entries(dir.path()),
              (Names{".OTHER.Y4P.y4save.Ab3dE9", ".SHIP.Y4P.backup", "SHIP.Y4P"}));
}

TEST(SafeFileWriter, AnInterruptedSaveRemovesItsTemporaryFile) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        test::TempDir dir;
        const std::string target = dir.write("SHIP.Y4P", "old");
        const int status = test::ChildProcess::killWhenReady(
            [&] {
                // Both saves are still open when the signal comes.
                SafeFileWriter::removeTemporaryFilesOnSignals();
                new SafeFileWriter(dir.file("OTHER.Y4P"));
                (new SafeFileWriter(target))->write(std::string(100000, 'n'));
            },
            signal, [&] { EXPECT_EQ(test::TempDir::entries(dir.path()).size(), 3u); });
        // The program still ends as the signal ends it.
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(test::TempDir::entries(dir.path()), Names{"SHIP.Y4P"});
        EXPECT_EQ(test::TempDir::read(target), "old");
    }
}

}  // namespace
}  // namespace y4
