// The upper-cased name of a chosen model file.
#include "ModelSource.h"

#include <algorithm>

namespace y4 {

ModelSource ModelSource::chosen(std::string path) {
    std::string name = path;
    // ASCII only, as the editor always did; other bytes of the name stay as they are.
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return {std::move(path), std::move(name)};
}

}  // namespace y4
