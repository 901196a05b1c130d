// ModelGenerator: valid models of any size in the three variants, the same for the same
// options and seed, for tests and benchmarks. Nothing large is kept in the repository; it is
// made when needed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "files/Reader.h"

namespace y4::gen {

struct GeneratorOptions {
    long long faces = 10000;
    // Entities in the hierarchy (a terrain has one).
    int groups = 16;
    // The deepest level below the root.
    int depth = 3;
    // Sub-entities per entity that holds geometry (a flat model holds one; for a terrain, the
    // number of records).
    int subEntities = 2;
    // Distinct texture bitmaps.
    int textures = 4;
    std::uint32_t seed = 1;
};

class ModelGenerator {
public:
    // The model as a new scene named `fileName`, whose extension (.Y4P, .Y4D or .Y4T, in
    // upper case) chooses the variant.
    static std::unique_ptr<Reader> generate(const GeneratorOptions& options,
                                            const std::string& fileName);
    // Writes the model file and its texture bitmaps beside it. Throws SaveError.
    static void write(const GeneratorOptions& options, const std::string& fileName);
    // Writes a 64 x 64 bitmap for each bitmap name of the scene into its folder (for a terrain,
    // the terrain's own picture under the model's name).
    static void writeTextures(const Reader& reader);
};

}  // namespace y4::gen
