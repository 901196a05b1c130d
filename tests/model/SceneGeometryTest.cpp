// Geometry on the scene records: quarter turns and the sign conventions of Vertex::Rotate,
// world positions through the entity chain (bit for bit the step-by-step walk), scaling of the
// selection, the sign turn of the file coordinates and the visibility of a vertex.
#include <gtest/gtest.h>

#include <limits>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ModelGenerator.h"
#include "SceneBuilder.h"
#include "files/Reader.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

constexpr float kQuarter = std::numbers::pi_v<float> / 2;

using Triple = std::array<float, 3>;
using Position = std::array<double, 3>;

Triple position(const Vertex& v) {
    return {v.X, v.Y, v.Z};
}
Triple normal(const Vertex& v) {
    return {v.normalX, v.normalY, v.normalZ};
}
void place(Vertex& v, Triple p, Triple n = {}) {
    std::tie(v.X, v.Y, v.Z, v.normalX, v.normalY, v.normalZ) = std::tuple_cat(p, n);
}
std::array<std::uint64_t, 3> bits(const Position& values) {
    return std::bit_cast<std::array<std::uint64_t, 3>>(values);
}
std::array<std::uint32_t, 3> bits(const Triple& values) {
    return std::bit_cast<std::array<std::uint32_t, 3>>(values);
}
Position worldPosition(const SceneObject* r) {
    return r->absolutePosition();
}

// Rotate's formulas, evaluated in double and stored as floats; the component along the axis
// keeps its own bits.
Triple turned(int axis, Triple p, float angle) {
    const double c = std::cos(double{angle}), s = std::sin(double{angle});
    const double a = p[0], b = p[1], d = p[2];
    if (axis == Vertex::kAxisX) {
        return {p[0], static_cast<float>(b * c - d * s), static_cast<float>(b * s + d * c)};
    }
    if (axis == Vertex::kAxisY) {
        return {static_cast<float>(a * c + d * s), p[1], static_cast<float>(d * c - a * s)};
    }
    return {static_cast<float>(a * c - b * s), static_cast<float>(a * s + b * c), p[2]};
}

TEST(VertexRotate, TurnsThePositionOrTheNormalBitForBit) {
    // Quarter turns follow the right hand on each axis.
    const Triple from[3] = {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}};
    const Triple to[3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    for (int axis = 0; axis < 3; ++axis) {
        Vertex v(nullptr, 0);
        place(v, from[axis]);
        v.Rotate(axis, Vertex::kPosition, kQuarter);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(position(v)[i], to[axis][i], 1e-6f) << "axis " << axis;
        }
    }
    // Target 0 turns the position, any other the normal; the other triple keeps its bits.
    const Triple p = {-0.0f, 1e-30f, 12345.678f};
    const Triple n = {0.6f, -0.8f, 0.1f};
    for (int target : {0, 1, 2, -1}) {
        for (int axis = 0; axis < 3; ++axis) {
            Vertex v(nullptr, 0);
            place(v, p, n);
            v.textureU = 0.5f;
            v.Rotate(axis, target, -1.25f);
            const bool onNormal = target != Vertex::kPosition;
            EXPECT_EQ(bits(position(v)), bits(onNormal ? p : turned(axis, p, -1.25f)))
                << axis << "/" << target;
            EXPECT_EQ(bits(normal(v)), bits(onNormal ? turned(axis, n, -1.25f) : n))
                << axis << "/" << target;
            EXPECT_EQ(v.textureU, 0.5f);
        }
    }
}

TEST(VertexRotate, UnknownAxisIsReportedOncePerCallAndChangesNothing) {
    Vertex v(nullptr, 0);
    place(v, {1, 2, 3}, {4, 5, 6});
    for (int axis : {3, -1, 100}) {
        test::testPrompt().expectMessage("Error: Invalid Vertex::Rotate()",
                                         MessageIcon::Exclamation);
        v.Rotate(axis, axis == 3 ? Vertex::kPosition : Vertex::kNormal, 1.0f);
    }
    EXPECT_EQ(test::testPrompt().shown.size(), 3u);
    EXPECT_EQ(position(v), (Triple{1, 2, 3}));
    EXPECT_EQ(normal(v), (Triple{4, 5, 6}));
}

// SceneBuilder takes file coordinates, whose sign the scene turns; these take the values the
// scene holds.
Entity* entity(gen::SceneBuilder& build, Entity* parent, const char* name, Triple at,
               Triple turn = {}) {
    return build.addEntity(parent, name, {-at[0], -at[1], -at[2]}, {turn[0], turn[1], turn[2]});
}
Vertex* vertex(gen::SceneBuilder& build, SubEntity* s, Triple at) {
    build.addVertex(s, {-at[0], -at[1], -at[2]}, {0, 0, 0}, 0, 0);
    return s->vertices.back();
}

