// editorIcon: the drawing, on a 64 by 64 design grid scaled to each size. The cube is projected
// from its corners, so faces, hidden edges and axes always agree.
#include "shell/EditorIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QPolygonF>
#include <array>
#include <cmath>
#include <numbers>

namespace y4 {

namespace {

struct Point3 {
    double x, y, z;
};

// The view: turned 30 degrees about the vertical axis, looking down 24 degrees.
Point3 turn(const Point3& p) {
    const double a = 30.0 * std::numbers::pi / 180.0;
    const double e = 24.0 * std::numbers::pi / 180.0;
    const double x = p.x * std::cos(a) + p.z * std::sin(a);
    const double z = -p.x * std::sin(a) + p.z * std::cos(a);
    return {x, p.y * std::cos(e) - z * std::sin(e), p.y * std::sin(e) + z * std::cos(e)};
}

QPointF onTile(const Point3& p) {
    const Point3 t = turn(p);
    return {31.0 + 17.0 * t.x, 31.0 - 17.0 * t.y};
}

// Corner i has x = ±1 by bit 0, y by bit 1, z by bit 2.
Point3 corner(int i) {
    return {i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0};
}

struct Face {
    std::array<int, 4> corners;
    Point3 normal;
};

constexpr std::array<Face, 6> kFaces{{
    {{1, 3, 7, 5}, {1, 0, 0}},
    {{0, 4, 6, 2}, {-1, 0, 0}},
    {{2, 6, 7, 3}, {0, 1, 0}},
    {{0, 1, 5, 4}, {0, -1, 0}},
    {{4, 5, 7, 6}, {0, 0, 1}},
    {{0, 2, 3, 1}, {0, 0, -1}},
}};

bool facesViewer(const Face& face) {
    return turn(face.normal).z > 0.0;
}

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(70, 104, 168));
    tile.setColorAt(1, QColor(30, 46, 82));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // Hidden edges first, thin and dashed: the edges of the two faces turned away.
    const double thin = size >= 32 ? 1.2 : 0.0;
    if (thin > 0.0) {
        QPen hidden(QColor(200, 214, 240, 150), thin, Qt::DashLine);
        painter.setPen(hidden);
        for (const Face& face : kFaces) {
            if (!facesViewer(face)) {
                for (int k = 0; k < 4; ++k) {
                    painter.drawLine(onTile(corner(face.corners[k])),
                                     onTile(corner(face.corners[(k + 1) % 4])));
                }
            }
        }
    }

    // The faces turned towards the viewer, lit from the upper left front, half transparent.
    const Point3 light = turn({-0.5, 1.0, 0.7});
    QPen edge(QColor(244, 247, 252), 2.0);
    edge.setJoinStyle(Qt::RoundJoin);
    for (const Face& face : kFaces) {
        if (!facesViewer(face)) {
            continue;
        }
        const Point3 n = turn(face.normal);
        const double lit = std::max(0.0, (n.x * light.x + n.y * light.y + n.z * light.z) /
                                             std::hypot(light.x, light.y, light.z));
        const int shade = static_cast<int>(120 + 110 * lit);
        QPolygonF outline;
        for (const int c : face.corners) {
            outline << onTile(corner(c));
        }
        painter.setBrush(QColor(shade, shade + 8 > 255 ? 255 : shade + 8, 255, 120));
        painter.setPen(edge);
        painter.drawPolygon(outline);
    }

    // The axes leave the front bottom corner along its three edges and a little beyond:
    // X red, Y green, Z blue, as the editor draws them.
    const Point3 origin = corner(4);  // x -1, y -1, z +1: the corner nearest the viewer
    const struct {
        Point3 end;
        QColor colour;
    } axes[] = {
        {{1.45, -1, 1}, QColor(240, 70, 60)},
        {{-1, 1.45, 1}, QColor(80, 215, 100)},
        {{-1, -1, -1.45}, QColor(90, 150, 255)},
    };
    for (const auto& axis : axes) {
        painter.setPen(QPen(axis.colour, 3.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(onTile(origin), onTile(axis.end));
    }
    return pixmap;
}

}  // namespace

QIcon editorIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(drawIcon(size));
    }
    return icon;
}

}  // namespace y4
