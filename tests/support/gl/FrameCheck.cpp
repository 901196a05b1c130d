// Pixel checks and the frames saved when they fail.
#include "FrameCheck.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "view/PngFile.h"

namespace y4::test {

namespace {

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

std::string text(const Rgb& c) {
    std::ostringstream out;
    out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
    return out.str();
}

bool inside(const RGBImage& frame, int x, int y) {
    return x >= 0 && y >= 0 && x < frame.sizeX && y < frame.sizeY;
}

}  // namespace

Rgb rgbOf(float r, float g, float b) {
    const auto byte = [](float v) { return static_cast<int>(std::lround(v * 255.0f)); };
    return {byte(r), byte(g), byte(b)};
}

Rgb pixelAt(const RGBImage& frame, int x, int y) {
    if (!inside(frame, x, y)) {
        return {-1, -1, -1};
    }
    const std::size_t at = (static_cast<std::size_t>(y) * frame.sizeX + x) * 3;
    return {frame.data[at], frame.data[at + 1], frame.data[at + 2]};
}

std::string saveFrame(const RGBImage& frame, const std::string& what) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "frame";
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    const std::filesystem::path folder = Y4_FAILED_FRAMES_DIR;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (folder / (name + "_" + what + ".png")).string();
    try {
        PngFile::write(path, frame);
    } catch (const std::exception& e) {
        return std::string("(not saved: ") + e.what() + ")";
    }
    return path;
}

testing::AssertionResult regionIs(const RGBImage& frame, Region region, Rgb expected,
                                  int tolerance) {
    for (int y = region.y0; y < region.y1; ++y) {
        for (int x = region.x0; x < region.x1; ++x) {
            const Rgb actual = pixelAt(frame, x, y);
            if (!near(actual, expected, tolerance)) {
                return testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << text(actual) << ", expected "
                       << text(expected) << "; frame saved as " << saveFrame(frame, "frame");
            }
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult regionLacks(const RGBImage& frame, Region region, Rgb colour,
                                     int tolerance) {
    for (int y = region.y0; y < region.y1; ++y) {
        for (int x = region.x0; x < region.x1; ++x) {
            if (!inside(frame, x, y) || near(pixelAt(frame, x, y), colour, tolerance)) {
                return testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << text(colour)
                       << " or outside the frame; frame saved as " << saveFrame(frame, "frame");
            }
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult regionHas(const RGBImage& frame, Region region, Rgb colour,
                                   int tolerance) {
    for (int y = region.y0; y < region.y1; ++y) {
        for (int x = region.x0; x < region.x1; ++x) {
            if (near(pixelAt(frame, x, y), colour, tolerance)) {
                return testing::AssertionSuccess();
            }
        }
    }
    return testing::AssertionFailure()
           << "no pixel of (" << region.x0 << ", " << region.y0 << ") to (" << region.x1 << ", "
           << region.y1 << ") is " << text(colour) << "; frame saved as "
           << saveFrame(frame, "frame");
}

testing::AssertionResult framesMatch(const RGBImage& actual, const RGBImage& expected,
                                     int tolerance, int allowedPixels) {
    if (actual.sizeX != expected.sizeX || actual.sizeY != expected.sizeY) {
        return testing::AssertionFailure()
               << "frame of " << actual.sizeX << " x " << actual.sizeY << ", expected "
               << expected.sizeX << " x " << expected.sizeY;
    }
    int different = 0;
    std::string first;
    for (int y = 0; y < actual.sizeY; ++y) {
        for (int x = 0; x < actual.sizeX; ++x) {
            const Rgb a = pixelAt(actual, x, y);
            const Rgb e = pixelAt(expected, x, y);
            if (!near(a, e, tolerance) && different++ == 0) {
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " + text(a) +
                        ", expected " + text(e);
            }
        }
    }
    if (different <= allowedPixels) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << different << " pixels differ, first " << first << "; frames saved as "
           << saveFrame(actual, "actual") << " and " << saveFrame(expected, "expected");
}

}  // namespace y4::test
