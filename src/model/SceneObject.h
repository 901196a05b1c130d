// SceneObject: the base of the four scene records (Entity, SubEntity, Face, Vertex), with the
// marks every record carries, its name and the path text shown as "Selected Object".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace y4 {

class SceneObject {
public:
    // Values of kind(); every dispatch on record type reads it.
    static constexpr int kEntity = 0;
    static constexpr int kSubEntity = 1;
    static constexpr int kFace = 2;
    static constexpr int kVertex = 3;
    // A name holds at most this many characters; longer texts are cut.
    static constexpr std::size_t kMaxNameLength = 63;

    virtual ~SceneObject() = default;
    SceneObject& operator=(const SceneObject&) = delete;

    int kind() const { return kind_; }

    // The record's display name, also its tree label. Sub-entities, faces and vertices are
    // named after their kind and index ("Face[12]") until a name is set; entities are named
    // "<undefined>" until then.
    std::string name() const;
    void appendName(std::string& out) const;
    void setName(std::string_view text);
    bool nameEquals(std::string_view text) const;

    // The "Selected Object" text: the base version empties `out`; the records append to it.
    virtual void appendPathName(std::string& out) const;

    // Marks, 0 or 1.
    std::uint8_t selected = 0;
    std::uint8_t changed = 0;
    std::uint8_t created = 0;
    std::uint8_t displayed = 1;
    std::uint8_t marked = 0;
    std::uint8_t deleted = 0;

    int index = 0;
    float cumulativeOffset[3] = {0, 0, 0};
    float cumulativeRotation[3] = {0, 0, 0};
    double absolutePosition[3] = {0, 0, 0};

protected:
    SceneObject(int kind, int index) : index(index), kind_(static_cast<std::uint8_t>(kind)) {}
    // Copies every mark and number except `created`; `index` comes from the caller. Whether
    // the name is copied is the derived record's rule.
    SceneObject(const SceneObject& source, int index, bool copyName);

private:
    friend class Scene;
    // A custom name; null while the record shows its default label.
    std::unique_ptr<std::string> name_;
    std::uint8_t kind_;
    // Set while a purge has taken the record out of the scene but not yet destroyed it.
    std::uint8_t purged_ = 0;
};

}  // namespace y4
