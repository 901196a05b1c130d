// The pick-candidate search: the reach of a click, the order of the candidates, and the
// vertices that are never offered whatever their recorded window position.
#include "model/PickCandidates.h"

#include <gtest/gtest.h>

#include <map>

#include "files/Reader.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"

namespace y4 {
namespace {

using test::ModelFixture;
using test::TempDir;

TEST(PickCandidates, AClickReachesUnderThreeWholePixelsEachWayInVertexListOrder) {
    TempDir dir;
    Reader reader(nullptr,
                  ModelFixture::write(dir, "TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}}));
    // The arm's three corners, then the foot's: one face each way of the arm, two of the foot.
    const RecordList<Vertex>& v = reader.vertices;
    ASSERT_EQ(v.size(), 6u);
    std::map<const Vertex*, PickCandidates::WindowPoint> drawn = {
        {v[4], {102.9, 50, 0.5}},  // 2.9 pixels away: in reach
        {v[1], {100, 52.5, 0.9}},  // depth plays no part
        {v[2], {103, 50, 0.1}},    // three whole pixels: out of reach
        {v[3], {97.1, 47.1, 0.5}}, {v[0], {100, 53, 0.5}},
    };
    const PickCandidates::PositionOf positionOf =
        [&](const Vertex& vertex) -> std::optional<PickCandidates::WindowPoint> {
        const auto found = drawn.find(&vertex);
        return found == drawn.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(PickCandidates::find(v, 100, 50, positionOf),
              (std::vector<Vertex*>{v[1], v[3], v[4]}));
    EXPECT_EQ(PickCandidates::find(v, 200, 50, positionOf), std::vector<Vertex*>{});
    // v[5] was never drawn in a pick frame: not even a click at the window's corner finds it.
    EXPECT_EQ(PickCandidates::find(v, 0, 0, positionOf), std::vector<Vertex*>{});

    // What the user cannot see or use is never offered.
    Face* lone = reader.entities[1]->subEntities[0]->faces[0];
    lone->deleted = 1;  // the arm's only face: its corners have only deleted faces
    EXPECT_EQ(PickCandidates::find(v, 100, 50, positionOf), (std::vector<Vertex*>{v[3], v[4]}));
    lone->deleted = 0;
    reader.entities[2]->displayed = 0;  // "Leg" above the foot switched off
    EXPECT_EQ(PickCandidates::find(v, 100, 50, positionOf), std::vector<Vertex*>{v[1]});
    reader.entities[2]->displayed = 1;
    v[3]->deleted = 1;
    reader.entities[1]->subEntities[0]->deleted = 1;
    EXPECT_EQ(PickCandidates::find(v, 100, 50, positionOf), std::vector<Vertex*>{v[4]});
    // One face of the foot deleted leaves its corners pickable through the other.
    v[3]->deleted = 0;
    reader.entities[3]->subEntities[0]->faces[0]->deleted = 1;
    EXPECT_TRUE(PickCandidates::pickable(*v[3]));
    v[3]->faces.clear();
    EXPECT_FALSE(PickCandidates::pickable(*v[3]));
}

}  // namespace
}  // namespace y4
