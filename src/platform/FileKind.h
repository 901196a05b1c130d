// The reason given for a file that is not a regular file, in the style of the system's own
// messages ("Is a directory").
#pragma once

#include <sys/stat.h>

#include <string>

namespace y4 {

// "Is a directory", or for devices, pipes and sockets, which no model or texture can be,
// "Is a character device, not a regular file" and the like. Empty for a regular file.
inline std::string notRegularReason(mode_t mode) {
    if (S_ISREG(mode)) {
        return {};
    }
    if (S_ISDIR(mode)) {
        return "Is a directory";
    }
    const char* kind = S_ISCHR(mode)    ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISFIFO(mode) ? "a FIFO"
                       : S_ISSOCK(mode) ? "a socket"
                       : S_ISLNK(mode)  ? "a symbolic link"
                                        : "a file of an unknown kind";
    return std::string("Is ") + kind + ", not a regular file";
}

}  // namespace y4
