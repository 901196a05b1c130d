// Drawing the entity hierarchy, the faces and the markers, and keeping the vertex arrays current.
#include "SceneRenderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>

#include "ImmediateDrawing.h"

namespace y4 {

namespace {

// Sets the entity's place in its parent on the current matrix.
void applyPlacement(const Entity& e) {
    const RecordFields::Placement p = RecordFields::placement(e);
    glTranslatef(p.translation.x, p.translation.y, p.translation.z);
    glRotatef(p.degreesAboutX, 1, 0, 0);
    glRotatef(p.degreesAboutY, 0, 1, 0);
    glRotatef(p.degreesAboutZ, 0, 0, 1);
}

// Keeps the modelview matrix of the enclosing entity and puts it back. The hierarchy may be far
// deeper than GL's matrix stack, so the matrix is kept here rather than pushed.
class SavedModelview {
public:
    SavedModelview() { glGetFloatv(GL_MODELVIEW_MATRIX, matrix_.data()); }
    ~SavedModelview() { glLoadMatrixf(matrix_.data()); }
    SavedModelview(const SavedModelview&) = delete;
    SavedModelview& operator=(const SavedModelview&) = delete;

private:
    std::array<float, 16> matrix_;
};

bool isPickMode(int mouseMode) {
    return mouseMode == SceneRenderer::kPickVertexMode ||
           mouseMode == SceneRenderer::kPickNormalMode;
}

}  // namespace

SceneRenderer::SceneRenderer(Reader& reader, EntityTree* tree, const DisplaySettings& display)
    : reader_(reader), tree_(tree), display_(display), style_(display) {}

void SceneRenderer::drawScene(int mouseMode) {
    style_ = SceneStyle(display_);
    // The model's lines (wireframe, normal markers) are drawn thin, whatever width the axes or
    // grids of the last frame left behind.
    glLineWidth(SceneStyle::kLineWidth);
    Entity* root = reader_.root();
    if (!root || !RecordFields::refreshDisplayed(*root, tree_)) {
        return;
    }
    // No save: the frame puts the matrix back.
    applyPlacement(*root);
    // The axes, grids and backdrops drawn after the model blend, whatever happens here.
    struct BlendingOnAtTheEnd {
        ~BlendingOnAtTheEnd() { glEnable(GL_BLEND); }
    } blendingOnAtTheEnd;
    blending_ = true;
    drawEntity(*root, mouseMode);
}

void SceneRenderer::drawEntity(Entity& e, int mouseMode) {
    if (!RecordFields::refreshDisplayed(e, tree_)) {
        return;
    }
    // Children are drawn before the entity's own geometry.
    for (Entity* child : RecordFields::children(e)) {
        const SavedModelview saved;
        applyPlacement(*child);
        drawEntity(*child, mouseMode);
    }
    if (isPickMode(mouseMode)) {
        glGetDoublev(GL_MODELVIEW_MATRIX, pickModelview_);
        glGetDoublev(GL_PROJECTION_MATRIX, pickProjection_);
        glGetIntegerv(GL_VIEWPORT, pickViewport_);
    }
    for (SubEntity* s : RecordFields::subEntities(e)) {
        if (RecordFields::refreshDisplayed(*s, tree_)) {
            drawSubEntity(*s, mouseMode);
        }
    }
}

void SceneRenderer::drawSubEntity(SubEntity& s, int mouseMode) {
    const bool textured = bindTexture(s);
    const bool wireframe = reader_.drawMode == kLines;
    if (path_ == DrawPath::VertexArrays) {
        // Every colour of the model is opaque; only the colour-keyed texels of a texture let the
        // background through. Blending an opaque fragment gives the fragment itself, so the
        // picture is the same without it, and a software renderer then need not read the frame
        // back for every fragment. The face-by-face yardstick keeps the frame's blending.
        setBlending(textured);
        arraysOf(s).drawFaces(s, style_, textured, wireframe);
        setBlending(false);
    } else {
        ImmediateDrawing::drawFaces(s, tree_, style_, textured, wireframe);
    }
    glDisable(GL_TEXTURE_2D);
    if (reader_.showVertices == 1) {
        drawVertexMarkers(s, mouseMode);
    }
    if (reader_.showNormals == 1) {
        drawNormalMarkers(s, mouseMode);
    }
}

bool SceneRenderer::bindTexture(const SubEntity& s) const {
    const int t = RecordFields::bitmapIndex(s);
    const std::size_t k = static_cast<std::size_t>(t);
    // 255 and negative numbers mean no bitmap; a number past the list (left by removing a
    // bitmap) or an empty texture draws untextured too.
    if (reader_.texturing != 1 || t < 0 || t == 255 || k >= reader_.textures.textureNames.size() ||
        !reader_.textures.isFilled(k)) {
        glDisable(GL_TEXTURE_2D);
        return false;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, reader_.textures.textureNames[k]);
    return true;
}

void SceneRenderer::drawVertexMarkers(SubEntity& s, int mouseMode) {
    if (path_ == DrawPath::VertexArrays) {
        arraysOf(s).drawVertexMarkers(style_);
    } else {
        ImmediateDrawing::drawVertexMarkers(s, style_);
    }
    if (mouseMode != kPickVertexMode) {
        return;
    }
    for (const Vertex* v : RecordFields::vertices(s)) {
        if (RecordFields::markerShown(*v)) {
            windowPositions_.setVertex(v, project(RecordFields::position(*v)));
        }
    }
}

void SceneRenderer::drawNormalMarkers(SubEntity& s, int mouseMode) {
    if (path_ == DrawPath::VertexArrays) {
        arraysOf(s).drawNormalMarkers(s, style_);
    } else {
        ImmediateDrawing::drawNormalMarkers(s, style_);
    }
    if (mouseMode != kPickNormalMode) {
        return;
    }
    for (const Vertex* v : RecordFields::vertices(s)) {
        if (RecordFields::markerShown(*v)) {
            windowPositions_.setNormalTip(v, project(SceneStyle::normalMarker(*v)[1]));
        }
    }
}

void SceneRenderer::setBlending(bool on) {
    if (on != blending_) {
        on ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        blending_ = on;
    }
}

WindowPositions::Point SceneRenderer::project(const Vec3& p) const {
    WindowPositions::Point out{};
    gluProject(p.x, p.y, p.z, pickModelview_, pickProjection_, pickViewport_, &out[0], &out[1],
               &out[2]);
    return out;
}

void SceneRenderer::setAllDisplayed(int flag) {
    const TreeUpdateScope batch(tree_);
    for (Vertex* v : reader_.vertices) {
        RecordFields::setDisplayed(*v, tree_, flag);
    }
    for (Face* f : reader_.faces) {
        RecordFields::setDisplayed(*f, tree_, flag);
    }
    for (SubEntity* s : reader_.subEntities) {
        RecordFields::setDisplayed(*s, tree_, flag);
    }
    for (Entity* e : reader_.entities) {
        RecordFields::setDisplayed(*e, tree_, flag);
    }
    invalidateDisplaySwitches();
}

void SceneRenderer::setSolid() {
    reader_.texturing = 0;
    reader_.drawMode = kTriangles;
}

void SceneRenderer::setTextured() {
    reader_.texturing = 1;
    reader_.drawMode = kTriangles;
}

void SceneRenderer::setWireframe() {
    reader_.texturing = 0;
    reader_.drawMode = kLines;
}

void SceneRenderer::setShowVertices(bool on) {
    reader_.showVertices = on ? 1 : 0;
}

void SceneRenderer::setShowNormals(bool on) {
    reader_.showNormals = on ? 1 : 0;
}

SubEntityArrays& SceneRenderer::arraysOf(const SubEntity& s) {
    SubEntityArrays& arrays = arrays_[&s];
    if (!arrays.geometryValid || !arrays.matches(s)) {
        arrays.buildGeometry(s);
    }
    if (!arrays.runsValid) {
        arrays.buildRuns(s, tree_);
    }
    return arrays;
}

void SceneRenderer::invalidateAll() {
    arrays_.clear();
    // Records may have been destroyed, and new ones made where they were.
    windowPositions_.clear();
}

void SceneRenderer::invalidate(const SceneObject& record, Stale what) {
    RecordFields::forEachSubEntity(record, [&](const SubEntity& s) {
        const auto found = arrays_.find(&s);
        if (found == arrays_.end()) {
            return;
        }
        found->second.runsValid = false;
        if (what == Stale::Geometry) {
            found->second.geometryValid = false;
        }
    });
}

void SceneRenderer::invalidateGeometry(const SceneObject& record) {
    invalidate(record, Stale::Geometry);
}

void SceneRenderer::invalidateMarks(const SceneObject& record) {
    invalidate(record, Stale::Runs);
}

void SceneRenderer::invalidateDisplaySwitches() {
    for (auto& [subEntity, arrays] : arrays_) {
        arrays.runsValid = false;
    }
}

}  // namespace y4
