// 24-bit bitmap encoding.
#include "BitmapWriter.h"

#include <fstream>

namespace y4::gen {

namespace {
void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
}  // namespace

std::string BitmapWriter::encode(int width, int height, const std::function<Rgb(int, int)>& pixel) {
    const auto rowBytes = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::string out;
    out.reserve(54 + imageBytes);
    out += "BM";
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    for (std::uint32_t field : {0u, imageBytes, 2835u, 2835u, 0u, 0u}) {
        put32(out, field);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            out += static_cast<char>(c.b);
            out += static_cast<char>(c.g);
            out += static_cast<char>(c.r);
        }
        out.append(rowBytes - static_cast<std::uint32_t>(width) * 3, '\0');
    }
    return out;
}

bool BitmapWriter::write(const std::string& path, int width, int height,
                         const std::function<Rgb(int, int)>& pixel) {
    const std::string bytes = encode(width, height, pixel);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace y4::gen
