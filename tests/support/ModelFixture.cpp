// Model fixtures on disk.
#include "ModelFixture.h"

#include "BitmapWriter.h"

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
