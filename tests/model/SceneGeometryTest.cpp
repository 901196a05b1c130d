// Geometry on the scene records: quarter turns and the sign conventions of Vertex::Rotate,
// world positions through the entity chain (bit for bit the step-by-step walk), scaling of the
// selection and the visibility of a vertex.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "ModelGenerator.h"
#include "SceneBuilder.h"
#include "files/Reader.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

constexpr float kQuarter = std::numbers::pi_v<float> / 2;

std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}
std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

void place(Vertex& v, float x, float y, float z) {
    v.X = x;
    v.Y = y;
    v.Z = z;
}

void expectNear(const Vertex& v, float x, float y, float z) {
    EXPECT_NEAR(v.X, x, 1e-6f);
    EXPECT_NEAR(v.Y, y, 1e-6f);
    EXPECT_NEAR(v.Z, z, 1e-6f);
}

TEST(VertexRotate, QuarterTurnsFollowTheRightHandOnEachAxis) {
    Vertex v(nullptr, 0);
    place(v, 1, 0, 0);
    v.Rotate(Vertex::kAxisZ, Vertex::kPosition, kQuarter);
    expectNear(v, 0, 1, 0);
    place(v, 0, 1, 0);
    v.Rotate(Vertex::kAxisX, Vertex::kPosition, kQuarter);
    expectNear(v, 0, 0, 1);
    place(v, 0, 0, 1);
    v.Rotate(Vertex::kAxisY, Vertex::kPosition, kQuarter);
    expectNear(v, 1, 0, 0);

    // The formulas, evaluated in double and stored as floats, bit for bit; the component along
    // the axis keeps its own bits.
    const float a = 0.3f, b = -1.7f, d = 2.25f;
    const float angle = 0.8125f;
    const double c = std::cos(double{angle}), s = std::sin(double{angle});
    struct Case {
        int axis;
        float x, y, z;
    };
    const Case cases[] = {
        {0, a, static_cast<float>(b * c - d * s), static_cast<float>(b * s + d * c)},
        {1, static_cast<float>(a * c + d * s), b, static_cast<float>(d * c - a * s)},
        {2, static_cast<float>(a * c - b * s), static_cast<float>(a * s + b * c), d},
    };
    for (const Case& expected : cases) {
        place(v, a, b, d);
        v.Rotate(expected.axis, Vertex::kPosition, angle);
        EXPECT_EQ(bits(v.X), bits(expected.x)) << "axis " << expected.axis;
        EXPECT_EQ(bits(v.Y), bits(expected.y)) << "axis " << expected.axis;
        EXPECT_EQ(bits(v.Z), bits(expected.z)) << "axis " << expected.axis;
    }
}

TEST(VertexRotate, OtherTargetsTurnOnlyTheNormal) {
    const float angle = -1.25f;
    const double c = std::cos(double{angle}), s = std::sin(double{angle});
    const float a = 0.6f, b = -0.8f, d = 0.1f;
    for (int target : {1, 2, -1}) {
        for (int axis = 0; axis < 3; ++axis) {
            Vertex v(nullptr, 0);
            place(v, -0.0f, 1e-30f, 12345.678f);
            v.normalX = a;
            v.normalY = b;
            v.normalZ = d;
            v.textureU = 0.5f;
            v.Rotate(axis, target, angle);
            EXPECT_EQ(bits(v.X), bits(-0.0f));
            EXPECT_EQ(bits(v.Y), bits(1e-30f));
            EXPECT_EQ(bits(v.Z), bits(12345.678f));
            EXPECT_EQ(v.textureU, 0.5f);
            const float expected[3][3] = {
                {a, static_cast<float>(b * c - d * s), static_cast<float>(b * s + d * c)},
                {static_cast<float>(a * c + d * s), b, static_cast<float>(d * c - a * s)},
                {static_cast<float>(a * c - b * s), static_cast<float>(a * s + b * c), d},
            };
            EXPECT_EQ(bits(v.normalX), bits(expected[axis][0])) << axis << "/" << target;
            EXPECT_EQ(bits(v.normalY), bits(expected[axis][1])) << axis << "/" << target;
            EXPECT_EQ(bits(v.normalZ), bits(expected[axis][2])) << axis << "/" << target;
        }
    }
}

