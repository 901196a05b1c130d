// SettingsStore: named string values under the editor's settings key
// (Software\Miscellaneous\Y4Editor). The editor uses QSettings; tests use MemorySettingsStore.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace y4 {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or an empty string when the value or the store is missing.
    virtual std::string query(std::string_view name) const = 0;
    // Stores the text; false when the store could not be written.
    virtual bool set(std::string_view name, std::string_view text) = 0;
    // Makes what was set so far durable; false when that failed. Stores that write at once have
    // nothing to do.
    virtual bool sync() { return true; }
};

// A store in memory, for tests and for programs without persistent settings.
class MemorySettingsStore : public SettingsStore {
public:
    std::string query(std::string_view name) const override {
        auto it = values_.find(std::string(name));
        return it == values_.end() ? std::string() : it->second;
    }
    bool set(std::string_view name, std::string_view text) override {
        values_[std::string(name)] = std::string(text);
        return true;
    }
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
};

}  // namespace y4
