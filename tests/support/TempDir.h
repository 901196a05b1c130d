// TempDir: a folder of its own for one test, removed with everything in it afterwards.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace y4::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string file(std::string_view name) const;
    // Writes `bytes` to `name` (folders on the way are created) and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;
    // The whole content of a file, or an empty string when it cannot be read.
    static std::string read(const std::string& path);
    // What `path` is, without following a link: "file", "folder", "link", "fifo", "socket",
    // "device" or "missing".
    static std::string typeOf(const std::string& path);
    // The names in `folder`.
    static std::set<std::string> entries(const std::string& folder);

private:
    std::string path_;
};

}  // namespace y4::test
