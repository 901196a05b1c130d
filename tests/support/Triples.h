// Triples: expectations on the three coordinates the records give as arrays.
#pragma once

#include <gtest/gtest.h>

#include "model/SceneObject.h"

namespace y4::test {

inline void expectTriple(const Triple& actual, float x, float y, float z) {
    EXPECT_FLOAT_EQ(actual[0], x);
    EXPECT_FLOAT_EQ(actual[1], y);
    EXPECT_FLOAT_EQ(actual[2], z);
}

// World positions, which pass through sines and cosines, to a tolerance.
inline void expectNear(const Position& actual, double x, double y, double z, double within = 1e-5) {
    EXPECT_NEAR(actual[0], x, within);
    EXPECT_NEAR(actual[1], y, within);
    EXPECT_NEAR(actual[2], z, within);
}

}  // namespace y4::test