TEST(VertexRotate, UnknownAxisIsReportedOncePerCallAndChangesNothing) {
    Vertex v(nullptr, 0);
    place(v, 1, 2, 3);
    v.normalX = 4;
    v.normalY = 5;
    v.normalZ = 6;
    for (int axis : {3, -1, 100}) {
        test::testPrompt().expectMessage("Error: Invalid Vertex::Rotate()",
                                         MessageIcon::Exclamation);
        v.Rotate(axis, axis == 3 ? Vertex::kPosition : Vertex::kNormal, 1.0f);
    }
    EXPECT_EQ(test::testPrompt().shown.size(), 3u);
    EXPECT_EQ(v.X, 1);
    EXPECT_EQ(v.Y, 2);
    EXPECT_EQ(v.Z, 3);
    EXPECT_EQ(v.normalX, 4);
    EXPECT_EQ(v.normalY, 5);
    EXPECT_EQ(v.normalZ, 6);
}

// A scene built record by record; SceneBuilder takes file coordinates, so the tests set the
// memory values they mean directly.
struct Built {
    std::unique_ptr<Reader> reader =
        std::make_unique<Reader>(nullptr, "/x/GEOMETRY.Y4P", Reader::NewModel{});
    gen::SceneBuilder build{*reader};

    Entity* entity(Entity* parent, const char* name, float x, float y, float z, float rx = 0,
                   float ry = 0, float rz = 0) {
        Entity* e = build.addEntity(parent, name);
        e->positionX = x;
        e->positionY = y;
        e->positionZ = z;
        e->rotateX = rx;
        e->rotateY = ry;
        e->rotateZ = rz;
        return e;
    }
    Vertex* vertex(SubEntity* s, float x, float y, float z) {
        const int k = build.addVertex(s, {0, 0, 0}, {0, 0, 0}, 0, 0);
        Vertex* v = s->vertices[static_cast<std::size_t>(k)];
        v->X = x;
        v->Y = y;
        v->Z = z;
        return v;
    }
};

TEST(WorldPositions, EntitiesShowTheirParentFrameAndVerticesTheirOwn) {
    Built m;
    Entity* top = m.entity(nullptr, "Top", 7, 8, 9, 0.5f, 0.25f, 1);
    Entity* child = m.entity(top, "Child", 0, 0, 0);
    Entity* spinner = m.entity(nullptr, "Spinner", 0, 0, 5, 0, 0, kQuarter);
    SubEntity* childMesh = m.build.addSubEntity(child, 0);
    SubEntity* spinMesh = m.build.addSubEntity(spinner, 0);
    Vertex* tip = m.vertex(spinMesh, 1, 0, 0);
    m.vertex(spinMesh, 0, 0, 0);
    m.vertex(spinMesh, 0, 0, 1);
    Face* spinFace = m.build.addFace(spinMesh, 0, 1, 2);
    Vertex* childCorner = m.vertex(childMesh, 0, 0, 0);

    // Without rotation: the child of an entity at (1, 2, 3) sits at (1, 2, 3).
    top->positionX = 1;
    top->positionY = 2;
    top->positionZ = 3;
    top->rotateX = top->rotateY = top->rotateZ = 0;
    m.reader->computeWorldPositions();
    for (const Entity* e : {top, spinner}) {
        EXPECT_EQ(e->absolutePosition[0], 0.0);
        EXPECT_EQ(e->absolutePosition[1], 0.0);
        EXPECT_EQ(e->absolutePosition[2], 0.0);
    }
    EXPECT_EQ(child->absolutePosition[0], 1.0);
    EXPECT_EQ(child->absolutePosition[1], 2.0);
    EXPECT_EQ(child->absolutePosition[2], 3.0);
    // Sub-entities and faces copy their owner's value.
    EXPECT_EQ(childMesh->absolutePosition[2], 3.0);
    EXPECT_EQ(childCorner->absolutePosition[0], 1.0);
    // A vertex goes through its own entity's frame too: turned a quarter about Z, then lifted.
    EXPECT_NEAR(tip->absolutePosition[0], 0.0, 1e-6);
    EXPECT_NEAR(tip->absolutePosition[1], 1.0, 1e-6);
    EXPECT_NEAR(tip->absolutePosition[2], 5.0, 1e-6);
    EXPECT_EQ(spinFace->absolutePosition[2], spinMesh->absolutePosition[2]);

    // Records without owners: a loose vertex keeps its value, a vertex of an orphan sub-entity
    // gets its own position, and an orphan sub-entity or face keeps its value.
    auto* orphan = m.reader->create<SubEntity>(nullptr, 9);
    m.reader->subEntities.push_back(orphan);
    auto* orphanVertex = m.reader->create<Vertex>(nullptr, 0);
    m.reader->vertices.push_back(orphanVertex);
    orphanVertex->subEntity = orphan;
    orphanVertex->X = 4;
    orphanVertex->Y = -5;
    orphanVertex->Z = 6;
    auto* loose = m.reader->create<Vertex>(nullptr, 1);
    m.reader->vertices.push_back(loose);
    auto* looseFace = m.reader->create<Face>(nullptr, 0);
    m.reader->faces.push_back(looseFace);
    for (SceneObject* r : {static_cast<SceneObject*>(orphan), static_cast<SceneObject*>(loose),
                           static_cast<SceneObject*>(looseFace)}) {
        std::fill_n(r->absolutePosition, 3, 42.5);
    }
    m.reader->computeWorldPositions();
    EXPECT_EQ(orphanVertex->absolutePosition[0], 4.0);
    EXPECT_EQ(orphanVertex->absolutePosition[1], -5.0);
    EXPECT_EQ(orphanVertex->absolutePosition[2], 6.0);
    for (const SceneObject* r :
         {static_cast<SceneObject*>(orphan), static_cast<SceneObject*>(loose),
          static_cast<SceneObject*>(looseFace)}) {
        EXPECT_EQ(r->absolutePosition[0], 42.5);
        EXPECT_EQ(r->absolutePosition[2], 42.5);
    }
}

