// Header parsing and the uncompressed and bit-field pixel formats of the bitmap decoder; the
// run-length formats live in RleDecoder.
#include "BitmapDecoder.h"

#include <array>
#include <bit>
#include <new>
#include <optional>

#include "BitmapPalette.h"
#include "RleDecoder.h"

namespace y4 {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kMaskBytes = 12;

constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitFields = 3;

// Callers check that the bytes exist.
std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits with rounding.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask),
          shift_(mask == 0 ? 0 : std::countr_zero(mask)),
          max_(mask == 0 ? 0 : mask >> shift_) {}

    std::uint8_t operator()(std::uint32_t pixel) const {
        if (max_ == 0) {
            return 0;
        }
        const std::uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint32_t max_;
};

// What the headers say about the picture.
struct Layout {
    std::int64_t width = 0;
    std::int64_t rows = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kCompressionNone;
    std::uint32_t imageSize = 0;
    std::array<std::uint32_t, 3> masks{};
    BitmapPalette palette;
    std::span<const std::uint8_t> bits;
};

bool supported(int bitCount, std::uint32_t compression) {
    switch (compression) {
        case kCompressionNone:
            return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case kCompressionRle8:
            return bitCount == 8;
        case kCompressionRle4:
            return bitCount == 4;
        case kCompressionBitFields:
            return bitCount == 16 || bitCount == 32;
        default:
            return false;
    }
}

std::optional<BitmapError> readLayout(std::span<const std::uint8_t> bytes, Layout& layout) {
    const std::size_t size = bytes.size();
    const bool fileHeader = size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const std::size_t base = fileHeader ? kFileHeaderSize : 0;
    if (size < base + 4) {
        return BitmapError::UnknownFormat;
    }
    const std::uint32_t headerSize = readU32(bytes, base);
    if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) {
        return BitmapError::UnknownFormat;
    }
    if (size - base < headerSize) {
        return BitmapError::ConversionFailed;
    }

    std::size_t entrySize = 4;
    std::uint32_t colorsUsed = 0;
    if (headerSize == kCoreHeaderSize) {
        // The short header's sizes are unsigned 16-bit; its table entries are B, G, R.
        layout.width = readU16(bytes, base + 4);
        layout.rows = readU16(bytes, base + 6);
        layout.bitCount = readU16(bytes, base + 10);
        entrySize = 3;
    } else {
        layout.width = static_cast<std::int32_t>(readU32(bytes, base + 4));
        const std::int64_t height = static_cast<std::int32_t>(readU32(bytes, base + 8));
        layout.topDown = height < 0;
        layout.rows = height < 0 ? -height : height;
        layout.bitCount = readU16(bytes, base + 14);
        layout.compression = readU32(bytes, base + 16);
        layout.imageSize = readU32(bytes, base + 20);
        colorsUsed = readU32(bytes, base + 32);
    }

    if (layout.width <= 0 || layout.rows == 0) {
        return BitmapError::ConversionFailed;
    }
    if (layout.width * layout.rows > BitmapDecoder::kMaxPixels) {
        return BitmapError::OutOfMemory;
    }
    if (!supported(layout.bitCount, layout.compression)) {
        return BitmapError::ConversionFailed;
    }
    // Run-length data is always stored bottom-up.
    const bool runLength =
        layout.compression == kCompressionRle8 || layout.compression == kCompressionRle4;
    if (runLength && layout.topDown) {
        return BitmapError::ConversionFailed;
    }

    // The three masks of a bit-field bitmap sit between the header and the colour table.
    std::size_t tableOffset = base + headerSize;
    if (layout.compression == kCompressionBitFields) {
        if (size - tableOffset < kMaskBytes) {
            return BitmapError::ConversionFailed;
        }
        for (std::size_t i = 0; i < 3; ++i) {
            layout.masks[i] = readU32(bytes, tableOffset + 4 * i);
        }
        tableOffset += kMaskBytes;
    } else if (layout.bitCount == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (layout.bitCount == 32) {
        layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }

    std::uint64_t entries = colorsUsed;
    if (entries == 0 && layout.bitCount <= 8) {
        entries = std::uint64_t{1} << layout.bitCount;
    }
    const std::uint64_t tableBytes = entries * entrySize;
    if (size - tableOffset < tableBytes) {
        return BitmapError::ConversionFailed;
    }
    for (std::uint64_t i = 0; i < entries && i < BitmapPalette::kMaxEntries; ++i) {
        const std::size_t at = tableOffset + static_cast<std::size_t>(i) * entrySize;
        layout.palette.add(bytes[at + 2], bytes[at + 1], bytes[at]);
    }

    const std::uint64_t bitsOffset = fileHeader ? readU32(bytes, 10) : tableOffset + tableBytes;
    if (bitsOffset > size) {
        return BitmapError::ConversionFailed;
    }
    layout.bits = bytes.subspan(static_cast<std::size_t>(bitsOffset));
    return std::nullopt;
}

