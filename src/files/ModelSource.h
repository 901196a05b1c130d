// ModelSource: the file a Reader reads, and the name the editor knows the model by. They differ
// on a case-sensitive system: the editor names every model it opens by its path in upper case
// (the variant, the window title, the stored "path", the snapshot and display-state names all
// come from that name), but the file opened is the one the user chose, in its real spelling.
#pragma once

#include <string>

namespace y4 {

struct ModelSource {
    // The file to open, as spelled. A path that does not exist as spelled (a stored path, a
    // name written on a case-insensitive system) is matched ignoring case.
    std::string path;
    // The name the model is known by.
    std::string name;

    // A file the user chose: opened as spelled, known by its path in upper case.
    static ModelSource chosen(std::string path);
    // A file known only by a name the editor made or stored (a snapshot, the stored path):
    // opened as that name leads, ignoring case.
    static ModelSource named(std::string name) { return {name, name}; }
};

}  // namespace y4