// The world position as the described walk computes it: a temporary vertex turned by Rotate
// about Z, Y and X with each ancestor's angles, then moved by its position.
void walkUp(Vertex& p, const Entity* e) {
    for (; e; e = e->parent) {
        p.Rotate(2, 0, e->rotateZ);
        p.Rotate(1, 0, e->rotateX);
        p.Rotate(0, 0, e->rotateY);
        p.X += e->positionX;
        p.Y += e->positionY;
        p.Z += e->positionZ;
    }
}

struct Expected {
    const SceneObject* record;
    double position[3];
};

std::vector<Expected> referencePositions(const Reader& r) {
    std::vector<Expected> out;
    auto add = [&](const SceneObject* record, const double* position) {
        out.push_back({record, {position[0], position[1], position[2]}});
    };
    auto addPoint = [&](const SceneObject* record, const Vertex& p) {
        const double position[3] = {p.X, p.Y, p.Z};
        add(record, position);
    };
    std::unordered_map<const SceneObject*, const double*> entityPositions;
    std::vector<std::array<double, 3>> store;
    store.reserve(r.entities.size() + r.subEntities.size());
    for (const Entity* e : r.entities) {
        Vertex p(nullptr, 0);
        walkUp(p, e->parent);
        store.push_back({p.X, p.Y, p.Z});
        entityPositions[e] = store.back().data();
        addPoint(e, p);
    }
    std::unordered_map<const SceneObject*, const double*> subPositions;
    for (const SubEntity* s : r.subEntities) {
        const double* position = s->parent ? entityPositions.at(s->parent) : s->absolutePosition;
        store.push_back({position[0], position[1], position[2]});
        subPositions[s] = store.back().data();
        add(s, position);
    }
    for (const Face* f : r.faces) {
        add(f, f->parent ? subPositions.at(f->parent) : f->absolutePosition);
    }
    for (const Vertex* v : r.vertices) {
        if (!v->subEntity) {
            add(v, v->absolutePosition);
            continue;
        }
        Vertex p(nullptr, 0);
        p.X = v->X;
        p.Y = v->Y;
        p.Z = v->Z;
        walkUp(p, v->subEntity->parent);
        addPoint(v, p);
    }
    return out;
}

