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

// The position of the first element equal to `p` in a list of record pointers (a RecordList or
// a vector), or -1.
template <class List, class U>
int indexOfPointer(const U* p, const List& list) {
    int i = 0;
    for (const auto* element : list) {
        if (element == p) {
            return i;
        }
        ++i;
    }
    return -1;
}

// Whether the positions and texture coordinates of two vertices each match by floatsMatch;
// normals and names are not compared.
bool verticesMatch(const Vertex& a, const Vertex& b);

// The first vertex of `list` that matches `v` (verticesMatch), or null.
Vertex* findMatchingVertex(const Vertex& v, const std::vector<Vertex*>& list);

}  // namespace y4
