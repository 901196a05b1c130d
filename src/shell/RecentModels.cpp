// The list of recent models: read with care, written whole.
#include "shell/RecentModels.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "platform/PathResolver.h"
#include "platform/SettingsStore.h"

namespace y4 {

namespace {

// Longer paths are no paths of this system; a hand-edited store may hold anything.
constexpr std::size_t kMaxPathLength = 4096;

bool usable(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.size() <= kMaxPathLength &&
           path.find('\0') == std::string_view::npos && path.find('\r') == std::string_view::npos;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool RecentModels::sameFile(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    const std::optional<std::string> realA = PathResolver::resolveExisting(a);
    const std::optional<std::string> realB = PathResolver::resolveExisting(b);
    if (realA && realB) {
        std::error_code error;
        return std::filesystem::equivalent(*realA, *realB, error);
    }
    return equalIgnoringCase(a, b);
}

std::vector<std::string> RecentModels::models() const {
    const std::string text = store_.query(kValueName);
    std::vector<std::string> models;
    std::size_t start = 0;
    while (start < text.size() && models.size() < kMaxModels) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string path = text.substr(start, end - start);
        start = end + 1;
        const bool known = std::any_of(models.begin(), models.end(),
                                       [&](const std::string& m) { return sameFile(m, path); });
        if (usable(path) && !known) {
            models.push_back(std::move(path));
        }
    }
    return models;
}

void RecentModels::add(const std::string& path) {
    if (!usable(path) || path.find('\n') != std::string::npos) {
        return;
    }
    std::vector<std::string> models = this->models();
    std::erase_if(models, [&](const std::string& m) { return sameFile(m, path); });
    models.insert(models.begin(), path);
    if (models.size() > kMaxModels) {
        models.resize(kMaxModels);
    }
    store(models);
}

void RecentModels::remove(const std::string& path) {
    std::vector<std::string> models = this->models();
    std::erase_if(models, [&](const std::string& m) { return sameFile(m, path); });
    store(models);
}

void RecentModels::store(const std::vector<std::string>& models) {
    std::string text;
    for (const std::string& m : models) {
        text += (text.empty() ? "" : "\n") + m;
    }
    store_.set(kValueName, text);
    store_.sync();
}

}  // namespace y4
