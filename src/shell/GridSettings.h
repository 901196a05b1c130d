// GridSettings: the reference grids on the three axis planes and the backdrop bitmaps drawn on
// them, with their defaults and the table of their stored names.
#pragma once

#include <span>
#include <string>

#include "shell/SettingsValue.h"

namespace y4 {

struct GridSettings {
    static constexpr float kDefaultSpacing = 2.0f;

    float gridSpacing = kDefaultSpacing;
    // The extent of every grid along both axes of its plane.
    float gridMin = -10.0f, gridMax = 10.0f;
    // Plane switches, 0 or 1.
    int gridXY = 0, gridYZ = 0, gridXZ = 0;
    // Where each plane lies along its normal axis; stored as whole numbers.
    float gridXYOffset = 0.0f, gridYZOffset = 0.0f, gridXZOffset = 0.0f;
    float gridXY_R = 0.4f, gridXY_G = 0.0f, gridXY_B = 0.0f;
    float gridYZ_R = 0.0f, gridYZ_G = 0.4f, gridYZ_B = 0.0f;
    float gridXZ_R = 0.0f, gridXZ_G = 0.0f, gridXZ_B = 0.4f;
    // Backdrop switches, 0 or 1, and the bitmap files shown.
    int bitmapXY = 0, bitmapYZ = 0, bitmapXZ = 0;
    std::string bitmapXYName, bitmapYZName, bitmapXZName;
    float gridBitmapOpacity = 0.5f;
    // Where each backdrop lies within its plane.
    float gridXY_OffsetX = 0.0f, gridXY_OffsetY = 0.0f;
    float gridYZ_OffsetY = 0.0f, gridYZ_OffsetZ = 0.0f;
    float gridXZ_OffsetX = 0.0f, gridXZ_OffsetZ = 0.0f;

    // The grid lines are found by stepping from gridMin by the spacing, so a spacing that is
    // not a finite positive number would never reach gridMax.
    static bool isUsableSpacing(float spacing);
    bool operator==(const GridSettings&) const = default;
    // The stored values in their order.
    static std::span<const SettingsValue<GridSettings>> values();
};

}  // namespace y4
