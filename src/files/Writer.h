// Writer: saves the scene of a Reader in the variant the Reader was loaded from, whatever the
// target's extension. The whole save happens in the constructor, with trace lines around its
// steps. The old target is replaced only once the new file is complete; a failure throws
// SaveError and leaves both the old file and the scene as they were.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "SceneSnapshot.h"

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

    // The text a save of the scene would write, without trace lines or wait cursor, laid out
    // from the scene itself. The scene is as it was after it. Throws SaveError as a save does.
    // The text comes in pieces of a few megabytes.
    static std::vector<std::string> layOut(Reader& reader);
    // What a copy of the scene needs, taken in one pass over the records and never changed
    // by later edits: another thread lays out and writes the text while the editing goes on.
    // The link and count columns are recomputed on the scene as a save recomputes them.
    // Throws SaveError as a save does.
    static SceneSnapshot snapshot(Reader& reader);
    // The text a save of the scene written at the snapshot would write, in pieces of a few
    // megabytes, each handed to `piece` as soon as it is formatted. Touches no scene.
    static void layOut(const SceneSnapshot& snapshot,
                       const std::function<void(std::string_view)>& piece);

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
