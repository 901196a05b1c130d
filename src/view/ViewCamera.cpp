// The camera moves of the view modes, the wheel, the middle and right buttons, and framing.
#include "ViewCamera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ViewRenderer.h"

namespace y4 {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Point = std::array<double, 3>;

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            for (std::size_t k = 0; k < 3; ++k) {
                m[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return m;
}

Point turned(const Matrix& m, const Point& p) {
    return {m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2],
            m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2],
            m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2]};
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// The turn of the camera transform, as the frame applies it: about X, then minus the Y angle
// about Y, then about Z.
Matrix cameraTurn(const float rotation[3]) {
    const double a = radians(rotation[0]);
    const double b = radians(-rotation[1]);
    const double c = radians(rotation[2]);
    const Matrix rx{{{1, 0, 0}, {0, std::cos(a), -std::sin(a)}, {0, std::sin(a), std::cos(a)}}};
    const Matrix ry{{{std::cos(b), 0, std::sin(b)}, {0, 1, 0}, {-std::sin(b), 0, std::cos(b)}}};
    const Matrix rz{{{std::cos(c), -std::sin(c), 0}, {std::sin(c), std::cos(c), 0}, {0, 0, 1}}};
    return multiply(multiply(rx, ry), rz);
}

// The orthographic box never closes up nor turns inside out.
void clampBox(ProjectionSettings& p) {
    p.orthogonal1 = std::min(p.orthogonal1, -ViewCamera::kSmallestBox);
    p.orthogonal2 = std::max(p.orthogonal2, ViewCamera::kSmallestBox);
    p.orthogonal3 = std::min(p.orthogonal3, -ViewCamera::kSmallestBox);
    p.orthogonal4 = std::max(p.orthogonal4, ViewCamera::kSmallestBox);
}

}  // namespace

ViewCamera::ViewCamera(ViewRenderer& view, ProjectionSettings& projection)
    : view_(view), projection_(projection) {}

void ViewCamera::move(float dx, float dy) {
    const float scale = view_.transform.viewMoveScale;
    view_.cameraTranslation[0] += dx * scale;
    view_.cameraTranslation[1] -= dy * scale;
}

void ViewCamera::rotate(float dx, float dy) {
    const float scale = view_.transform.viewRotateScale;
    view_.cameraRotation[0] += dy * scale;
    view_.cameraRotation[1] += dx * scale;
}

bool ViewCamera::zoom(float dy) {
    const float f = dy * view_.transform.viewZoomScale;
    if (projection_.projectionMode == ProjectionSettings::kPerspective) {
        view_.cameraTranslation[2] += f;
        return false;
    }
    // Narrowing the box zooms in; the 0.5 : 0.375 steps keep its 4:3 shape.
    const float g = -f;
    ProjectionSettings& p = projection_;
    p.orthogonal1 -= g * 0.5f;
    p.orthogonal2 += g * 0.5f;
    p.orthogonal3 -= g * 0.375f;
    p.orthogonal4 += g * 0.375f;
    clampBox(p);
    return true;
}

bool ViewCamera::frame(std::array<double, 3> low, std::array<double, 3> high) {
    Point centre{};
    Point half{};
    for (std::size_t k = 0; k < 3; ++k) {
        centre[k] = (low[k] + high[k]) / 2;
        half[k] = std::max((high[k] - low[k]) / 2, static_cast<double>(kSmallestBox));
    }
    // The box's corners around its centre, as the camera turns them; the centre then goes
    // where the view looks.
    const Matrix turn = cameraTurn(view_.cameraRotation);
    Point extent{};
    double depthNeeded = 0;
    const ProjectionSettings& p = projection_;
    const int w = view_.viewportWidth();
    const int h = view_.viewportHeight();
    const double aspect = w > 0 && h > 0 ? static_cast<double>(w) / h : 1.0;
    const double fov = p.perspective1 > 0 && p.perspective1 < 180 ? p.perspective1 : 45.0;
    const double tanY = std::tan(radians(fov) / 2) * kFrameFill;
    const double tanX = tanY * aspect;
    bool first = true;
    for (int corner = 0; corner < 8; ++corner) {
        const Point q =
            turned(turn, {corner & 1 ? half[0] : -half[0], corner & 2 ? half[1] : -half[1],
                          corner & 4 ? half[2] : -half[2]});
        // The distance at which the corner sits inside the view and beyond the near plane.
        const double needed = std::max({std::abs(q[0]) / tanX + q[2], std::abs(q[1]) / tanY + q[2],
                                        q[2] + static_cast<double>(p.perspective2)});
        depthNeeded = first ? needed : std::max(depthNeeded, needed);
        first = false;
        for (std::size_t k = 0; k < 3; ++k) {
            extent[k] = std::max(extent[k], std::abs(q[k]));
        }
    }
    const Point c = turned(turn, centre);
    if (p.projectionMode == ProjectionSettings::kPerspective) {
        view_.cameraTranslation[0] = static_cast<float>(-c[0]);
        view_.cameraTranslation[1] = static_cast<float>(-c[1]);
        view_.cameraTranslation[2] = static_cast<float>(-depthNeeded - c[2]);
        return false;
    }
    // The box of the projection grows or shrinks about the eye, keeping its shape, until the
    // corners fill it; then the centre goes to its middle.
    ProjectionSettings& box = projection_;
    const double halfWidth = (box.orthogonal2 - box.orthogonal1) / 2.0;
    const double halfHeight = (box.orthogonal4 - box.orthogonal3) / 2.0;
    if (halfWidth > 0 && halfHeight > 0) {
        const double s =
            std::max(extent[0] / (halfWidth * kFrameFill), extent[1] / (halfHeight * kFrameFill));
        box.orthogonal1 = static_cast<float>(box.orthogonal1 * s);
        box.orthogonal2 = static_cast<float>(box.orthogonal2 * s);
        box.orthogonal3 = static_cast<float>(box.orthogonal3 * s);
        box.orthogonal4 = static_cast<float>(box.orthogonal4 * s);
        clampBox(box);
    }
    const double middleX = (box.orthogonal1 + box.orthogonal2) / 2.0;
    const double middleY = (box.orthogonal3 + box.orthogonal4) / 2.0;
    // As deep as perspective would put it (so that switching over shows the same), as far as
    // the near and far planes let the whole box be seen.
    const double nearest = -box.orthogonal5 - extent[2];
    const double farthest = -box.orthogonal6 + extent[2];
    const double depth = farthest <= nearest ? std::clamp(-depthNeeded, farthest, nearest)
                                             : (nearest + farthest) / 2;
    view_.cameraTranslation[0] = static_cast<float>(middleX - c[0]);
    view_.cameraTranslation[1] = static_cast<float>(middleY - c[1]);
    view_.cameraTranslation[2] = static_cast<float>(depth - c[2]);
    return true;
}

}  // namespace y4
