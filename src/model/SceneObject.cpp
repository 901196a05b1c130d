// Names and marks shared by every scene record.
#include "SceneObject.h"

#include <charconv>

namespace y4 {

SceneObject::SceneObject(const SceneObject& source, int index, bool copyName)
    : selected(source.selected),
      changed(source.changed),
      displayed(source.displayed),
      marked(source.marked),
      deleted(source.deleted),
      index(index),
      kind_(source.kind_) {
    for (int i = 0; i < 3; ++i) {
        cumulativeOffset[i] = source.cumulativeOffset[i];
        cumulativeRotation[i] = source.cumulativeRotation[i];
        absolutePosition[i] = source.absolutePosition[i];
    }
    if (copyName && source.name_) {
        name_ = std::make_unique<std::string>(*source.name_);
    }
}

void SceneObject::appendName(std::string& out) const {
    if (name_) {
        out.append(*name_);
        return;
    }
    static constexpr std::string_view prefixes[] = {"", "SubEntity[", "Face[", "Vertex["};
    if (kind_ == kEntity) {
        out.append("<undefined>");
        return;
    }
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, index).ptr;
    out.append(prefixes[kind_]).append(digits, end).push_back(']');
}

std::string SceneObject::name() const {
    std::string out;
    appendName(out);
    return out;
}

void SceneObject::setName(std::string_view text) {
    name_ = std::make_unique<std::string>(text.substr(0, kMaxNameLength));
}

bool SceneObject::nameEquals(std::string_view text) const {
    if (name_) {
        return *name_ == text;
    }
    return name() == text;
}

void SceneObject::appendPathName(std::string& out) const {
    out.clear();
}

}  // namespace y4
