// The bitmap file loader: path resolution, mapping and the loader's messages.
#include "BitmapLoader.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "BitmapDecoder.h"
#include "platform/InputFile.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

void report(std::string_view text) {
    prompt().showMessage(text, MessageIcon::Exclamation, "Error");
}

std::string_view messageOf(BitmapError error) {
    switch (error) {
        case BitmapError::UnknownFormat:
            return "Unknown DIB file format.";
        case BitmapError::ConversionFailed:
            return "Image file conversion error.";
        case BitmapError::OutOfMemory:
        case BitmapError::OverLimit:
            return "Out of memory.";
    }
    return "Image file conversion error.";
}

}  // namespace

std::unique_ptr<RGBImage> loadBitmapImage(const std::string& path) {
    bool overLimit = false;
    return loadBitmapFile(path, PathResolver::resolveExisting(path), overLimit);
}

std::unique_ptr<RGBImage> loadBitmapFile(const std::string& path,
                                         const std::optional<std::string>& resolvedPath,
                                         bool& overLimit, std::size_t maxImageBytes) {
    overLimit = false;
    std::optional<std::string> bytes;
    std::string reason;
    if (resolvedPath) {
        // Read whole, not mapped: a file shortened meanwhile must not kill the program.
        bytes = InputFile::readWhole(*resolvedPath, BitmapDecoder::kMaxFileBytes, &reason);
    }
    if (!bytes) {
        report(reason == std::strerror(EFBIG) ? std::string("Out of memory.")
                                              : "Failed to open DIB file " + path + ".\n");
        return nullptr;
    }
    std::variant<RGBImage, BitmapError> result = BitmapDecoder::decode(
        {reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()}, maxImageBytes);
    if (const BitmapError* error = std::get_if<BitmapError>(&result)) {
        overLimit = *error == BitmapError::OverLimit;
        if (!overLimit) {
            report(messageOf(*error));
        }
        return nullptr;
    }
    return std::make_unique<RGBImage>(std::move(std::get<RGBImage>(result)));
}

}  // namespace y4
