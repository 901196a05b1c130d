// y4tool run as a user runs it, on files the tests make hostile: devices, FIFOs and links as
// targets, names that differ only in case, a model shortened while it is checked, a resave
// interrupted by a signal, files that cannot be opened, and a terrain saved under a new name.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ModelGenerator.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::TempDir;

struct ToolRun {
    int status = -1;  // the wait status
    std::string out;
    std::string err;
    int exitCode() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
};

// Starts y4tool with `args`, its output going to files in `dir`.
pid_t start(const TempDir& dir, const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(dir.file("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(dir.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(Y4TOOL)};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(Y4TOOL, argv.data());
        ::_exit(127);
    }
    return child;
}

ToolRun finish(const TempDir& dir, pid_t child) {
    ToolRun run;
    ::waitpid(child, &run.status, 0);
    run.out = TempDir::read(dir.file("stdout"));
    run.err = TempDir::read(dir.file("stderr"));
    return run;
}

ToolRun y4tool(const TempDir& dir, const std::vector<std::string>& args) {
    return finish(dir, start(dir, args));
}

std::string sample(const char* name) {
    return std::string(Y4_SAMPLES_DIR) + "/" + name;
}

TEST(Y4tool, ResaveRefusesDevicesFifosAndLinkLoopsButFollowsLinks) {
    TempDir dir;
    TempDir out;
    const std::string crate = sample("CRATE.Y4P");
    std::vector<std::pair<std::string, std::string>> refused;
    // The issue's own example: a device node named like a model.
    if (::mknod(out.file("NUL.Y4P").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        refused.emplace_back("NUL.Y4P", "Is a character device, not a regular file");
    }
    ASSERT_EQ(::mkfifo(out.file("FIFO.Y4P").c_str(), 0644), 0);
    refused.emplace_back("FIFO.Y4P", "Is a FIFO, not a regular file");
    ASSERT_EQ(::symlink("LOOP.Y4P", out.file("LOOP.Y4P").c_str()), 0);
    refused.emplace_back("LOOP.Y4P", "Too many levels of symbolic links");
    for (const auto& [name, reason] : refused) {
        const std::string type = TempDir::typeOf(out.file(name));
        const ToolRun run = y4tool(dir, {"resave", crate, out.file(name)});
        EXPECT_EQ(run.exitCode(), 1) << name;
        EXPECT_EQ(run.err, "\nError: Could not open file " + out.file(name) +
                               "\nError: Could not write " + out.file(name) + ": " + reason + "\n");
        EXPECT_EQ(TempDir::typeOf(out.file(name)), type);
    }

    // A link to a model: the model is saved, the link stays.
    const std::string real = out.write("real.Y4P", "old");
    ASSERT_EQ(::symlink("real.Y4P", out.file("LINK.Y4P").c_str()), 0);
    EXPECT_EQ(y4tool(dir, {"resave", crate, out.file("LINK.Y4P")}).exitCode(), 0);
    EXPECT_EQ(TempDir::typeOf(out.file("LINK.Y4P")), "link");
    EXPECT_EQ(TempDir::read(real), TempDir::read(crate));
}

TEST(Y4tool, OpensAndWritesTheFilesNamedInTheirSpelling) {
    TempDir dir;
    const std::string model = TempDir::read(sample("CRATE.Y4P"));
    for (const char* texture : {"WOOD.BMP", "METAL.BMP"}) {
        dir.write(std::string("cs/") + texture, TempDir::read(sample(texture)));
    }
    std::string renamed = model;
    renamed.replace(renamed.find("Crate:"), 6, "Other:");
    dir.write("cs/a.Y4P", model);
    dir.write("cs/A.Y4P", renamed);
    EXPECT_NE(y4tool(dir, {"info", dir.file("cs/a.Y4P")}).out.find("\n    Crate  ("),
              std::string::npos);
    EXPECT_NE(y4tool(dir, {"info", dir.file("cs/A.Y4P")}).out.find("\n    Other  ("),
              std::string::npos);

    const std::string other = dir.write("cs/Out.y4p", "another model\n");
    EXPECT_EQ(y4tool(dir, {"resave", dir.file("cs/a.Y4P"), dir.file("cs/out.Y4P")}).exitCode(), 0);
    EXPECT_EQ(TempDir::read(other), "another model\n");
    EXPECT_EQ(TempDir::read(dir.file("cs/out.Y4P")), model);
}

TEST(Y4tool, FilesThatCannotBeOpenedSayWhy) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("PIPE.Y4P").c_str(), 0644), 0);
    const ToolRun run = y4tool(dir, {"check", dir.file("NONE.Y4P"), dir.file("PIPE.Y4P")});
    EXPECT_EQ(run.exitCode(), 1);
    EXPECT_EQ(run.out, dir.file("NONE.Y4P") + ": Error: Could not open file " +
                           dir.file("NONE.Y4P") + ": No such file or directory\n" +
                           dir.file("PIPE.Y4P") + ": Error: Could not open file " +
                           dir.file("PIPE.Y4P") + ": Is a FIFO, not a regular file\n");
}

