// The recorded window positions, by vertex id.
#include "WindowPositions.h"

#include "model/Vertex.h"

namespace y4 {

WindowPositions::Entry* WindowPositions::slot(const Vertex* v) {
    const std::uint32_t id = v->id();
    if (id == SceneObject::kNoId) {
        return nullptr;
    }
    if (id >= entries_.size()) {
        entries_.resize(std::max<std::size_t>(id + 1, entries_.size() + entries_.size() / 2));
    }
    return &entries_[id];
}

const WindowPositions::Entry* WindowPositions::find(const Vertex* v) const {
    return v->id() < entries_.size() ? &entries_[v->id()] : nullptr;
}

void WindowPositions::setVertex(const Vertex* v, const Point& p) {
    if (Entry* e = slot(v)) {
        e->vertex = p;
        e->hasVertex = true;
    }
}

void WindowPositions::setNormalTip(const Vertex* v, const Point& p) {
    if (Entry* e = slot(v)) {
        e->normalTip = p;
        e->hasNormalTip = true;
    }
}

WindowPositions::Point WindowPositions::vertex(const Vertex* v) const {
    const Entry* e = find(v);
    return e ? e->vertex : Point{};
}

WindowPositions::Point WindowPositions::normalTip(const Vertex* v) const {
    const Entry* e = find(v);
    return e ? e->normalTip : Point{};
}

std::optional<WindowPositions::Point> WindowPositions::findVertex(const Vertex* v) const {
    const Entry* e = find(v);
    if (e == nullptr || !e->hasVertex) {
        return std::nullopt;
    }
    return e->vertex;
}

std::optional<WindowPositions::Point> WindowPositions::findNormalTip(const Vertex* v) const {
    const Entry* e = find(v);
    if (e == nullptr || !e->hasNormalTip) {
        return std::nullopt;
    }
    return e->normalTip;
}

}  // namespace y4
