// Y4TParser: reads the terrain variant: a single root whose records (sub-entities) each carry
// one texture, the last record being the terrain's own.
#pragma once

#include "ModelParser.h"

namespace y4 {

class SubEntity;

class Y4TParser : private ModelParser {
public:
    // The terrain's own bitmap and record name.
    static constexpr const char* kTerrainName = "Zelvan's Terrain";
    // Record counts are kept in 8 bits and vertex and face counts in 16 bits by the game.
    static constexpr int kMaxRecords = 255;
    static constexpr int kMaxRecordItems = 65535;

    Y4TParser(Reader& reader, LineReader& lines, ImageCache* images)
        : ModelParser(reader, lines, images) {}
    void parse();

private:
    void readRecord(Entity* root, int record, int recordCount);
    int readRecordCount(std::string_view what, int limit);
};

}  // namespace y4
