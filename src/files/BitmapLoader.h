// loadBitmapImage: reads a bitmap file into an RGBImage, reporting failures to the user with the
// loader's messages.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "RGBImage.h"

namespace y4 {

// `path` may use "\" or "/" and any case (see PathResolver). On failure shows one message box
// captioned "Error" ("Failed to open DIB file <path>.", "Unknown DIB file format.",
// "Image file conversion error." or "Out of memory.") and returns null.
std::unique_ptr<RGBImage> loadBitmapImage(const std::string& path);

// The same for a file already looked up: `resolvedPath` is where it is (nothing when it was
// not found), `path` names it in messages. A picture of more than `maxImageBytes` decoded
// bytes gives null without a message and sets `overLimit`.
std::unique_ptr<RGBImage> loadBitmapFile(
    const std::string& path, const std::optional<std::string>& resolvedPath, bool& overLimit,
    std::size_t maxImageBytes = std::numeric_limits<std::size_t>::max());

}  // namespace y4
