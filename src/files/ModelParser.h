// ModelParser: what the three model parsers share: header lines, bracketed indices, entity
// lines, bitmap names with their textures, the faces of a sub-entity with the adjacency of its
// vertices, and the linking of parents, each refusing a malformed line with a message that names
// the file, the line and what was expected. Records go to a sink (see RecordSink): the scene, or
// the batch of a second parse thread.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "LineReader.h"
#include "NumberScanner.h"

namespace y4 {

class Entity;
class ImageCache;
class SceneObject;
class SplitParse;
class Reader;
class SubEntity;
class Vertex;

// The smallest and largest position of the vertices a sub-entity was loaded with, X, Y and Z
// (lo[0..2] then hi[0..2]), worked out while the vertices are parsed: the scene's bounding box
// is found from these and the summed offsets, without a second pass over the vertices.
struct LoadedBox {
    SubEntity* sub;
    std::array<float, 6> bounds;
    bool any;
};

class ModelParser {
public:
    // The boxes of the sub-entities parsed, in the order they were made.
    std::vector<LoadedBox> takeBoxes() { return std::move(boxes_); }

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
    // A new vertex of `owner` (which may be null) with index `index`, made by `sink` and listed
    // in its owner: position, normal and texture coordinates from `numbers` at the given
    // offsets (the columns differ between the variants), position and normal negated.
    template <class Sink>
    Vertex* addVertex(Sink& sink, SubEntity* owner, int index, const float* numbers, int normalAt,
                      int uvAt);
    // A line whose content does not matter (comments, delimiters); only its presence does.
    void skipLine(std::string_view what) { lines_.next(what); }
    // The text after the first colon, leading blanks skipped.
    std::string_view textAfterColon(std::string_view line, std::string_view what) const;
    // The number in brackets before the first colon ("Vertex[  3]: ..." gives 3), and in
    // `rest` the text after that colon.
    int bracketIndex(std::string_view line, std::string_view& rest, std::string_view what) const;
    // `count` floats; those written as printf writes "%<width>.<precision>f" are read fastest.
    void readFloats(NumberScanner& scan, float* out, int count, std::string_view what,
                    int width = 0, int precision = 0) const;
    // `count` integers; those written as printf writes "%<width>d" are read fastest.
    void readInts(NumberScanner& scan, int* out, int count, std::string_view what,
                  int width = 0) const;

    // The columns of an entity line after the name.
    struct EntityColumns {
        float f[7];
        int i[11];
    };
    // Reads an entity line, makes the entity (index `position`) with its name and columns
    // read (the position negated) through `sink`, and remembers its line for the parent checks.
    template <class Sink>
    Entity* readEntityLine(Sink& sink, int position, EntityColumns& columns);
    // Links each entity to the parent its parentEntityID names and gives it its level.
    // Refuses an entity that is its own ancestor and hierarchies deeper than the scene allows.
    void linkParents();

    // A face line: its number and its three corners.
    struct FaceLine {
        int index;
        int corner[3];
    };
    // Makes the faces of `sub` from its face lines (corners already checked), each taking
    // `bitmapIndex`, then gives every vertex of `sub` its faces (see linkCorners).
    template <class Sink>
    void addFaces(Sink& sink, SubEntity* sub, const std::vector<FaceLine>& faceLines,
                  int bitmapIndex);
    // Gives every vertex of `sub` the faces of `sub` that use it, in face order, in one slice
    // of the adjacency array counted first. The faces' corner numbers are positions in the
    // sub-entity's vertices.
    template <class Sink>
    void linkCorners(Sink& sink, SubEntity* sub);

    // The box of the vertices read since the last call, for `sub`.
    void closeBox(SubEntity* sub);

    // Takes over the blocks the second thread of `split` (parsed by `back`) has finished, at
    // most `needed`, and goes on reading after the last of them. `adopt` is given each block
    // and its position among them, makes it the scene's, and returns how many sub-entities it
    // held; their boxes become this parser's. Returns how many blocks were taken.
    int takeOver(SplitParse& split, ModelParser& back, int needed,
                 const std::function<std::size_t(SceneObject*, int)>& adopt);

    // Fails the load unless each corner of `line` is one of the `vertexCount` vertices of
    // its `owner` (as the message names it).
    void checkCorners(const FaceLine& line, int vertexCount, std::string_view owner);

    // Appends a bitmap name and the image read from `textureFile`; a missing image aborts the
    // load with `failure`, and images past the model's limit with the limit's message.
    void addBitmap(std::string name, const std::string& textureFile, const char* failure);

    // How many elements a count of `count` lines may reserve: never more than the lines left
    // in the file can hold, so an absurd count allocates nothing.
    std::size_t reservable(int count, std::size_t shortestLine) const;

    Reader& reader_;
    LineReader& lines_;
    // The line of each entity read, by position, for the parent checks.
    std::vector<int> entityLines_;
    std::vector<LoadedBox> boxes_;

private:
    ImageCache* images_;
    std::vector<int> uses_;
    std::array<float, 6> box_{};
    bool boxAny_ = false;
};

}  // namespace y4
