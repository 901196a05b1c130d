// Checking a scene and its tree against the invariants, in time linear in their size.
#include "SceneInvariants.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "files/Reader.h"
#include "files/Y4TParser.h"
#include "model/SceneTree.h"

namespace y4::test {

namespace {

class Checker {
public:
    Checker(const Reader& r, const SceneTree& tree) : r_(r), tree_(tree) {}

    std::vector<std::string> run() {
        flatLists();
        owners();
        corners();
        treeItems();
        selection();
        terrain();
        return std::move(problems_);
    }

private:
    void fail(const std::string& what, const SceneObject* record = nullptr) {
        if (problems_.size() < 40) {
            problems_.push_back(what + (record ? " (" + record->name() + ")" : ""));
        }
    }

    template <class T>
    void flat(const RecordList<T>& list, const char* what) {
        for (T* record : list) {
            if (!record || !all_.insert(record).second) {
                fail(std::string("twice or null in the flat list of ") + what, record);
            }
        }
    }
    // A flat (.Y4D) file may hold faces and vertices that no entity claims: they stay in the
    // flat lists, outside every owner and the tree.
    static bool unclaimed(const SceneObject* record) {
        switch (record->kind()) {
            case SceneObject::kFace:
                return !static_cast<const Face*>(record)->parent;
            case SceneObject::kVertex:
                return !static_cast<const Vertex*>(record)->subEntity;
            default:
                return false;
        }
    }

    void flatLists() {
        flat(r_.entities, "entities");
        flat(r_.subEntities, "sub-entities");
        flat(r_.faces, "faces");
        flat(r_.vertices, "vertices");
    }

    // Each record of an owner's list is counted, and must name that owner through `link`;
    // every record must be counted once.
    template <class T, class Owner>
    void held(const RecordList<T>& list, const char* what, const Owner* owner, Owner* T::*link,
              const char* linkName) {
        for (T* record : list) {
            ++heldCount_[record];
            if (!all_.count(record)) {
                fail(std::string("held but not in the flat list: ") + what, record);
            }
            if (record && record->*link != owner) {
                fail(std::string(what) + " whose " + linkName + " is another", record);
            }
        }
    }
    void owners() {
        for (const Entity* e : r_.entities) {
            held(e->children, "child", e, &Entity::parent, "parent");
            held(e->subEntities, "sub-entity", e, &SubEntity::parent, "parent");
            for (const Entity* child : e->children) {
                if (child && child->level != e->level + 1) {
                    fail("child whose level is not its parent's plus one", child);
                }
            }
        }
        for (const SubEntity* s : r_.subEntities) {
            held(s->faces, "face", s, &Face::parent, "parent");
            held(s->vertices, "vertex", s, &Vertex::subEntity, "sub-entity");
        }
        const Entity* root = r_.root();
        if (root && (root->parent || root->level != 0)) {
            fail("root with a parent or a level", root);
        }
        for (const SceneObject* record : all_) {
            const int count = heldCount_.count(record) ? heldCount_.at(record) : 0;
            if (count != (record == root || unclaimed(record) ? 0 : 1)) {
                fail("held " + std::to_string(count) + " times", record);
            }
        }
    }

    void corners() {
        struct PairHash {
            std::size_t operator()(const std::pair<const Vertex*, const Face*>& p) const {
                return std::hash<const void*>()(p.first) * 31 + std::hash<const void*>()(p.second);
            }
        };
        std::unordered_set<std::pair<const Vertex*, const Face*>, PairHash> listed;
        listed.reserve(3 * r_.faces.size());
        auto pair = [](const Vertex* v, const Face* f) { return std::make_pair(v, f); };
        for (const Vertex* v : r_.vertices) {
            std::unordered_set<const Face*> seen;
            for (const Face* f : v->faces) {
                if (!seen.insert(f).second) {
                    fail("vertex lists a face twice", v);
                }
                if (!all_.count(f)) {
                    fail("vertex lists a face that is gone", v);
                } else if (f->vertexA != v && f->vertexB != v && f->vertexC != v) {
                    fail("vertex lists a face it is no corner of", v);
                }
                listed.insert(pair(v, f));
            }
        }
        for (const Face* f : r_.faces) {
            if (unclaimed(f)) {
                continue;
            }
            const Vertex* corners[3] = {f->vertexA, f->vertexB, f->vertexC};
            const int indices[3] = {f->indexA, f->indexB, f->indexC};
            for (int k = 0; k < 3; ++k) {
                const Vertex* v = corners[k];
                if (!v || !all_.count(v)) {
                    fail("face with a corner that is gone", f);
                    continue;
                }
                if (v->subEntity != f->parent) {
                    fail("face with a corner of another sub-entity", f);
                    continue;
                }
                const auto& list = f->parent->vertices;
                if (indices[k] < 0 || static_cast<std::size_t>(indices[k]) >= list.size() ||
                    list[static_cast<std::size_t>(indices[k])] != v) {
                    fail("face whose corner number is not its corner's position", f);
                }
                if (!listed.count(pair(v, f))) {
                    fail("corner that does not list its face", f);
                }
            }
        }
    }

    std::string label(const SceneObject* record) {
        return record->name() + (record->deleted ? " (*)" : "");
    }

