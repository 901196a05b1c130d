// One drag step on the selection: which records it reaches and the arithmetic it does on them.
#include <gtest/gtest.h>

#include "files/Reader.h"
#include "model/SelectionMarks.h"
#include "model/SelectionTransform.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"

namespace y4 {
namespace {

using test::ModelFixture;
using test::TempDir;

class SelectionTransformTest : public testing::Test {
protected:
    SelectionTransformTest()
        : reader_(nullptr,
                  ModelFixture::write(dir_, "TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}})),
          root_(*reader_.entities[0]),
          arm_(*reader_.entities[1]),
          leg_(*reader_.entities[2]),
          foot_(*reader_.entities[3]) {}

    TempDir dir_;
    Reader reader_;
    Entity& root_;
    Entity& arm_;
    Entity& leg_;
    Entity& foot_;
};

TEST_F(SelectionTransformTest, ASelectedEntityTakesATranslationOrRotationForEverythingBelowIt) {
    SelectionMarks::apply(&leg_, 1);
    const Vertex& v = *foot_.subEntities[0]->vertices[0];
    const float x = v.X;
    SelectionTransform::Targets targets;
    SelectionTransform::collect(&root_, SelectionTransform::kTranslate, targets);
    EXPECT_EQ(targets.entities, std::vector<Entity*>{&leg_});
    EXPECT_TRUE(targets.vertices.empty());

    // Only positionY moves in "TranslateY", though the vertices below are selected too.
    const float legY = leg_.positionY;
    SelectionTransform::step(reader_, 0, 2.5f, 0, SelectionTransform::kTranslate, false);
    EXPECT_EQ(leg_.positionY, legY + 2.5f);
    EXPECT_EQ(leg_.positionX, -0.0f);
    EXPECT_EQ(leg_.changed, 1);
    EXPECT_EQ(foot_.positionY, 0.0f);
    EXPECT_EQ(v.X, x);
    EXPECT_EQ(v.changed, 0);

    // A scaling does not stop at the entity: it reaches the selected vertices below.
    SelectionTransform::collect(&root_, SelectionTransform::kScale, targets);
    EXPECT_TRUE(targets.entities.empty());
    EXPECT_EQ(targets.vertices.size(), 3u);
}

TEST_F(SelectionTransformTest, SelectedVerticesTakeTheStepOnTheirPositionOrNormal) {
    Face& face = *arm_.subEntities[0]->faces[0];
    SelectionMarks::apply(&face, 1);
    Vertex& a = *face.vertexA;
    const Vertex before = Vertex(a, 0);

    SelectionTransform::step(reader_, 1, 0, -1, SelectionTransform::kTranslate, false);
    EXPECT_EQ(a.X, before.X + 1);
    EXPECT_EQ(a.Z, before.Z - 1);
    EXPECT_EQ(a.normalX, before.normalX);

    // Normals: a quarter turn about Z turns the normal only.
    const float nx = a.normalX;
    const float ny = a.normalY;
    const float x = a.X;
    SelectionTransform::step(reader_, 0, 0, 90, SelectionTransform::kRotate, true);
    EXPECT_EQ(a.X, x);
    EXPECT_NEAR(a.normalX, -ny, 1e-6);
    EXPECT_NEAR(a.normalY, nx, 1e-6);

    // Scaling multiplies, stretching adds the multiple; a factor of 0 leaves its axis alone.
    const float y = a.Y;
    const float z = a.Z;
    SelectionTransform::step(reader_, 2, 0, 3, SelectionTransform::kScale, false);
    EXPECT_EQ(a.X, x * 2);
    EXPECT_EQ(a.Y, y);
    EXPECT_EQ(a.Z, z * 3);
    SelectionTransform::step(reader_, 0.5f, 0, 0, SelectionTransform::kStretch, false);
    EXPECT_EQ(a.X, 0.5f * (x * 2) + x * 2);
    EXPECT_EQ(a.changed, 0);
    // Each corner once, however many faces list it; the unselected sub-entity is untouched.
    SelectionTransform::Targets targets;
    SelectionTransform::collect(&root_, SelectionTransform::kTranslate, targets);
    EXPECT_EQ(targets.vertices.size(), 3u);
    EXPECT_EQ(foot_.subEntities[0]->vertices[0]->selected, 0);
}

TEST_F(SelectionTransformTest, ASelectedRootMovesAloneAndNothingSelectedMovesNothing) {
    SelectionTransform::Targets targets;
    SelectionTransform::collect(&root_, SelectionTransform::kRotate, targets);
    EXPECT_TRUE(targets.empty());
    SelectionMarks::apply(&root_, 1);
    SelectionTransform::collect(&root_, SelectionTransform::kRotate, targets);
    EXPECT_EQ(targets.entities, std::vector<Entity*>{&root_});
    EXPECT_TRUE(targets.vertices.empty());
    SelectionTransform::collect(nullptr, SelectionTransform::kRotate, targets);
    EXPECT_TRUE(targets.empty());
}

}  // namespace
}  // namespace y4
