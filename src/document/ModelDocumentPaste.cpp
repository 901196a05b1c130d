// Copy and paste: the remembered record, the paste table with its messages, and the paste
// itself as one undo step.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "ChangeSet.h"
#include "ModelDocument.h"
#include "PasteBuilder.h"
#include "RecordAccess.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

// The depth of the entity hierarchy below `entity` (0 for an entity without children).
int depthBelow(const Entity& entity) {
    int deepest = 0;
    std::vector<std::pair<const Entity*, int>> pending{{&entity, 0}};
    while (!pending.empty()) {
        const auto [e, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        if (depth <= Scene::kMaxLevel) {
            for (const Entity* child : e->children) {
                pending.emplace_back(child, depth + 1);
            }
        }
    }
    return deepest;
}

}  // namespace

bool ModelDocument::canCopy(const SceneObject* record) const {
    if (!reader_ || !record || record->deleted) {
        return false;
    }
    switch (record->kind()) {
        case SceneObject::kEntity:
            return reader_->fileType != Reader::kY4T;
        case SceneObject::kSubEntity:
            return !RecordAccess::isTerrainRecord(*reader_, record);
        case SceneObject::kFace:
            return true;
        default:
            return false;
    }
}

bool ModelDocument::copy(SceneObject* record) {
    if (!canCopy(record)) {
        return false;
    }
    copySource_ = record;
    return true;
}

bool ModelDocument::canPaste(const SceneObject* destination) const {
    if (!reader_ || !copySource_ || !destination || destination->deleted) {
        return false;
    }
    const int source = copySource_->kind();
    switch (destination->kind()) {
        case SceneObject::kEntity: {
            const auto* d = static_cast<const Entity*>(destination);
            if (source == SceneObject::kEntity) {
                return d->subEntities.empty();
            }
            if (source == SceneObject::kSubEntity) {
                return reader_->fileType == Reader::kY4D ? d->subEntities.empty()
                                                         : d->children.empty();
            }
            return false;
        }
        case SceneObject::kSubEntity:
            return source == SceneObject::kFace;
        case SceneObject::kFace:
            return source == SceneObject::kVertex;
        default:
            return false;
    }
}

// The message of the paste table for a pair that is refused, or null.
const char* ModelDocument::pasteRefusal(const SceneObject* source,
                                        const SceneObject* destination) const {
    static constexpr const char* kInvalid = "Invalid destination";
    const int to = destination->kind();
    switch (source->kind()) {
        case SceneObject::kEntity:
            switch (to) {
                case SceneObject::kEntity:
                    return static_cast<const Entity*>(source)->level <
                                   static_cast<const Entity*>(destination)->level
                               ? "Cannot copy an entity into a subordinate entity"
                               : nullptr;
                case SceneObject::kSubEntity:
                    return "Cannot paste an entity into a sub-entity";
                case SceneObject::kFace:
                    return "Cannot paste an entity into a face";
                default:
                    return kInvalid;
            }
        case SceneObject::kSubEntity:
            switch (to) {
                case SceneObject::kEntity:
                    return reader_->fileType == Reader::kY4D &&
                                   !static_cast<const Entity*>(destination)->subEntities.empty()
                               ? "Y4D files support only 1 subEntity per entity"
                               : nullptr;
                case SceneObject::kSubEntity:
                    return "Cannot paste a sub-entity into a sub-entity";
                case SceneObject::kFace:
                    return "Cannot paste a sub-entity into a face";
                default:
                    return kInvalid;
            }
        case SceneObject::kFace:
            switch (to) {
                case SceneObject::kEntity:
                    return "Cannot paste a face into an entity";
                case SceneObject::kSubEntity:
                    return nullptr;
                case SceneObject::kFace:
                    return "Cannot paste a face into a face";
                default:
                    return kInvalid;
            }
        default:
            return kInvalid;
    }
}

bool ModelDocument::paste(SceneObject* destination) {
    if (!reader_ || !copySource_) {
        return false;
    }
    endDrag();
    auto refuse = [](const char* message) {
        prompt().showMessage(message, MessageIcon::Exclamation);
        return false;
    };
    if (!destination) {
        return refuse("Error: Invalid paste destination");
    }
    if (copySource_ == destination) {
        return refuse("Error: Cannot paste an object into itself");
    }
    if (const char* refusal = pasteRefusal(copySource_, destination)) {
        return refuse(refusal);
    }
    // What the table lets through but the tree would not offer: a marked destination, and an
    // entity that would hold both child entities and sub-entities.
    if (!canPaste(destination)) {
        return false;
    }
    if (copySource_->kind() == SceneObject::kEntity &&
        static_cast<const Entity*>(destination)->level + 1 +
                depthBelow(*static_cast<const Entity*>(copySource_)) >
            Scene::kMaxLevel) {
        return refuse("Error: Cannot paste; the groups would nest more than 255 levels deep");
    }
    const SelectionRef before = currentSelection();
    auto changes = std::make_unique<ChangeSet>(*reader_);
    PasteBuilder builder(*reader_, *changes);
    SceneObject* copy = nullptr;
    switch (copySource_->kind()) {
        case SceneObject::kEntity:
            copy = builder.pasteEntity(*static_cast<const Entity*>(copySource_),
                                       *static_cast<Entity*>(destination));
            break;
        case SceneObject::kSubEntity:
            copy = builder.pasteSubEntity(*static_cast<const SubEntity*>(copySource_),
                                          *static_cast<Entity*>(destination));
            break;
        default:
            copy = builder.pasteFace(*static_cast<const Face*>(copySource_),
                                     *static_cast<SubEntity*>(destination));
            break;
    }
    // A source marked deleted as a whole leaves nothing to paste: its warning was shown.
    if (!copy) {
        return false;
    }
    changes->name(copy);
    changes->list(copy);
    keep("Paste", std::move(changes), before);
    return true;
}

}  // namespace y4