TEST(Y4tool, ATerrainResavedUnderANewNameGetsItsBitmap) {
    TempDir dir;
    test::ModelFixture::write(dir, "HILLS.Y4T", test::kHillsY4T,
                              {{"GRASS"}, {"ROCK"}, {"HILLS", 8, 8}});
    ToolRun run = y4tool(dir, {"resave", dir.file("HILLS.Y4T"), dir.file("Valley.y4t")});
    EXPECT_EQ(run.exitCode(), 0) << run.err;
    EXPECT_EQ(run.out, "Copied the terrain bitmap " + dir.file("HILLS.BMP") + " to " +
                           dir.file("Valley.BMP") + "\n");
    EXPECT_EQ(TempDir::read(dir.file("Valley.BMP")), TempDir::read(dir.file("HILLS.BMP")));
    EXPECT_EQ(y4tool(dir, {"check", dir.file("Valley.y4t")}).out,
              dir.file("Valley.y4t") + ": ok\n");
    // A target that has its bitmap keeps it.
    dir.write("PLAIN.BMP", TempDir::read(dir.file("GRASS.BMP")));
    run = y4tool(dir, {"resave", dir.file("HILLS.Y4T"), dir.file("PLAIN.Y4T")});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(TempDir::read(dir.file("PLAIN.BMP")), TempDir::read(dir.file("GRASS.BMP")));
}

// A model large enough that loading and saving it take a while.
std::string largeModel(const TempDir& dir) {
    gen::GeneratorOptions options;
    options.faces = 150000;
    const std::string path = dir.file("BIG.Y4P");
    gen::ModelGenerator::write(options, path);
    return path;
}

TEST(Y4tool, AnInterruptedResaveLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string model = largeModel(dir);
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        TempDir out;
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(watch, out.path().c_str(), IN_CREATE), 0);
        const pid_t child = start(dir, {"resave", model, out.file("OUT.Y4P")});
        // Interrupt as soon as the temporary file appears.
        pollfd ready{watch, POLLIN, 0};
        ASSERT_EQ(::poll(&ready, 1, 120000), 1) << "no temporary file appeared";
        ::kill(child, signal);
        ::close(watch);
        const ToolRun run = finish(dir, child);
        EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == signal) << run.status;
        EXPECT_TRUE(std::filesystem::is_empty(out.path()));
    }
}

TEST(Y4tool, AModelShortenedWhileItIsCheckedIsRefusedNeverACrash) {
    TempDir dir;
    const std::string model = largeModel(dir);
    const std::string content = TempDir::read(model);
    for (const int delayMs : {1, 5, 10, 20, 40, 80}) {
        SCOPED_TRACE(delayMs);
        dir.write("BIG.Y4P", content);
        const pid_t child = start(dir, {"check", model});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ASSERT_EQ(::truncate(model.c_str(), 1000000), 0);
        const ToolRun run = finish(dir, child);
        ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << WTERMSIG(run.status);
        EXPECT_TRUE(run.out == model + ": ok\n" || run.out.rfind(model + ": Error: ", 0) == 0)
            << run.out;
    }
}

}  // namespace
}  // namespace y4
