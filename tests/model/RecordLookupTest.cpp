// The lookups the editing commands share: the float tolerance, pointer positions and vertex
// matching.
#include <gtest/gtest.h>

#include "model/RecordLookup.h"
#include "model/Vertex.h"

namespace y4 {
namespace {

TEST(RecordLookup, FloatsMatchWithinHalfAThousandthAndVerticesByPositionAndTexture) {
    EXPECT_TRUE(floatsMatch(1.0f, 1.0004f));
    EXPECT_FALSE(floatsMatch(1.0f, 1.0006f));
    // 1.0005 as a float lies just below 1.0005.
    EXPECT_TRUE(floatsMatch(1.0f, 1.0005f));
    EXPECT_TRUE(floatsMatch(-2.0f, -2.0004f));
    EXPECT_FALSE(floatsMatch(0.0f, -0.0006f));

    // Positions in a list: the first occurrence.
    int a = 0, b = 0, c = 0;
    const std::vector<int*> list = {&a, &b, &a};
    EXPECT_EQ(indexOfPointer(&a, list), 0);
    EXPECT_EQ(indexOfPointer(&b, list), 1);
    EXPECT_EQ(indexOfPointer(&c, list), -1);
    EXPECT_EQ(indexOfPointer(&a, std::vector<int*>{}), -1);

    // A matching vertex: the first with position and texture within the tolerance, whatever
    // its normal.
    Vertex wanted(nullptr, 0);
    wanted.X = 1;
    wanted.Y = 2;
    wanted.Z = 3;
    wanted.textureU = 0.5f;
    wanted.textureV = 0.25f;
    Vertex farU(wanted, 1), otherNormal(wanted, 2), close(wanted, 3);
    farU.textureU = 0.501f;
    otherNormal.normalX = 1;
    close.Z = 3.0004f;
    EXPECT_EQ(findMatchingVertex(wanted, {&farU, &otherNormal, &close}), &otherNormal);
    EXPECT_EQ(findMatchingVertex(wanted, {&farU, &close}), &close);
    EXPECT_EQ(findMatchingVertex(wanted, {&farU}), nullptr);
    EXPECT_EQ(findMatchingVertex(wanted, {}), nullptr);
}

}  // namespace
}  // namespace y4
