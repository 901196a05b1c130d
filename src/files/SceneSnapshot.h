// SceneSnapshot: a frozen copy of what the format writers read from a scene, taken in a moment
// on the editing thread so that another thread can lay out and write the model's text while
// the editing goes on. Plain numbers and names in flat arrays, in the order the writers walk
// them, with the positions and normals already in the file's sign; nothing in it points into
// the scene. Its records carry the same field names as the scene's, so one formatting code
// writes from either.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LargeMemory.h"

namespace y4 {

class Reader;

class SceneSnapshot {
public:
    struct Vertex {
        float X, Y, Z, normalX, normalY, normalZ, textureU, textureV;
    };
    struct Face {
        int indexA, indexB, indexC, bitmapIndex;
    };
    struct SubEntity {
        int bitmapIndex;
        std::span<const Vertex> vertices;
        std::span<const Face> faces;
    };
    struct Entity {
        std::string name;
        float positionX, positionY, positionZ, rotateX, rotateY, rotateZ;
        int entityID, parentEntityID, childEntityID, numFaces, numVertices, auxA, auxB,
            firstFaceIndex, firstVertexIndex;
        std::span<const SubEntity> subEntities;

        void appendName(std::string& out) const { out.append(name); }
    };

    // Copies the scene of `reader` as the writer of variant `extension` ("Y4P", "Y4D", "Y4T")
    // reads it: a terrain's root alone, every entity of the other variants. The link and count
    // columns must have been recomputed for that variant first (the writer's prepare step).
    SceneSnapshot(const Reader& reader, std::string_view extension);
    SceneSnapshot(SceneSnapshot&&) = default;
    SceneSnapshot& operator=(SceneSnapshot&&) = default;
    // The records refer into the snapshot's own arrays.
    SceneSnapshot(const SceneSnapshot&) = delete;
    SceneSnapshot& operator=(const SceneSnapshot&) = delete;

    const std::string& variant() const { return variant_; }
    const Entity* root() const { return entities.empty() ? nullptr : &entities.front(); }

    std::vector<Entity> entities;
    std::vector<std::string> bitmapNames;
    // The scene's header counts as recomputed for the flat variants, and the sizes of its
    // vertex, face, bitmap-name and entity lists, which the nested variant's header states.
    int numVertices = 0, numFaces = 0, numBitmaps = 0, numEntities = 0;
    std::array<std::size_t, 4> listSizes{};

private:
    std::string variant_;
    // Made once at their size (nothing moves the records the spans see), in huge pages: a
    // million faces fill tens of megabytes at once.
    std::vector<SubEntity> subEntities_;
    std::vector<Vertex, LargeAllocator<Vertex>> vertices_;
    std::vector<Face, LargeAllocator<Face>> faces_;
};

}  // namespace y4
