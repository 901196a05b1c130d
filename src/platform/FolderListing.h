// FolderListing: the names in folders, each folder read at most once, for the case-insensitive
// lookups of one operation (the textures of one load): a model that names thousands of
// textures in a folder of thousands of files reads that folder once, not once per name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace y4 {

class FolderListing {
public:
    // The entry of `folder` whose name equals `name` ignoring the case of ASCII letters: the
    // first such entry in byte order, so the choice never depends on the order in which the
    // file system lists the folder. Nothing when the folder has none or cannot be read.
    std::optional<std::string> find(const std::string& folder, std::string_view name);

    // How many times a folder has been read, by any listing, since the program started.
    static std::uint64_t foldersRead();

private:
    // Per folder: each name in lower case, with the entry that answers for it.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> folders_;
};

}  // namespace y4