// The world position as the plain walk computes it: a temporary vertex turned by Rotate
// about Z, Y and X with each ancestor's angles, then moved by its position.
Position walkUp(Triple start, const Entity* e) {
    Vertex p(nullptr, 0);
    place(p, start);
    for (; e; e = e->parent) {
        p.Rotate(2, 0, e->rotateZ);
        p.Rotate(1, 0, e->rotateX);
        p.Rotate(0, 0, e->rotateY);
        p.X += e->positionX;
        p.Y += e->positionY;
        p.Z += e->positionZ;
    }
    return {p.X, p.Y, p.Z};
}

// Every record's world position by the walk, worked out before the scene computes them.
std::vector<std::pair<const SceneObject*, Position>> referencePositions(const Reader& r) {
    std::vector<std::pair<const SceneObject*, Position>> out;
    std::unordered_map<const SceneObject*, Position> owners;
    for (const Entity* e : r.entities) {
        out.emplace_back(e, owners[e] = walkUp({0, 0, 0}, e->parent));
    }
    for (const SubEntity* s : r.subEntities) {
        out.emplace_back(s, owners[s] = s->parent ? owners.at(s->parent) : Position{0, 0, 0});
    }
    for (const Face* f : r.faces) {
        out.emplace_back(f, f->parent ? owners.at(f->parent) : Position{0, 0, 0});
    }
    for (const Vertex* v : r.vertices) {
        out.emplace_back(
            v, v->subEntity ? walkUp(position(*v), v->subEntity->parent) : Position{0, 0, 0});
    }
    return out;
}

