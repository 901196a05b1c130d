// AutosaveSettings: whether the recovery copy of a model with unsaved edits is written, and how
// often, kept in the settings store as "autosave" ("1" on, "0" off) and "autosaveMinutes". A
// value that is missing or not one of these reads as the default: on, every two minutes.
#pragma once

#include "platform/SettingsStore.h"

namespace y4 {

struct AutosaveSettings {
    static constexpr int kDefaultMinutes = 2;
    static constexpr int kFewestMinutes = 1;
    static constexpr int kMostMinutes = 60;

    bool enabled = true;
    int minutes = kDefaultMinutes;

    static AutosaveSettings load(const SettingsStore& store);
    // False when the store could not be written.
    bool save(SettingsStore& store) const;
};

}  // namespace y4
