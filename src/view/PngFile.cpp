// PNG encoding and decoding with libpng's simplified interface.
#include "PngFile.h"

#include <png.h>

#include <vector>

#include "platform/SafeFileWriter.h"

namespace y4 {

namespace {
// Row stride of a bottom-up image: libpng walks it backwards from the last row.
png_int_32 bottomUpStride(const RGBImage& image) {
    return -static_cast<png_int_32>(image.sizeX * 3);
}
}  // namespace

void PngFile::write(const std::string& path, const RGBImage& image) {
    if (image.sizeX <= 0 || image.sizeY <= 0 ||
        image.data.size() < static_cast<std::size_t>(image.sizeX) * image.sizeY * 3) {
        throw IoError("Cannot write " + path + ": the picture is empty");
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.sizeX);
    png.height = static_cast<png_uint_32>(image.sizeY);
    png.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.data.data(),
                                   bottomUpStride(image), nullptr)) {
        throw IoError("Cannot write " + path + ": " + png.message);
    }
    std::vector<char> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.data.data(),
                                   bottomUpStride(image), nullptr)) {
        throw IoError("Cannot write " + path + ": " + png.message);
    }
    SafeFileWriter out(path);
    out.write({bytes.data(), size});
    out.commit();
}

std::optional<RGBImage> PngFile::read(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGB;
    RGBImage image;
    image.sizeX = static_cast<std::int32_t>(png.width);
    image.sizeY = static_cast<std::int32_t>(png.height);
    image.data.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.data.data(), bottomUpStride(image), nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

}  // namespace y4
