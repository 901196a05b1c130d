// The record fields the document's edits read and write.
#include "RecordAccess.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "files/Reader.h"
#include "files/Y4TParser.h"
#include "model/SceneTree.h"

namespace y4 {

namespace {

// Entity chains are never longer than a scene's hierarchy; a broken one cannot run away.
constexpr int kMaxChain = Scene::kMaxLevel + 4;

// Calls `visit` on the tree items of a record (a vertex's listings are kept by the tree).
template <class Visit>
void eachItem(const SceneTree& tree, const SceneObject* record, Visit visit) {
    switch (record->kind()) {
        case SceneObject::kEntity:
            visit(static_cast<const Entity*>(record)->treeItem);
            break;
        case SceneObject::kSubEntity:
            visit(static_cast<const SubEntity*>(record)->treeItem);
            break;
        case SceneObject::kFace:
            visit(static_cast<const Face*>(record)->treeItem);
            break;
        default:
            for (TreeItem item = tree.firstListing(record); item != kNoItem;
                 item = tree.nextListing(item)) {
                visit(item);
            }
            break;
    }
}

void relabel(SceneTree& tree, const SceneObject* record) {
    eachItem(tree, record, [&](TreeItem item) {
        if (item != kNoItem) {
            tree.resetItemText(item);
        }
    });
}

// Calls `visit` on every record marking `record` reaches, below it first.
template <class Visit>
void eachMarked(const SceneObject* record, Visit visit, int depth = 0) {
    switch (record->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(record);
            if (depth < Scene::kMaxLevel) {
                for (const Entity* child : e->children) {
                    eachMarked(child, visit, depth + 1);
                }
            }
            for (const SubEntity* s : e->subEntities) {
                eachMarked(s, visit, depth + 1);
            }
            break;
        }
        case SceneObject::kSubEntity: {
            const auto* s = static_cast<const SubEntity*>(record);
            for (const Face* f : s->faces) {
                visit(f);
            }
            for (const Vertex* v : s->vertices) {
                visit(v);
            }
            break;
        }
        default:
            break;
    }
    visit(record);
}

}  // namespace

// ---- ownership and tree items ----

SceneObject* RecordAccess::ownerOf(const SceneObject* record) {
    switch (record ? record->kind() : -1) {
        case SceneObject::kEntity:
            return static_cast<const Entity*>(record)->parent;
        case SceneObject::kSubEntity:
            return static_cast<const SubEntity*>(record)->parent;
        case SceneObject::kFace:
            return static_cast<const Face*>(record)->parent;
        case SceneObject::kVertex:
            return static_cast<const Vertex*>(record)->subEntity;
        default:
            return nullptr;
    }
}

TreeItem RecordAccess::itemOf(const SceneTree& tree, const SceneObject* record,
                              const SceneObject* listedUnder) {
    if (!record) {
        return kNoItem;
    }
    if (record->kind() != SceneObject::kVertex) {
        TreeItem found = kNoItem;
        eachItem(tree, record, [&](TreeItem item) { found = item; });
        return found;
    }
    const TreeItem first = tree.firstListing(record);
    if (listedUnder && listedUnder->kind() == SceneObject::kFace) {
        const TreeItem faceItem = static_cast<const Face*>(listedUnder)->treeItem;
        for (TreeItem item = first; faceItem != kNoItem && item != kNoItem;
             item = tree.nextListing(item)) {
            if (tree.parentItem(item) == faceItem) {
                return item;
            }
        }
    }
    return first;
}

bool RecordAccess::goesWithPurge(const SceneObject* record) {
    for (int k = 0; record && k < kMaxChain; ++k, record = ownerOf(record)) {
        if (record->deleted) {
            return true;
        }
    }
    return false;
}

