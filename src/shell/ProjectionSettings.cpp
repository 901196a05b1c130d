// ProjectionSettings: the terrain defaults and the table of stored names.
#include "shell/ProjectionSettings.h"

#include <array>

namespace y4 {

namespace {

using P = ProjectionSettings;

constexpr std::array<SettingsValue<P>, 10> kValues{{
    {"projectionMode", &P::projectionMode},
    {"orthogonal1", &P::orthogonal1},
    {"orthogonal2", &P::orthogonal2},
    {"orthogonal3", &P::orthogonal3},
    {"orthogonal4", &P::orthogonal4},
    {"orthogonal5", &P::orthogonal5},
    {"orthogonal6", &P::orthogonal6},
    {"perspective1", &P::perspective1},
    {"perspective2", &P::perspective2},
    {"perspective3", &P::perspective3},
}};

}  // namespace

ProjectionSettings ProjectionSettings::defaults(bool terrainModel) {
    ProjectionSettings settings;
    if (terrainModel) {
        // 4048, not 4096: the terrain box has always been this wide.
        settings.orthogonal1 = -4048.0f;
        settings.orthogonal2 = 4048.0f;
        settings.orthogonal3 = -3072.0f;
        settings.orthogonal4 = 3072.0f;
        settings.orthogonal5 = -8000.0f;
        settings.orthogonal6 = 8000.0f;
    }
    return settings;
}

std::span<const SettingsValue<ProjectionSettings>> ProjectionSettings::values() {
    return kValues;
}

}  // namespace y4
