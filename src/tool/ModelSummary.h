// ModelSummary: the human summary of a loaded model that "y4tool info" prints: variant,
// counts, bitmaps with their image sizes, bounding box and the object tree's groups.
#pragma once

#include <string>

namespace y4 {

class Reader;

class ModelSummary {
public:
    static std::string write(const Reader& reader, const std::string& shownName);
};

}  // namespace y4
