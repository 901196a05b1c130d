// The in-memory bitmap writer of the tests.
#include "BitmapBuilder.h"

#include <algorithm>

namespace y4::test {

namespace {
// Little-endian, `bytes` bytes.
void put(std::string& out, std::uint32_t value, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value >> (8 * i));
    }
}
}  // namespace

std::string BitmapBuilder::build() const {
    const bool core = headerSize_ == 12;
    std::string info;
    put(info, headerSize_);
    if (core) {
        for (const auto field : {width_, height_, 1, bitCount_}) {
            put(info, static_cast<std::uint32_t>(field), 2);
        }
    } else {
        const bool fullTable = bitCount_ <= 8 && palette_.size() == std::size_t{1} << bitCount_;
        put(info, static_cast<std::uint32_t>(width_));
        put(info, static_cast<std::uint32_t>(topDown_ ? -height_ : height_));
        put(info, 1, 2);
        put(info, static_cast<std::uint32_t>(bitCount_), 2);
        for (const std::uint32_t field : {compression_, imageSize_, 2835u, 2835u}) {
            put(info, field);
        }
        put(info,
            colorsUsed_.value_or(fullTable ? 0 : static_cast<std::uint32_t>(palette_.size())));
        put(info, 0);
        info.resize(std::max<std::size_t>(info.size(), headerSize_), '\0');
    }
    for (const std::uint32_t mask : masks_) {
        put(info, mask);
    }
    for (const std::uint32_t colour : palette_) {
        put(info, colour, core ? 3 : 4);
    }

    std::string pixelBits;
    if (bits_) {
        pixelBits.assign(bits_->begin(), bits_->end());
    } else if (width_ > 0) {
        const auto width = static_cast<std::size_t>(width_);
        const std::size_t rows = pixels_.size() / width;
        const std::size_t stride = (width * bitCount_ + 31) / 32 * 4;
        pixelBits.assign(stride * rows, '\0');
        for (std::size_t row = 0; row < rows; ++row) {
            char* line = pixelBits.data() + (topDown_ ? rows - 1 - row : row) * stride;
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t v = pixels_[row * width + x];
                const std::size_t bit = x * bitCount_;
                if (bitCount_ < 8) {
                    line[bit / 8] =
                        static_cast<char>(line[bit / 8] | v << (8 - bitCount_ - bit % 8));
                } else {
                    for (std::size_t i = 0; i < static_cast<std::size_t>(bitCount_) / 8; ++i) {
                        line[bit / 8 + i] = static_cast<char>(v >> (8 * i));
                    }
                }
            }
        }
    }
    std::string file;
    if (fileHeader_) {
        const auto offset = static_cast<std::uint32_t>(14 + info.size());
        file = "BM";
        put(file, static_cast<std::uint32_t>(offset + pixelBits.size()));
        put(file, 0);
        put(file, bitsOffset_.value_or(offset));
    }
    return file + info + pixelBits;
}

}  // namespace y4::test
