// ImageCache: the decoded texture images of one load. Each texture file is read and decoded
// once, however many bitmap names lead to it (names repeat, or differ only in case); each
// folder is listed once, however many names are looked up in it; and the images together may
// not pass a size limit, so that a small model cannot take unbounded memory through its
// textures.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>

#include "RGBImage.h"
#include "platform/FolderListing.h"

namespace y4 {

class ImageCache {
public:
    // The decoded size that the textures of one model may take together.
    static constexpr std::size_t kDefaultByteLimit = std::size_t{512} << 20;

    explicit ImageCache(std::size_t byteLimit = kDefaultByteLimit) : limit_(byteLimit) {}

    // The image of the bitmap file at `path` (any case, "\" or "/"), shared with every other
    // request for the same file. Null after the loader's message (see loadBitmapImage), or,
    // without a message, when the image would take the images past the limit: overLimit()
    // then tells.
    std::shared_ptr<const RGBImage> load(const std::string& path);
    bool overLimit() const { return overLimit_; }
    std::size_t bytesUsed() const { return used_; }

    // "Error: The textures of <model> need more than <limit> when decoded".
    static std::string limitMessage(const std::string& model, std::size_t byteLimit);

private:
    std::size_t limit_;
    std::size_t used_ = 0;
    bool overLimit_ = false;
    FolderListing listing_;
    std::unordered_map<std::string, std::shared_ptr<const RGBImage>> byFile_;
};

}  // namespace y4
