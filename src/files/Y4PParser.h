// Y4PParser: reads the nested variant, where each entity line is followed by its sub-entity
// blocks of vertex and face lines.
#pragma once

#include "ModelParser.h"

namespace y4 {

class SubEntity;

class Y4PParser : private ModelParser {
public:
    Y4PParser(Reader& reader, LineReader& lines, ImageCache* images)
        : ModelParser(reader, lines, images) {}
    void parse();

private:
    void readSubEntity(Entity* entity, int position);
    // The face lines of one sub-entity, kept until every vertex's face list can be sized.
    struct FaceLine {
        int index;
        int corner[3];
    };
    std::vector<FaceLine> faceLines_;
    std::vector<int> uses_;
};

}  // namespace y4
