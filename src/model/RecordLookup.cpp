// Vertex matching within a tolerance.
#include "RecordLookup.h"

#include "Vertex.h"

namespace y4 {

bool verticesMatch(const Vertex& a, const Vertex& b) {
    return floatsMatch(a.X, b.X) && floatsMatch(a.Y, b.Y) && floatsMatch(a.Z, b.Z) &&
           floatsMatch(a.textureU, b.textureU) && floatsMatch(a.textureV, b.textureV);
}

Vertex* findMatchingVertex(const Vertex& v, const std::vector<Vertex*>& list) {
    for (Vertex* candidate : list) {
        if (verticesMatch(v, *candidate)) {
            return candidate;
        }
    }
    return nullptr;
}

}  // namespace y4
