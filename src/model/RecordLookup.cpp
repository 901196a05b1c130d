// Vertex matching within a tolerance.
#include "RecordLookup.h"

#include "Vertex.h"

namespace y4 {

Vertex* findMatchingVertex(const Vertex& v, const std::vector<Vertex*>& list) {
    for (Vertex* candidate : list) {
        if (floatsMatch(v.X, candidate->X) && floatsMatch(v.Y, candidate->Y) &&
            floatsMatch(v.Z, candidate->Z) && floatsMatch(v.textureU, candidate->textureU) &&
            floatsMatch(v.textureV, candidate->textureV)) {
            return candidate;
        }
    }
    return nullptr;
}

}  // namespace y4
