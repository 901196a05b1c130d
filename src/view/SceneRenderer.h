// SceneRenderer: draws the loaded model inside a frame, under the camera transform: the entity
// hierarchy with each entity's own transform, the faces in the solid, select or highlight colour
// (textured in textured mode), and the vertex and normal markers. In the two pick modes it also
// records where every marker lands in the window.
//
// Faces and markers are drawn from vertex arrays, one set per sub-entity, built on first use and
// kept until an invalidate call says what changed: the owner forwards the model's change
// announcements to them. Entities' and sub-entities' display switches (their tree items' check
// boxes) are read on every frame; faces' switches when the display switches are invalidated.
// Textures are looked up by bitmap number on every frame.
#pragma once

#include <unordered_map>

#include "SceneStyle.h"
#include "SubEntityArrays.h"
#include "WindowPositions.h"
#include "files/Reader.h"
#include "shell/DisplaySettings.h"

namespace y4 {

class SceneRenderer {
public:
    // Mouse modes in which the markers' window positions are recorded.
    static constexpr int kPickVertexMode = 16;
    static constexpr int kPickNormalMode = 20;
    // Values of the Reader's drawMode: independent triangles, or lines (wireframe).
    static constexpr int kTriangles = 4;
    static constexpr int kLines = 1;

    enum class DrawPath {
        VertexArrays,
        // One begin/end pair per face, reading every record on every frame: the yardstick the
        // arrays are measured and checked against.
        FaceByFace,
    };

    // Draws `reader`'s scene, whose display switches are the check boxes of `tree`'s items, in
    // the colours of `display`. All three must outlive the renderer. The renderer keeps GL
    // buffers: it is destroyed, and invalidateAll called, with the GL context current.
    SceneRenderer(Reader& reader, EntityTree* tree, const DisplaySettings& display);

    // Draws the whole model under the current matrix. `mouseMode` is the view's; only the pick
    // modes matter here.
    void drawScene(int mouseMode);
    void drawEntity(Entity& e, int mouseMode);
    void drawVertexMarkers(SubEntity& s, int mouseMode);
    void drawNormalMarkers(SubEntity& s, int mouseMode);
    // "Display All" (1) and "Hide All" (0): every record's mark and tree items.
    void setAllDisplayed(int flag);

    // The draw-mode controls.
    void setSolid();
    void setTextured();
    void setWireframe();
    void setShowVertices(bool on);
    void setShowNormals(bool on);

    // What changed since the arrays were built. Everything: also forgets the markers' window
    // positions, since records may have been destroyed.
    void invalidateAll();
    // Positions, normals, texture coordinates, corners, or faces and vertices added or removed,
    // of the record's sub-entities (for an entity, all below it).
    void invalidateGeometry(const SceneObject& record);
    // The selected, marked, deleted or displayed marks of the record or anything below it.
    void invalidateMarks(const SceneObject& record);
    // Check boxes of the tree changed.
    void invalidateDisplaySwitches();
    // The bitmap list changed. Textures are looked up on every frame, so nothing is rebuilt.
    void invalidateBitmaps() {}

    void setDrawPath(DrawPath path) { path_ = path; }
    DrawPath drawPath() const { return path_; }
    const WindowPositions& windowPositions() const { return windowPositions_; }

private:
    enum class Stale { Geometry, Runs };
    void invalidate(const SceneObject& record, Stale what);
    SubEntityArrays& arraysOf(const SubEntity& s);
    void drawSubEntity(SubEntity& s, int mouseMode);
    // Binds the sub-entity's texture when it is drawn textured; false when it is not.
    bool bindTexture(const SubEntity& s) const;
    // Switches GL blending, remembering the state to skip needless switches within a frame.
    void setBlending(bool on);
    WindowPositions::Point project(const Vec3& p) const;

    Reader& reader_;
    EntityTree* tree_;
    const DisplaySettings& display_;
    SceneStyle style_;
    DrawPath path_ = DrawPath::VertexArrays;
    bool blending_ = true;
    std::unordered_map<const SubEntity*, SubEntityArrays> arrays_;
    WindowPositions windowPositions_;
    double pickModelview_[16] = {};
    double pickProjection_[16] = {};
    int pickViewport_[4] = {};
};

}  // namespace y4
