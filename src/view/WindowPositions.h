// WindowPositions: where the vertex markers and the normal tips landed in the window on the last
// frame drawn in a pick mode, for picking to search. Ordinary frames do not touch them, and a
// vertex not drawn in a pick frame keeps its older position.
#pragma once

#include <array>
#include <unordered_map>

namespace y4 {

class Vertex;

class WindowPositions {
public:
    // Window x, window y (upwards, in device pixels) and depth.
    using Point = std::array<double, 3>;

    void setVertex(const Vertex* v, const Point& p) { entries_[v].vertex = p; }
    void setNormalTip(const Vertex* v, const Point& p) { entries_[v].normalTip = p; }
    // (0, 0, 0) for a vertex never drawn in a pick frame.
    Point vertex(const Vertex* v) const;
    Point normalTip(const Vertex* v) const;
    // Forgets every position; for a new model or after records were destroyed.
    void clear() { entries_.clear(); }

private:
    struct Entry {
        Point vertex{};
        Point normalTip{};
    };
    std::unordered_map<const Vertex*, Entry> entries_;
};

}  // namespace y4
