// Folders read once and looked up by name ignoring case.
#include "FolderListing.h"

#include <dirent.h>

#include <atomic>
#include <memory>

namespace y4 {

namespace {

std::atomic<std::uint64_t> readCount{0};

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string folded(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        c = foldCase(c);
    }
    return out;
}

}  // namespace

std::optional<std::string> FolderListing::find(const std::string& folder, std::string_view name) {
    auto listed = folders_.find(folder);
    if (listed == folders_.end()) {
        std::unordered_map<std::string, std::string> names;
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
        ++readCount;
        while (dir) {
            const dirent* entry = ::readdir(dir.get());
            if (!entry) {
                break;
            }
            const std::string_view candidate(entry->d_name);
            auto [it, added] = names.try_emplace(folded(candidate), candidate);
            if (!added && candidate < it->second) {
                it->second = std::string(candidate);
            }
        }
        listed = folders_.emplace(folder, std::move(names)).first;
    }
    const auto it = listed->second.find(folded(name));
    if (it == listed->second.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::uint64_t FolderListing::foldersRead() {
    return readCount.load();
}

}  // namespace y4