void RecordAccess::purgeSet(const Scene& scene, std::vector<SceneObject*>& records,
                            std::vector<SubEntity*>& meshes) {
    records.clear();
    meshes.clear();
    std::unordered_set<const Entity*> goneEntities;
    for (Entity* e : scene.entities) {
        if (goesWithPurge(e)) {
            goneEntities.insert(e);
            if (e->deleted && !goesWithPurge(e->parent)) {
                records.push_back(e);
            }
        }
    }
    std::unordered_set<const SubEntity*> goneSubs;
    for (SubEntity* s : scene.subEntities) {
        const bool ownerGoes = s->parent && goneEntities.count(s->parent);
        if (s->deleted || ownerGoes) {
            goneSubs.insert(s);
            if (!ownerGoes) {
                records.push_back(s);
            }
        }
    }
    std::unordered_set<const SubEntity*> losing;
    auto loses = [&](SceneObject* r, SubEntity* s) {
        if (r->deleted && !(s && goneSubs.count(s))) {
            records.push_back(r);
            if (s && losing.insert(s).second) {
                meshes.push_back(s);
            }
        }
    };
    for (Face* f : scene.faces) {
        loses(f, f->parent);
    }
    for (Vertex* v : scene.vertices) {
        loses(v, v->subEntity);
    }
}

void RecordAccess::subEntitiesOf(const SceneObject* record, std::vector<SubEntity*>& out) {
    if (!record) {
        return;
    }
    switch (record->kind()) {
        case SceneObject::kEntity: {
            std::vector<std::pair<const Entity*, int>> pending{
                {static_cast<const Entity*>(record), 0}};
            while (!pending.empty()) {
                const auto [e, depth] = pending.back();
                pending.pop_back();
                out.insert(out.end(), e->subEntities.begin(), e->subEntities.end());
                if (depth < Scene::kMaxLevel) {
                    for (const Entity* child : e->children) {
                        pending.emplace_back(child, depth + 1);
                    }
                }
            }
            break;
        }
        case SceneObject::kSubEntity:
            out.push_back(const_cast<SubEntity*>(static_cast<const SubEntity*>(record)));
            break;
        default:
            if (SceneObject* owner = ownerOf(record)) {
                out.push_back(static_cast<SubEntity*>(owner));
            }
            break;
    }
}

bool RecordAccess::isTerrainRecord(const Reader& reader, const SceneObject* record) {
    return reader.fileType == Reader::kY4T && record && record->kind() == SceneObject::kSubEntity &&
           record->nameEquals(Y4TParser::kTerrainName);
}

bool RecordAccess::rootFixed(const Reader& reader) {
    return reader.fileType == Reader::kY4T;
}

// ---- deleted marks ----

bool RecordAccess::deleted(const SceneObject* record) {
    return record->deleted != 0;
}

void RecordAccess::alreadyMarked(const SceneObject* record, int flag,
                                 std::vector<SceneObject*>& out) {
    eachMarked(record, [&](const SceneObject* r) {
        if (r->deleted == flag) {
            out.push_back(const_cast<SceneObject*>(r));
        }
    });
}

void RecordAccess::mark(Scene& scene, SceneObject* record, int flag) {
    switch (record->kind()) {
        case SceneObject::kEntity:
            scene.markEntity(static_cast<Entity*>(record), flag);
            break;
        case SceneObject::kSubEntity:
            scene.markSubEntity(static_cast<SubEntity*>(record), flag);
            break;
        case SceneObject::kFace:
            scene.markFace(static_cast<Face*>(record), flag);
            break;
        default:
            scene.markVertex(static_cast<Vertex*>(record), flag);
            break;
    }
}

void RecordAccess::setDeletedMark(SceneTree& tree, SceneObject* record, int flag) {
    record->deleted = static_cast<std::uint8_t>(flag);
    relabel(tree, record);
}

// ---- display switches ----

bool RecordAccess::displayDiffers(const SceneTree& tree, const SceneObject* record, bool on) {
    bool differs = (record->displayed != 0) != on;
    eachItem(tree, record, [&](TreeItem item) {
        differs = differs || (tree.contains(item) && tree.check(item) != on);
    });
    return differs;
}

bool RecordAccess::displayed(const SceneObject* record) {
    return record->displayed != 0;
}

