// SubEntityArrays: the vertex arrays one sub-entity is drawn from. The arrays hold every face
// and every vertex marker of the sub-entity in list order and change only when the geometry does;
// which of them are drawn, and in which colour, is kept as runs of consecutive elements that
// are cheap to work out again when a mark or a display switch changes.
#pragma once

#include <cstdint>
#include <vector>

#include "RecordFields.h"
#include "VertexBuffer.h"

namespace y4 {

class EntityTree;
struct SceneStyle;

class SubEntityArrays {
public:
    // GL context current: takes positions, normals and texture coordinates from the records.
    void buildGeometry(const SubEntity& s);
    // Works out which faces and markers are drawn and how: a face by its tree item's check box
    // (its `displayed` mark is set from it), its deleted mark and its colour; a marker by its
    // vertex's `displayed`, deleted and selected marks.
    void buildRuns(const SubEntity& s, const EntityTree* tree);
    // False once the sub-entity has gained or lost faces or vertices since the arrays were
    // built, whatever was announced.
    bool matches(const SubEntity& s) const;

    bool geometryValid = false;
    bool runsValid = false;

    // GL context current, for the sub-entity the arrays were built from. Faces as triangles,
    // or in wireframe as their three edges; leaves the current normal at the last drawn
    // face's, as drawing face by face does.
    void drawFaces(const SubEntity& s, const SceneStyle& style, bool textured, bool wireframe);
    void drawVertexMarkers(const SceneStyle& style) const;
    // The normal markers are built on first use.
    void drawNormalMarkers(const SubEntity& s, const SceneStyle& style);

private:
    struct FaceVertex {
        float position[3];
        float normal[3];
        float texCoord[2];
    };
    // `count` consecutive elements from `first`, drawn in one style.
    struct Run {
        std::uint32_t first;
        std::uint32_t count;
        std::uint8_t style;
    };
    static void addToRuns(std::vector<Run>& runs, std::uint32_t element, std::uint8_t style);

    VertexBuffer faceVertices_;  // FaceVertex, three per face
    VertexBuffer markerPoints_;  // Vec3, one per vertex
    // Built on first use: six indices per face (wireframe), eight points per vertex (normals).
    VertexBuffer edgeIndices_{VertexBuffer::Kind::Indices};
    VertexBuffer normalLines_;
    std::vector<Run> faceRuns_;    // style: FaceColour
    std::vector<Run> markerRuns_;  // style: 1 for a selected vertex
    std::size_t faceCount_ = 0;
    std::size_t vertexCount_ = 0;
};

}  // namespace y4
