// Lookups of the recorded window positions.
#include "WindowPositions.h"

namespace y4 {

WindowPositions::Point WindowPositions::vertex(const Vertex* v) const {
    const auto found = entries_.find(v);
    return found == entries_.end() ? Point{} : found->second.vertex;
}

WindowPositions::Point WindowPositions::normalTip(const Vertex* v) const {
    const auto found = entries_.find(v);
    return found == entries_.end() ? Point{} : found->second.normalTip;
}

std::optional<WindowPositions::Point> WindowPositions::findVertex(const Vertex* v) const {
    const auto found = entries_.find(v);
    if (found == entries_.end() || !found->second.hasVertex) {
        return std::nullopt;
    }
    return found->second.vertex;
}

std::optional<WindowPositions::Point> WindowPositions::findNormalTip(const Vertex* v) const {
    const auto found = entries_.find(v);
    if (found == entries_.end() || !found->second.hasNormalTip) {
        return std::nullopt;
    }
    return found->second.normalTip;
}

}  // namespace y4
