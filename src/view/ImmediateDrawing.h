// ImmediateDrawing: a sub-entity drawn the plain way, one begin/end pair per face and per
// marker, straight from the records, every face's display switch read from the tree on every
// frame. The vertex arrays must give the same pixels; this path is what they are checked and
// measured against.
#pragma once

namespace y4 {

class EntityTree;
class SubEntity;
struct SceneStyle;

class ImmediateDrawing {
public:
    static void drawFaces(const SubEntity& s, const EntityTree* tree, const SceneStyle& style,
                          bool textured, bool wireframe);
    static void drawVertexMarkers(const SubEntity& s, const SceneStyle& style);
    static void drawNormalMarkers(const SubEntity& s, const SceneStyle& style);
};

}  // namespace y4
