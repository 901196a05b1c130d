// Reading and writing the autosave values.
#include "shell/AutosaveSettings.h"

#include <charconv>
#include <string>

#include "shell/SettingsRegistry.h"

namespace y4 {

AutosaveSettings AutosaveSettings::load(const SettingsStore& store) {
    AutosaveSettings settings;
    const std::string on = queryRegistryValue(store, "autosave");
    if (on == "0" || on == "1") {
        settings.enabled = on == "1";
    }
    const std::string minutes = queryRegistryValue(store, "autosaveMinutes");
    int value = 0;
    const auto [end, error] =
        std::from_chars(minutes.data(), minutes.data() + minutes.size(), value);
    if (!minutes.empty() && error == std::errc() && end == minutes.data() + minutes.size() &&
        value >= kFewestMinutes && value <= kMostMinutes) {
        settings.minutes = value;
    }
    return settings;
}

bool AutosaveSettings::save(SettingsStore& store) const {
    const bool on = setRegistryValue(store, "autosave", enabled ? "1" : "0");
    const bool every = setRegistryValue(store, "autosaveMinutes", std::to_string(minutes));
    return on && every && store.sync();
}

}  // namespace y4
