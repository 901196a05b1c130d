// loadBitmapImage: reads a bitmap file into an RGBImage, reporting failures to the user with the
// loader's messages.
#pragma once

#include <memory>
#include <string>

#include "RGBImage.h"

namespace y4 {

// `path` may use "\" or "/" and any case (see PathResolver). On failure shows one message box
// captioned "Error" ("Failed to open DIB file <path>.", "Unknown DIB file format.",
// "Image file conversion error." or "Out of memory.") and returns null.
std::unique_ptr<RGBImage> loadBitmapImage(const std::string& path);

}  // namespace y4
