// SubtreeWalk: visits a group and every group below it with a list rather than recursion, as
// hierarchies may be deeper than the call stack allows.
#pragma once

#include <vector>

#include "Entity.h"

namespace y4 {

class SubtreeWalk {
public:
    // `visit(entity)` for `top` and its descendants, parents before their children; a visit
    // that returns false skips what is below that entity.
    template <class Visit>
    static void entities(const Entity& top, Visit visit) {
        std::vector<const Entity*> pending{&top};
        while (!pending.empty()) {
            const Entity* e = pending.back();
            pending.pop_back();
            if (!visit(*e)) {
                continue;
            }
            for (const Entity* child : e->children) {
                pending.push_back(child);
            }
        }
    }
};

}  // namespace y4
