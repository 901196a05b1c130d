// ScenePrint: 64-bit fingerprints of a scene, for checks that an undo, a redo or a refused edit
// brings back or keeps a state exactly: what every record holds, and how the records hang
// together.
#pragma once

#include <cstdint>

namespace y4 {
class Reader;
class SceneTree;
}  // namespace y4

namespace y4::test {

// Every field of every record that an edit can change, the bitmap names, the tree's items and
// checks, and the selection.
std::uint64_t fingerprint(const Reader& r, const SceneTree& tree);

// How the records hang together: owners, lists and corners by position in the flat lists,
// which the fingerprint leaves to the counts.
std::uint64_t structurePrint(const Reader& r);

}  // namespace y4::test
