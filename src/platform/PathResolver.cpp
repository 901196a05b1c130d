// Case-insensitive lookup of paths that were written on a case-insensitive system.
#include "PathResolver.h"

#include "FolderListing.h"

#include <sys/stat.h>

#include <vector>

namespace y4 {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// A path being built one resolved component at a time. Relative paths stay relative, so a
// name given without a folder comes back without one.
struct WalkedPath {
    bool absolute = false;
    std::vector<std::string> components;

    std::string text() const {
        if (!absolute && components.empty()) {
            return std::string(".");
        }
        std::string out(absolute ? "/" : "");
        for (std::size_t i = 0; i < components.size(); ++i) {
            if (i > 0) {
                out += '/';
            }
            out += components[i];
        }
        return out;
    }

    void goUp() {
        if (!components.empty() && components.back() != "..") {
            components.pop_back();
        } else if (!absolute) {
            components.push_back("..");
        }  // Above the root is the root.
    }
};

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The entry of `folder` that matches `name`: the exact spelling when it exists, otherwise the
// entry the listing finds ignoring case. Only when the exact spelling is missing is the folder
// read, and then at most once per listing.
std::optional<std::string> findEntry(const std::string& folder, std::string_view name,
                                     FolderListing& listing) {
    std::string exact(name);
    if (exists(PathResolver::join(folder == "." ? "" : folder, exact))) {
        return exact;
    }
    return listing.find(folder, name);
}

// Splits at both separators, dropping empty components.
std::vector<std::string_view> splitComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || isSeparator(path[i])) {
            if (i > start) {
                parts.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

// Resolves every component of `path`; nothing when one of them does not exist.
std::optional<WalkedPath> walk(std::string_view path, FolderListing& listing) {
    // A file name can never hold a NUL; the system would silently cut the name there.
    if (path.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    WalkedPath walked;
    walked.absolute = !path.empty() && isSeparator(path.front());
    for (std::string_view part : splitComponents(path)) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            walked.goUp();
            continue;
        }
        std::optional<std::string> entry = findEntry(walked.text(), part, listing);
        if (!entry) {
            return std::nullopt;
        }
        walked.components.push_back(std::move(*entry));
    }
    return walked;
}

std::size_t lastSeparator(std::string_view path) {
    return path.find_last_of("/\\");
}

}  // namespace

std::optional<std::string> PathResolver::resolveExisting(std::string_view path,
                                                         FolderListing* listing) {
    if (path.empty()) {
        return std::nullopt;
    }
    FolderListing once;
    std::optional<WalkedPath> walked = walk(path, listing ? *listing : once);
    if (!walked) {
        return std::nullopt;
    }
    return walked->text();
}

std::optional<std::string> PathResolver::resolveForWrite(std::string_view path,
                                                         FolderListing* listing) {
    const std::string_view name = fileNameOf(path);
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t cut = lastSeparator(path);
    // Keep the separator itself, so that "/NAME" stays in the root folder.
    const std::string_view folderPart =
        cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
    FolderListing once;
    FolderListing& names = listing ? *listing : once;
    std::optional<WalkedPath> folder = walk(folderPart, names);
    if (!folder) {
        return std::nullopt;
    }
    const std::string folderText = folder->text();
    if (!isDirectory(folderText)) {
        return std::nullopt;
    }
    std::optional<std::string> existing = findEntry(folderText, name, names);
    const std::string chosen = existing ? *existing : std::string(name);
    if (!folder->absolute && folder->components.empty()) {
        return chosen;
    }
    return join(folderText, chosen);
}

std::string PathResolver::join(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && !isSeparator(out.back())) {
        out += '/';
    }
    out += name;
    return out;
}

std::string_view PathResolver::folderOf(std::string_view path) {
    const std::size_t cut = lastSeparator(path);
    return cut == std::string_view::npos ? path : path.substr(0, cut);
}

std::string_view PathResolver::fileNameOf(std::string_view path) {
    const std::size_t cut = lastSeparator(path);
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace y4
