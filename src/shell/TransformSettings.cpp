// TransformSettings: the table of stored names.
#include "shell/TransformSettings.h"

#include <array>

namespace y4 {

namespace {

using T = TransformSettings;

constexpr std::array<SettingsValue<T>, 10> kValues{{
    {"translateXScale", &T::translateXScale},
    {"translateYScale", &T::translateYScale},
    {"translateZScale", &T::translateZScale},
    {"rotateXScale", &T::rotateXScale},
    {"scaleXScale", &T::scaleXScale},
    {"scaleYScale", &T::scaleYScale},
    {"scaleZScale", &T::scaleZScale},
    {"viewMoveScale", &T::viewMoveScale},
    {"viewRotateScale", &T::viewRotateScale},
    {"viewZoomScale", &T::viewZoomScale},
}};

}  // namespace

std::span<const SettingsValue<TransformSettings>> TransformSettings::values() {
    return kValues;
}

}  // namespace y4
