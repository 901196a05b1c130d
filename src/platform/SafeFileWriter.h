// SafeFileWriter: writes a file so that the old one is never lost. The text goes to a temporary
// file in the target's folder; commit() flushes, syncs and closes it, checking every step, and
// only then renames it over the target. A writer destroyed without commit removes its temporary
// file and leaves the target as it was.
//
// A target that is a symbolic link is followed: the file it leads to is replaced, in that
// file's folder, and the link stays a link. A target that exists and is not a regular file (a
// folder, a device, a FIFO, a socket) is refused and left alone. Like every editor that saves
// this way, a replaced file loses its hard links: the other names keep the old content.
//
// A temporary file is locked while it is written. One that is left behind by a save that was
// killed is recognised by its name and the missing lock, and removed by the next save to the
// same target; a program may also remove them when it is interrupted.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace y4 {

// A failed write; what() names the file and the system's reason.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SafeFileWriter {
public:
    // `targetPath` is an exact path (see PathResolver::resolveForWrite). Throws IoError when
    // the target cannot be replaced or the temporary file cannot be created.
    explicit SafeFileWriter(std::string targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Appends bytes; throws IoError when the system refuses them.
    void write(std::string_view bytes);
    // Makes the written bytes the target's content. Throws IoError on any failure, in which case
    // the target keeps its old content.
    void commit();

    const std::string& targetPath() const { return target_; }
    // The file that commit() replaces: the target, or where its symbolic links lead.
    const std::string& replacedPath() const { return path_; }

    // Whether `fileName` is the name of a temporary file made for a target named `targetName`
    // (both without folder).
    static bool isTemporaryName(std::string_view fileName, std::string_view targetName);
    // Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the temporary files of the
    // saves in progress and then end the program as the signal would have. For programs that
    // have no handlers of their own; a signal that is ignored stays ignored.
    static void removeTemporaryFilesOnSignals();

private:
    [[noreturn]] void fail(const std::string& reason);
    [[noreturn]] void failWithErrno();
    void followLinks();
    void createTemporaryFile(const std::string& folder, const std::string& name);
    void forget();

    std::string target_;
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    int slot_ = -1;
    std::size_t written_ = 0;
    bool committed_ = false;
};

}  // namespace y4
