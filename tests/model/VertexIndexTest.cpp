// The vertex index answers every lookup as findMatchingVertex does, on values crowded around
// the tolerance and the cell borders, with infinities, NaNs, huge values and negative zero,
// while the list grows between lookups.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "model/RecordLookup.h"
#include "model/Vertex.h"
#include "model/VertexIndex.h"

namespace y4 {
namespace {

class Values {
public:
    explicit Values(std::uint32_t seed) : random_(seed) {}

    float next() {
        static const float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(),
                                         std::numeric_limits<float>::infinity(),
                                         -std::numeric_limits<float>::infinity(),
                                         -0.0f,
                                         1e20f,
                                         -3e38f,
                                         1099511627776.0f,
                                         1099511627776.0f * (1 - 1.0f / (1 << 23))};
        static const double kOffsets[] = {0,       0.0004999, -0.0004999, 0.0005,  -0.0005,
                                          0.00051, -0.00051,  1e-7,       0.00025, 1.0 / 256};
        if (pick(40) == 0) {
            return kSpecial[pick(std::size(kSpecial))];
        }
        // A few grid points close together, near cell borders, and small offsets from them.
        const double base =
            (static_cast<double>(pick(6)) - 2.0) / 256.0 + static_cast<double>(pick(3)) * 0.001;
        return static_cast<float>(base + kOffsets[pick(std::size(kOffsets))]);
    }
    std::size_t pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }

private:
    std::mt19937 random_;
};

int linearFind(const Vertex& v, const std::vector<Vertex*>& list) {
    const Vertex* found = findMatchingVertex(v, list);
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k] == found) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

TEST(VertexIndex, FindsWhatFindMatchingVertexFinds) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        Values values(seed);
        std::vector<std::unique_ptr<Vertex>> owned;
        auto make = [&]() {
            auto v = std::make_unique<Vertex>(nullptr, 0);
            for (float* field : {&v->X, &v->Y, &v->Z, &v->textureU, &v->textureV}) {
                *field = values.pick(3) == 0 ? 0.0f : values.next();
            }
            v->normalX = values.next();
            owned.push_back(std::move(v));
            return owned.back().get();
        };
        std::vector<Vertex*> list;
        for (int k = 0; k < 50; ++k) {
            list.push_back(make());
        }
        VertexIndex index(list);
        int matches = 0;
        for (int k = 0; k < 3000; ++k) {
            Vertex* probe = values.pick(2) ? make() : list[values.pick(list.size())];
            const int expected = linearFind(*probe, list);
            ASSERT_EQ(index.find(*probe), expected) << "seed " << seed << " lookup " << k;
            matches += expected >= 0;
            if (values.pick(3) == 0) {
                list.push_back(make());
                index.add(list.back());
            }
        }
        // Both answers occur often: the test is not decided by one of them.
        EXPECT_GT(matches, 600);
        EXPECT_LT(matches, 2700);
    }
}

}  // namespace
}  // namespace y4
