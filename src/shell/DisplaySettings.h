// DisplaySettings: the lighting and colour preferences of the view (36 floats), with their
// defaults and the table of their stored names.
#pragma once

#include <span>

#include "shell/SettingsValue.h"

namespace y4 {

struct DisplaySettings {
    float ambientR = 0.3f, ambientG = 0.3f, ambientB = 0.3f, ambientA = 1.0f;
    float diffuseR = 0.7f, diffuseG = 0.7f, diffuseB = 0.7f, diffuseA = 1.0f;
    float specularR = 1.0f, specularG = 1.0f, specularB = 1.0f, specularA = 1.0f;
    // The fourth, homogeneous component of light 0's position is lightPosDistance.
    float lightPosX = -50.0f, lightPosY = -50.0f, lightPosZ = -100.0f;
    float lightPosDistance = 1.0f;
    float backgroundR = 0.2f, backgroundG = 0.3f, backgroundB = 0.5f, backgroundA = 0.0f;
    float solidR = 0.5f, solidG = 0.5f, solidB = 0.5f, solidA = 1.0f;
    float selectR = 0.85f, selectG = 0.5f, selectB = 0.5f, selectA = 1.0f;
    float highlightR = 0.5f, highlightG = 0.5f, highlightB = 0.85f, highlightA = 1.0f;
    float pointR = 0.5f, pointG = 0.85f, pointB = 0.5f, pointA = 1.0f;

    // The defaults; a terrain model is lit from far above instead.
    static DisplaySettings defaults(bool terrainModel);
    bool operator==(const DisplaySettings&) const = default;
    // The stored values in their order.
    static std::span<const SettingsValue<DisplaySettings>> values();
};

}  // namespace y4
