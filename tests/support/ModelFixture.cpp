// Model fixtures on disk.
#include "ModelFixture.h"

#include <filesystem>

#include "BitmapWriter.h"
#include "ModelGenerator.h"

namespace y4::test {

std::string ModelFixture::write(const TempDir& dir, std::string_view fileName,
                                std::string_view text, const std::vector<TextureFile>& textures) {
    for (const TextureFile& t : textures) {
        dir.write(t.name + ".BMP", gen::BitmapWriter::encode(t.width, t.height, [](int x, int y) {
                      return gen::Rgb{static_cast<std::uint8_t>(x * 40),
                                      static_cast<std::uint8_t>(y * 40), 200};
                  }));
    }
    return dir.write(fileName, text);
}

std::string ModelFixture::copySample(const TempDir& dir, std::string_view fileName) {
    for (const auto& entry : std::filesystem::directory_iterator(Y4_SAMPLES_DIR)) {
        const std::string file = entry.path().filename().string();
        if (file == fileName || entry.path().extension() == ".BMP") {
            dir.write(file, TempDir::read(entry.path().string()));
        }
    }
    return dir.file(fileName);
}

std::string ModelFixture::writeGenerated(const TempDir& dir, std::uint32_t seed) {
    gen::GeneratorOptions options;
    options.faces = 400;
    options.groups = 12;
    options.depth = 3;
    options.textures = 5;
    options.seed = seed;
    const std::string path = dir.file("GEN.Y4P");
    gen::ModelGenerator::write(options, path);
    return path;
}

std::string ModelFixture::withCrLf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace y4::test
