// RecoveryState: what an autosave copy cannot hold in its model file, kept as a small text file
// beside it: the deleted marks that wait for a purge, the display switches, and the names set on
// sub-entities, faces and vertices (the files number those and name only entities). Records are
// named by where a write puts them, which is where a load of the copy finds them again: the
// entity's position in the entity list, the sub-entity's among its entity's, and the face's or
// vertex's among its sub-entity's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace y4 {

class Scene;
class SceneTree;

class RecoveryState {
public:
    // The records' lines for the scene as it is: only records that differ from what a load
    // gives, so a model with few such edits has a small state however large it is.
    static std::string capture(const Scene& scene);
    // The whole file: a first line that ties it to the model text it goes with, of `copySize`
    // bytes and with the fingerprint `copyFingerprint`, then `lines` from capture.
    static std::string fileText(std::string_view lines, std::size_t copySize,
                                std::uint64_t copyFingerprint);
    // Applies a file made by fileText to a scene loaded from `copyText`, and the tree that lists
    // it. False when the file belongs to another copy (nothing is applied) or when some of its
    // lines could not be used (the others are applied).
    static bool apply(Scene& scene, SceneTree& tree, std::string_view file,
                      std::string_view copyText);

    // The FNV-1a hash of the bytes, going on from `hash` for a text in pieces: ties the state
    // to the copy it was taken with.
    static constexpr std::uint64_t kFingerprintStart = 14695981039346656037ull;
    static std::uint64_t fingerprint(std::string_view bytes,
                                     std::uint64_t hash = kFingerprintStart);
};

}  // namespace y4
