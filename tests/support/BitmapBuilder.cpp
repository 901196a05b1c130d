// The in-memory bitmap writer of the tests.
#include "BitmapBuilder.h"

#include <algorithm>

namespace y4::test {

namespace {
void putU16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void putU32(std::string& out, std::uint32_t v) {
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}
}  // namespace

BitmapBuilder::BitmapBuilder(std::int32_t width, std::int32_t height, int bitCount)
    : width_(width), height_(height), bitCount_(bitCount) {}

BitmapBuilder& BitmapBuilder::coreHeader() {
    core_ = true;
    headerSize_ = 12;
    return *this;
}
BitmapBuilder& BitmapBuilder::headerSize(std::uint32_t size) {
    headerSize_ = size;
    return *this;
}
BitmapBuilder& BitmapBuilder::withoutFileHeader() {
    fileHeader_ = false;
    return *this;
}
BitmapBuilder& BitmapBuilder::topDown() {
    topDown_ = true;
    return *this;
}
BitmapBuilder& BitmapBuilder::compression(std::uint32_t compression) {
    compression_ = compression;
    return *this;
}
BitmapBuilder& BitmapBuilder::palette(std::vector<std::uint32_t> colours) {
    palette_ = std::move(colours);
    return *this;
}
BitmapBuilder& BitmapBuilder::colorsUsed(std::uint32_t count) {
    colorsUsed_ = count;
    return *this;
}
BitmapBuilder& BitmapBuilder::masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    masks_ = std::vector<std::uint32_t>{red, green, blue};
    return *this;
}
BitmapBuilder& BitmapBuilder::pixels(std::vector<std::uint32_t> values) {
    pixels_ = std::move(values);
    return *this;
}
BitmapBuilder& BitmapBuilder::bits(std::vector<std::uint8_t> raw) {
    bits_ = std::move(raw);
    return *this;
}
BitmapBuilder& BitmapBuilder::imageSize(std::uint32_t size) {
    imageSize_ = size;
    return *this;
}
BitmapBuilder& BitmapBuilder::bitsOffset(std::uint32_t offset) {
    bitsOffset_ = offset;
    return *this;
}

std::vector<std::uint8_t> BitmapBuilder::packedBits() const {
    if (bits_) {
        return *bits_;
    }
    std::vector<std::uint8_t> out;
    if (pixels_.empty() || width_ <= 0) {
        return out;
    }
    const std::size_t width = static_cast<std::size_t>(width_);
    const std::size_t rows = pixels_.size() / width;
    const std::size_t stride = (width * bitCount_ + 31) / 32 * 4;
    out.assign(stride * rows, 0);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t fileRow = topDown_ ? rows - 1 - row : row;
        std::uint8_t* line = out.data() + fileRow * stride;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t v = pixels_[row * width + x];
            if (bitCount_ < 8) {
                const std::size_t bit = x * bitCount_;
                const int shift = 8 - bitCount_ - static_cast<int>(bit % 8);
                line[bit / 8] = static_cast<std::uint8_t>(line[bit / 8] | v << shift);
            } else {
                const std::size_t bytes = static_cast<std::size_t>(bitCount_) / 8;
                for (std::size_t i = 0; i < bytes; ++i) {
                    line[x * bytes + i] = static_cast<std::uint8_t>(v >> (8 * i));
                }
            }
        }
    }
    return out;
}

std::string BitmapBuilder::build() const {
    std::string info;
    putU32(info, headerSize_);
    if (core_) {
        putU16(info, static_cast<std::uint32_t>(width_));
        putU16(info, static_cast<std::uint32_t>(height_));
        putU16(info, 1);
        putU16(info, static_cast<std::uint32_t>(bitCount_));
    } else {
        const bool fullTable = bitCount_ <= 8 && palette_.size() == std::size_t{1} << bitCount_;
        putU32(info, static_cast<std::uint32_t>(width_));
        putU32(info, static_cast<std::uint32_t>(topDown_ ? -height_ : height_));
        putU16(info, 1);
        putU16(info, static_cast<std::uint32_t>(bitCount_));
        putU32(info, compression_);
        putU32(info, imageSize_);
        putU32(info, 2835);
        putU32(info, 2835);
        const auto used = static_cast<std::uint32_t>(fullTable ? 0 : palette_.size());
        putU32(info, colorsUsed_.value_or(used));
        putU32(info, 0);
        info.resize(std::max<std::size_t>(info.size(), headerSize_), '\0');
    }
    if (masks_) {
        for (std::uint32_t mask : *masks_) {
            putU32(info, mask);
        }
    }
    for (std::uint32_t colour : palette_) {
        info += static_cast<char>(colour & 0xFF);
        info += static_cast<char>((colour >> 8) & 0xFF);
        info += static_cast<char>((colour >> 16) & 0xFF);
        if (!core_) {
            info += '\0';
        }
    }
    const std::vector<std::uint8_t> pixelBits = packedBits();
    std::string file;
    if (fileHeader_) {
        const auto offset = static_cast<std::uint32_t>(14 + info.size());
        file += "BM";
        putU32(file, static_cast<std::uint32_t>(offset + pixelBits.size()));
        putU32(file, 0);
        putU32(file, bitsOffset_.value_or(offset));
    }
    file += info;
    file.append(pixelBits.begin(), pixelBits.end());
    return file;
}

std::span<const std::uint8_t> asBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace y4::test
