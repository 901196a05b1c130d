// The bundled sample models and their pictures.
#include "SampleModels.h"

#include <cmath>
#include <cstdint>
#include <functional>

#include "BitmapWriter.h"
#include "SceneBuilder.h"
#include "files/LoadError.h"
#include "files/Writer.h"

namespace y4::gen {

namespace {

using Picture = std::function<Rgb(int, int)>;

std::uint8_t clampByte(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// A repeatable value noise in 0..1.
float noise(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

Rgb tint(int r, int g, int b, float light) {
    return {clampByte(static_cast<int>(static_cast<float>(r) * light)),
            clampByte(static_cast<int>(static_cast<float>(g) * light)),
            clampByte(static_cast<int>(static_cast<float>(b) * light))};
}

Rgb wood(int x, int y) {
    const bool seam = y % 16 == 0;
    const float grain = 0.8f + 0.2f * std::sin(static_cast<float>(x) * 0.4f + 3 * noise(y / 16, 0));
    return seam ? Rgb{60, 35, 20} : tint(150, 100, 55, grain + 0.1f * noise(x, y));
}

// Riveted plates; the holes are magenta, which the editor draws transparent.
Rgb metal(int x, int y) {
    const int rx = x % 32 - 16;
    const int ry = y % 32 - 16;
    if (rx * rx + ry * ry < 9) {
        return {255, 0, 255};
    }
    return tint(150, 155, 165, 0.85f + 0.15f * noise(x, y));
}

Rgb grass(int x, int y) {
    return tint(70, 140, 50, 0.75f + 0.35f * noise(x, y));
}

Rgb stone(int x, int y) {
    const bool mortar = y % 16 == 0 || (x + (y / 16) % 2 * 8) % 16 == 0;
    return mortar ? Rgb{90, 90, 85} : tint(160, 155, 145, 0.8f + 0.2f * noise(x / 2, y / 2));
}

Rgb bark(int x, int y) {
    return tint(95, 70, 45, 0.7f + 0.3f * noise(x / 3, y));
}

Rgb sand(int x, int y) {
    return tint(220, 200, 150, 0.85f + 0.15f * noise(x, y));
}

Rgb rock(int x, int y) {
    return tint(120, 115, 110, 0.6f + 0.4f * noise(x / 4, y / 4));
}

// The island's own picture: a map from the sea to the hill top.
Rgb islandMap(int x, int y) {
    const float dx = static_cast<float>(x - 32) / 32.0f;
    const float dy = static_cast<float>(y - 32) / 32.0f;
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d > 0.9f) {
        return tint(40, 90, 160, 0.9f + 0.1f * noise(x, y));
    }
    if (d > 0.75f) {
        return sand(x, y);
    }
    return d > 0.3f ? grass(x, y) : rock(x, y);
}

void writePicture(const std::string& path, const Picture& picture) {
    if (!BitmapWriter::write(path, 64, 64, picture)) {
        throw SaveError("Error: Could not write " + path);
    }
}

void save(Reader& reader, const std::vector<Picture>& pictures) {
    Writer writer(reader, reader.fileName);
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        writePicture(reader.textureFileName(k), pictures[k]);
    }
}

float hill(float x, float z) {
    return 2.0f * std::exp(-(x * x + z * z) / 18.0f) - 0.3f;
}
float level(float, float) {
    return 0.0f;
}

void writeCrate(const std::string& folder) {
    Reader reader(nullptr, folder + "/CRATE.Y4P", Reader::NewModel{});
    reader.bitmapNames = {"WOOD", "METAL"};
    SceneBuilder build(reader);
    Entity* crate = build.addEntity(nullptr, "Crate");
    Entity* body = build.addEntity(crate, "Body");
    build.addBox(build.addSubEntity(body, 0), {0, 0, 0}, {2.0f, 1.4f, 1.4f});
    Entity* lid = build.addEntity(crate, "Lid", {0, 0.76f, 0}, {0, 0.05f, 0});
    build.addBox(build.addSubEntity(lid, 0), {0, 0, 0}, {2.04f, 0.12f, 1.44f});
    Entity* handles = build.addEntity(crate, "Handles");
    Entity* left = build.addEntity(handles, "Handle Left", {-1.06f, 0.2f, 0});
    build.addBox(build.addSubEntity(left, 1), {0, 0, 0}, {0.12f, 0.16f, 0.6f});
    Entity* right = build.addEntity(handles, "Handle Right", {1.06f, 0.2f, 0});
    build.addBox(build.addSubEntity(right, 1), {0, 0, 0}, {0.12f, 0.16f, 0.6f});
    save(reader, {wood, metal});
}

void writeGarden(const std::string& folder) {
    Reader reader(nullptr, folder + "/GARDEN.Y4D", Reader::NewModel{});
    reader.bitmapNames = {"GRASS", "STONE", "BARK"};
    SceneBuilder build(reader);
    Entity* garden = build.addEntity(nullptr, "Garden");
    Entity* lawn = build.addEntity(garden, "Lawn");
    build.addGrid(build.addSubEntity(lawn, 0), {-4, 0, -4}, 1.0f, 8, 8, level);
    Entity* pyramid = build.addEntity(garden, "Pyramid", {1.5f, 0, 1.0f}, {0.3f, 0, 0});
    SubEntity* p = build.addSubEntity(pyramid, 1);
    const Point apex{0, 1.5f, 0};
    const Point base[4] = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
    for (int side = 0; side < 4; ++side) {
        const Point a = base[side];
        const Point b = base[(side + 1) % 4];
        const Point n{(a.x + b.x) / 2, 0.6f, (a.z + b.z) / 2};
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        const Point unit{n.x / length, n.y / length, n.z / length};
        const int first = build.addVertex(p, a, unit, 0, 0);
        build.addVertex(p, apex, unit, 0.5f, 1);
        build.addVertex(p, b, unit, 1, 0);
        build.addFace(p, first, first + 1, first + 2);
    }
    Entity* post = build.addEntity(garden, "Post", {-2.0f, 0.75f, 1.5f});
    build.addBox(build.addSubEntity(post, 2), {0, 0, 0}, {0.2f, 1.5f, 0.2f});
    save(reader, {grass, stone, bark});
}

void writeIsland(const std::string& folder) {
    Reader reader(nullptr, folder + "/ISLAND.Y4T", Reader::NewModel{});
    reader.bitmapNames = {"SAND", "GRASS", "ROCK", "Zelvan's Terrain"};
    SceneBuilder build(reader);
    Entity* root = build.addEntity(nullptr, "ISLAND");
    const Point corners[3] = {{-6, 0, -6}, {0, 0, -6}, {-6, 0, 0}};
    for (int k = 0; k < 3; ++k) {
        build.addGrid(build.addSubEntity(root, k), corners[k], 1.0f, 6, 6, hill);
    }
    SubEntity* own = build.addSubEntity(root, 3);
    own->setName("Zelvan's Terrain");
    build.addGrid(own, {0, 0, 0}, 1.0f, 6, 6, hill);
    save(reader, {sand, grass, rock, islandMap});
}

}  // namespace

void SampleModels::writeAll(const std::string& folder) {
    writeCrate(folder);
    writeGarden(folder);
    writeIsland(folder);
}

}  // namespace y4::gen
