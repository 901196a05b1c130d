// Run-length decoding of 4- and 8-bit bitmaps.
#include "RleDecoder.h"

namespace y4 {

namespace {

// The escapes that follow a zero count.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

class Cursor {
public:
    Cursor(const BitmapPalette& palette, RGBImage& image)
        : palette_(palette), image_(image), width_(image.sizeX), height_(image.sizeY) {}

    bool insidePicture() const { return y_ < height_; }
    bool insideRow() const { return x_ < width_; }
    // Writes one pixel at the cursor and steps right; the caller stops at the row's end.
    void put(std::uint32_t index) {
        const std::size_t at = static_cast<std::size_t>((y_ * width_ + x_) * 3);
        palette_.put(index, image_.data.data() + at);
        ++x_;
    }
    void endLine() {
        x_ = 0;
        ++y_;
    }
    void move(std::uint8_t right, std::uint8_t up) {
        x_ += right;
        y_ += up;
    }

private:
    const BitmapPalette& palette_;
    RGBImage& image_;
    const std::int64_t width_;
    const std::int64_t height_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
};

// The index of pixel `i` of the indices packed from `bytes` on (high 4 bits first).
std::uint32_t pixelIndex(const std::uint8_t* bytes, int i, bool fourBit) {
    if (!fourBit) {
        return bytes[i];
    }
    const std::uint8_t b = bytes[i / 2];
    return i % 2 == 0 ? b >> 4 : b & 0x0F;
}

}  // namespace

bool RleDecoder::canReachLastRow(std::size_t byteCount, std::int64_t width, std::int64_t rows) {
    if (width <= 0 || rows <= 0) {
        return false;
    }
    const auto pairs = static_cast<std::uint64_t>(byteCount / 2);
    const auto perPair = static_cast<std::uint64_t>((255 * (width + 1) + 1) / 2);
    const auto needed = static_cast<std::uint64_t>((rows - 1) * width + 1);
    return pairs >= (needed + perPair - 1) / perPair;
}

void RleDecoder::expand(std::span<const std::uint8_t> bits, int bitsPerPixel,
                        const BitmapPalette& palette, RGBImage& image) {
    const bool fourBit = bitsPerPixel == 4;
    Cursor cursor(palette, image);
    std::size_t at = 0;
    while (bits.size() - at >= 2 && cursor.insidePicture()) {
        const std::uint8_t count = bits[at];
        const std::uint8_t value = bits[at + 1];
        at += 2;
        if (count > 0) {
            // An encoded run repeats one byte: one index, or two alternating 4-bit indices.
            for (int i = 0; i < count && cursor.insideRow(); ++i) {
                cursor.put(pixelIndex(&value, fourBit ? i % 2 : 0, fourBit));
            }
            continue;
        }
        if (value == kEndOfLine) {
            cursor.endLine();
        } else if (value == kEndOfBitmap) {
            return;
        } else if (value == kDelta) {
            if (bits.size() - at < 2) {
                return;
            }
            cursor.move(bits[at], bits[at + 1]);
            at += 2;
        } else {
            // Absolute mode: `value` literal indices, padded to a 16-bit boundary.
            const std::size_t length = fourBit ? (value + 1u) / 2 : value;
            const std::size_t available = bits.size() - at;
            const int usable =
                length <= available ? value : static_cast<int>(fourBit ? available * 2 : available);
            for (int i = 0; i < usable && cursor.insideRow(); ++i) {
                cursor.put(pixelIndex(bits.data() + at, i, fourBit));
            }
            if (length > available) {
                return;
            }
            at += length + length % 2;
            if (at > bits.size()) {
                at = bits.size();
            }
        }
    }
}

}  // namespace y4
