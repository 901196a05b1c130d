// SampleModels: the small models bundled with the editor, one per variant, with their textures:
// a crate (.Y4P), a garden of flat groups (.Y4D) and an island terrain (.Y4T).
#pragma once

#include <string>

namespace y4::gen {

class SampleModels {
public:
    // Writes CRATE.Y4P, GARDEN.Y4D and ISLAND.Y4T and their bitmaps into `folder`. Throws
    // SaveError.
    static void writeAll(const std::string& folder);
};

}  // namespace y4::gen
