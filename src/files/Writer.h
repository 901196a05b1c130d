// Writer: saves the scene of a Reader in the variant the Reader was loaded from, whatever the
// target's extension. The whole save happens in the constructor, with trace lines around its
// steps. The old target is replaced only once the new file is complete; a failure throws
// SaveError and leaves both the old file and the scene as they were.
#pragma once

#include <string>
#include <vector>

namespace y4 {

class FileProgress;
class Reader;

class Writer {
public:
    // How the target's name is taken.
    enum class Target {
        // The file the user named, exactly as spelled (a save).
        AsSpelled,
        // A name the editor made for a file beside the model (a snapshot): an existing file
        // whose name differs only in case is the one replaced.
        IgnoringCase,
    };

    // `progress`, if given, is told of the records written; a cancel throws CancelledByUser and
    // leaves the old file as it was.
    Writer(Reader& reader, std::string targetFileName, Target target = Target::AsSpelled,
           FileProgress* progress = nullptr);

    // The text a save of the scene would write, without trace lines or wait cursor: a copy
    // that another thread writes while the editing goes on. The scene is as it was after it.
    // Throws SaveError as a save does.
    // The text comes in pieces of a few megabytes.
    static std::vector<std::string> layOut(Reader& reader);

private:
    void preprocess();
    void postprocess() { preprocess(); }
    void writeFormat(std::string_view extension);

    Reader& m_reader;
    std::string m_targetFileName;
    Target m_target;
    FileProgress* m_progress;
};

}  // namespace y4
