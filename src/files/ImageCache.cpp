// Texture images shared by file, within a size limit.
#include "ImageCache.h"

#include "BitmapLoader.h"
#include "platform/PathResolver.h"

namespace y4 {

std::shared_ptr<const RGBImage> ImageCache::load(const std::string& path) {
    const std::optional<std::string> resolved = PathResolver::resolveExisting(path, &listing_);
    if (resolved) {
        if (const auto known = byFile_.find(*resolved); known != byFile_.end()) {
            return known->second;
        }
    }
    bool tooLarge = false;
    std::shared_ptr<const RGBImage> image =
        loadBitmapFile(path, resolved, tooLarge, limit_ - used_);
    overLimit_ = overLimit_ || tooLarge;
    if (image) {
        used_ += image->data.size();
        byFile_.emplace(*resolved, image);
    }
    return image;
}

std::string ImageCache::limitMessage(const std::string& model, std::size_t byteLimit) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    const std::string limit = byteLimit % kMegabyte == 0
                                  ? std::to_string(byteLimit / kMegabyte) + " MB"
                                  : std::to_string(byteLimit) + " bytes";
    return "Error: The textures of " + model + " need more than " + limit + " when decoded";
}

}  // namespace y4
