// Building and drawing the vertex arrays of a sub-entity.
#include "SubEntityArrays.h"

#include <GL/gl.h>

#include <cstddef>

#include "SceneStyle.h"

namespace y4 {

namespace {
constexpr std::uint32_t kEdgeIndicesPerFace = 6;
constexpr std::uint32_t kNormalPointsPerVertex = 8;

GLsizei count(std::uint32_t n) {
    return static_cast<GLsizei>(n);
}
}  // namespace

void SubEntityArrays::buildGeometry(const SubEntity& s) {
    faceCount_ = RecordFields::faces(s).size();
    vertexCount_ = RecordFields::vertices(s).size();
    std::vector<FaceVertex> faces;
    faces.reserve(3 * faceCount_);
    for (const Face* f : RecordFields::faces(s)) {
        const Vec3 n = RecordFields::faceNormal(*f);
        for (const Vertex* corner : RecordFields::corners(*f)) {
            const Vec3 p = RecordFields::position(*corner);
            const auto uv = RecordFields::texCoord(*corner);
            faces.push_back({{p.x, p.y, p.z}, {n.x, n.y, n.z}, {uv[0], uv[1]}});
        }
    }
    faceVertices_.assign(faces);
    std::vector<Vec3> markers;
    markers.reserve(vertexCount_);
    for (const Vertex* v : RecordFields::vertices(s)) {
        markers.push_back(RecordFields::position(*v));
    }
    markerPoints_.assign(markers);
    edgeIndices_.clear();
    normalLines_.clear();
    geometryValid = true;
    runsValid = false;
}

void SubEntityArrays::addToRuns(std::vector<Run>& runs, std::uint32_t element, std::uint8_t style) {
    if (!runs.empty() && runs.back().style == style &&
        runs.back().first + runs.back().count == element) {
        ++runs.back().count;
    } else {
        runs.push_back({element, 1, style});
    }
}

void SubEntityArrays::buildRuns(const SubEntity& s, const EntityTree* tree) {
    const auto& faces = RecordFields::faces(s);
    faceRuns_.clear();
    for (std::uint32_t k = 0; k < faces.size(); ++k) {
        if (RecordFields::refreshDisplayed(*faces[k], tree)) {
            addToRuns(faceRuns_, k, static_cast<std::uint8_t>(RecordFields::colour(*faces[k])));
        }
    }
    const auto& vertices = RecordFields::vertices(s);
    markerRuns_.clear();
    for (std::uint32_t k = 0; k < vertices.size(); ++k) {
        if (RecordFields::markerShownBelowShownOwner(*vertices[k])) {
            addToRuns(markerRuns_, k, RecordFields::selected(*vertices[k]) ? 1 : 0);
        }
    }
    runsValid = true;
}

bool SubEntityArrays::matches(const SubEntity& s) const {
    return RecordFields::faces(s).size() == faceCount_ &&
           RecordFields::vertices(s).size() == vertexCount_;
}

void SubEntityArrays::drawFaces(const SubEntity& s, const SceneStyle& style, bool textured,
                                bool wireframe) {
    if (faceRuns_.empty()) {
        return;
    }
    if (wireframe && edgeIndices_.empty()) {
        std::vector<std::uint32_t> edges;
        edges.reserve(kEdgeIndicesPerFace * faceCount_);
        for (std::uint32_t k = 0; k < faceCount_; ++k) {
            const std::uint32_t a = 3 * k;
            edges.insert(edges.end(), {a, a + 1, a + 1, a + 2, a + 2, a});
        }
        edgeIndices_.assign(edges);
    }
    constexpr GLsizei stride = sizeof(FaceVertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, faceVertices_.pointer(offsetof(FaceVertex, position)));
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, faceVertices_.pointer(offsetof(FaceVertex, normal)));
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride,
                          faceVertices_.pointer(offsetof(FaceVertex, texCoord)));
    }
    const auto* edges =
        wireframe ? static_cast<const std::uint32_t*>(edgeIndices_.pointer()) : nullptr;
    for (const Run& run : faceRuns_) {
        glColor3fv(style.face(static_cast<FaceColour>(run.style)));
        if (wireframe) {
            glDrawElements(GL_LINES, count(kEdgeIndicesPerFace * run.count), GL_UNSIGNED_INT,
                           edges + kEdgeIndicesPerFace * run.first);
        } else {
            glDrawArrays(GL_TRIANGLES, static_cast<GLint>(3 * run.first), count(3 * run.count));
        }
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    VertexBuffer::unbindAll();
    // After an array draw the current normal is undefined; the markers and lines drawn next
    // are lit with it.
    const Run& last = faceRuns_.back();
    const Vec3 n = RecordFields::faceNormal(*RecordFields::faces(s)[last.first + last.count - 1]);
    glNormal3f(n.x, n.y, n.z);
}

void SubEntityArrays::drawVertexMarkers(const SceneStyle& style) const {
    if (markerRuns_.empty()) {
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vec3), markerPoints_.pointer());
    for (const Run& run : markerRuns_) {
        const bool selected = run.style != 0;
        glPointSize(SceneStyle::markerSize(selected));
        glColor3fv(style.marker(selected));
        glDrawArrays(GL_POINTS, static_cast<GLint>(run.first), count(run.count));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    VertexBuffer::unbindAll();
}

void SubEntityArrays::drawNormalMarkers(const SubEntity& s, const SceneStyle& style) {
    if (markerRuns_.empty()) {
        return;
    }
    if (normalLines_.empty()) {
        std::vector<Vec3> lines;
        lines.reserve(kNormalPointsPerVertex * vertexCount_);
        for (const Vertex* v : RecordFields::vertices(s)) {
            const auto marker = SceneStyle::normalMarker(*v);
            lines.insert(lines.end(), marker.begin(), marker.end());
        }
        normalLines_.assign(lines);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vec3), normalLines_.pointer());
    for (const Run& run : markerRuns_) {
        glColor3fv(style.marker(run.style != 0));
        glDrawArrays(GL_LINES, static_cast<GLint>(kNormalPointsPerVertex * run.first),
                     count(kNormalPointsPerVertex * run.count));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    VertexBuffer::unbindAll();
}

}  // namespace y4
