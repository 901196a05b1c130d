// FrameCheck: pixel checks on frames read back from GL, to a small tolerance (a software
// renderer may round differently between versions). A failing check saves the frame as a PNG
// beside the test log and names the file in the failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "files/RGBImage.h"

namespace y4::test {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A colour given as floats from 0 to 1, as the frame stores it.
Rgb rgbOf(float r, float g, float b);
// The pixel at (x, y), counted from the lower left as GL does.
Rgb pixelAt(const RGBImage& frame, int x, int y);

// A rectangle of pixels from (x0, y0) up to, not including, (x1, y1).
struct Region {
    int x0, y0, x1, y1;
};

// Every pixel of the region is `expected` within `tolerance` on each channel.
testing::AssertionResult regionIs(const RGBImage& frame, Region region, Rgb expected,
                                  int tolerance = 3);
// No pixel of the region is `colour` within `tolerance`.
testing::AssertionResult regionLacks(const RGBImage& frame, Region region, Rgb colour,
                                     int tolerance = 3);
// Some pixel of the region is `colour` within `tolerance`.
testing::AssertionResult regionHas(const RGBImage& frame, Region region, Rgb colour,
                                   int tolerance = 3);
// The frames have the same size, and at most `allowedPixels` pixels differ by more than
// `tolerance` on some channel. On failure both are saved.
testing::AssertionResult framesMatch(const RGBImage& actual, const RGBImage& expected,
                                     int tolerance = 3, int allowedPixels = 0);
// Saves the frame as "<test>_<what>.png" beside the test log; returns the path.
std::string saveFrame(const RGBImage& frame, const std::string& what);

}  // namespace y4::test
