// Face-by-face drawing of a sub-entity.
#include "ImmediateDrawing.h"

#include <GL/gl.h>

#include "SceneStyle.h"

namespace y4 {

namespace {
void vertex(const Vec3& p) {
    glVertex3f(p.x, p.y, p.z);
}
}  // namespace

void ImmediateDrawing::drawFaces(const SubEntity& s, const EntityTree* tree,
                                 const SceneStyle& style, bool textured, bool wireframe) {
    for (Face* f : RecordFields::faces(s)) {
        if (!RecordFields::refreshDisplayed(*f, tree)) {
            continue;
        }
        glColor3fv(style.face(RecordFields::colour(*f)));
        const Vec3 n = RecordFields::faceNormal(*f);
        const auto corners = RecordFields::corners(*f);
        glBegin(wireframe ? GL_LINES : GL_TRIANGLES);
        glNormal3f(n.x, n.y, n.z);
        // Wireframe shows all three edges: A-B, B-C and C-A.
        const int order[] = {0, 1, 1, 2, 2, 0};
        for (int k = 0; k < (wireframe ? 6 : 3); ++k) {
            const Vertex& corner = *corners[static_cast<std::size_t>(wireframe ? order[k] : k)];
            if (textured) {
                const auto uv = RecordFields::texCoord(corner);
                glTexCoord2f(uv[0], uv[1]);
            }
            vertex(RecordFields::position(corner));
        }
        glEnd();
    }
}

void ImmediateDrawing::drawVertexMarkers(const SubEntity& s, const SceneStyle& style) {
    for (const Vertex* v : RecordFields::vertices(s)) {
        if (!RecordFields::markerShown(*v)) {
            continue;
        }
        const bool selected = RecordFields::selected(*v);
        glPointSize(SceneStyle::markerSize(selected));
        glColor3fv(style.marker(selected));
        glBegin(GL_POINTS);
        vertex(RecordFields::position(*v));
        glEnd();
    }
}

void ImmediateDrawing::drawNormalMarkers(const SubEntity& s, const SceneStyle& style) {
    for (const Vertex* v : RecordFields::vertices(s)) {
        if (!RecordFields::markerShown(*v)) {
            continue;
        }
        glColor3fv(style.marker(RecordFields::selected(*v)));
        glBegin(GL_LINES);
        for (const Vec3& p : SceneStyle::normalMarker(*v)) {
            vertex(p);
        }
        glEnd();
    }
}

}  // namespace y4
