// Axes and grid lines.
#include "AxesAndGrids.h"

#include <GL/gl.h>

namespace y4 {

namespace {

constexpr float kAxisWidth = 5.0f;
constexpr float kGridWidth = 0.5f;
constexpr float kGridAlpha = 0.5f;

// A segment between two points in file coordinates, drawn at their negation.
void segment(float x0, float y0, float z0, float x1, float y1, float z1) {
    glVertex3f(-x0, -y0, -z0);
    glVertex3f(-x1, -y1, -z1);
}

void gridColour(float r, float g, float b) {
    glColor4f(r, g, b, kGridAlpha);
}

}  // namespace

std::vector<float> AxesAndGrids::linePositions(float min, float max, float spacing) {
    std::vector<float> out;
    if (!GridSettings::isUsableSpacing(spacing)) {
        return out;
    }
    // The cap also ends a spacing too small to move t any further.
    for (float t = min; t <= max && out.size() < std::size_t{kMaxLinesPerFamily}; t += spacing) {
        out.push_back(t);
    }
    return out;
}

void AxesAndGrids::draw(const GridSettings& g) {
    const float m = g.gridMin;
    const float M = g.gridMax;
    glDisable(GL_TEXTURE_2D);

    glLineWidth(kAxisWidth);
    glBegin(GL_LINES);
    glColor4f(1, 0, 0, 1);
    segment(0, 0, 0, M, 0, 0);
    glColor4f(0, 1, 0, 1);
    segment(0, 0, 0, 0, M, 0);
    glColor4f(0, 0, 1, 1);
    segment(0, 0, 0, 0, 0, M);
    glEnd();

    if (!g.gridXY && !g.gridYZ && !g.gridXZ) {
        return;
    }
    glLineWidth(kGridWidth);
    glBegin(GL_LINES);
    for (const float t : linePositions(m, M, g.gridSpacing)) {
        if (g.gridXY) {
            const float z = g.gridXYOffset;
            gridColour(g.gridYZ_R, g.gridYZ_G, g.gridYZ_B);
            segment(t, m, z, t, M, z);
            gridColour(g.gridXY_R, g.gridXY_G, g.gridXY_B);
            segment(m, t, z, M, t, z);
        }
        if (g.gridYZ) {
            const float x = g.gridYZOffset;
            gridColour(g.gridXY_R, g.gridXY_G, g.gridXY_B);
            segment(x, t, m, x, t, M);
            gridColour(g.gridXZ_R, g.gridXZ_G, g.gridXZ_B);
            segment(x, m, t, x, M, t);
        }
        if (g.gridXZ) {
            const float y = g.gridXZOffset;
            gridColour(g.gridXZ_R, g.gridXZ_G, g.gridXZ_B);
            segment(t, y, m, t, y, M);
            gridColour(g.gridXY_R, g.gridXY_G, g.gridXY_B);
            segment(m, y, t, M, y, t);
        }
    }
    glEnd();
}

}  // namespace y4
