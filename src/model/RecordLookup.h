// Lookups over lists of scene records that the editing commands share.
#pragma once

#include <cmath>
#include <vector>

namespace y4 {

class Vertex;

// True when |a - b| < 0.0005, the difference taken in double precision.
inline bool floatsMatch(float a, float b) {
    return std::fabs(static_cast<double>(a) - static_cast<double>(b)) < 0.0005;
}

// The position of the first element equal to `p`, or -1.
template <class T, class U>
int indexOfPointer(const U* p, const std::vector<T*>& list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == p) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Whether the positions and texture coordinates of two vertices each match by floatsMatch;
// normals and names are not compared.
bool verticesMatch(const Vertex& a, const Vertex& b);

// The first vertex of `list` that matches `v` (verticesMatch), or null.
Vertex* findMatchingVertex(const Vertex& v, const std::vector<Vertex*>& list);

}  // namespace y4