    void treeItems() {
        std::unordered_map<const SceneObject*, int> items;
        std::unordered_map<const Vertex*, std::vector<TreeItem>> listings;
        std::size_t count = 0;
        std::vector<TreeItem> pending;
        for (int row = 0; row < tree_.childCount(kNoItem); ++row) {
            pending.push_back(tree_.child(kNoItem, row));
        }
        while (!pending.empty()) {
            const TreeItem item = pending.back();
            pending.pop_back();
            ++count;
            const SceneObject* record = tree_.itemData(item);
            if (!record || !all_.count(record)) {
                fail("tree item of a record that is gone");
                continue;
            }
            ++items[record];
            if (tree_.itemText(item) != label(record)) {
                fail("label \"" + tree_.itemText(item) + "\"", record);
            }
            if (tree_.check(item) != (record->displayed != 0)) {
                fail("check differs from the display switch", record);
            }
            const SceneObject* above = tree_.itemData(tree_.parentItem(item));
            switch (record->kind()) {
                case SceneObject::kEntity: {
                    const auto* e = static_cast<const Entity*>(record);
                    if (e->treeItem != item || above != e->parent) {
                        fail("entity item out of place", record);
                    }
                    break;
                }
                case SceneObject::kSubEntity: {
                    const auto* s = static_cast<const SubEntity*>(record);
                    if (s->treeItem != item || above != s->parent) {
                        fail("sub-entity item out of place", record);
                    }
                    break;
                }
                case SceneObject::kFace: {
                    const auto* f = static_cast<const Face*>(record);
                    if (f->treeItem != item || above != f->parent) {
                        fail("face item out of place", record);
                    }
                    const Vertex* expected[3] = {f->vertexA, f->vertexB, f->vertexC};
                    if (tree_.childCount(item) != 3) {
                        fail("face item without three corner items", record);
                    }
                    for (int row = 0; row < std::min(3, tree_.childCount(item)); ++row) {
                        if (tree_.itemData(tree_.child(item, row)) != expected[row]) {
                            fail("corner item out of order", record);
                        }
                    }
                    break;
                }
                default:
                    listings[static_cast<const Vertex*>(record)].push_back(item);
                    if (!above || above->kind() != SceneObject::kFace) {
                        fail("vertex item outside a face", record);
                    }
                    break;
            }
            for (int row = 0; row < tree_.childCount(item); ++row) {
                pending.push_back(tree_.child(item, row));
            }
        }
        std::size_t expected = 0;
        for (const SceneObject* record : all_) {
            if (unclaimed(record)) {
                continue;
            }
            expected += record->kind() == SceneObject::kFace     ? 4
                        : record->kind() == SceneObject::kVertex ? 0
                                                                 : 1;
            if (record->kind() == SceneObject::kVertex) {
                const auto* v = static_cast<const Vertex*>(record);
                std::vector<TreeItem> held = v->treeItems(tree_);
                std::vector<TreeItem> found = listings[v];
                std::sort(held.begin(), held.end());
                std::sort(found.begin(), found.end());
                if (held != found) {
                    fail("vertex's items differ from its listings", record);
                }
            } else if (items[record] != 1) {
                fail("listed " + std::to_string(items[record]) + " times", record);
            }
        }
        if (count != expected || tree_.size() != expected) {
            fail("the tree holds " + std::to_string(count) + " items, not " +
                 std::to_string(expected));
        }
    }

    // The records the selected item covers, as the object tree marks them.
    void cover(const SceneObject* record, std::unordered_set<const SceneObject*>& out) {
        switch (record->kind()) {
            case SceneObject::kEntity: {
                const auto* e = static_cast<const Entity*>(record);
                out.insert(e);
                for (const Entity* child : e->children) {
                    cover(child, out);
                }
                for (const SubEntity* s : e->subEntities) {
                    cover(s, out);
                }
                break;
            }
            case SceneObject::kSubEntity: {
                const auto* s = static_cast<const SubEntity*>(record);
                out.insert(s);
                for (const Face* f : s->faces) {
                    cover(f, out);
                }
                break;
            }
            case SceneObject::kFace: {
                const auto* f = static_cast<const Face*>(record);
                out.insert({f, f->vertexA, f->vertexB, f->vertexC});
                break;
            }
            default:
                out.insert(record);
                break;
        }
    }
    void selection() {
        std::unordered_set<const SceneObject*> covered;
        if (const SceneObject* selected = tree_.itemData(tree_.selectedItem())) {
            cover(selected, covered);
        }
        for (const SceneObject* record : all_) {
            if ((record->selected != 0) != (covered.count(record) != 0)) {
                fail(record->selected ? "selected outside the selection"
                                      : "not selected inside the selection",
                     record);
            }
        }
    }

    // A terrain's own record stays the last of the root's and of the flat list.
    void terrain() {
        const Entity* root = r_.root();
        if (r_.fileType != Reader::kY4T || !root || root->subEntities.empty()) {
            return;
        }
        const SubEntity* last = root->subEntities.back();
        if (!last->nameEquals(Y4TParser::kTerrainName) || r_.subEntities.empty() ||
            r_.subEntities.back() != last) {
            fail("the terrain's own record is not last");
        }
    }

    const Reader& r_;
    const SceneTree& tree_;
    std::unordered_set<const SceneObject*> all_;
    std::unordered_map<const SceneObject*, int> heldCount_;
    std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> SceneInvariants::check(const Reader& reader, const SceneTree& tree) {
    return Checker(reader, tree).run();
}

}  // namespace y4::test
