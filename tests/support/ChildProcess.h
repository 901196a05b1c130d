// ChildProcess: work done in a forked copy of the test, so that crashes, limits, signals and
// mounts stay there, and the helpers such tests share.
#pragma once

#include <functional>
#include <string>

namespace y4::test {

class ChildProcess {
public:
    // Runs `body` in a child without core dumps; gives its wait status (-1 when it could not
    // be started or waited for). The child exits with what `body` returns.
    static int run(const std::function<int()>& body);
    // Runs `body` in a child that then waits; once `body` is done, runs `meanwhile` here, sends
    // the child `signal` and gives its wait status.
    static int killWhenReady(const std::function<void()>& body, int signal,
                             const std::function<void()>& meanwhile = {});
    // Whether the child ended normally with `code`.
    static bool exitedWith(int status, int code);
    // Mounts a tmpfs of 64 KB at `mountPoint` in a mount namespace of the calling process's
    // own, so that it goes away with the child; false where the system does not allow it.
    static bool mountTinyDisk(const std::string& mountPoint);
};

}  // namespace y4::test
