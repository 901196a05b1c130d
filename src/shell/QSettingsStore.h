// QSettingsStore: the editor's persistent settings, kept by QSettings in an INI file (in the
// user's configuration folder, or a given file for tests) under Software/Miscellaneous/Y4Editor.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

class QSettings;

namespace y4 {

class QSettingsStore : public SettingsStore {
public:
    // The user's settings file: <configuration folder>/Miscellaneous/Y4Editor.ini.
    QSettingsStore();
    // The settings file at `iniPath`.
    explicit QSettingsStore(const std::string& iniPath);
    ~QSettingsStore() override;
    QSettingsStore(const QSettingsStore&) = delete;
    QSettingsStore& operator=(const QSettingsStore&) = delete;

    // Anything but text in the file (lists aside) reads as missing.
    std::string query(std::string_view name) const override;
    // False when the file cannot be written. The file itself is rewritten once for a whole
    // group: when the event loop next runs, at sync() or when the store goes.
    bool set(std::string_view name, std::string_view text) override;
    // Writes pending values to the file now; false when that failed.
    bool sync() override;

    // The path of the INI file.
    std::string fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace y4
