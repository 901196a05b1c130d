// ModelFixture: a model file and its texture bitmaps written into a test's temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TempDir.h"

namespace y4::test {

struct TextureFile {
    std::string name;  // without folder and ".BMP"
    int width = 2;
    int height = 2;
};

class ModelFixture {
public:
    // Writes `text` as `fileName` (e.g. "TINY.Y4P") and a plain bitmap "<name>.BMP" for each
    // texture; returns the model's path.
    static std::string write(const TempDir& dir, std::string_view fileName, std::string_view text,
                             const std::vector<TextureFile>& textures = {});
    // Copies the bundled sample `fileName` and every bitmap beside it; returns its path.
    static std::string copySample(const TempDir& dir, std::string_view fileName);
    // Writes "GEN.Y4P", a generated model of 400 faces in 12 groups three levels deep with 5
    // textures, from `seed`; returns its path.
    static std::string writeGenerated(const TempDir& dir, std::uint32_t seed);
    // The same text with every line ending in CR LF.
    static std::string withCrLf(std::string_view text);
};

}  // namespace y4::test
