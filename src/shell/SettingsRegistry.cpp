// SettingsRegistry: the value primitives and the group loaders and savers, all driven by the
// groups' tables.
#include "shell/SettingsRegistry.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <variant>

#include "model/NumberText.h"

namespace y4 {

namespace {

template <class... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
// Clang 14, which builds the fuzz targets, does not deduce aggregate arguments by itself.
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

// The float a stored text stands for, or nothing for "nan", "inf" and numbers beyond float
// range: those would poison every matrix and colour they reach, and an infinite grid extent
// would never finish drawing.
std::optional<float> finiteFloat(std::string_view text) {
    const double value = parseLeadingFloat(text);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

std::string wholeNumberText(float value) {
    if (!std::isfinite(value)) {
        return formatFloatText(value);
    }
    // Adding zero turns a truncated -0.5 into "0" rather than "-0".
    const double whole = std::trunc(static_cast<double>(value)) + 0.0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::fixed, 0);
    return std::string(buffer, result.ptr);
}

template <class Group>
void loadValues(const SettingsStore& store, Group& group) {
    for (const SettingsValue<Group>& value : Group::values()) {
        const std::string text = queryRegistryValue(store, value.name);
        if (text.empty()) {
            continue;
        }
        std::visit(Overloaded{
                       [&](float Group::*field) {
                           if (const std::optional<float> number = finiteFloat(text)) {
                               group.*field = *number;
                           }
                       },
                       [&](int Group::*field) { group.*field = parseLeadingInt(text); },
                       [&](std::string Group::*field) { group.*field = text; },
                   },
                   value.field);
    }
}

template <class Group>
bool saveValues(SettingsStore& store, const Group& group) {
    bool stored = true;
    for (const SettingsValue<Group>& value : Group::values()) {
        const std::string text =
            std::visit(Overloaded{
                           [&](float Group::*field) {
                               return value.form == SettingsTextForm::WholeNumber
                                          ? wholeNumberText(group.*field)
                                          : formatFloatText(group.*field);
                           },
                           [&](int Group::*field) { return std::to_string(group.*field); },
                           [&](std::string Group::*field) { return group.*field; },
                       },
                       value.field);
        stored = setRegistryValue(store, value.name, text) && stored;
    }
    return stored;
}

}  // namespace

std::string queryRegistryValue(const SettingsStore& store, std::string_view name) {
    std::string text = store.query(name);
    if (text.size() > kMaxSettingsValueLength) {
        return {};
    }
    return text;
}

bool setRegistryValue(SettingsStore& store, std::string_view name, std::string_view text) {
    return store.set(name, text);
}

void loadDisplaySettings(const SettingsStore& store, DisplaySettings& display, bool terrainModel) {
    display = DisplaySettings::defaults(terrainModel);
    loadValues(store, display);
}

void loadTransformSettings(const SettingsStore& store, TransformSettings& transform) {
    transform = TransformSettings{};
    loadValues(store, transform);
}

void loadGridSettings(const SettingsStore& store, GridSettings& grid,
                      const BackdropReload& reloadBackdrops) {
    grid = GridSettings{};
    loadValues(store, grid);
    // Junk text reads as 0, and a spacing of 0 or less would never end the grid loop.
    if (!GridSettings::isUsableSpacing(grid.gridSpacing)) {
        grid.gridSpacing = GridSettings::kDefaultSpacing;
    }
    if (reloadBackdrops) {
        reloadBackdrops(grid);
    }
}

void loadProjectionSettings(const SettingsStore& store, ProjectionSettings& projection,
                            bool terrainModel) {
    projection = ProjectionSettings::defaults(terrainModel);
    loadValues(store, projection);
}

bool saveDisplaySettings(SettingsStore& store, const DisplaySettings& display) {
    return saveValues(store, display);
}

bool saveTransformSettings(SettingsStore& store, const TransformSettings& transform) {
    return saveValues(store, transform);
}

bool saveGridSettings(SettingsStore& store, const GridSettings& grid) {
    return saveValues(store, grid);
}

bool saveProjectionSettings(SettingsStore& store, const ProjectionSettings& projection) {
    return saveValues(store, projection);
}

}  // namespace y4
