// MappedFile: a whole file mapped read-only into memory. Model files of a hundred megabytes are
// parsed straight from the mapping; discardBefore lets the pages already parsed go, so the
// process does not keep the whole file resident.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace y4 {

class MappedFile {
public:
    // Opens and maps the file at `path` (an exact path; resolve it first). On failure returns
    // nothing and, when `error` is given, stores the system's reason in it. An empty file maps
    // to an empty view.
    static std::optional<MappedFile> open(const std::string& path, std::string* error = nullptr);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::string_view bytes() const { return {data_, size_}; }
    std::size_t size() const { return size_; }
    // Tells the system that the bytes before `offset` will not be read again.
    void discardBefore(std::size_t offset);

private:
    MappedFile(const char* data, std::size_t size) : data_(data), size_(size) {}
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t discarded_ = 0;
};

}  // namespace y4
