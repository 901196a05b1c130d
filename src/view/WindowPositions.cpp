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

}  // namespace y4
