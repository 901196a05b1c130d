// World positions and scaling of the selection.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "Scene.h"

namespace y4 {

namespace {

// The cosines and sines of an entity's three angles, taken once per pass. `none` is set when all
// three angles are exactly +0.
struct EntityTurn {
    double cz, sz, cx, sx, cy, sy;
    bool none;
};

bool isPlusZero(float angle) {
    return angle == 0.0f && !std::signbit(angle);
}

class TurnCache {
public:
    const EntityTurn& of(const Entity* e) {
        auto [it, added] = turns_.try_emplace(e);
        if (added) {
            it->second = {
                std::cos(double{e->rotateZ}),
                std::sin(double{e->rotateZ}),
                std::cos(double{e->rotateX}),
                std::sin(double{e->rotateX}),
                std::cos(double{e->rotateY}),
                std::sin(double{e->rotateY}),
                isPlusZero(e->rotateX) && isPlusZero(e->rotateY) && isPlusZero(e->rotateZ)};
        }
        return it->second;
    }

private:
    std::unordered_map<const Entity*, EntityTurn> turns_;
};

struct ChainLink {
    const Entity* entity;
    const EntityTurn* turn;
};

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

// Carries a point from the frame of the chain's first entity up to the world, in single
// precision between steps: turn about Z, about Y by rotateX, about X by rotateY, then add the
// entity's position, for each entity of the chain. The arithmetic is Vertex::Rotate's, written
// out so that the compiler sees it whole.
void carry(float& x, float& y, float& z, const std::vector<ChainLink>& chain) {
    for (const ChainLink& link : chain) {
        const EntityTurn& t = *link.turn;
        if (t.none && std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) {
            float a = x, b = y;
            x = lessZeroOf(a, b);
            y = plusZeroOf(b, a);
            a = x;
            float d = z;
            x = plusZeroOf(a, d);
            z = lessZeroOf(d, a);
            b = y;
            d = z;
            y = lessZeroOf(b, d);
            z = plusZeroOf(d, b);
        } else {
            double a = x, b = y, d = z;
            x = static_cast<float>(a * t.cz - b * t.sz);
            y = static_cast<float>(a * t.sz + b * t.cz);
            a = x;
            x = static_cast<float>(a * t.cx + d * t.sx);
            z = static_cast<float>(d * t.cx - a * t.sx);
            b = y;
            d = z;
            y = static_cast<float>(b * t.cy - d * t.sy);
            z = static_cast<float>(b * t.sy + d * t.cy);
        }
        x += link.entity->positionX;
        y += link.entity->positionY;
        z += link.entity->positionZ;
    }
}

void chainFrom(const Entity* e, TurnCache& cache, std::vector<ChainLink>& chain) {
    chain.clear();
    for (; e; e = e->parent) {
        chain.push_back({e, &cache.of(e)});
    }
}

void store(float x, float y, float z, double* out) {
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

}  // namespace

void Scene::computeWorldPositions() {
    TurnCache cache;
    std::vector<ChainLink> chain;
    for (Entity* e : entities) {
        chainFrom(e->parent, cache, chain);
        float x = 0, y = 0, z = 0;
        carry(x, y, z, chain);
        store(x, y, z, e->absolutePosition);
    }
    for (SubEntity* s : subEntities) {
        if (s->parent) {
            std::copy_n(s->parent->absolutePosition, 3, s->absolutePosition);
        }
    }
    for (Face* f : faces) {
        // Faces of a flat model that no entity claimed have no sub-entity.
        if (f->parent) {
            std::copy_n(f->parent->absolutePosition, 3, f->absolutePosition);
        }
    }
    const SubEntity* chainOwner = nullptr;
    chain.clear();
    for (Vertex* v : vertices) {
        if (!v->subEntity) {
            continue;
        }
        if (v->subEntity != chainOwner) {
            chainOwner = v->subEntity;
            chainFrom(chainOwner->parent, cache, chain);
        }
        float x = v->X, y = v->Y, z = v->Z;
        carry(x, y, z, chain);
        store(x, y, z, v->absolutePosition);
    }
}

void Scene::scaleSelected(float fx, float fy, float fz) {
    for (Entity* e : entities) {
        if (!e->deleted && e->selected) {
            e->positionX *= fx;
            e->positionY *= fy;
            e->positionZ *= fz;
        }
    }
    for (Vertex* v : vertices) {
        if (!v->deleted && v->selected) {
            v->X *= fx;
            v->Y *= fy;
            v->Z *= fz;
        }
    }
}

void Scene::negateCoordinates() {
    for (Entity* e : entities) {
        e->positionX = -e->positionX;
        e->positionY = -e->positionY;
        e->positionZ = -e->positionZ;
    }
    for (Vertex* v : vertices) {
        v->X = -v->X;
        v->Y = -v->Y;
        v->Z = -v->Z;
        v->normalX = -v->normalX;
        v->normalY = -v->normalY;
        v->normalZ = -v->normalZ;
    }
}

}  // namespace y4
