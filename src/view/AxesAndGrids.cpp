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

// One family of grid lines: in the plane where axis `fixed` (0 X, 1 Y, 2 Z) stands at `offset`,
// each line crosses axis `across` and runs the grid's whole extent along the third.
struct LineFamily {
    int fixed;
    float offset;
    int across;
    float r, g, b;
};

void gridLine(const LineFamily& family, float t, float min, float max) {
    float from[3];
    float to[3];
    from[family.fixed] = to[family.fixed] = family.offset;
    from[family.across] = to[family.across] = t;
    const int along = 3 - family.fixed - family.across;
    from[along] = min;
    to[along] = max;
    segment(from[0], from[1], from[2], to[0], to[1], to[2]);
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
    // Each shown plane has two families of lines, each in its own grid's colour, drawn in
    // this order for every position.
    std::vector<LineFamily> families;
    const auto add = [&families](int shown, int fixed, float offset, int across, float r, float gr,
                                 float b) {
        if (shown) {
            families.push_back(LineFamily{fixed, offset, across, r, gr, b});
        }
    };
    add(g.gridXY, 2, g.gridXYOffset, 0, g.gridYZ_R, g.gridYZ_G, g.gridYZ_B);
    add(g.gridXY, 2, g.gridXYOffset, 1, g.gridXY_R, g.gridXY_G, g.gridXY_B);
    add(g.gridYZ, 0, g.gridYZOffset, 1, g.gridXY_R, g.gridXY_G, g.gridXY_B);
    add(g.gridYZ, 0, g.gridYZOffset, 2, g.gridXZ_R, g.gridXZ_G, g.gridXZ_B);
    add(g.gridXZ, 1, g.gridXZOffset, 0, g.gridXZ_R, g.gridXZ_G, g.gridXZ_B);
    add(g.gridXZ, 1, g.gridXZOffset, 2, g.gridXY_R, g.gridXY_G, g.gridXY_B);
    glLineWidth(kGridWidth);
    glBegin(GL_LINES);
    for (const float t : linePositions(m, M, g.gridSpacing)) {
        for (const LineFamily& family : families) {
            glColor4f(family.r, family.g, family.b, kGridAlpha);
            gridLine(family, t, m, M);
        }
    }
    glEnd();
}

}  // namespace y4
