// RecordingTextureDevice: the test double of TextureDevice. It hands out names 1, 2, 3, ...,
// keeps every call with the uploaded bytes, and fails the test on misuse: an upload to a name
// not generated or already released, bytes that do not match the size, a second release.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/TextureDevice.h"

namespace y4::test {

struct TextureUpload {
    TextureName name;
    int size;
    std::vector<std::uint8_t> rgba;
};

class RecordingTextureDevice : public TextureDevice {
public:
    void generate(std::span<TextureName> names) override;
    void upload(TextureName name, int size, std::span<const std::uint8_t> rgba) override;
    void release(std::span<const TextureName> names) override;

    // Every call in order, as "generate 1 2", "upload 2 64x64", "release 1 2".
    std::vector<std::string> calls;
    std::vector<TextureUpload> uploads;
    // Names generated and not yet released.
    std::set<TextureName> live;

private:
    TextureName next_ = 1;
};

}  // namespace y4::test
