// RecentModels: the models opened last, most recent first, kept in the settings store so that
// the editor offers them again after a restart. The stored value is read afresh each time and
// whatever in it is not a usable path is passed over.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace y4 {

class SettingsStore;

class RecentModels {
public:
    static constexpr std::size_t kMaxModels = 8;
    // The value's name in the store: absolute paths, one per line.
    static constexpr std::string_view kValueName = "recent models";

    explicit RecentModels(SettingsStore& store) : store_(store) {}

    // At most kMaxModels absolute paths, no file twice.
    std::vector<std::string> models() const;
    // Puts `path` (absolute) first; another spelling of the same file goes.
    void add(const std::string& path);
    // Takes `path`, and any other spelling of its file, off the list.
    void remove(const std::string& path);

    // Whether two paths name one file: the same file on disk, or, when either is missing,
    // the same path ignoring case (the models come from a case-insensitive system).
    static bool sameFile(const std::string& a, const std::string& b);

private:
    void store(const std::vector<std::string>& models);

    SettingsStore& store_;
};

}  // namespace y4
