// Textured mode: the texels of a bitmap written by the test appear on the face with v flipped,
// the colour key shows the background through, and faces without a usable bitmap draw
// untextured.
#include <cmath>

#include "BitmapWriter.h"
#include "files/Writer.h"
#include "support/TempDir.h"
#include "support/gl/GLTest.h"

namespace y4 {
namespace {

using gen::Point;
using test::Rgb;
using test::TestModel;

constexpr int kTexels = 4;
// The quad spans file x and y from -kHalf to kHalf; u runs with x, v with y.
constexpr float kHalf = 3.5f;

// Texel (column i, row j counted from the bottom of the picture); two of them are the colour
// key and its near miss.
gen::Rgb texel(int i, int j) {
    if (i == 0 && j == 0) {
        return {255, 0, 255};
    }
    if (i == 1 && j == 0) {
        return {254, 0, 255};
    }
    return {static_cast<std::uint8_t>(40 + 50 * i), static_cast<std::uint8_t>(30 + 60 * j), 100};
}

class TexturedDrawingTest : public test::GLTest {
protected:
    void SetUp() override {
        // White faces: the texture shows as it is.
        display.solidR = display.solidG = display.solidB = 1.0f;
        GLTest::SetUp();
        lookAlongZ(10);
    }

    // Writes QUAD.Y4P (one sub-entity, one quad of two faces, drawn with bitmap `bitmapIndex`)
    // and CHECK.BMP beside it, and loads it as the editor does.
    std::unique_ptr<TestModel> writeAndLoad(int bitmapIndex) {
        {
            TestModel scratch(display);
            Reader& r = *scratch.reader;
            r.fileName = dir_.file("QUAD.Y4P");
            r.bitmapNames = {"CHECK"};
            gen::SceneBuilder& b = scratch.build;
            SubEntity* s = b.addSubEntity(b.addEntity(nullptr, "Root"), bitmapIndex);
            const float h = kHalf;
            for (const Point p :
                 {Point{-h, -h, 0}, Point{h, -h, 0}, Point{h, h, 0}, Point{-h, h, 0}}) {
                b.addVertex(s, p, {0, 0, 1}, (p.x + h) / (2 * h), (p.y + h) / (2 * h));
            }
            b.addFace(s, 0, 2, 1);
            b.addFace(s, 0, 3, 2);
            Writer(r, r.fileName);
        }
        EXPECT_TRUE(gen::BitmapWriter::write(dir_.file("CHECK.BMP"), kTexels, kTexels, texel));
        auto model = std::make_unique<TestModel>(display, dir_.file("QUAD.Y4P"), textureDevice);
        model->renderer.setShowVertices(false);
        model->show(*view);
        return model;
    }

    // The pixel at the centre of texel (i, j): texture t = 1 - v, so row j lies at
    // v = 1 - (j + 0.5) / 4.
    Rgb atTexel(const RGBImage& f, int i, int j) const {
        const float u = (i + 0.5f) / kTexels;
        const float v = 1 - (j + 0.5f) / kTexels;
        const auto p = project(-(u * 2 * kHalf - kHalf), -(v * 2 * kHalf - kHalf), 0);
        return test::pixelAt(f, static_cast<int>(std::floor(p[0])),
                             static_cast<int>(std::floor(p[1])));
    }

    test::TempDir dir_;
};

// The magnification filter is linear, so a pixel centre a little off a texel's centre takes up
// to a few percent of its neighbours; neighbouring texels differ by 50 levels or more.
testing::AssertionResult near(const Rgb& actual, const Rgb& expected) {
    constexpr int kTolerance = 10;
    if (std::abs(actual.r - expected.r) <= kTolerance &&
        std::abs(actual.g - expected.g) <= kTolerance &&
        std::abs(actual.b - expected.b) <= kTolerance) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "(" << actual.r << ", " << actual.g << ", " << actual.b << "), expected ("
           << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

TEST_F(TexturedDrawingTest, TexelsShowWithVFlippedAndTheColourKeyShowsTheBackground) {
    auto model = writeAndLoad(0);
    model->renderer.setTextured();
    const RGBImage f = frame();
    for (int j = 0; j < kTexels; ++j) {
        for (int i = 0; i < kTexels; ++i) {
            const gen::Rgb t = texel(i, j);
            const Rgb expected = i == 0 && j == 0 ? background() : Rgb{t.r, t.g, t.b};
            EXPECT_TRUE(near(atTexel(f, i, j), expected))
                << "texel " << i << ", " << j << "; frame saved as " << test::saveFrame(f, "f");
        }
    }
    // Solid mode: no texture.
    model->renderer.setSolid();
    EXPECT_TRUE(test::regionIs(frame(), {70, 50, 90, 70}, test::rgbOf(1, 1, 1)));
}

TEST_F(TexturedDrawingTest, FacesWithoutAUsableBitmapDrawUntextured) {
    for (const int bitmapIndex : {255, -1, 1, 7}) {
        auto model = writeAndLoad(bitmapIndex);
        model->renderer.setTextured();
        EXPECT_TRUE(test::regionIs(frame(), {70, 50, 90, 70}, test::rgbOf(1, 1, 1)))
            << "bitmap " << bitmapIndex;
    }
    // A bitmap whose image could not be made into a texture (wider than tall).
    auto model = writeAndLoad(0);
    EXPECT_TRUE(gen::BitmapWriter::write(dir_.file("CHECK.BMP"), 8, 4, texel));
    model->reader->deleteTextures();
    model->reader->freeImages();
    model->reader->reloadImages();
    model->reader->createTextures();
    model->renderer.setTextured();
    model->renderer.invalidateBitmaps();
    EXPECT_TRUE(test::regionIs(frame(), {70, 50, 90, 70}, test::rgbOf(1, 1, 1)));
}

}  // namespace
}  // namespace y4
