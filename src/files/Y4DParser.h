// Y4DParser: reads the flat variant, where one vertex list and one face list are followed by
// the bitmap names and the entity lines that claim ranges of both lists. Which entity a face
// belongs to is known only at the end of the file, so one thread reads it.
#pragma once

#include "ModelParser.h"

namespace y4 {

class Y4DParser : public ModelParser {
public:
    Y4DParser(Reader& reader, LineReader& lines, ImageCache* images)
        : ModelParser(reader, lines, images) {}
    void parse();

private:
    void readVertices(int count);
    void readFaces(int count);
    // Gives an entity the sub-entity holding the faces and vertices its columns claim.
    void claimRanges(Entity* e, const EntityColumns& columns);

    // Which flat faces and vertices an entity has claimed already: two entities owning the
    // same record would each destroy it.
    std::vector<char> faceClaimed_;
    std::vector<char> vertexClaimed_;
};

}  // namespace y4
