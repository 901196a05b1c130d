// DisplaySettings: the terrain defaults and the table of stored names.
#include "shell/DisplaySettings.h"

#include <array>

namespace y4 {

namespace {

using D = DisplaySettings;

constexpr std::array<SettingsValue<D>, 36> kValues{{
    {"ambientR", &D::ambientR},       {"ambientG", &D::ambientG},
    {"ambientB", &D::ambientB},       {"ambientA", &D::ambientA},
    {"diffuseR", &D::diffuseR},       {"diffuseG", &D::diffuseG},
    {"diffuseB", &D::diffuseB},       {"diffuseA", &D::diffuseA},
    {"specularR", &D::specularR},     {"specularG", &D::specularG},
    {"specularB", &D::specularB},     {"specularA", &D::specularA},
    {"lightPosX", &D::lightPosX},     {"lightPosY", &D::lightPosY},
    {"lightPosZ", &D::lightPosZ},     {"lightPosDistance", &D::lightPosDistance},
    {"backgroundR", &D::backgroundR}, {"backgroundG", &D::backgroundG},
    {"backgroundB", &D::backgroundB}, {"backgroundA", &D::backgroundA},
    {"solidR", &D::solidR},           {"solidG", &D::solidG},
    {"solidB", &D::solidB},           {"solidA", &D::solidA},
    {"selectR", &D::selectR},         {"selectG", &D::selectG},
    {"selectB", &D::selectB},         {"selectA", &D::selectA},
    {"highlightR", &D::highlightR},   {"highlightG", &D::highlightG},
    {"highlightB", &D::highlightB},   {"highlightA", &D::highlightA},
    {"pointR", &D::pointR},           {"pointG", &D::pointG},
    {"pointB", &D::pointB},           {"pointA", &D::pointA},
}};

}  // namespace

DisplaySettings DisplaySettings::defaults(bool terrainModel) {
    DisplaySettings settings;
    if (terrainModel) {
        settings.lightPosX = -10.0f;
        settings.lightPosY = -5000.0f;
        settings.lightPosZ = 0.0f;
    }
    return settings;
}

std::span<const SettingsValue<DisplaySettings>> DisplaySettings::values() {
    return kValues;
}

}  // namespace y4