// Every absolutePosition against the walk worked out before, bit for bit; the first differences.
void expectPositions(const std::vector<Expected>& expected) {
    int mismatches = 0;
    for (const Expected& e : expected) {
        for (int i = 0; i < 3; ++i) {
            if (bits(e.record->absolutePosition[i]) != bits(e.position[i]) && ++mismatches <= 5) {
                ADD_FAILURE() << e.record->name() << " (kind " << e.record->kind() << ") axis " << i
                              << ": " << e.record->absolutePosition[i] << " instead of "
                              << e.position[i];
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(WorldPositions, AreBitIdenticalToTheStepByStepWalk) {
    gen::GeneratorOptions options;
    options.faces = 4000;
    options.groups = 60;
    options.depth = 6;
    options.subEntities = 3;
    options.seed = 7;
    const std::unique_ptr<Reader> reader = gen::ModelGenerator::generate(options, "/x/GEN.Y4P");
    Reader& r = *reader;
    int deepest = 0;
    for (const Entity* e : r.entities) {
        deepest = std::max(deepest, e->level);
    }
    ASSERT_GE(deepest, 5);
    ASSERT_GE(r.faces.size(), 4000u);

    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> angle(-4.0f, 4.0f);
    std::uniform_real_distribution<float> offset(-50.0f, 50.0f);
    auto scramble = [&] {
        for (Entity* e : r.entities) {
            e->rotateX = angle(random);
            e->rotateY = angle(random);
            e->rotateZ = angle(random);
            e->positionX = offset(random);
            e->positionY = offset(random);
            e->positionZ = offset(random);
        }
    };
    scramble();

    // Records the loaders can leave: a sub-entity without entity with vertices and a face, and
    // vertices without sub-entity. Their stale values must survive where the walk keeps them.
    auto* orphan = r.create<SubEntity>(nullptr, 0);
    r.subEntities.push_back(orphan);
    std::fill_n(orphan->absolutePosition, 3, -3.5);
    for (int k = 0; k < 3; ++k) {
        auto* v = r.create<Vertex>(nullptr, k);
        v->subEntity = orphan;
        v->X = offset(random);
        v->Y = offset(random);
        v->Z = offset(random);
        orphan->vertices.push_back(v);
        r.vertices.push_back(v);
        auto* loose = r.create<Vertex>(nullptr, 10 + k);
        loose->X = 1;
        std::fill_n(loose->absolutePosition, 3, 17.25 + k);
        r.vertices.push_back(loose);
    }
    auto* orphanFace = r.create<Face>(orphan, 0);
    orphan->faces.push_back(orphanFace);
    r.faces.push_back(orphanFace);
    auto* looseFace = r.create<Face>(nullptr, 1);
    std::fill_n(looseFace->absolutePosition, 3, 8.0);
    r.faces.push_back(looseFace);

    // Vertices of different sub-entities interleaved, entities in any order.
    std::shuffle(r.vertices.begin(), r.vertices.end(), random);
    std::shuffle(r.entities.begin() + 1, r.entities.end(), random);
    std::vector<Expected> expected = referencePositions(r);
    r.computeWorldPositions();
    expectPositions(expected);
    EXPECT_EQ(orphanFace->absolutePosition[1], -3.5);
    EXPECT_EQ(looseFace->absolutePosition[1], 8.0);

    // A second pass after every angle and position changed sees the new values.
    scramble();
    expected = referencePositions(r);
    r.computeWorldPositions();
    expectPositions(expected);
}

TEST(ScaleSelected, ScalesOnlyLiveSelectedPositions) {
    Built m;
    Entity* root = m.entity(nullptr, "Root", 1, 2, 3);
    Entity* picked = m.entity(root, "Picked", 4, 5, 6);
    Entity* gone = m.entity(root, "Gone", 7, 8, 9);
    SubEntity* s = m.build.addSubEntity(picked, 0);
    Vertex* v[3] = {m.vertex(s, 1, 1, 1), m.vertex(s, 2, 2, 2), m.vertex(s, 3, 3, 3)};
    m.build.addFace(s, 0, 1, 2);
    for (Vertex* x : v) {
        x->normalX = 0.5f;
        x->textureU = 0.25f;
    }

    // Nothing selected: nothing changes.
    const std::string before = test::SceneDump::text(*m.reader);
    m.reader->scaleSelected(2, 1, 1);
    EXPECT_EQ(test::SceneDump::text(*m.reader), before);

    picked->selected = 1;
    gone->selected = 1;
    gone->deleted = 1;
    v[0]->selected = 1;
    v[1]->selected = 1;
    v[1]->deleted = 1;
    m.reader->scaleSelected(2, 3, -0.5f);
    EXPECT_EQ(root->positionX, 1);
    EXPECT_EQ(picked->positionX, 8);
    EXPECT_EQ(picked->positionY, 15);
    EXPECT_EQ(picked->positionZ, -3);
    EXPECT_EQ(gone->positionX, 7);
    EXPECT_EQ(gone->positionZ, 9);
    EXPECT_EQ(v[0]->X, 2);
    EXPECT_EQ(v[0]->Y, 3);
    EXPECT_EQ(v[0]->Z, -0.5f);
    EXPECT_EQ(v[0]->normalX, 0.5f);
    EXPECT_EQ(v[0]->textureU, 0.25f);
    EXPECT_EQ(v[1]->X, 2);
    EXPECT_EQ(v[2]->X, 3);
}

TEST(NegateCoordinates, TurnsPositionsAndNormalsOnly) {
    Built m;
    Entity* root = m.entity(nullptr, "Root", 1, -2, 3, 0.5f, 0.25f, 0.125f);
    SubEntity* s = m.build.addSubEntity(root, 0);
    Vertex* v = m.vertex(s, 4, -5, 6);
    v->normalX = 0.5f;
    v->normalY = -0.25f;
    v->normalZ = 1;
    v->textureU = 0.75f;
    v->textureV = 0.5f;
    m.reader->negateCoordinates();
    EXPECT_EQ(root->positionX, -1);
    EXPECT_EQ(root->positionY, 2);
    EXPECT_EQ(root->positionZ, -3);
    EXPECT_EQ(root->rotateX, 0.5f);
    EXPECT_EQ(root->rotateZ, 0.125f);
    EXPECT_EQ(v->X, -4);
    EXPECT_EQ(v->Y, 5);
    EXPECT_EQ(v->Z, -6);
    EXPECT_EQ(v->normalX, -0.5f);
    EXPECT_EQ(v->normalY, 0.25f);
    EXPECT_EQ(v->normalZ, -1);
    EXPECT_EQ(v->textureU, 0.75f);
    EXPECT_EQ(v->textureV, 0.5f);
}

TEST(VertexDisplay, NeedsEverySwitchUpTheChain) {
    Built m;
    Entity* grand = m.entity(nullptr, "Grand", 0, 0, 0);
    Entity* parent = m.entity(grand, "Parent", 0, 0, 0);
    Entity* own = m.entity(parent, "Own", 0, 0, 0);
    SubEntity* s = m.build.addSubEntity(own, 0);
    Vertex* v = m.vertex(s, 0, 0, 0);
    m.vertex(s, 1, 0, 0);
    m.vertex(s, 0, 1, 0);
    Face* f = m.build.addFace(s, 0, 1, 2);
    Vertex loose(nullptr, 0);

    EXPECT_TRUE(v->isDisplayed());
    EXPECT_TRUE(loose.isDisplayed());
    // The faces that use the vertex play no part.
    f->displayed = 0;
    EXPECT_TRUE(v->isDisplayed());
    grand->displayed = 0;
    EXPECT_FALSE(v->isDisplayed());
    grand->displayed = 1;
    parent->displayed = 0;
    EXPECT_FALSE(v->isDisplayed());
    parent->displayed = 1;
    s->displayed = 0;
    EXPECT_FALSE(v->isDisplayed());
    s->displayed = 1;
    v->displayed = 0;
    EXPECT_FALSE(v->isDisplayed());
    loose.displayed = 0;
    EXPECT_FALSE(loose.isDisplayed());
}

}  // namespace
}  // namespace y4
