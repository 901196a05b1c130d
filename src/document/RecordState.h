// RecordState: the fields of one existing record that an edit may change besides its place in
// the lists (names, placement, bitmap number, corners, vertex values, a vertex's face list, the
// created and highlight marks), as a value: captured before and after an edit, put back by its
// undo and redo. Selection marks are not kept: they follow the selection, which every step
// restores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace y4 {

class Face;
class SceneObject;
class SceneTree;
class Vertex;

class RecordState {
public:
    explicit RecordState(SceneObject* record);

    // Gives the record these values; its tree labels follow its name.
    void put(SceneTree& tree) const;
    SceneObject* record() const { return record_; }
    // What differs from `other` (a state of the same record), as RecordChange aspects.
    unsigned differences(const RecordState& other) const;
    // Whether a save of a model of `fileType` (Reader's kinds) writes anything differently.
    bool savedDiffers(const RecordState& other, int fileType) const;
    bool operator==(const RecordState& other) const;
    std::size_t bytes() const;

    std::string name;
    std::uint8_t created = 0;
    std::uint8_t marked = 0;
    // An entity's positionX, positionY, positionZ, rotateX, rotateY, rotateZ.
    float placement[6] = {};
    // A sub-entity's bitmap.
    int bitmapIndex = -1;
    // A face's corners and their positions in the sub-entity's vertices.
    Vertex* corners[3] = {};
    int cornerIndices[3] = {};
    // A vertex's X, Y, Z, normalX, normalY, normalZ, textureU, textureV, and its faces.
    float values[8] = {};
    std::vector<Face*> faces;

private:
    SceneObject* record_;
};

}  // namespace y4
