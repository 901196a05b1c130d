// Y4PParser: reads the nested variant, where each entity line is followed by its sub-entity
// blocks of vertex and face lines. A large file is parsed by two threads, split at an entity
// line (see SplitParse).
#pragma once

#include <cstdint>
#include <vector>

#include "ModelParser.h"

namespace y4 {

class SplitParse;
class SubEntity;

class Y4PParser : public ModelParser {
public:
    Y4PParser(Reader& reader, LineReader& lines, ImageCache* images)
        : ModelParser(reader, lines, images) {}
    // `split` is the Reader's option: where a second thread starts (see Reader::Options).
    void parse(std::uint64_t split);

    // One entity line and its sub-entity blocks.
    template <class Sink>
    void readEntityBlock(Sink& sink, int position);

private:
    template <class Sink>
    void readSubEntity(Sink& sink, Entity* entity, int position);
    // Takes over the blocks of the second thread that the file still needs (at most `needed`,
    // for the entities from `position` on) and reads on after them; how many it took.
    int takeOver(SplitParse& split, Y4PParser& back, int position, int needed);

    std::vector<FaceLine> faceLines_;
};

}  // namespace y4
