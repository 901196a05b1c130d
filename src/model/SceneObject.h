// SceneObject: the base of the four scene records (Entity, SubEntity, Face, Vertex), with the
// marks every record carries, its name, its dense id and the path text shown as "Selected
// Object". A model of a million faces holds a million and a half records, so they are lean: the
// marks are single bits, a face or a vertex takes 64 bytes, and values that a record would only
// copy from its owner (the summed offsets and angles, the world position) are looked up there.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace y4 {

using Triple = std::array<float, 3>;
using Position = std::array<double, 3>;

class SceneObject {
public:
    // Values of kind(); every dispatch on record type reads it.
    static constexpr int kEntity = 0;
    static constexpr int kSubEntity = 1;
    static constexpr int kFace = 2;
    static constexpr int kVertex = 3;
    static constexpr int kKinds = 4;
    // A name holds at most this many characters; longer texts are cut.
    static constexpr std::size_t kMaxNameLength = 63;
    // The id of a record that no scene made.
    static constexpr std::uint32_t kNoId = 0xFFFFFFFFu;

    SceneObject& operator=(const SceneObject&) = delete;

    int kind() const { return kind_; }
    // The record's dense id among the records of its kind in its scene (see Scene), or kNoId.
    std::uint32_t id() const { return id_; }

    // The record's display name, also its tree label. Sub-entities, faces and vertices are
    // named after their kind and index ("Face[12]") until a name is set; entities are named
    // "<undefined>" until then.
    std::string name() const;
    void appendName(std::string& out) const;
    void setName(std::string_view text);
    bool nameEquals(std::string_view text) const;
    // Whether a name was set (read or edited), rather than the default of the record's kind.
    bool hasOwnName() const;

    // The "Selected Object" text, appended to `out`: the record's label and "; ", then its
    // owner's path (a vertex skips its faces), up to the top of the entity chain.
    void appendPathName(std::string& out) const;

    // Offsets and angles summed down the hierarchy when the model was loaded (see Reader): an
    // entity keeps its own; a sub-entity and a face show their entity's; a vertex its
    // sub-entity's, plus its own position for the offset. Zeros for records the load did not
    // reach.
    Triple cumulativeOffset() const;
    Triple cumulativeRotation() const;
    // The world position as of the last Scene::computeWorldPositions: an entity's is the
    // origin of its parent's frame; a sub-entity and a face show their entity's; a vertex's is
    // its position carried up through its entity's frames.
    Position absolutePosition() const;

    // Taken out of the scene, awaiting destruction: lists skip it (see RecordList).
    bool takenOut() const { return takenOut_; }

protected:
    SceneObject(int kind, int index) : index(index), kind_(static_cast<std::uint8_t>(kind)) {}
    // Copies every mark except `created`; `index` comes from the caller, the name never.
    SceneObject(const SceneObject& source, int index);
    // Records are destroyed as what they are, never through this base.
    ~SceneObject() = default;

    // Faces and vertices keep a name set on them in a table of their own; these say whether
    // they have one and take it out when they go.
    bool hasTableName() const { return named_; }
    void dropTableName();

private:
    std::uint32_t id_ = kNoId;

public:
    int index = 0;
    // Marks, 0 or 1. They are single bits: read and assign them, but take no reference.
    std::uint8_t selected : 1 = 0;
    std::uint8_t changed : 1 = 0;
    std::uint8_t created : 1 = 0;
    std::uint8_t displayed : 1 = 1;
    std::uint8_t marked : 1 = 0;
    std::uint8_t deleted : 1 = 0;

private:
    friend class Scene;
    friend class RecordPool;
    friend class RecordBatch;

    std::uint8_t kind_ : 2;
    std::uint8_t named_ : 1 = 0;
    std::uint8_t takenOut_ : 1 = 0;
    // An owner whose lists (or a vertex whose face list) a purge must compact.
    std::uint8_t dirty_ : 1 = 0;
};

}  // namespace y4
