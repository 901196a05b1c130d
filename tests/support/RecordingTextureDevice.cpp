// The recording texture device.
#include "RecordingTextureDevice.h"

#include <gtest/gtest.h>

namespace y4::test {

namespace {
std::string nameList(std::string verb, std::span<const TextureName> names) {
    for (TextureName name : names) {
        verb += ' ' + std::to_string(name);
    }
    return verb;
}
}  // namespace

void RecordingTextureDevice::generate(std::span<TextureName> names) {
    for (TextureName& name : names) {
        name = next_++;
        live.insert(name);
    }
    calls.push_back(nameList("generate", names));
}

void RecordingTextureDevice::upload(TextureName name, int size,
                                    std::span<const std::uint8_t> rgba) {
    calls.push_back("upload " + std::to_string(name) + ' ' + std::to_string(size) + 'x' +
                    std::to_string(size));
    if (!live.contains(name)) {
        ADD_FAILURE() << "upload to texture " << name
                      << (released.contains(name) ? ", already released" : ", never generated");
    }
    if (size <= 0 || rgba.size() != static_cast<std::size_t>(size) * size * 4) {
        ADD_FAILURE() << "upload to texture " << name << " of size " << size << " with "
                      << rgba.size() << " bytes";
    }
    uploads.push_back({name, size, {rgba.begin(), rgba.end()}});
}

void RecordingTextureDevice::release(std::span<const TextureName> names) {
    calls.push_back(nameList("release", names));
    for (TextureName name : names) {
        if (live.erase(name) == 1) {
            released.insert(name);
        } else {
            ADD_FAILURE() << "release of texture " << name
                          << (released.contains(name) ? ", already released" : ", never generated");
        }
    }
}

const TextureUpload* RecordingTextureDevice::lastUpload(TextureName name) const {
    for (auto it = uploads.rbegin(); it != uploads.rend(); ++it) {
        if (it->name == name) {
            return &*it;
        }
    }
    return nullptr;
}

}  // namespace y4::test