// The channels of a 16- or 32-bit pixel; `bytesPerPixel` little-endian bytes per pixel.
template <int bytesPerPixel>
void expandMasked(const std::uint8_t* in, std::int64_t width, const std::array<Channel, 3>& rgb,
                  std::uint8_t* out) {
    for (std::int64_t x = 0; x < width; ++x, in += bytesPerPixel, out += 3) {
        std::uint32_t pixel = 0;
        for (int i = 0; i < bytesPerPixel; ++i) {
            pixel |= static_cast<std::uint32_t>(in[i]) << (8 * i);
        }
        out[0] = rgb[0](pixel);
        out[1] = rgb[1](pixel);
        out[2] = rgb[2](pixel);
    }
}

// Indices packed high bits first, `bitCount` (1, 4 or 8) bits each.
void expandIndexed(const std::uint8_t* in, std::int64_t width, int bitCount,
                   const BitmapPalette& palette, std::uint8_t* out) {
    const std::uint32_t mask = (1u << bitCount) - 1;
    for (std::int64_t x = 0; x < width; ++x, out += 3) {
        const std::int64_t bit = x * bitCount;
        const int shift = 8 - bitCount - static_cast<int>(bit % 8);
        palette.put((in[bit / 8] >> shift) & mask, out);
    }
}

// Expands the rows of an uncompressed or bit-field bitmap; the data has been checked to hold
// every row.
void expandRows(const Layout& layout, std::int64_t stride, RGBImage& image) {
    const std::array<Channel, 3> rgb = {Channel(layout.masks[0]), Channel(layout.masks[1]),
                                        Channel(layout.masks[2])};
    const std::int64_t width = layout.width;
    for (std::int64_t row = 0; row < layout.rows; ++row) {
        const std::uint8_t* in = layout.bits.data() + row * stride;
        const std::int64_t picturedRow = layout.topDown ? layout.rows - 1 - row : row;
        std::uint8_t* out = image.data.data() + picturedRow * width * 3;
        switch (layout.bitCount) {
            case 16:
                expandMasked<2>(in, width, rgb, out);
                break;
            case 24:
                for (std::int64_t x = 0; x < width; ++x, in += 3, out += 3) {
                    out[0] = in[2];
                    out[1] = in[1];
                    out[2] = in[0];
                }
                break;
            case 32:
                expandMasked<4>(in, width, rgb, out);
                break;
            default:
                expandIndexed(in, width, layout.bitCount, layout.palette, out);
                break;
        }
    }
}

}  // namespace

std::variant<RGBImage, BitmapError> BitmapDecoder::decode(std::span<const std::uint8_t> bytes,
                                                          std::size_t maxImageBytes) {
    Layout layout;
    if (const std::optional<BitmapError> error = readLayout(bytes, layout)) {
        return *error;
    }

    const bool runLength =
        layout.compression == kCompressionRle8 || layout.compression == kCompressionRle4;
    const std::int64_t rowBits = layout.width * layout.bitCount;
    const std::int64_t stride = (rowBits + 31) / 32 * 4;
    if (runLength) {
        if (layout.imageSize != 0 && layout.imageSize < layout.bits.size()) {
            layout.bits = layout.bits.first(layout.imageSize);
        }
        // A few bytes that declare a huge picture would otherwise cost its whole size.
        if (!RleDecoder::canReachLastRow(layout.bits.size(), layout.width, layout.rows)) {
            return BitmapError::ConversionFailed;
        }
    } else {
        // The last row needs no padding after its pixels.
        const std::int64_t needed = stride * (layout.rows - 1) + (rowBits + 7) / 8;
        if (static_cast<std::uint64_t>(needed) > layout.bits.size()) {
            return BitmapError::ConversionFailed;
        }
    }

    if (static_cast<std::uint64_t>(layout.width * layout.rows) * 3 > maxImageBytes) {
        return BitmapError::OverLimit;
    }
    RGBImage image;
    image.sizeX = static_cast<std::int32_t>(layout.width);
    image.sizeY = static_cast<std::int32_t>(layout.rows);
    try {
        image.data.assign(static_cast<std::size_t>(layout.width * layout.rows * 3), 0);
    } catch (const std::bad_alloc&) {
        return BitmapError::OutOfMemory;
    }

    if (runLength) {
        RleDecoder::expand(layout.bits, layout.bitCount, layout.palette, image);
    } else {
        expandRows(layout, stride, image);
    }
    return image;
}

}  // namespace y4
