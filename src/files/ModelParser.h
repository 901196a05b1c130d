// ModelParser: what the three model parsers share: header lines, bracketed indices, entity
// lines, bitmap names with their textures, and the linking of parents, each refusing a
// malformed line with a message that names the file, the line and what was expected.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "LineReader.h"
#include "NumberScanner.h"

namespace y4 {

class Entity;
class ImageCache;
class Reader;
class SubEntity;
class Vertex;

class ModelParser {
protected:
    // Textures are read through `images`; none leaves every image entry empty.
    ModelParser(Reader& reader, LineReader& lines, ImageCache* images)
        : reader_(reader), lines_(lines), images_(images) {}

    // A header line "<label> <number>"; the label is not checked.
    int readLabelled(std::string_view what);
    // The same for a count, which may not be negative.
    int readCount(std::string_view what);
    // The four header lines NumVertices, NumFaces, NumBitmaps and NumEntities.
    void readHeaderCounts();
    // `count` lines "Bitmap[n]:<name>", each name's texture read; a missing one aborts the
    // load with `failure`.
    void readBitmapLines(int count, const char* failure);
    // A new vertex of `owner` (which may be null) with index `index`, listed in the scene and
    // in its owner: position, normal and texture coordinates from `numbers` at the given
    // offsets (the columns differ between the variants), position and normal negated.
    Vertex* addVertex(SubEntity* owner, int index, const float* numbers, int normalAt, int uvAt);
    // A line whose content does not matter (comments, delimiters); only its presence does.
    void skipLine(std::string_view what) { lines_.next(what); }
    // The text after the first colon, leading blanks skipped.
    std::string_view textAfterColon(std::string_view line, std::string_view what) const;
    // The number in brackets before the first colon ("Vertex[  3]: ..." gives 3), and in
    // `rest` the text after that colon.
    int bracketIndex(std::string_view line, std::string_view& rest, std::string_view what) const;
    void readFloats(NumberScanner& scan, float* out, int count, std::string_view what) const;
    void readInts(NumberScanner& scan, int* out, int count, std::string_view what) const;

    // The columns of an entity line after the name.
    struct EntityColumns {
        float f[7];
        int i[11];
    };
    // Reads an entity line, makes the entity (index `position`) with its name and columns
    // read (the position negated), appends it to the scene and remembers its line for the
    // parent checks.
    Entity* readEntityLine(int position, EntityColumns& columns);
    // Links each entity to the parent its parentEntityID names and gives it its level.
    // Refuses an entity that is its own ancestor and hierarchies deeper than the scene allows.
    void linkParents();

    // Appends a bitmap name and the image read from `textureFile`; a missing image aborts the
    // load with `failure`, and images past the model's limit with the limit's message.
    void addBitmap(std::string name, const std::string& textureFile, const char* failure);

    // How many elements a count of `count` lines may reserve: never more than the lines left
    // in the file can hold, so an absurd count allocates nothing.
    std::size_t reservable(int count, std::size_t shortestLine) const;

    Reader& reader_;
    LineReader& lines_;

private:
    ImageCache* images_;
    std::vector<int> entityLines_;
};

}  // namespace y4
