// Fingerprints of scenes.
#include "ScenePrint.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "files/Reader.h"
#include "model/SceneTree.h"

namespace y4::test {

namespace {

// A quick 64-bit mix, a word at a time.
class Hash {
public:
    void word(std::uint64_t w) {
        value_ = (value_ ^ w) * 0x9E3779B97F4A7C15ULL;
        value_ ^= value_ >> 29;
    }
    template <class T>
    void add(const T& v) {
        static_assert(sizeof(T) <= 8);
        std::uint64_t w = 0;
        std::memcpy(&w, &v, sizeof v);
        word(w);
    }
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const char*>(data);
        for (std::size_t k = 0; k < size; k += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, p + k, std::min<std::size_t>(8, size - k));
            word(w);
        }
    }
    void text(const std::string& s) {
        add(s.size());
        bytes(s.data(), s.size());
    }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 1469598103934665603ULL;
};

void addBase(Hash& h, const SceneObject& o) {
    static std::string name;
    name.clear();
    o.appendName(name);
    h.text(name);
    for (int mark : {int{o.selected}, int{o.changed}, int{o.created}, int{o.displayed},
                     int{o.marked}, int{o.deleted}}) {
        h.add(mark);
    }
    h.add(o.index);
    const Triple offset = o.cumulativeOffset();
    const Triple rotation = o.cumulativeRotation();
    const Position absolute = o.absolutePosition();
    h.bytes(offset.data(), sizeof offset);
    h.bytes(rotation.data(), sizeof rotation);
    h.bytes(absolute.data(), sizeof absolute);
}

// The tree's shape, the record each item lists and its check. Labels are the records' names and
// deleted marks, which the records' part of the fingerprint holds; the run compares the labels
// themselves when it ends.
void addTree(Hash& h, const SceneTree& tree, TreeItem parent, int depth) {
    const int count = tree.childCount(parent);
    h.add(count);
    for (int row = 0; row < count; ++row) {
        const TreeItem item = tree.child(parent, row);
        const SceneObject* record = tree.itemData(item);
        h.add(depth);
        h.add(record->kind());
        h.add(record->index);
        h.add(tree.check(item));
        addTree(h, tree, item, depth + 1);
    }
}

}  // namespace

// Every field of every record that an edit can change, the bitmap names, the tree's labels
// and checks, and the selection.
std::uint64_t fingerprint(const Reader& r, const SceneTree& tree) {
    Hash h;
    for (const std::string& name : r.bitmapNames) {
        h.text(name);
    }
    for (const Entity* e : r.entities) {
        addBase(h, *e);
        for (float f :
             {e->positionX, e->positionY, e->positionZ, e->rotateX, e->rotateY, e->rotateZ}) {
            h.add(f);
        }
        // The link and count columns are left out: every save computes them again.
        for (int v : {e->level, e->auxA, e->auxB}) {
            h.add(v);
        }
        h.add(e->children.size());
        h.add(e->subEntities.size());
    }
    for (const SubEntity* s : r.subEntities) {
        addBase(h, *s);
        h.add(s->bitmapIndex);
        h.add(s->faces.size());
        h.add(s->vertices.size());
    }
    for (const Face* f : r.faces) {
        addBase(h, *f);
        for (int v : {f->bitmapIndex, f->indexA, f->indexB, f->indexC}) {
            h.add(v);
        }
    }
    for (const Vertex* v : r.vertices) {
        addBase(h, *v);
        for (float f :
             {v->X, v->Y, v->Z, v->normalX, v->normalY, v->normalZ, v->textureU, v->textureV}) {
            h.add(f);
        }
        h.add(v->faces.size());
    }
    addTree(h, tree, kNoItem, 0);
    const TreeItem selected = tree.selectedItem();
    h.add(selected != kNoItem);
    h.text(tree.itemText(selected));
    h.text(tree.itemText(tree.parentItem(selected)));
    return h.value();
}

std::uint64_t structurePrint(const Reader& r) {
    // Every record by its kind and position, sorted by address for the look-ups.
    std::vector<std::pair<const void*, std::uint64_t>> at;
    at.reserve(r.entities.size() + r.subEntities.size() + r.faces.size() + r.vertices.size());
    auto number = [&](const auto& list, std::uint64_t kind) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            at.emplace_back(list[k], (k + 1) * 4 + kind);
        }
    };
    number(r.entities, 0);
    number(r.subEntities, 1);
    number(r.faces, 2);
    number(r.vertices, 3);
    std::sort(at.begin(), at.end());
    Hash h;
    auto add = [&](const void* record) {
        const auto found =
            std::lower_bound(at.begin(), at.end(), std::make_pair(record, 0ULL),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        h.add(record == nullptr                             ? 0ULL
              : found == at.end() || found->first != record ? ~0ULL
                                                            : found->second);
    };
    auto addAll = [&](const auto& list) {
        h.add(list.size());
        for (const auto* record : list) {
            add(record);
        }
    };
    auto addOwned = [&](const void* owner, const auto& one, const auto& other) {
        add(owner);
        addAll(one);
        addAll(other);
    };
    for (const Entity* e : r.entities) {
        addOwned(e->parent, e->children, e->subEntities);
    }
    for (const SubEntity* s : r.subEntities) {
        addOwned(s->parent, s->faces, s->vertices);
    }
    for (const Face* f : r.faces) {
        add(f->parent);
        add(f->vertexA);
        add(f->vertexB);
        add(f->vertexC);
    }
    for (const Vertex* v : r.vertices) {
        add(v->subEntity);
        addAll(v->faces);
    }
    return h.value();
}

}  // namespace y4::test
