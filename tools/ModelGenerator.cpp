// Generated models: a hierarchy of groups over grids of faces, textures with simple patterns.
#include "ModelGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "BitmapWriter.h"
#include "SceneBuilder.h"
#include "files/LoadError.h"
#include "files/Writer.h"

namespace y4::gen {

namespace {

// A small generator of its own, so that a seed gives the same model everywhere.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // A float in [low, high).
    float between(float low, float high) {
        return low + (high - low) * static_cast<float>(next() >> 8) / 16777216.0f;
    }

private:
    std::uint32_t state_;
};

float rolling(float x, float z) {
    return 0.25f * std::sin(0.7f * x) * std::cos(0.5f * z);
}

// The branching that keeps `groups` entities within `depth` levels below the root.
int branching(int groups, int depth) {
    int branch = 2;
    for (;; ++branch) {
        long long levelSize = 1;
        long long total = 1;
        for (int level = 0; level < depth && total < groups; ++level) {
            levelSize *= branch;
            total += levelSize;
        }
        if (total >= groups || branch >= groups) {
            return branch;
        }
    }
}

void addMesh(SceneBuilder& build, SubEntity* s, long long faces, Random& random) {
    const int columns = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(faces) / 2)));
    const auto rows = static_cast<int>((faces + 2LL * columns - 1) / (2LL * columns));
    build.addGrid(s, {random.between(-5, 5), random.between(-1, 1), random.between(-5, 5)},
                  random.between(0.1f, 0.5f), columns, rows, rolling, faces);
}

std::string textureName(int k) {
    char name[16];
    std::snprintf(name, sizeof name, "TEX%03d", k);
    return name;
}

void generateGroups(Reader& r, const GeneratorOptions& o, Random& random) {
    SceneBuilder build(r);
    const int groups = std::max(1, o.groups);
    const int branch = branching(groups, std::max(1, o.depth));
    for (int k = 0; k < groups; ++k) {
        Entity* parent = k == 0 ? nullptr : r.entities[static_cast<std::size_t>((k - 1) / branch)];
        const Point position =
            k == 0 ? Point{0, 0, 0}
                   : Point{random.between(-3, 3), random.between(-1, 1), random.between(-3, 3)};
        const Point rotation = k == 0
                                   ? Point{0, 0, 0}
                                   : Point{random.between(-0.5f, 0.5f), random.between(-0.5f, 0.5f),
                                           random.between(-0.5f, 0.5f)};
        build.addEntity(parent, k == 0 ? "Root" : "Group" + std::to_string(k), position, rotation);
    }
    std::vector<Entity*> leaves;
    for (Entity* e : r.entities) {
        if (e->children.empty()) {
            leaves.push_back(e);
        }
    }
    const bool flat = r.fileType == Reader::kY4D;
    const long long perLeaf = flat ? 1 : std::max(1, o.subEntities);
    // A flat model cannot keep a sub-entity without faces; give every sub-entity at least one.
    long long meshes = static_cast<long long>(leaves.size()) * perLeaf;
    if (flat) {
        meshes = std::min(meshes, std::max(1LL, o.faces));
    }
    for (long long m = 0; m < meshes; ++m) {
        Entity* leaf = leaves[static_cast<std::size_t>(m / perLeaf)];
        SubEntity* s = build.addSubEntity(leaf, static_cast<int>(m % std::max(1, o.textures)));
        const long long faces = o.faces / meshes + (m < o.faces % meshes ? 1 : 0);
        addMesh(build, s, faces, random);
    }
    for (int k = 0; k < std::max(1, o.textures); ++k) {
        r.bitmapNames.push_back(textureName(k));
    }
}

void generateTerrain(Reader& r, const GeneratorOptions& o, Random& random) {
    SceneBuilder build(r);
    Entity* root = build.addEntity(nullptr, r.baseName());
    // A record holds at most 65535 vertices and faces.
    const long long needed = (o.faces + 59999) / 60000;
    const int records =
        static_cast<int>(std::clamp<long long>(std::max<long long>(o.subEntities, needed), 1, 255));
    for (int k = 0; k < records; ++k) {
        const bool own = k == records - 1;
        r.bitmapNames.push_back(own ? "Zelvan's Terrain"
                                    : textureName(k % std::max(1, o.textures)));
        SubEntity* s = build.addSubEntity(root, k);
        if (own) {
            s->setName("Zelvan's Terrain");
        }
        addMesh(build, s, o.faces / records + (k < o.faces % records ? 1 : 0), random);
    }
}

Rgb patternPixel(std::uint32_t seed, int x, int y) {
    const auto shade = static_cast<std::uint8_t>(((x / 8 + y / 8) % 2) * 40 + 100);
    return {static_cast<std::uint8_t>((seed * 67 + shade) & 0xFF),
            static_cast<std::uint8_t>((seed * 131 + shade) & 0xFF),
            static_cast<std::uint8_t>((seed * 29 + static_cast<unsigned>(x * 2)) & 0xFF)};
}

}  // namespace

std::unique_ptr<Reader> ModelGenerator::generate(const GeneratorOptions& options,
                                                 const std::string& fileName) {
    auto reader = std::make_unique<Reader>(nullptr, fileName, Reader::NewModel{});
    Random random(options.seed);
    if (reader->fileType == Reader::kY4T) {
        generateTerrain(*reader, options, random);
    } else {
        generateGroups(*reader, options, random);
    }
    return reader;
}

void ModelGenerator::write(const GeneratorOptions& options, const std::string& fileName) {
    const std::unique_ptr<Reader> reader = generate(options, fileName);
    Writer writer(*reader, fileName);
    writeTextures(*reader);
}

void ModelGenerator::writeTextures(const Reader& reader) {
    for (std::size_t k = 0; k < reader.bitmapNames.size(); ++k) {
        const std::string file = reader.textureFileName(k);
        const auto seed = static_cast<std::uint32_t>(k + 1);
        if (!BitmapWriter::write(file, 64, 64,
                                 [seed](int x, int y) { return patternPixel(seed, x, y); })) {
            throw SaveError("Error: Could not write " + file);
        }
    }
}

}  // namespace y4::gen
