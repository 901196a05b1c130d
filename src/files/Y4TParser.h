// Y4TParser: reads the terrain variant: a single root whose records (sub-entities) each carry
// one texture, the last record being the terrain's own. A large file is parsed by two threads,
// split at the start of a record (see SplitParse).
#pragma once

#include <cstdint>

#include "ModelParser.h"

namespace y4 {

class SplitParse;
class SubEntity;

class Y4TParser : public ModelParser {
public:
    // The terrain's own bitmap and record name.
    static constexpr const char* kTerrainName = "Zelvan's Terrain";
    // Record counts are kept in 8 bits and vertex and face counts in 16 bits by the game.
    static constexpr int kMaxRecords = 255;
    static constexpr int kMaxRecordItems = 65535;

    Y4TParser(Reader& reader, LineReader& lines, ImageCache* images)
        : ModelParser(reader, lines, images) {}
    // `split` is the Reader's option: where a second thread starts (see Reader::Options).
    void parse(std::uint64_t split);

    // One record block of the entity `root`, at position `record`.
    template <class Sink>
    void readRecord(Sink& sink, Entity* root, int record);

private:
    int readRecordCount(std::string_view what, int limit);
    // Takes over the records of the second thread that the file still needs (at most `needed`,
    // from position `record` on), hangs them from `root` and reads on after them; how many it
    // took.
    int takeOver(SplitParse& split, Y4TParser& back, Entity* root, int record, int needed);

    std::vector<FaceLine> faceLines_;
};

}  // namespace y4
