// The recording texture device.
#include "RecordingTextureDevice.h"

#include <gtest/gtest.h>

namespace y4::test {

void RecordingTextureDevice::generate(std::span<TextureName> names) {
    calls.emplace_back("generate");
    for (TextureName& name : names) {
        name = next_++;
        live.insert(name);
        calls.back() += ' ' + std::to_string(name);
    }
}

void RecordingTextureDevice::upload(TextureName name, int size,
                                    std::span<const std::uint8_t> rgba) {
    const std::string side = std::to_string(size);
    calls.push_back("upload " + std::to_string(name) + ' ' + side + 'x' + side);
    EXPECT_TRUE(live.contains(name)) << "upload to texture " << name << ", not a live name";
    EXPECT_TRUE(size > 0 && rgba.size() == static_cast<std::size_t>(size) * size * 4)
        << "upload to texture " << name << " of size " << size << " with " << rgba.size()
        << " bytes";
    uploads.push_back({name, size, {rgba.begin(), rgba.end()}});
}

void RecordingTextureDevice::release(std::span<const TextureName> names) {
    calls.emplace_back("release");
    for (const TextureName name : names) {
        calls.back() += ' ' + std::to_string(name);
        EXPECT_EQ(live.erase(name), 1u) << "release of texture " << name << ", not a live name";
    }
}

}  // namespace y4::test
