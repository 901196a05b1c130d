// WindowPositions: where the vertex markers and the normal tips landed in the window on the last
// frame drawn in a pick mode, for picking to search. Ordinary frames do not touch them, and a
// vertex not drawn in a pick frame keeps its older position. Kept in an array indexed by the
// vertices' ids (see Scene), which grows to the highest id drawn.
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace y4 {

class Vertex;

class WindowPositions {
public:
    // Window x, window y (upwards, in device pixels) and depth.
    using Point = std::array<double, 3>;

    // A vertex no scene made (without an id) is not recorded.
    void setVertex(const Vertex* v, const Point& p);
    void setNormalTip(const Vertex* v, const Point& p);
    // (0, 0, 0) for a vertex never drawn in a pick frame.
    Point vertex(const Vertex* v) const;
    Point normalTip(const Vertex* v) const;
    // Nothing for a vertex whose marker (or normal tip) was never drawn in a pick frame.
    std::optional<Point> findVertex(const Vertex* v) const;
    std::optional<Point> findNormalTip(const Vertex* v) const;
    // Forgets every position; for a new model or after records were destroyed (their ids go to
    // new records).
    void clear() { entries_.clear(); }

private:
    struct Entry {
        Point vertex{};
        Point normalTip{};
        bool hasVertex = false;
        bool hasNormalTip = false;
    };
    Entry* slot(const Vertex* v);
    const Entry* find(const Vertex* v) const;
    std::vector<Entry> entries_;
};

}  // namespace y4
