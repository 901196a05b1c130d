// SceneInvariants: what must hold of a scene and its object tree after every edit: each record
// once in its owner's list and in the flat list of its kind, owners and levels that agree,
// corners in their own sub-entity at the positions their numbers say and listing their face,
// one tree item per entity, sub-entity and face and one per corner listing (labels, checks and
// handles agreeing with the records), no item for a record that is gone, and the selected
// marks exactly on what the selection covers.
#pragma once

#include <string>
#include <vector>

namespace y4 {
class Reader;
class SceneTree;
}  // namespace y4

namespace y4::test {

class SceneInvariants {
public:
    // The first problems found (at most a few dozen), each as one line; empty when all hold.
    static std::vector<std::string> check(const Reader& reader, const SceneTree& tree);
};

}  // namespace y4::test