void RecordAccess::setDisplayed(SceneTree& tree, SceneObject* record, bool on) {
    record->displayed = on ? 1 : 0;
    eachItem(tree, record, [&](TreeItem item) { tree.setCheck(item, on); });
}

void RecordAccess::setAllDisplayed(Scene& scene, SceneTree& tree, bool on) {
    TreeUpdateScope batch(&tree);
    for (Vertex* v : scene.vertices) {
        setDisplayed(tree, v, on);
    }
    for (Face* f : scene.faces) {
        setDisplayed(tree, f, on);
    }
    for (SubEntity* s : scene.subEntities) {
        setDisplayed(tree, s, on);
    }
    for (Entity* e : scene.entities) {
        setDisplayed(tree, e, on);
    }
}

namespace {
// Calls `visit` on every record of the scene, in one fixed order.
template <class Visit>
void eachRecord(const Scene& scene, Visit visit) {
    for (Entity* e : scene.entities) {
        visit(e);
    }
    for (SubEntity* s : scene.subEntities) {
        visit(s);
    }
    for (Face* f : scene.faces) {
        visit(f);
    }
    for (Vertex* v : scene.vertices) {
        visit(v);
    }
}
}  // namespace

void RecordAccess::DisplayFlags::capture(const Scene& scene) {
    const std::size_t count = scene.entities.size() + scene.subEntities.size() +
                              scene.faces.size() + scene.vertices.size();
    bits_.assign((count + 63) / 64, 0);
    std::size_t k = 0;
    std::size_t on = 0;
    eachRecord(scene, [&](const SceneObject* r) {
        if (r->displayed) {
            bits_[k / 64] |= std::uint64_t{1} << (k % 64);
            ++on;
        }
        ++k;
    });
    uniform_ = on == 0 || on == count;
    value_ = on == count;
    if (uniform_) {
        bits_.clear();
        bits_.shrink_to_fit();
    }
}

void RecordAccess::DisplayFlags::restore(Scene& scene, SceneTree& tree) const {
    TreeUpdateScope batch(&tree);
    std::size_t k = 0;
    eachRecord(scene, [&](SceneObject* r) {
        const bool on = uniform_ ? value_ : ((bits_[k / 64] >> (k % 64)) & 1) != 0;
        setDisplayed(tree, r, on);
        ++k;
    });
}

// ---- names ----

std::string RecordAccess::name(const SceneObject* record) {
    return record->name();
}

void RecordAccess::setName(SceneTree& tree, SceneObject* record, std::string_view name) {
    record->setName(name);
    relabel(tree, record);
}

// ---- placement and geometry ----

void RecordAccess::Placements::capture(const std::vector<Entity*>& entities) {
    entities_ = entities;
    values_.clear();
    values_.reserve(6 * entities.size());
    changed_.clear();
    changed_.reserve(entities.size());
    for (const Entity* e : entities) {
        values_.insert(values_.end(), {e->positionX, e->positionY, e->positionZ, e->rotateX,
                                       e->rotateY, e->rotateZ});
        changed_.push_back(e->changed);
    }
}

void RecordAccess::Placements::restore() const {
    const float* v = values_.data();
    for (std::size_t k = 0; k < entities_.size(); ++k, v += 6) {
        Entity* e = entities_[k];
        e->positionX = v[0];
        e->positionY = v[1];
        e->positionZ = v[2];
        e->rotateX = v[3];
        e->rotateY = v[4];
        e->rotateZ = v[5];
        e->changed = changed_[k];
    }
}

std::size_t RecordAccess::Placements::bytes() const {
    return entities_.capacity() * sizeof(Entity*) + values_.capacity() * sizeof(float) +
           changed_.capacity();
}

void RecordAccess::Points::capture(const std::vector<Vertex*>& vertices, bool normals) {
    vertices_ = vertices;
    normals_ = normals;
    values_.clear();
    values_.reserve(3 * vertices.size());
    for (const Vertex* v : vertices) {
        if (normals) {
            values_.insert(values_.end(), {v->normalX, v->normalY, v->normalZ});
        } else {
            values_.insert(values_.end(), {v->X, v->Y, v->Z});
        }
    }
}

