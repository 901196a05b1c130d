// Scene: the records of one model and the operations on them as a whole: flat lists of every
// record (in creation order), the bitmap names, world positions, scaling of the selection, and
// the two-stage deletion (marking, then the purge at commit). The Reader owns one.
//
// Ids. Every record the scene makes gets an id, dense among the records of its kind: a number
// below idBound(kind), kept for the record's whole life and given to a new record once the old
// one is destroyed. Side tables about records (a renderer's arrays, the positions picking
// compares, the steps of an undo history) are plain arrays indexed by id, sized by idBound. A
// load gives the ids in file order, so the records of a freshly loaded model have the ids 0, 1,
// 2, ... in the order of the flat lists.
//
// Removal. Taking a record out of the scene (deleteObject) costs O(1) amortised: the record is
// flagged, the flat list of its kind and its owner's list skip it from then on (see RecordList),
// and it is destroyed, and its id freed, when the scene next compacts its lists: at the end of a
// purge, or once the records awaiting destruction reach a fraction of the scene.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Entity.h"
#include "EntityTree.h"
#include "Face.h"
#include "RecordBatch.h"
#include "RecordList.h"
#include "RecordPool.h"
#include "SliceArena.h"
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

    // Records are made and destroyed through the scene, which owns them and gives them their
    // ids. A record made here is destroyed with the scene once it is in the flat list of its
    // kind; a record that never joins a list must be destroyed by its maker.
    template <class T, class... Args>
    T* create(Args&&... args) {
        T* record = pool_.make<T>(std::forward<Args>(args)...);
        giveId(record);
        return record;
    }
    void destroy(SceneObject* record);

    // One more than the highest id a record of `kind` holds.
    std::uint32_t idBound(int kind) const { return ids_[static_cast<std::size_t>(kind)].bound; }

    // The root entity (the first of the list), or null for an empty scene.
    Entity* root() const { return entities.empty() ? nullptr : entities.front(); }
    // The first entity whose index (load position) is `index`.
    Entity* findEntityByIndex(int index) const;
    // The first entity named exactly `name`.
    Entity* findEntityByName(std::string_view name) const;

    // Geometry. computeWorldPositions refreshes the world positions of the entities and the
    // frames that every other record's is worked out from; it costs time in proportion to the
    // entities, not to the faces.
    void computeWorldPositions();
    void scaleSelected(float fx, float fy, float fz);
    // Turns every entity position and every vertex position and normal to the other sign:
    // the model files hold them so.
    void negateCoordinates();

    // Marking (flag 1 deletes, 0 undeletes) of a record and everything below it. A group or a
    // sub-entity relabels its subtree in the tree with one announcement.
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
    // Destroys the records taken out so far and drops the holes of every list.
    void compact();

    // Loading: room for a vertex's faces in the scene's adjacency arrays (see FaceList), for
    // the records of an owner's list (see RecordList::useStorage), and
    // the records of a batch parsed by another thread: the memory of `batch` becomes the
    // scene's, the first `count` of its blocks are kept and the rest destroyed. The caller
    // then gives each kept record its id (adoptRecord) in file order and lists it.
    std::int32_t* adjacencySlice(std::size_t count) { return slices_.takeEntries(count); }
    template <class T>
    T** listSlice(std::size_t count) {
        return slices_.takePointers<T>(count);
    }
    void takeOver(RecordBatch& batch, std::size_t count);
    void adoptRecord(SceneObject* record) { giveId(record); }
    // The same for a sub-entity taken over and everything it holds, each then listed.
    void adoptSubEntity(SubEntity* s);

    EntityTree* m_pEntityTree;
    RecordList<Entity> entities;
    RecordList<SubEntity> subEntities;
    RecordList<Face> faces;
    RecordList<Vertex> vertices;
    std::vector<std::string> bitmapNames;
    // 1 once an edit has changed the scene since it was loaded or saved.
    int modified = 0;

private:
    struct Ids {
        std::uint32_t bound = 0;
        std::vector<std::uint32_t> free;
    };
    void giveId(SceneObject* record) {
        Ids& ids = ids_[static_cast<std::size_t>(record->kind())];
        if (ids.free.empty()) {
            record->id_ = ids.bound++;
        } else {
            record->id_ = ids.free.back();
            ids.free.pop_back();
        }
    }

    // The purge takes records out lazily: removed records are flagged and wait in the
    // graveyard; the lists that held them are compacted once at the end, and only then are
    // the records destroyed. That keeps a purge of any size linear while every list keeps its
    // order.
    class PurgeGuard;
    void beginPurge();
    void endPurge();
    // Flags the record, counts the hole in its flat list and its owner's list, and keeps it
    // for destruction.
    void takeOut(SceneObject* record);
    // deleteObject of a face; `purged` adds the purge's lines around the face's.
    void deleteFace(Face* f, bool purged);
    void markListDirty(SceneObject* owner);
    void deleteTreeItem(TreeItem& item);
    void relabel(TreeItem item);
    void relabelSubtree(TreeItem item);
    void destroyAll();

    RecordPool pool_;
    SliceArena slices_;
    std::array<Ids, SceneObject::kKinds> ids_;
    int purgeDepth_ = 0;
    bool compactAtEnd_ = false;
    std::vector<SceneObject*> graveyard_;
    std::vector<SceneObject*> dirtyOwners_;
};

}  // namespace y4
