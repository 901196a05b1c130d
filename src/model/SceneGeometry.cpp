// World positions and scaling of the selection.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "Scene.h"

namespace y4 {

namespace {

// The cosines and sines of an entity's three angles, taken once per pass.
struct EntityTurn {
    double cz, sz, cx, sx, cy, sy;
};

class TurnCache {
public:
    const EntityTurn& of(const Entity* e) {
        auto [it, added] = turns_.try_emplace(e);
        if (added) {
            it->second = {std::cos(double{e->rotateZ}), std::sin(double{e->rotateZ}),
                          std::cos(double{e->rotateX}), std::sin(double{e->rotateX}),
                          std::cos(double{e->rotateY}), std::sin(double{e->rotateY})};
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

// Carries a point from the frame of the chain's first entity up to the world, in single
// precision between steps: turn about Z, about Y by rotateX, about X by rotateY, then add the
// entity's position, for each entity of the chain.
void carry(Vertex& p, const std::vector<ChainLink>& chain) {
    for (const ChainLink& link : chain) {
        const EntityTurn& t = *link.turn;
        p.rotate(Vertex::kAxisZ, Vertex::kPosition, t.cz, t.sz);
        p.rotate(Vertex::kAxisY, Vertex::kPosition, t.cx, t.sx);
        p.rotate(Vertex::kAxisX, Vertex::kPosition, t.cy, t.sy);
        p.X += link.entity->positionX;
        p.Y += link.entity->positionY;
        p.Z += link.entity->positionZ;
    }
}

void chainFrom(const Entity* e, TurnCache& cache, std::vector<ChainLink>& chain) {
    chain.clear();
    for (; e; e = e->parent) {
        chain.push_back({e, &cache.of(e)});
    }
}

void store(const Vertex& p, double* out) {
    out[0] = p.X;
    out[1] = p.Y;
    out[2] = p.Z;
}

}  // namespace

void Scene::computeWorldPositions() {
    TurnCache cache;
    std::vector<ChainLink> chain;
    Vertex point(nullptr, 0);
    for (Entity* e : entities) {
        chainFrom(e->parent, cache, chain);
        point.X = point.Y = point.Z = 0;
        carry(point, chain);
        store(point, e->absolutePosition);
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
        point.X = v->X;
        point.Y = v->Y;
        point.Z = v->Z;
        carry(point, chain);
        store(point, v->absolutePosition);
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
