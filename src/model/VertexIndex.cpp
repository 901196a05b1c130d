// Vertex matching through a hash of grid cells. Each of the five compared values (X, Y, Z,
// textureU, textureV) falls in a cell 1/256 wide; a vertex within the tolerance of another lies
// in the same cell or a neighbouring one on each axis, so a lookup visits at most 32 cells, and
// within a cell the positions are kept in list order.
#include "VertexIndex.h"

#include <bit>
#include <cmath>

#include "RecordLookup.h"
#include "Vertex.h"

namespace y4 {

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFFu;
constexpr double kCellsPerUnit = 256.0;
// A little more than the tolerance, so that no rounding of the bounds loses a neighbour.
constexpr double kReach = 0.00051;
// Floats this large are whole numbers much further apart than the tolerance: they match only
// their own value, and are keyed by their bits, away from every cell number.
constexpr double kLarge = 1099511627776.0;  // 2^40
constexpr std::int64_t kBitsKeys = std::int64_t{1} << 60;
constexpr int kValues = 5;

void valuesOf(const Vertex& v, float (&out)[kValues]) {
    out[0] = v.X;
    out[1] = v.Y;
    out[2] = v.Z;
    out[3] = v.textureU;
    out[4] = v.textureV;
}

std::int64_t cellOf(float x) {
    const double d = x;
    if (std::fabs(d) >= kLarge) {
        return kBitsKeys + std::bit_cast<std::uint32_t>(x);
    }
    return static_cast<std::int64_t>(std::floor(d * kCellsPerUnit));
}

std::uint64_t keyOf(const std::int64_t (&cells)[kValues]) {
    std::uint64_t h = 0;
    for (std::int64_t c : cells) {
        h ^= static_cast<std::uint64_t>(c) + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
    }
    // The map hashes a key by its value; spread the bits.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    return h;
}

}  // namespace

int VertexIndex::find(const Vertex& v) {
    if (!hashed_) {
        if (lookups_ < kWalkedLookups) {
            ++lookups_;
            for (std::size_t p = 0; p < vertices_.size(); ++p) {
                if (verticesMatch(v, *vertices_[p])) {
                    return static_cast<int>(p);
                }
            }
            return -1;
        }
        build();
    }
    float values[kValues];
    valuesOf(v, values);
    std::int64_t low[kValues], high[kValues];
    for (int k = 0; k < kValues; ++k) {
        // Nothing lies within the tolerance of an infinity or a NaN.
        if (!std::isfinite(values[k])) {
            return -1;
        }
        const double d = values[k];
        if (std::fabs(d) >= kLarge) {
            low[k] = high[k] = cellOf(values[k]);
        } else {
            low[k] = static_cast<std::int64_t>(std::floor((d - kReach) * kCellsPerUnit));
            high[k] = static_cast<std::int64_t>(std::floor((d + kReach) * kCellsPerUnit));
        }
    }
    std::uint32_t best = kEnd;
    for (unsigned combination = 0; combination < (1u << kValues); ++combination) {
        std::int64_t cells[kValues];
        bool repeated = false;
        for (int k = 0; k < kValues && !repeated; ++k) {
            const bool upper = (combination >> k) & 1u;
            repeated = upper && high[k] == low[k];
            cells[k] = upper ? high[k] : low[k];
        }
        if (repeated) {
            continue;
        }
        const auto found = cells_.find(keyOf(cells));
        if (found == cells_.end()) {
            continue;
        }
        // Positions within a cell rise, so the first match is the cell's earliest.
        for (std::uint32_t p = found->second.head; p != kEnd && p < best; p = next_[p]) {
            if (verticesMatch(v, *vertices_[p])) {
                best = p;
            }
        }
    }
    return best == kEnd ? -1 : static_cast<int>(best);
}

void VertexIndex::add(Vertex* v) {
    vertices_.push_back(v);
    if (hashed_) {
        next_.push_back(kEnd);
        insert(static_cast<std::uint32_t>(vertices_.size() - 1));
    }
}

void VertexIndex::build() {
    next_.assign(vertices_.size(), kEnd);
    cells_.reserve(vertices_.size());
    for (std::size_t p = 0; p < vertices_.size(); ++p) {
        insert(static_cast<std::uint32_t>(p));
    }
    hashed_ = true;
}

void VertexIndex::insert(std::uint32_t position) {
    float values[kValues];
    valuesOf(*vertices_[position], values);
    std::int64_t cells[kValues];
    for (int k = 0; k < kValues; ++k) {
        // A vertex with an infinity or a NaN matches nothing, so it is not indexed.
        if (!std::isfinite(values[k])) {
            return;
        }
        cells[k] = cellOf(values[k]);
    }
    const auto [chain, added] = cells_.try_emplace(keyOf(cells), Chain{position, position});
    if (!added) {
        next_[chain->second.tail] = position;
        chain->second.tail = position;
    }
}

}  // namespace y4
