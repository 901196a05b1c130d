// PathResolver: the one place that knows that model files, textures and snapshots come from a
// case-insensitive system. Paths may use "\" or "/" between folders; each component of an
// existing path is matched case-insensitively, preferring the exact spelling.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace y4 {

class FolderListing;

class PathResolver {
public:
    // The real path of an existing file or folder, or nothing when no component matches. The
    // folders read to match names ignoring case are read through `listing` when given, so a
    // series of lookups reads each folder once.
    static std::optional<std::string> resolveExisting(std::string_view path,
                                                      FolderListing* listing = nullptr);
    // The path under which a file of this name is created or replaced: the folder resolved as
    // above; the last component as given, unless a file of that name in another case already
    // exists, which is then the one replaced. Nothing when the folder does not exist.
    static std::optional<std::string> resolveForWrite(std::string_view path,
                                                      FolderListing* listing = nullptr);
    // Joins a folder and a name with the platform's separator.
    static std::string join(std::string_view folder, std::string_view name);
    // The text before the last folder separator ("\" or "/"); the whole text when it has none.
    static std::string_view folderOf(std::string_view path);
    // The text after the last folder separator.
    static std::string_view fileNameOf(std::string_view path);
};

}  // namespace y4
