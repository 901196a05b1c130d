// Carrying a point through an entity's frame.
#include "EntityFrame.h"

#include <cmath>

#include "Entity.h"

namespace y4 {

namespace {

bool isPlusZero(float angle) {
    return angle == 0.0f && !std::signbit(angle);
}

// A turn by exactly +0 (cosine 1, sine +0) leaves each coordinate as it is, except that the
// products with the sine are zeros carrying the other coordinate's sign, and adding or taking
// such a zero turns a -0 into +0. These give, bit for bit, what the full turn gives for finite
// coordinates: p - q * (+0) and p + q * (+0).
float lessZeroOf(float p, float q) {
    return p == 0.0f && std::signbit(p) && std::signbit(q) ? 0.0f : p;
}
float plusZeroOf(float p, float q) {
    return p == 0.0f && std::signbit(p) && !std::signbit(q) ? 0.0f : p;
}

}  // namespace

EntityFrame EntityFrame::of(const Entity& e) {
    EntityFrame f;
    f.cz = std::cos(double{e.rotateZ});
    f.sz = std::sin(double{e.rotateZ});
    f.cx = std::cos(double{e.rotateX});
    f.sx = std::sin(double{e.rotateX});
    f.cy = std::cos(double{e.rotateY});
    f.sy = std::sin(double{e.rotateY});
    f.x = e.positionX;
    f.y = e.positionY;
    f.z = e.positionZ;
    f.none = isPlusZero(e.rotateX) && isPlusZero(e.rotateY) && isPlusZero(e.rotateZ);
    return f;
}

// Vertex::Rotate's arithmetic about Z, Y and X, written out so that the compiler sees it whole.
void EntityFrame::carry(float& px, float& py, float& pz) const {
    if (none && std::isfinite(px) && std::isfinite(py) && std::isfinite(pz)) {
        float a = px, b = py;
        px = lessZeroOf(a, b);
        py = plusZeroOf(b, a);
        a = px;
        float d = pz;
        px = plusZeroOf(a, d);
        pz = lessZeroOf(d, a);
        b = py;
        d = pz;
        py = lessZeroOf(b, d);
        pz = plusZeroOf(d, b);
    } else {
        double a = px, b = py, d = pz;
        px = static_cast<float>(a * cz - b * sz);
        py = static_cast<float>(a * sz + b * cz);
        a = px;
        px = static_cast<float>(a * cx + d * sx);
        pz = static_cast<float>(d * cx - a * sx);
        b = py;
        d = pz;
        py = static_cast<float>(b * cy - d * sy);
        pz = static_cast<float>(b * sy + d * cy);
    }
    px += x;
    py += y;
    pz += z;
}

}  // namespace y4
