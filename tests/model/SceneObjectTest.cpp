// Record labels, copy rules and the "Selected Object" path text.
#include <gtest/gtest.h>

#include "model/Entity.h"
#include "model/Face.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"

namespace y4 {
namespace {

TEST(SceneObject, DefaultLabelsFollowKindAndIndex) {
    Entity e(nullptr, 4);
    SubEntity s(&e, 2);
    Face f(&s, 17);
    Vertex v(nullptr, 7);
    EXPECT_EQ(e.name(), "<undefined>");
    EXPECT_EQ(s.name(), "SubEntity[2]");
    EXPECT_EQ(f.name(), "Face[17]");
    EXPECT_EQ(v.name(), "Vertex[7]");
}

}  // namespace
}  // namespace y4
