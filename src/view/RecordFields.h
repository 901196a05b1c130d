// RecordFields: everything the view reads from (and the little it writes to) the scene records,
// in one place, so that the drawing code does not depend on how the records keep their data.
#pragma once

#include <array>
#include <cstdint>

#include "model/Entity.h"
#include "model/EntityTree.h"
#include "model/Face.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"

namespace y4 {

struct Vec3 {
    float x, y, z;
};

// How a face is coloured: the display settings give the colour of each kind.
enum class FaceColour : std::uint8_t { Solid, Select, Highlight };

class RecordFields {
public:
    static Vec3 position(const Vertex& v) { return {v.X, v.Y, v.Z}; }
    static Vec3 normal(const Vertex& v) { return {v.normalX, v.normalY, v.normalZ}; }
    // The v coordinate is flipped: bitmaps are stored bottom-up.
    static std::array<float, 2> texCoord(const Vertex& v) { return {v.textureU, 1 - v.textureV}; }
    static std::array<const Vertex*, 3> corners(const Face& f) {
        return {f.vertexA, f.vertexB, f.vertexC};
    }
    // The face's lighting normal: minus the mean of its corners' normals, not normalised.
    static Vec3 faceNormal(const Face& f) {
        const Vec3 a = normal(*f.vertexA), b = normal(*f.vertexB), c = normal(*f.vertexC);
        return {-(a.x + b.x + c.x) / 3, -(a.y + b.y + c.y) / 3, -(a.z + b.z + c.z) / 3};
    }
    // A selected face shows the select colour even when it is also marked.
    static FaceColour colour(const Face& f) {
        return f.selected ? FaceColour::Select
                          : (f.marked ? FaceColour::Highlight : FaceColour::Solid);
    }
    static bool selected(const Vertex& v) { return v.selected != 0; }
    static bool deleted(const SceneObject& r) { return r.deleted != 0; }
    // A vertex marker is drawn for a vertex that is shown (with its whole chain) and not
    // deleted.
    static bool markerShown(const Vertex& v) { return v.isDisplayed() && !deleted(v); }
    // The same when the vertex's sub-entity and entities are known to be shown.
    static bool markerShownBelowShownOwner(const Vertex& v) { return v.displayed && !deleted(v); }
    static int bitmapIndex(const SubEntity& s) { return s.bitmapIndex; }
    static const RecordList<Face>& faces(const SubEntity& s) { return s.faces; }
    static const RecordList<Vertex>& vertices(const SubEntity& s) { return s.vertices; }
    static const RecordList<Entity>& children(const Entity& e) { return e.children; }
    static const RecordList<SubEntity>& subEntities(const Entity& e) { return e.subEntities; }

    // Calls `f` with every sub-entity the record is part of or holds: an entity's (all below
    // it), a sub-entity itself, a face's or a vertex's own.
    template <class F>
    static void forEachSubEntity(const SceneObject& r, F&& f) {
        switch (r.kind()) {
            case SceneObject::kEntity: {
                const auto& e = static_cast<const Entity&>(r);
                for (const Entity* child : e.children) {
                    forEachSubEntity(*child, f);
                }
                for (const SubEntity* s : e.subEntities) {
                    f(*s);
                }
                break;
            }
            case SceneObject::kSubEntity:
                f(static_cast<const SubEntity&>(r));
                break;
            case SceneObject::kFace:
                if (const SubEntity* s = static_cast<const Face&>(r).parent) {
                    f(*s);
                }
                break;
            case SceneObject::kVertex:
                if (const SubEntity* s = static_cast<const Vertex&>(r).subEntity) {
                    f(*s);
                }
                break;
            default:
                break;
        }
    }

    // The display switch of a record is its tree item's check box; the record's `displayed`
    // mark follows it, and the answer is whether the record is drawn.
    template <class Record>
    static bool refreshDisplayed(Record& r, const EntityTree* tree) {
        r.displayed = tree && r.treeItem != kNoItem && tree->check(r.treeItem) ? 1 : 0;
        return r.displayed && !deleted(r);
    }
    // Sets the mark and every tree item of the record to `flag`.
    template <class Record>
    static void setDisplayed(Record& r, EntityTree* tree, int flag) {
        r.displayed = static_cast<std::uint8_t>(flag);
        if (tree && r.treeItem != kNoItem) {
            tree->setCheck(r.treeItem, flag != 0);
        }
    }
    static void setDisplayed(Vertex& v, EntityTree* tree, int flag) {
        v.displayed = static_cast<std::uint8_t>(flag);
        if (!tree) {
            return;
        }
        for (TreeItem item = tree->firstListing(&v); item != kNoItem;
             item = tree->nextListing(item)) {
            tree->setCheck(item, flag != 0);
        }
    }

    // The entity's place in its parent: a translation, then turns in degrees about X (by
    // rotateY), Y (by rotateX) and Z.
    struct Placement {
        Vec3 translation;
        float degreesAboutX, degreesAboutY, degreesAboutZ;
    };
    static Placement placement(const Entity& e) {
        return {{e.positionX, e.positionY, e.positionZ},
                degrees(e.rotateY),
                degrees(e.rotateX),
                degrees(e.rotateZ)};
    }

private:
    static float degrees(float radians) {
        return static_cast<float>(radians * 180 * 0.3183098861837907);
    }
};

}  // namespace y4
