// TransformSettings: the scaling factors of the transform commands and of view navigation
// (10 floats), with the table of their stored names.
#pragma once

#include <span>

#include "shell/SettingsValue.h"

namespace y4 {

struct TransformSettings {
    float translateXScale = 1.0f, translateYScale = 1.0f, translateZScale = 1.0f;
    // One factor serves rotation about all three axes.
    float rotateXScale = 1.0f;
    float scaleXScale = 1.0f, scaleYScale = 1.0f, scaleZScale = 1.0f;
    float viewMoveScale = 0.1f;
    float viewRotateScale = 1.0f;
    float viewZoomScale = 0.3f;

    bool operator==(const TransformSettings&) const = default;
    // The stored values in their order.
    static std::span<const SettingsValue<TransformSettings>> values();
};

}  // namespace y4