void RecordAccess::Points::restore() const {
    const float* p = values_.data();
    for (Vertex* v : vertices_) {
        if (normals_) {
            v->normalX = p[0];
            v->normalY = p[1];
            v->normalZ = p[2];
        } else {
            v->X = p[0];
            v->Y = p[1];
            v->Z = p[2];
        }
        p += 3;
    }
}

std::size_t RecordAccess::Points::bytes() const {
    return vertices_.capacity() * sizeof(Vertex*) + values_.capacity() * sizeof(float);
}

void RecordAccess::scaleTargets(const Reader& reader, std::vector<Entity*>& entities,
                                std::vector<Vertex*>& vertices) {
    entities.clear();
    vertices.clear();
    const Entity* fixed = rootFixed(reader) ? reader.root() : nullptr;
    for (Entity* e : reader.entities) {
        if (!e->deleted && e->selected && e != fixed) {
            entities.push_back(e);
        }
    }
    for (Vertex* v : reader.vertices) {
        if (!v->deleted && v->selected) {
            vertices.push_back(v);
        }
    }
}

void RecordAccess::scale(const std::vector<Entity*>& entities, const std::vector<Vertex*>& vertices,
                         float fx, float fy, float fz) {
    for (Entity* e : entities) {
        e->positionX *= fx;
        e->positionY *= fy;
        e->positionZ *= fz;
    }
    for (Vertex* v : vertices) {
        v->X *= fx;
        v->Y *= fy;
        v->Z *= fz;
    }
}

void RecordAccess::meshesOf(const std::vector<Vertex*>& vertices, std::vector<SubEntity*>& out) {
    std::unordered_set<const SubEntity*> seen;
    const SubEntity* last = nullptr;
    for (const Vertex* v : vertices) {
        if (v->subEntity && v->subEntity != last) {
            last = v->subEntity;
            if (seen.insert(last).second) {
                out.push_back(v->subEntity);
            }
        }
    }
}

// ---- bitmaps ----

void RecordAccess::swapBitmaps(Reader& reader, int first, int second) {
    const auto a = static_cast<std::size_t>(first);
    const auto b = static_cast<std::size_t>(second);
    std::swap(reader.bitmapNames[a], reader.bitmapNames[b]);
    std::vector<std::shared_ptr<const RGBImage>>& images = reader.textures.images;
    images.resize(std::max(images.size(), reader.bitmapNames.size()));
    std::swap(images[a], images[b]);
}

void RecordAccess::renameBitmap(Reader& reader, int position, const std::string& name,
                                std::shared_ptr<const RGBImage> image) {
    const auto at = static_cast<std::size_t>(position);
    reader.bitmapNames[at] = name;
    std::vector<std::shared_ptr<const RGBImage>>& images = reader.textures.images;
    images.resize(std::max(images.size(), reader.bitmapNames.size()));
    images[at] = std::move(image);
}

void RecordAccess::BitmapList::capture(const Reader& reader) {
    names_ = reader.bitmapNames;
    images_ = reader.textures.images;
}

void RecordAccess::BitmapList::restore(Reader& reader) const {
    reader.deleteTextures();
    reader.bitmapNames = names_;
    reader.textures.images = images_;
    reader.createTextures();
}

std::size_t RecordAccess::BitmapList::bytes(const BitmapList& other) const {
    std::size_t total = names_.capacity() * sizeof(std::string) +
                        images_.capacity() * sizeof(std::shared_ptr<const RGBImage>);
    for (const std::string& name : names_) {
        total += name.capacity();
    }
    std::unordered_set<const RGBImage*> shared;
    for (const auto& image : other.images_) {
        shared.insert(image.get());
    }
    std::unordered_set<const RGBImage*> counted;
    for (const auto& image : images_) {
        if (image && !shared.count(image.get()) && counted.insert(image.get()).second) {
            total += image->data.capacity();
        }
    }
    return total;
}

}  // namespace y4