// Every absolutePosition against the walk, bit for bit; the first differences.
void expectPositions(const std::vector<std::pair<const SceneObject*, Position>>& expected) {
    int mismatches = 0;
    for (const auto& [record, position] : expected) {
        if (bits(worldPosition(record)) != bits(position) && ++mismatches <= 5) {
            ADD_FAILURE() << record->name() << " (kind " << record->kind()
                          << "): " << testing::PrintToString(worldPosition(record))
                          << " instead of " << testing::PrintToString(position);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(WorldPositions, AreBitIdenticalToTheStepByStepWalk) {
    const gen::GeneratorOptions options{
        .faces = 4000, .groups = 60, .depth = 6, .subEntities = 3, .seed = 7};
    const std::unique_ptr<Reader> reader = gen::ModelGenerator::generate(options, "/x/GEN.Y4P");
    Reader& r = *reader;
    ASSERT_GE(std::ranges::max(r.entities, {}, &Entity::level)->level, 5);
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> angle(-4.0f, 4.0f);
    std::uniform_real_distribution<float> offset(-50.0f, 50.0f);
    auto scramble = [&] {
        for (Entity* e : r.entities) {
            std::tie(e->rotateX, e->rotateY, e->rotateZ) =
                std::tuple{angle(random), angle(random), angle(random)};
            std::tie(e->positionX, e->positionY, e->positionZ) =
                std::tuple{offset(random), offset(random), offset(random)};
        }
    };
    scramble();

    // Records the loaders can leave: a sub-entity without entity with vertices and a face, and
    // a face and vertices without owner. The vertices of the sub-entity keep their own
    // position; the rest, in no frame at all, are at the origin.
    auto* orphan = r.create<SubEntity>(nullptr, 0);
    r.subEntities.push_back(orphan);
    for (int k = 0; k < 3; ++k) {
        auto* v = r.create<Vertex>(nullptr, k);
        v->subEntity = orphan;
        place(*v, {offset(random), offset(random), offset(random)});
        orphan->vertices.push_back(v);
        r.vertices.push_back(v);
        auto* loose = r.create<Vertex>(nullptr, 10 + k);
        loose->X = 1;
        r.vertices.push_back(loose);
    }
    auto* orphanFace = r.create<Face>(orphan, 0);
    orphan->faces.push_back(orphanFace);
    r.faces.push_back(orphanFace);
    auto* looseFace = r.create<Face>(nullptr, 1);
    r.faces.push_back(looseFace);

    // Vertices of different sub-entities interleaved, entities in any order.
    std::shuffle(r.vertices.span().begin(), r.vertices.span().end(), random);
    std::shuffle(r.entities.span().begin() + 1, r.entities.span().end(), random);
    auto expected = referencePositions(r);
    r.computeWorldPositions();
    expectPositions(expected);
    EXPECT_EQ(orphanFace->absolutePosition(), (Position{0, 0, 0}));
    EXPECT_EQ(looseFace->absolutePosition(), (Position{0, 0, 0}));
    EXPECT_EQ(orphan->vertices.front()->absolutePosition(),
              (Position{orphan->vertices.front()->X, orphan->vertices.front()->Y,
                        orphan->vertices.front()->Z}));

    // A second pass after every angle and position changed sees the new values.
    scramble();
    expected = referencePositions(r);
    r.computeWorldPositions();
    expectPositions(expected);

    // Entities without a turn (+0 or -0 angles) over coordinates that are zeros of either sign,
    // where a turn by nothing can still flip the sign of a zero; and an infinite coordinate.
    const float values[] = {0.0f, -0.0f, 1.5f, -2.0f};
    auto pick = [&] { return values[random() % 4]; };
    for (Entity* e : r.entities) {
        if (random() % 2) {
            e->rotateX = e->rotateY = e->rotateZ = random() % 3 ? 0.0f : -0.0f;
        }
        std::tie(e->positionX, e->positionY, e->positionZ) = std::tuple{pick(), pick(), pick()};
    }
    for (Vertex* v : r.vertices) {
        std::tie(v->X, v->Y, v->Z) = std::tuple{pick(), pick(), pick()};
    }
    r.vertices.front()->Y = std::numeric_limits<float>::infinity();
    expected = referencePositions(r);
    r.computeWorldPositions();
    expectPositions(expected);
}

TEST(ScaleSelected, ScalesOnlyLiveSelectedPositions) {
    Reader r(nullptr, "/x/GEOMETRY.Y4P", Reader::NewModel{});
    gen::SceneBuilder build(r);
    Entity* root = entity(build, nullptr, "Root", {1, 2, 3});
    Entity* picked = entity(build, root, "Picked", {4, 5, 6});
    Entity* gone = entity(build, root, "Gone", {7, 8, 9});
    SubEntity* s = build.addSubEntity(picked, 0);
    for (float k : {1, 2, 3}) {
        build.addVertex(s, {-k, -k, -k}, {0.5f, 0, 0}, 0.25f, 0);
    }
    build.addFace(s, 0, 1, 2);
    Vertex* const* v = s->vertices.span().data();

    // Nothing selected: nothing changes.
    const std::string before = test::SceneDump::text(r);
    r.scaleSelected(2, 1, 1);
    EXPECT_EQ(test::SceneDump::text(r), before);

    // Deleted records are not scaled, nor what is not selected, nor normals and texture.
    picked->selected = gone->selected = gone->deleted = 1;
    v[0]->selected = v[1]->selected = v[1]->deleted = 1;
    const std::string marked = test::SceneDump::text(r);
    r.scaleSelected(2, 3, -0.5f);
    EXPECT_EQ(position(*v[0]), (Triple{2, 3, -0.5f}));
    EXPECT_EQ((Triple{picked->positionX, picked->positionY, picked->positionZ}),
              (Triple{8, 15, -3}));
    place(*v[0], {1, 1, 1}, normal(*v[0]));
    std::tie(picked->positionX, picked->positionY, picked->positionZ) = std::tuple(4, 5, 6);
    EXPECT_EQ(test::SceneDump::text(r), marked);
}

// Turning the sign of a scene built from file coordinates gives the scene built from the
// coordinates with the other sign: positions and normals turn, nothing else does.
TEST(NegateCoordinates, TurnsPositionsAndNormalsOnly) {
    Reader turned(nullptr, "/x/SIGN.Y4P", Reader::NewModel{});
    Reader expected(nullptr, "/x/SIGN.Y4P", Reader::NewModel{});
    for (auto [r, sign] : {std::pair{&turned, 1.0f}, std::pair{&expected, -1.0f}}) {
        gen::SceneBuilder build(*r);
        Entity* root =
            build.addEntity(nullptr, "Root", {sign, -2 * sign, 3 * sign}, {0.5f, 0.25f, 0.125f});
        build.addVertex(build.addSubEntity(root, 0), {4 * sign, -5 * sign, 6 * sign},
                        {0.5f * sign, -0.25f * sign, sign}, 0.75f, 0.5f);
    }
    turned.negateCoordinates();
    EXPECT_EQ(test::SceneDump::text(turned), test::SceneDump::text(expected));
}

TEST(VertexDisplay, NeedsEverySwitchUpTheChain) {
    Reader r(nullptr, "/x/GEOMETRY.Y4P", Reader::NewModel{});
    gen::SceneBuilder build(r);
    Entity* grand = build.addEntity(nullptr, "Grand");
    Entity* parent = build.addEntity(grand, "Parent");
    Entity* own = build.addEntity(parent, "Own");
    SubEntity* s = build.addSubEntity(own, 0);
    Vertex* v = vertex(build, s, {0, 0, 0});
    Face* f = build.addFace(s, 0, 0, 0);
    Vertex loose(nullptr, 0);
    EXPECT_TRUE(v->isDisplayed());
    EXPECT_TRUE(loose.isDisplayed());
    f->displayed = 0;  // the faces that use the vertex play no part
    EXPECT_TRUE(v->isDisplayed());
    for (SceneObject* off : std::initializer_list<SceneObject*>{grand, parent, own, s, v}) {
        off->displayed = 0;
        EXPECT_FALSE(v->isDisplayed()) << off->name();
        off->displayed = 1;
    }
    loose.displayed = 0;
    EXPECT_FALSE(loose.isDisplayed());
}

}  // namespace
}  // namespace y4
