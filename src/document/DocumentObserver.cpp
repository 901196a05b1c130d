// Telling whether a record is among a set of added or removed records.
#include "DocumentObserver.h"

#include "RecordAccess.h"
#include "model/Scene.h"

namespace y4 {

bool RecordSet::covers(const SceneObject* record) const {
    if (index_.size() != records.size()) {
        index_ = std::unordered_set<const SceneObject*>(records.begin(), records.end());
    }
    for (int k = 0; record && k <= Scene::kMaxLevel + 4; ++k) {
        if (index_.count(record)) {
            return true;
        }
        record = RecordAccess::ownerOf(record);
    }
    return false;
}

}  // namespace y4
