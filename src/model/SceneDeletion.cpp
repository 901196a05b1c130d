// Deletion in two stages: marking records deleted (and back), and the removal of records (the
// purge at commit, and the removal of one record), with the trace lines the purge leaves in the
// log.
#include <algorithm>

#include "Scene.h"
#include "platform/TraceLog.h"

namespace y4 {

namespace {

// The fourteen lines that the removal of one face writes, in order: the first eleven, up to the
// removal of its tree item, and the last three. The purge announces each face it removes with a
// line before and after them. Each group goes to the log as one piece; only the tree item's
// removal could fail between them.
#define Y4_FACE_LINES_BEFORE_ITEM          \
    "Reader::deleteObject(f) - before 1\n" \
    "Reader::deleteObject(f) - after 1\n"  \
    "Reader::deleteObject(f) - before 2\n" \
    "Reader::deleteObject(f) - after 2\n"  \
    "Reader::deleteObject(f) - before 3\n" \
    "Reader::deleteObject(f) - after 3\n"  \
    "Reader::deleteObject(f) - before 4\n" \
    "Reader::deleteObject(f) - after 4\n"  \
    "Reader::deleteObject(f) - before 5\n" \
    "Reader::deleteObject(f) - after 5\n"  \
    "Reader::deleteObject(f) - before m_pEntityTree->DeleteItem()\n"
#define Y4_FACE_LINES_AFTER_ITEM                                    \
    "Reader::deleteObject(f) - after m_pEntityTree->DeleteItem()\n" \
    "Reader::deleteObject(f) - before delete f\n"                   \
    "Reader::deleteObject(f) - after delete f\n"
#define Y4_BEFORE_PURGED_FACE "Reader::finalDelete() - before deleteObject(*fi)\n"
#define Y4_AFTER_PURGED_FACE "Reader::finalDelete() - after deleteObject(*fi)\n"

constexpr std::string_view kFaceLines[2][2] = {
    {Y4_FACE_LINES_BEFORE_ITEM, Y4_FACE_LINES_AFTER_ITEM},
    {Y4_BEFORE_PURGED_FACE Y4_FACE_LINES_BEFORE_ITEM,
     Y4_FACE_LINES_AFTER_ITEM Y4_AFTER_PURGED_FACE},
};
#undef Y4_FACE_LINES_BEFORE_ITEM
#undef Y4_FACE_LINES_AFTER_ITEM
#undef Y4_BEFORE_PURGED_FACE
#undef Y4_AFTER_PURGED_FACE

void setDeleted(SubEntity* s, std::uint8_t mark) {
    for (Face* f : s->faces) {
        f->deleted = mark;
    }
    for (Vertex* v : s->vertices) {
        v->deleted = mark;
    }
    s->deleted = mark;
}

// The entity and everything below it; bounded like every walk of the hierarchy.
template <class Visit>
void eachEntityBelow(Entity* top, Visit visit) {
    std::vector<std::pair<Entity*, int>> pending{{top, 0}};
    while (!pending.empty()) {
        const auto [e, depth] = pending.back();
        pending.pop_back();
        visit(e);
        if (depth < Scene::kMaxLevel) {
            for (Entity* child : e->children) {
                pending.emplace_back(child, depth + 1);
            }
        }
    }
}

}  // namespace

// ---- marking ----

void Scene::relabel(TreeItem item) {
    if (m_pEntityTree && item != kNoItem) {
        m_pEntityTree->resetItemText(item);
    }
}

void Scene::relabelSubtree(TreeItem item) {
    if (m_pEntityTree && item != kNoItem) {
        m_pEntityTree->resetSubtreeText(item);
    }
}

// A group's or a sub-entity's records are listed below its own item, so one relabelling of the
// subtree covers every label the marks change.
void Scene::markEntity(Entity* e, int flag) {
    const auto mark = static_cast<std::uint8_t>(flag ? 1 : 0);
    eachEntityBelow(e, [&](Entity* x) {
        for (SubEntity* s : x->subEntities) {
            setDeleted(s, mark);
        }
        x->deleted = mark;
    });
    relabelSubtree(e->treeItem);
}

void Scene::markSubEntity(SubEntity* s, int flag) {
    setDeleted(s, static_cast<std::uint8_t>(flag ? 1 : 0));
    relabelSubtree(s->treeItem);
}

void Scene::markFace(Face* f, int flag) {
    f->deleted = static_cast<std::uint8_t>(flag ? 1 : 0);
    relabel(f->treeItem);
}

void Scene::markVertex(Vertex* v, int flag) {
    v->deleted = static_cast<std::uint8_t>(flag ? 1 : 0);
    if (m_pEntityTree) {
        TreeUpdateScope batch(m_pEntityTree);
        for (TreeItem item : m_pEntityTree->listings(v)) {
            relabel(item);
        }
    }
}

// ---- removal ----

void Scene::beginPurge() {
    if (purgeDepth_++ == 0 && m_pEntityTree) {
        m_pEntityTree->beginUpdate();
    }
}

void Scene::endPurge() {
    if (--purgeDepth_ > 0) {
        return;
    }
    // A face list is read as it is, so the faces taken out leave their corners' lists now.
    auto gone = [](const SceneObject* r) { return r->takenOut(); };
    for (SceneObject* record : dirtyOwners_) {
        if (record->kind() == SceneObject::kVertex && !record->takenOut()) {
            record->dirty_ = 0;
            static_cast<Vertex*>(record)->faces.removeIf(gone);
        }
    }
    std::erase_if(dirtyOwners_,
                  [](const SceneObject* r) { return r->kind() == SceneObject::kVertex; });
    if (m_pEntityTree) {
        m_pEntityTree->endUpdate();
    }
    const std::size_t records =
        entities.size() + subEntities.size() + faces.size() + vertices.size() + graveyard_.size();
    if (compactAtEnd_ || graveyard_.size() >= std::max<std::size_t>(4096, records / 8)) {
        compactAtEnd_ = false;
        compact();
    }
}

void Scene::compact() {
    // Every list that holds a record taken out drops it before the record is destroyed.
    entities.compact();
    subEntities.compact();
    faces.compact();
    vertices.compact();
    for (SceneObject* owner : dirtyOwners_) {
        owner->dirty_ = 0;
        if (owner->takenOut()) {
            continue;
        }
        if (owner->kind() == SceneObject::kEntity) {
            auto* e = static_cast<Entity*>(owner);
            e->children.compact();
            e->subEntities.compact();
        } else if (owner->kind() == SceneObject::kSubEntity) {
            auto* s = static_cast<SubEntity*>(owner);
            s->faces.compact();
            s->vertices.compact();
        } else {
            static_cast<Vertex*>(owner)->faces.removeIf(
                [](const SceneObject* r) { return r->takenOut(); });
        }
    }
    dirtyOwners_.clear();
    for (SceneObject* r : graveyard_) {
        destroy(r);
    }
    graveyard_.clear();
}

void Scene::takeOut(SceneObject* record) {
    record->takenOut_ = 1;
    graveyard_.push_back(record);
    switch (record->kind()) {
        case SceneObject::kEntity: {
            entities.noteTakenOut();
            Entity* parent = static_cast<Entity*>(record)->parent;
            if (parent) {
                parent->children.noteTakenOut();
                markListDirty(parent);
            }
            break;
        }
        case SceneObject::kSubEntity: {
            subEntities.noteTakenOut();
            Entity* parent = static_cast<SubEntity*>(record)->parent;
            if (parent) {
                parent->subEntities.noteTakenOut();
                markListDirty(parent);
            }
            break;
        }
        case SceneObject::kFace: {
            faces.noteTakenOut();
            SubEntity* parent = static_cast<Face*>(record)->parent;
            if (parent) {
                parent->faces.noteTakenOut();
                markListDirty(parent);
            }
            break;
        }
        default: {
            vertices.noteTakenOut();
            SubEntity* owner = static_cast<Vertex*>(record)->subEntity;
            if (owner) {
                owner->vertices.noteTakenOut();
                markListDirty(owner);
            }
            break;
        }
    }
}

void Scene::markListDirty(SceneObject* owner) {
    if (owner && !owner->dirty_) {
        owner->dirty_ = 1;
        dirtyOwners_.push_back(owner);
    }
}

void Scene::deleteTreeItem(TreeItem& item) {
    if (m_pEntityTree && item != kNoItem) {
        m_pEntityTree->deleteItem(item);
    }
    item = kNoItem;
}

// Brackets one removal, also when an exception passes; removals nest.
class Scene::PurgeGuard {
public:
    explicit PurgeGuard(Scene& scene) : scene_(scene) { scene_.beginPurge(); }
    ~PurgeGuard() { scene_.endPurge(); }
    PurgeGuard(const PurgeGuard&) = delete;
    PurgeGuard& operator=(const PurgeGuard&) = delete;

private:
    Scene& scene_;
};

// A group's or a sub-entity's item goes first, with every item below it at once: the records
// below then have no items of their own to remove, one by one.
void Scene::deleteObject(Entity* e) {
    PurgeGuard purge(*this);
    deleteTreeItem(e->treeItem);
    e->children.eachFromLast([&](Entity* child) { deleteObject(child); });
    e->subEntities.eachFromLast([&](SubEntity* s) { deleteObject(s); });
    takeOut(e);
}

void Scene::deleteObject(SubEntity* s) {
    PurgeGuard purge(*this);
    deleteTreeItem(s->treeItem);
    s->faces.eachFromLast([&](Face* f) { deleteObject(f); });
    s->vertices.eachFromLast([&](Vertex* v) { deleteObject(v); });
    takeOut(s);
}

void Scene::deleteObject(Face* f) {
    deleteFace(f, false);
}

void Scene::deleteFace(Face* f, bool purged) {
    PurgeGuard purge(*this);
    TraceLog& log = TraceLog::global();
    takeOut(f);
    // Within a larger removal the corners lose the face when their lists are compacted at its
    // end: a vertex shared by many removed faces would otherwise be searched once per face.
    const bool alone = purgeDepth_ == 1;
    for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
        if (corner && alone) {
            corner->faces.remove(f);
        } else if (corner) {
            markListDirty(corner);
        }
    }
    log.traceLines(kFaceLines[purged][0]);
    deleteTreeItem(f->treeItem);
    log.traceLines(kFaceLines[purged][1]);
}

void Scene::deleteObject(Vertex* v) {
    PurgeGuard purge(*this);
    takeOut(v);
    v->faces.clear();
    if (m_pEntityTree) {
        for (TreeItem item : m_pEntityTree->listings(v)) {
            m_pEntityTree->deleteItem(item);
        }
    }
}

void Scene::finalDelete() {
    PurgeGuard purge(*this);
    compactAtEnd_ = true;
    TraceLog& log = TraceLog::global();
    // Records removed with their owner are skipped as the lists are walked.
    entities.eachFromLast([&](Entity* e) {
        if (e->deleted) {
            deleteObject(e);
        }
    });
    subEntities.eachFromLast([&](SubEntity* s) {
        if (s->deleted) {
            deleteObject(s);
        }
    });
    log.trace("Reader::finalDelete() - before 1");
    faces.eachFromLast([&](Face* f) {
        if (f->deleted) {
            deleteFace(f, true);
        }
    });
    log.trace("Reader::finalDelete() - before 1");
    log.trace("Reader::finalDelete() - before 2");
    vertices.eachFromLast([&](Vertex* v) {
        if (v->deleted) {
            deleteObject(v);
        }
    });
    log.trace("Reader::finalDelete() - after 2");
}

}  // namespace y4
