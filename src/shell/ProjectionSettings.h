// ProjectionSettings: the projection mode, the orthographic box and the perspective parameters
// of the view, with their defaults and the table of their stored names.
#pragma once

#include <span>

#include "shell/SettingsValue.h"

namespace y4 {

struct ProjectionSettings {
    static constexpr int kPerspective = 1;
    static constexpr int kOrthogonal = 2;

    // kPerspective or kOrthogonal; any other value draws the orthographic box.
    int projectionMode = kPerspective;
    // The orthographic box: X min and max, Y min and max, Z near and far.
    float orthogonal1 = -10.24f, orthogonal2 = 10.24f;
    float orthogonal3 = -7.68f, orthogonal4 = 7.68f;
    float orthogonal5 = -100.0f, orthogonal6 = 100.0f;
    // Vertical field of view in degrees, near and far plane distances.
    float perspective1 = 45.0f, perspective2 = 0.1f, perspective3 = 10000.0f;

    // The defaults; a terrain model gets a box that holds a whole terrain.
    static ProjectionSettings defaults(bool terrainModel);
    bool operator==(const ProjectionSettings&) const = default;
    // The stored values in their order.
    static std::span<const SettingsValue<ProjectionSettings>> values();
};

}  // namespace y4
