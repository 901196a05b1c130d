// Scene: the records of one model and the operations on them as a whole: flat lists of every
// record (in creation order), the bitmap names, world positions, scaling of the selection, and
// the two-stage deletion (marking, then the purge at commit). The Reader owns one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Entity.h"
#include "EntityTree.h"
#include "Face.h"
#include "RecordPool.h"
#include "SubEntity.h"
#include "Vertex.h"

namespace y4 {

class Scene {
public:
    // The deepest entity hierarchy a scene holds (levels 0 to kMaxLevel).
    static constexpr int kMaxLevel = 255;

    // `tree` shows the scene; it must outlive the scene, whose destruction empties it.
    explicit Scene(EntityTree* tree = nullptr) : m_pEntityTree(tree) {}
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Records are made and destroyed through the scene, which owns them. A record made here
    // is destroyed with the scene once it is in the flat list of its kind; a record that never
    // joins a list must be destroyed by its maker.
    template <class T, class... Args>
    T* create(Args&&... args) {
        return pool_.make<T>(std::forward<Args>(args)...);
    }
    void destroy(SceneObject* record) { pool_.destroy(record); }

    // The root entity (the first of the list), or null for an empty scene.
    Entity* root() const { return entities.empty() ? nullptr : entities.front(); }
    // The first entity whose index (load position) is `index`.
    Entity* findEntityByIndex(int index) const;
    // The first entity named exactly `name`.
    Entity* findEntityByName(std::string_view name) const;

    // Geometry.
    void computeWorldPositions();
    void scaleSelected(float fx, float fy, float fz);
    // Turns every entity position and every vertex position and normal to the other sign:
    // the model files hold them so.
    void negateCoordinates();

    // Marking (flag 1 deletes, 0 undeletes) of a record and everything below it.
    void markEntity(Entity* e, int flag);
    void markSubEntity(SubEntity* s, int flag);
    void markFace(Face* f, int flag);
    void markVertex(Vertex* v, int flag);
    // Immediate removal of a record and everything it owns, from every list and the tree.
    void deleteObject(Entity* e);
    void deleteObject(SubEntity* s);
    void deleteObject(Face* f);
    void deleteObject(Vertex* v);
    // Removes every record marked deleted.
    void finalDelete();

    EntityTree* m_pEntityTree;
    std::vector<Entity*> entities;
    std::vector<SubEntity*> subEntities;
    std::vector<Face*> faces;
    std::vector<Vertex*> vertices;
    std::vector<std::string> bitmapNames;
    // 1 once an edit has changed the scene since it was loaded or saved.
    int modified = 0;

private:
    // A purge takes records out lazily: removed records are flagged, the lists that held them
    // are compacted once at the end, and only then are the records destroyed. That keeps a purge
    // of any size linear while every list keeps its order.
    class PurgeGuard;
    static bool isPurged(const SceneObject* r) { return r->purged_ & kPurgedBit; }
    void beginPurge();
    void endPurge();
    void bury(SceneObject* record);
    void markListDirty(SceneObject* owner);
    void deleteTreeItem(TreeItem& item);
    void destroyAll();

    static constexpr std::uint8_t kPurgedBit = 1;
    static constexpr std::uint8_t kDirtyBit = 2;

    RecordPool pool_;
    int purgeDepth_ = 0;
    std::vector<SceneObject*> graveyard_;
    std::vector<SceneObject*> dirtyOwners_;
};

}  // namespace y4
