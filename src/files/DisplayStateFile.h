// DisplayStateFile: the small file beside a model that remembers which groups the user switched
// off, one line "<name> <0 or 1>" per entity.
#pragma once

#include <string>

namespace y4 {

class Scene;

class DisplayStateFile {
public:
    // Writes one line per entity, in list order. False when the file could not be written.
    static bool save(const Scene& scene, const std::string& fileName);
    // Applies each line to the first entity of that name (and its tree item's check box); a
    // missing file changes nothing. Returns true when a found entity was switched off.
    static bool load(Scene& scene, const std::string& fileName);
};

}  // namespace y4
