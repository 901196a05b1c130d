// Making, undoing and redoing a change set, and its announcements.
#include "ChangeSet.h"

#include <algorithm>

#include "files/Reader.h"
#include "model/SceneTree.h"

namespace y4 {

namespace {

std::size_t recordBytes(const SceneObject* record) {
    static constexpr std::size_t kSizes[] = {sizeof(Entity), sizeof(SubEntity), sizeof(Face),
                                             sizeof(Vertex)};
    return kSizes[record->kind()];
}

}  // namespace

ChangeSet::~ChangeSet() {
    if (!inScene_) {
        for (SceneObject* record : made_) {
            scene_.destroy(record);
        }
    }
}

void ChangeSet::link(RecordLinks::List list, SceneObject* owner, SceneObject* record,
                     std::size_t position) {
    links_.push_back(RecordLinks::insert(scene_, list, owner, record, position));
}

void ChangeSet::touch(SceneObject* record) {
    if (record && !madeSet_.count(record) && touched_.emplace(record, before_.size()).second) {
        before_.emplace_back(record);
    }
}

void ChangeSet::mesh(SubEntity* subEntity) {
    if (subEntity && std::find(meshes_.begin(), meshes_.end(), subEntity) == meshes_.end()) {
        meshes_.push_back(subEntity);
    }
}

void ChangeSet::finish(SceneTree& tree) {
    after_.clear();
    after_.reserve(before_.size());
    for (const RecordState& state : before_) {
        after_.emplace_back(state.record());
    }
    touched_.clear();
    madeSet_.clear();
    {
        TreeUpdateScope batch(&tree);
        for (SceneObject* record : listed_) {
            RecordLinks::list(tree, record);
        }
        for (Face* face : relisted_) {
            RecordLinks::relistCorners(tree, face);
        }
    }
    describe();
}

void ChangeSet::setStates(std::vector<RecordState> before, std::vector<RecordState> after) {
    before_ = std::move(before);
    after_ = std::move(after);
    for (std::size_t k = 0; k < before_.size(); ++k) {
        if (before_[k].record()->kind() == SceneObject::kFace &&
            (before_[k].differences(after_[k]) & RecordChange::kGeometry)) {
            relisted_.push_back(static_cast<Face*>(before_[k].record()));
        }
    }
    describe();
}

// The announcements' contents: what the edit names, what changed how, and where.
void ChangeSet::describe() {
    set_.records = links_.empty() ? std::vector<SceneObject*>() : records_;
    set_.meshes = meshes_;
    change_ = RecordChange();
    change_.records = records_;
    change_.meshes = meshes_;
    for (std::size_t k = 0; k < before_.size(); ++k) {
        const unsigned aspects = before_[k].differences(after_[k]);
        change_.aspects |= aspects;
        if (aspects & RecordChange::kPlacement) {
            change_.placed.push_back(static_cast<Entity*>(before_[k].record()));
        }
    }
}

bool ChangeSet::changesAnything() const {
    if (!links_.empty()) {
        return true;
    }
    for (std::size_t k = 0; k < before_.size(); ++k) {
        if (!(before_[k] == after_[k])) {
            return true;
        }
    }
    return false;
}

bool ChangeSet::changesFile(int fileType) const {
    if (!links_.empty()) {
        return true;
    }
    for (std::size_t k = 0; k < before_.size(); ++k) {
        if (before_[k].savedDiffers(after_[k], fileType)) {
            return true;
        }
    }
    return false;
}

void ChangeSet::undo(const EditContext& context) {
    const bool growth = !links_.empty();
    if (growth) {
        context.tell(&DocumentObserver::recordsAboutToBeRemoved, set_);
    } else {
        context.tell(&DocumentObserver::recordsAboutToChange, change_);
    }
    {
        TreeUpdateScope batch(&context.tree);
        for (auto it = listed_.rbegin(); it != listed_.rend(); ++it) {
            RecordLinks::unlist(context.tree, *it);
        }
        for (auto it = before_.rbegin(); it != before_.rend(); ++it) {
            it->put(context.tree);
        }
        for (auto it = links_.rbegin(); it != links_.rend(); ++it) {
            RecordLinks::unlink(scene_, *it);
        }
        for (Face* face : relisted_) {
            RecordLinks::relistCorners(context.tree, face);
        }
    }
    inScene_ = false;
    if (growth) {
        context.tell(&DocumentObserver::recordsRemoved, set_);
        return;
    }
    if (change_.has(RecordChange::kPlacement) || change_.has(RecordChange::kGeometry)) {
        context.reader.computeWorldPositions();
    }
    context.tell(&DocumentObserver::recordsChanged, change_);
}

void ChangeSet::redo(const EditContext& context) {
    const bool growth = !links_.empty();
    if (!growth) {
        context.tell(&DocumentObserver::recordsAboutToChange, change_);
    }
    {
        TreeUpdateScope batch(&context.tree);
        for (const RecordLinks::Link& link : links_) {
            RecordLinks::relink(scene_, link);
        }
        for (const RecordState& state : after_) {
            state.put(context.tree);
        }
        for (SceneObject* record : listed_) {
            RecordLinks::list(context.tree, record);
        }
        for (Face* face : relisted_) {
            RecordLinks::relistCorners(context.tree, face);
        }
    }
    inScene_ = true;
    if (growth) {
        announceMade(context);
        return;
    }
    if (change_.has(RecordChange::kPlacement) || change_.has(RecordChange::kGeometry)) {
        context.reader.computeWorldPositions();
    }
    context.tell(&DocumentObserver::recordsChanged, change_);
}

void ChangeSet::announceMade(const EditContext& context) const {
    context.tell(&DocumentObserver::recordsAdded, set_);
}

std::size_t ChangeSet::bytes() const {
    std::size_t total =
        made_.capacity() * sizeof(SceneObject*) + links_.capacity() * sizeof(RecordLinks::Link) +
        (listed_.capacity() + relisted_.capacity() + records_.capacity() + meshes_.capacity()) *
            sizeof(void*);
    for (const SceneObject* record : made_) {
        total += recordBytes(record);
    }
    for (const RecordState& state : before_) {
        total += state.bytes();
    }
    for (const RecordState& state : after_) {
        total += state.bytes();
    }
    return total;
}

}  // namespace y4
