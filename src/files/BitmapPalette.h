// BitmapPalette: the colour table of an indexed bitmap, looked up while its pixels are expanded.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace y4 {

class BitmapPalette {
public:
    // An index can address at most this many entries (8 bits per pixel); a longer table is
    // only stepped over.
    static constexpr std::size_t kMaxEntries = 256;

    void add(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        colours_.push_back({red, green, blue});
    }

    // Writes the R, G, B bytes of entry `index` to `out`; an index beyond the table gives
    // black, as a missing entry has no colour of its own.
    void put(std::uint32_t index, std::uint8_t* out) const {
        if (index < colours_.size()) {
            std::memcpy(out, colours_[index].data(), 3);
        } else {
            out[0] = out[1] = out[2] = 0;
        }
    }

private:
    std::vector<std::array<std::uint8_t, 3>> colours_;
};

}  // namespace y4
