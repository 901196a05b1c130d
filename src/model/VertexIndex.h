// VertexIndex: findMatchingVertex over a list of vertices that grows at its end, without a walk
// of the whole list per lookup. A paste of ten thousand faces looks up every vertex it copies in
// the sub-entity it fills; a walk per lookup would make that quadratic. The answer is always
// the one findMatchingVertex gives: the first vertex in list order whose position and texture
// coordinates each lie within the tolerance.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace y4 {

class Vertex;

class VertexIndex {
public:
    // Mirrors `list` as it is now; from then on the list may only grow through add().
    template <class List>
    explicit VertexIndex(const List& list) {
        for (Vertex* v : list) {
            vertices_.push_back(v);
        }
    }

    // The position of the first vertex of the list that matches `v`, or -1.
    int find(const Vertex& v);
    // `v` was appended to the list.
    void add(Vertex* v);
    std::size_t size() const { return vertices_.size(); }

private:
    // The first few lookups walk the list: cheaper than hashing a long list for one face.
    static constexpr int kWalkedLookups = 8;

    struct Chain {
        std::uint32_t head;
        std::uint32_t tail;
    };

    void build();
    void insert(std::uint32_t position);

    std::vector<Vertex*> vertices_;
    // Positions of one cell, in list order: each position's successor.
    std::vector<std::uint32_t> next_;
    std::unordered_map<std::uint64_t, Chain> cells_;
    int lookups_ = 0;
    bool hashed_ = false;
};

}  // namespace y4
