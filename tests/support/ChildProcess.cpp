// Forked children for tests.
#include "ChildProcess.h"

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace y4::test {

int ChildProcess::run(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::_exit(body());
    }
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child ? status : -1;
}

int ChildProcess::killWhenReady(const std::function<void()>& body, int signal,
                                const std::function<void()>& meanwhile) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        body();
        [[maybe_unused]] const ssize_t sent = ::write(ready[1], "r", 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char done = 0;
    const bool started = child > 0 && ::read(ready[0], &done, 1) == 1;
    ::close(ready[0]);
    if (started && meanwhile) {
        meanwhile();
    }
    int status = -1;
    if (child > 0) {
        ::kill(child, started ? signal : SIGKILL);
        ::waitpid(child, &status, 0);
    }
    return started ? status : -1;
}

bool ChildProcess::exitedWith(int status, int code) {
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code;
}

bool ChildProcess::mountTinyDisk(const std::string& mountPoint) {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") == 0;
}

}  // namespace y4::test
