// Models and textures as an attacker or a careless user leaves them: a model another process
// shortens while it loads, textures that would take unbounded memory, and names that differ
// from the files only in case.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "ModelGenerator.h"
#include "files/LoadError.h"
#include "files/Reader.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using test::TempDir;

TEST(HostileModel, AModelShortenedWhileItLoadsIsRefusedNeverACrash) {
    TempDir dir;
    gen::GeneratorOptions options;
    options.faces = 60000;
    const std::string path = dir.file("BIG.Y4P");
    gen::ModelGenerator::write(options, path);
    const std::string content = TempDir::read(path);
    int refused = 0;
    for (int delayMs = 0; delayMs < 40; delayMs += 3) {
        SCOPED_TRACE(delayMs);
        dir.write("BIG.Y4P", content);
        // The load runs in a child, so a crash shows as its status; this process is the other
        // program that shortens the file once the load has begun.
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], "go", 2);
            try {
                Reader r(nullptr, path);
                ::_exit(r.loaded() ? 0 : 3);
            } catch (const LoadError& error) {
                // Shortened before it was opened, the file is refused as malformed.
                ::_exit(error.what() == "Error: " + path + " changed while it was read" ? 1 : 2);
            }
        }
        ::close(ready[1]);
        char go[2];
        ASSERT_EQ(::read(ready[0], go, 2), 2);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ASSERT_EQ(::truncate(path.c_str(), 100000), 0);
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "the load ended with signal " << WTERMSIG(status);
        EXPECT_LE(WEXITSTATUS(status), 2);
        refused += WEXITSTATUS(status) == 1 ? 1 : 0;
    }
    // The shortening hit some loads halfway.
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace y4
