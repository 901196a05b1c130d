// Deletion in two stages: marking records deleted (and back), and the purge that removes the
// marked records for good, with the trace lines the purge leaves in the log.
#include <algorithm>

#include "Scene.h"
#include "platform/TraceLog.h"

namespace y4 {

namespace {

template <class T>
void relabel(EntityTree* tree, const T* record) {
    if (tree && record->treeItem != kNoItem) {
        tree->resetItemText(record->treeItem);
    }
}

// Calls `visit` on each element of `list` from the last to the first.
template <class List, class Visit>
void eachFromLast(const List& list, Visit visit) {
    for (std::size_t i = list.size(); i-- > 0;) {
        visit(list[i]);
    }
}

// The fourteen lines that the removal of one face writes, in order.
constexpr std::string_view kFaceSteps[] = {
    "Reader::deleteObject(f) - before 1",
    "Reader::deleteObject(f) - after 1",
    "Reader::deleteObject(f) - before 2",
    "Reader::deleteObject(f) - after 2",
    "Reader::deleteObject(f) - before 3",
    "Reader::deleteObject(f) - after 3",
    "Reader::deleteObject(f) - before 4",
    "Reader::deleteObject(f) - after 4",
    "Reader::deleteObject(f) - before 5",
    "Reader::deleteObject(f) - after 5",
    "Reader::deleteObject(f) - before m_pEntityTree->DeleteItem()",
    "Reader::deleteObject(f) - after m_pEntityTree->DeleteItem()",
    "Reader::deleteObject(f) - before delete f",
    "Reader::deleteObject(f) - after delete f",
};

}  // namespace

// ---- marking ----

void Scene::markEntity(Entity* e, int flag) {
    TreeUpdateScope batch(m_pEntityTree);
    eachFromLast(e->children, [&](Entity* child) { markEntity(child, flag); });
    eachFromLast(e->subEntities, [&](SubEntity* s) { markSubEntity(s, flag); });
    e->deleted = static_cast<std::uint8_t>(flag);
    relabel(m_pEntityTree, e);
}

void Scene::markSubEntity(SubEntity* s, int flag) {
    TreeUpdateScope batch(m_pEntityTree);
    eachFromLast(s->faces, [&](Face* f) { markFace(f, flag); });
    eachFromLast(s->vertices, [&](Vertex* v) { markVertex(v, flag); });
    s->deleted = static_cast<std::uint8_t>(flag);
    relabel(m_pEntityTree, s);
}

void Scene::markFace(Face* f, int flag) {
    f->deleted = static_cast<std::uint8_t>(flag);
    relabel(m_pEntityTree, f);
}

void Scene::markVertex(Vertex* v, int flag) {
    v->deleted = static_cast<std::uint8_t>(flag);
    if (m_pEntityTree) {
        for (TreeItem item : v->treeItems) {
            m_pEntityTree->resetItemText(item);
        }
    }
}

// ---- the purge ----

void Scene::beginPurge() {
    if (purgeDepth_++ == 0 && m_pEntityTree) {
        m_pEntityTree->beginUpdate();
    }
}

void Scene::endPurge() {
    if (--purgeDepth_ > 0) {
        return;
    }
    // One pass over each list that lost records; every list keeps its order.
    auto gone = [](const SceneObject* r) { return isPurged(r); };
    std::erase_if(entities, gone);
    std::erase_if(subEntities, gone);
    std::erase_if(faces, gone);
    std::erase_if(vertices, gone);
    for (SceneObject* owner : dirtyOwners_) {
        owner->purged_ &= static_cast<std::uint8_t>(~kDirtyBit);
        if (isPurged(owner)) {
            continue;
        }
        if (owner->kind() == SceneObject::kEntity) {
            auto* e = static_cast<Entity*>(owner);
            std::erase_if(e->children, gone);
            std::erase_if(e->subEntities, gone);
        } else if (owner->kind() == SceneObject::kSubEntity) {
            auto* s = static_cast<SubEntity*>(owner);
            std::erase_if(s->faces, gone);
            std::erase_if(s->vertices, gone);
        } else {
            std::erase_if(static_cast<Vertex*>(owner)->faces, gone);
        }
    }
    dirtyOwners_.clear();
    if (m_pEntityTree) {
        m_pEntityTree->endUpdate();
    }
    for (SceneObject* r : graveyard_) {
        pool_.destroy(r);
    }
    graveyard_.clear();
}

void Scene::bury(SceneObject* record) {
    record->purged_ |= kPurgedBit;
    graveyard_.push_back(record);
}

void Scene::markListDirty(SceneObject* owner) {
    if (owner && !(owner->purged_ & kDirtyBit)) {
        owner->purged_ |= kDirtyBit;
        dirtyOwners_.push_back(owner);
    }
}

void Scene::deleteTreeItem(TreeItem& item) {
    if (m_pEntityTree && item != kNoItem) {
        m_pEntityTree->deleteItem(item);
    }
    item = kNoItem;
}

// Brackets one purge, also when an exception passes; purges nest.
class Scene::PurgeGuard {
public:
    explicit PurgeGuard(Scene& scene) : scene_(scene) { scene_.beginPurge(); }
    ~PurgeGuard() { scene_.endPurge(); }
    PurgeGuard(const PurgeGuard&) = delete;
    PurgeGuard& operator=(const PurgeGuard&) = delete;

private:
    Scene& scene_;
};

void Scene::deleteObject(Entity* e) {
    PurgeGuard purge(*this);
    eachFromLast(e->children, [&](Entity* child) {
        if (!isPurged(child)) {
            deleteObject(child);
        }
    });
    eachFromLast(e->subEntities, [&](SubEntity* s) {
        if (!isPurged(s)) {
            deleteObject(s);
        }
    });
    markListDirty(e->parent);
    deleteTreeItem(e->treeItem);
    bury(e);
}

void Scene::deleteObject(SubEntity* s) {
    PurgeGuard purge(*this);
    eachFromLast(s->faces, [&](Face* f) {
        if (!isPurged(f)) {
            deleteObject(f);
        }
    });
    eachFromLast(s->vertices, [&](Vertex* v) {
        if (!isPurged(v)) {
            deleteObject(v);
        }
    });
    markListDirty(s->parent);
    deleteTreeItem(s->treeItem);
    bury(s);
}

void Scene::deleteObject(Face* f) {
    PurgeGuard purge(*this);
    TraceLog& log = TraceLog::global();
    log.trace(kFaceSteps[0]);
    markListDirty(f->parent);
    log.trace(kFaceSteps[1]);
    log.trace(kFaceSteps[2]);
    log.trace(kFaceSteps[3]);
    // The corners lose the face when their lists are compacted at the end of the purge: a
    // vertex shared by many removed faces would otherwise be searched once per face.
    Vertex* corners[3] = {f->vertexA, f->vertexB, f->vertexC};
    for (int i = 0; i < 3; ++i) {
        log.trace(kFaceSteps[4 + 2 * i]);
        markListDirty(corners[i]);
        log.trace(kFaceSteps[5 + 2 * i]);
    }
    log.trace(kFaceSteps[10]);
    deleteTreeItem(f->treeItem);
    log.trace(kFaceSteps[11]);
    log.trace(kFaceSteps[12]);
    bury(f);
    log.trace(kFaceSteps[13]);
}

void Scene::deleteObject(Vertex* v) {
    PurgeGuard purge(*this);
    markListDirty(v->subEntity);
    v->faces.clear();
    if (m_pEntityTree) {
        // Deleting one listing takes its handle out of treeItems; work on a copy.
        const std::vector<TreeItem> items = v->treeItems;
        for (TreeItem item : items) {
            m_pEntityTree->deleteItem(item);
        }
    }
    v->treeItems.clear();
    bury(v);
}

void Scene::finalDelete() {
    PurgeGuard purge(*this);
    TraceLog& log = TraceLog::global();
    eachFromLast(entities, [&](Entity* e) {
        if (!isPurged(e) && e->deleted) {
            deleteObject(e);
        }
    });
    eachFromLast(subEntities, [&](SubEntity* s) {
        if (!isPurged(s) && s->deleted) {
            deleteObject(s);
        }
    });
    log.trace("Reader::finalDelete() - before 1");
    eachFromLast(faces, [&](Face* f) {
        if (!isPurged(f) && f->deleted) {
            log.trace("Reader::finalDelete() - before deleteObject(*fi)");
            deleteObject(f);
            log.trace("Reader::finalDelete() - after deleteObject(*fi)");
        }
    });
    log.trace("Reader::finalDelete() - before 1");
    log.trace("Reader::finalDelete() - before 2");
    eachFromLast(vertices, [&](Vertex* v) {
        if (!isPurged(v) && v->deleted) {
            deleteObject(v);
        }
    });
    log.trace("Reader::finalDelete() - after 2");
}

}  // namespace y4
