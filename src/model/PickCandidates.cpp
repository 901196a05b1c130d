// The pick-candidate search.
#include "PickCandidates.h"

#include <algorithm>
#include <cmath>

#include "Face.h"
#include "SubEntity.h"
#include "Vertex.h"

namespace y4 {

namespace {

bool near(double drawn, double clicked) {
    return std::trunc(std::fabs(drawn - clicked)) < PickCandidates::kReach;
}

}  // namespace

bool PickCandidates::pickable(const Vertex& v) {
    if (v.deleted || (v.subEntity && v.subEntity->deleted) || !v.isDisplayed()) {
        return false;
    }
    return std::any_of(v.faces.begin(), v.faces.end(),
                       [](const Face* f) { return f && !f->deleted; });
}

std::vector<Vertex*> PickCandidates::find(const RecordList<Vertex>& vertices, double wx, double wy,
                                          const PositionOf& positionOf) {
    std::vector<Vertex*> out;
    for (Vertex* v : vertices) {
        if (!pickable(*v)) {
            continue;
        }
        // A vertex never drawn in a pick frame has no place in the window to be clicked at.
        const std::optional<WindowPoint> p = positionOf(*v);
        if (p && near((*p)[0], wx) && near((*p)[1], wy)) {
            out.push_back(v);
        }
    }
    return out;
}

}  // namespace y4
