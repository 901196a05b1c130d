// JsonSceneWriter: the loaded scene as one JSON object, for scripts and tests: counts, bitmaps,
// images, bounding box and every entity with its sub-entities, vertices and faces, in memory
// values. Floats are written with the fewest digits that read back to the same float.
#pragma once

#include <string>

namespace y4 {

class Reader;

class JsonSceneWriter {
public:
    static std::string write(const Reader& reader);
};

}  // namespace y4
