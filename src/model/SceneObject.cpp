// Names, path texts and the values records look up from their owners.
#include "SceneObject.h"

#include <charconv>
#include <mutex>
#include <unordered_map>

#include "Entity.h"
#include "Face.h"
#include "SubEntity.h"
#include "Vertex.h"

namespace y4 {

static_assert(sizeof(Face) == 64 && sizeof(Vertex) == 64,
              "faces and vertices are the bulk of a model; keep them at 64 bytes");

namespace {

// Names set on faces and vertices, which hardly ever have one: a table, so that the million
// records without a name carry no room for one.
class NameTable {
public:
    void set(const SceneObject* record, std::string name) {
        std::lock_guard lock(mutex_);
        names_[record] = std::move(name);
    }
    void append(const SceneObject* record, std::string& out) {
        std::lock_guard lock(mutex_);
        auto it = names_.find(record);
        if (it != names_.end()) {
            out.append(it->second);
        }
    }
    void drop(const SceneObject* record) {
        std::lock_guard lock(mutex_);
        names_.erase(record);
    }

private:
    std::mutex mutex_;
    std::unordered_map<const SceneObject*, std::string> names_;
};

NameTable& nameTable() {
    static NameTable* table = new NameTable;  // outlives every record, statics included
    return *table;
}

Triple plusZero(const Triple& t) {
    // The load pass adds each sum to a zero; so does the lookup, bit for bit.
    return {0.0f + t[0], 0.0f + t[1], 0.0f + t[2]};
}

}  // namespace

SceneObject::SceneObject(const SceneObject& source, int index)
    : index(index),
      selected(source.selected),
      changed(source.changed),
      displayed(source.displayed),
      marked(source.marked),
      deleted(source.deleted),
      kind_(source.kind_) {}

void SceneObject::appendName(std::string& out) const {
    switch (kind_) {
        case kEntity: {
            const auto* e = static_cast<const Entity*>(this);
            out.append(e->hasName_ ? std::string_view(e->name_) : "<undefined>");
            return;
        }
        case kSubEntity:
            if (const auto& name = static_cast<const SubEntity*>(this)->name_) {
                out.append(*name);
                return;
            }
            break;
        default:
            if (named_) {
                nameTable().append(this, out);
                return;
            }
            break;
    }
    static constexpr std::string_view prefixes[] = {"", "SubEntity[", "Face[", "Vertex["};
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, index).ptr;
    out.append(prefixes[kind_]).append(digits, end).push_back(']');
}

std::string SceneObject::name() const {
    std::string out;
    appendName(out);
    return out;
}

void SceneObject::setName(std::string_view text) {
    text = text.substr(0, kMaxNameLength);
    switch (kind_) {
        case kEntity: {
            auto* e = static_cast<Entity*>(this);
            e->name_.assign(text);
            e->hasName_ = true;
            break;
        }
        case kSubEntity:
            static_cast<SubEntity*>(this)->name_ = std::make_unique<std::string>(text);
            break;
        default:
            nameTable().set(this, std::string(text));
            named_ = 1;
            break;
    }
}

void SceneObject::dropTableName() {
    if (named_) {
        nameTable().drop(this);
        named_ = 0;
    }
}

bool SceneObject::hasOwnName() const {
    switch (kind_) {
        case kEntity:
            return static_cast<const Entity*>(this)->hasName_;
        case kSubEntity:
            return static_cast<const SubEntity*>(this)->name_ != nullptr;
        default:
            return named_;
    }
}

bool SceneObject::nameEquals(std::string_view text) const {
    if (kind_ == kEntity) {
        const auto* e = static_cast<const Entity*>(this);
        return e->hasName_ ? e->name_ == text : text == "<undefined>";
    }
    return name() == text;
}

void SceneObject::appendPathName(std::string& out) const {
    switch (kind_) {
        case kEntity:
            static_cast<const Entity*>(this)->appendPathName(out);
            break;
        case kSubEntity:
            static_cast<const SubEntity*>(this)->appendPathName(out);
            break;
        case kFace:
            static_cast<const Face*>(this)->appendPathName(out);
            break;
        default:
            static_cast<const Vertex*>(this)->appendPathName(out);
            break;
    }
}

Triple SceneObject::cumulativeOffset() const {
    switch (kind_) {
        case kEntity:
            return static_cast<const Entity*>(this)->cumulativeOffset();
        case kSubEntity: {
            const Entity* e = static_cast<const SubEntity*>(this)->parent;
            return e && e->placed() ? plusZero(e->cumulativeOffset()) : Triple{};
        }
        case kFace: {
            const SubEntity* s = static_cast<const Face*>(this)->parent;
            return s ? plusZero(s->cumulativeOffset()) : Triple{};
        }
        default: {
            const auto* v = static_cast<const Vertex*>(this);
            const SubEntity* s = v->subEntity;
            if (!s || !s->parent || !s->parent->placed()) {
                return {};
            }
            const Triple o = s->cumulativeOffset();
            return plusZero({o[0] + v->X, o[1] + v->Y, o[2] + v->Z});
        }
    }
}

Triple SceneObject::cumulativeRotation() const {
    switch (kind_) {
        case kEntity:
            return static_cast<const Entity*>(this)->cumulativeRotation();
        case kSubEntity: {
            const Entity* e = static_cast<const SubEntity*>(this)->parent;
            return e && e->placed() ? plusZero(e->cumulativeRotation()) : Triple{};
        }
        case kFace: {
            const SubEntity* s = static_cast<const Face*>(this)->parent;
            return s ? plusZero(s->cumulativeRotation()) : Triple{};
        }
        default: {
            const SubEntity* s = static_cast<const Vertex*>(this)->subEntity;
            return s && s->parent && s->parent->placed() ? plusZero(s->cumulativeRotation())
                                                         : Triple{};
        }
    }
}

Position SceneObject::absolutePosition() const {
    switch (kind_) {
        case kEntity:
            return static_cast<const Entity*>(this)->absolutePosition();
        case kSubEntity: {
            const Entity* e = static_cast<const SubEntity*>(this)->parent;
            return e ? e->absolutePosition() : Position{};
        }
        case kFace: {
            const SubEntity* s = static_cast<const Face*>(this)->parent;
            return s ? s->absolutePosition() : Position{};
        }
        default: {
            // A vertex of no sub-entity is in no frame at all.
            const auto* v = static_cast<const Vertex*>(this);
            if (!v->subEntity) {
                return {};
            }
            float x = v->X, y = v->Y, z = v->Z;
            // Bounded like every walk up the hierarchy, whatever a broken chain holds.
            int steps = 0;
            for (const Entity* e = v->subEntity->parent; e && steps <= 256; e = e->parent) {
                e->frame().carry(x, y, z);
                ++steps;
            }
            return {x, y, z};
        }
    }
}

}  // namespace y4
