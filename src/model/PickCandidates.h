// PickCandidates: the vertices a click in the 3D view may mean. The view records where each
// vertex marker (or normal tip) landed in the window on the last frame drawn in a pick mode;
// a click is near a vertex when both window distances are under three pixels. Only a vertex the
// user can see and use is offered: not deleted, in a sub-entity that is not deleted, displayed
// with every switch up its chain, and used by a face that is not deleted.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "RecordList.h"

namespace y4 {

class Vertex;

class PickCandidates {
public:
    // Window x and y (upwards, device pixels) and depth.
    using WindowPoint = std::array<double, 3>;
    // Where the vertex was drawn on the last pick frame; nothing when it was never drawn in one.
    using PositionOf = std::function<std::optional<WindowPoint>(const Vertex&)>;

    // A click counts for a vertex when the whole pixels between them are fewer than this, each
    // way.
    static constexpr int kReach = 3;

    // The candidates for a click at window point (wx, wy), in the order of `vertices`.
    static std::vector<Vertex*> find(const RecordList<Vertex>& vertices, double wx, double wy,
                                     const PositionOf& positionOf);
    // Whether the vertex may be picked at all, wherever it was drawn.
    static bool pickable(const Vertex& v);
};

}  // namespace y4
