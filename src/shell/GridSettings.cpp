// GridSettings: the spacing check and the table of stored names.
#include "shell/GridSettings.h"

#include <array>
#include <cmath>

namespace y4 {

namespace {

using G = GridSettings;
constexpr SettingsTextForm kWhole = SettingsTextForm::WholeNumber;

constexpr std::array<SettingsValue<G>, 31> kValues{{
    {"gridSpacing", &G::gridSpacing},
    {"gridMin", &G::gridMin},
    {"gridMax", &G::gridMax},
    {"gridXY", &G::gridXY},
    {"gridYZ", &G::gridYZ},
    {"gridXZ", &G::gridXZ},
    {"gridXYOffset", &G::gridXYOffset, kWhole},
    {"gridYZOffset", &G::gridYZOffset, kWhole},
    {"gridXZOffset", &G::gridXZOffset, kWhole},
    {"gridXY_R", &G::gridXY_R},
    {"gridXY_G", &G::gridXY_G},
    {"gridXY_B", &G::gridXY_B},
    {"gridYZ_R", &G::gridYZ_R},
    {"gridYZ_G", &G::gridYZ_G},
    {"gridYZ_B", &G::gridYZ_B},
    {"gridXZ_R", &G::gridXZ_R},
    {"gridXZ_G", &G::gridXZ_G},
    {"gridXZ_B", &G::gridXZ_B},
    {"bitmapXY", &G::bitmapXY},
    {"bitmapYZ", &G::bitmapYZ},
    {"bitmapXZ", &G::bitmapXZ},
    {"bitmapXYName", &G::bitmapXYName},
    {"bitmapYZName", &G::bitmapYZName},
    {"bitmapXZName", &G::bitmapXZName},
    {"gridBitmapOpacity", &G::gridBitmapOpacity},
    {"gridXY_OffsetX", &G::gridXY_OffsetX},
    {"gridXY_OffsetY", &G::gridXY_OffsetY},
    {"gridYZ_OffsetY", &G::gridYZ_OffsetY},
    {"gridYZ_OffsetZ", &G::gridYZ_OffsetZ},
    {"gridXZ_OffsetX", &G::gridXZ_OffsetX},
    {"gridXZ_OffsetZ", &G::gridXZ_OffsetZ},
}};

}  // namespace

bool GridSettings::isUsableSpacing(float spacing) {
    return std::isfinite(spacing) && spacing > 0;
}

std::span<const SettingsValue<GridSettings>> GridSettings::values() {
    return kValues;
}

}  // namespace y4
