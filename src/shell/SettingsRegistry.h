// SettingsRegistry: reading and writing single settings values, and loading and saving the four
// settings groups as wholes. Loading starts from the defaults, so a missing store, key or value
// silently leaves them; writing failures are reported by the return value only.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"
#include "shell/DisplaySettings.h"
#include "shell/GridSettings.h"
#include "shell/ProjectionSettings.h"
#include "shell/TransformSettings.h"

namespace y4 {

// Stored texts longer than this read as missing: the values were always read into a 128-byte
// buffer, and a cut text would be a different value.
inline constexpr std::size_t kMaxSettingsValueLength = 127;

// The stored text, or an empty string when the value is missing or too long.
std::string queryRegistryValue(const SettingsStore& store, std::string_view name);
// Stores the text; false when the store could not be written.
bool setRegistryValue(SettingsStore& store, std::string_view name, std::string_view text);

// Called at the end of loading the grid group, to reload the backdrop bitmaps it names.
using BackdropReload = std::function<void(const GridSettings&)>;

void loadDisplaySettings(const SettingsStore& store, DisplaySettings& display, bool terrainModel);
void loadTransformSettings(const SettingsStore& store, TransformSettings& transform);
void loadGridSettings(const SettingsStore& store, GridSettings& grid,
                      const BackdropReload& reloadBackdrops = {});
void loadProjectionSettings(const SettingsStore& store, ProjectionSettings& projection,
                            bool terrainModel);

// Each saver writes every value of its group in table order; false when any write failed.
bool saveDisplaySettings(SettingsStore& store, const DisplaySettings& display);
bool saveTransformSettings(SettingsStore& store, const TransformSettings& transform);
bool saveGridSettings(SettingsStore& store, const GridSettings& grid);
bool saveProjectionSettings(SettingsStore& store, const ProjectionSettings& projection);

}  // namespace y4
