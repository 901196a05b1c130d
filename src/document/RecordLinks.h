// RecordLinks: how the structural edits put records into the scene's lists and take them out
// again, keep the vertices' face lists, and list records in the object tree. The edits and
// their undo steps reach those lists only through these functions, so that the lists' storage
// can change without touching the edits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace y4 {

class Face;
class Scene;
class SceneObject;
class SceneTree;
class Vertex;

class RecordLinks {
public:
    // The lists a record can be in: the scene's flat list of its kind, and its owner's list.
    enum class List : std::uint8_t {
        kEntities,
        kSubEntities,
        kFaces,
        kVertices,
        kChildren,           // an entity's child entities
        kEntitySubEntities,  // an entity's sub-entities
        kSubEntityFaces,     // a sub-entity's faces
        kSubEntityVertices,  // a sub-entity's vertices
    };
    static constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);

    // One record put into one list: enough to take it out again and to put it back.
    struct Link {
        List list;
        // The entity or sub-entity whose list it is; null for the flat lists.
        SceneObject* owner;
        std::size_t position;
        SceneObject* record;
    };

    // Puts `record` into the list at `position` (kAtEnd: at the end), or into the flat list of
    // its kind when `owner` is null, and says where it went.
    static Link insert(Scene& scene, List list, SceneObject* owner, SceneObject* record,
                       std::size_t position = kAtEnd);
    // Puts a record back where a link says, the list being as it was when the link was made.
    static void relink(Scene& scene, const Link& link);
    // Takes a record out of the list a link names, the list being as the link left it.
    static void unlink(Scene& scene, const Link& link);
    // The number of records in a list.
    static std::size_t count(const Scene& scene, List list, const SceneObject* owner);

    // The faces that use a vertex, in their order.
    static std::vector<Face*> facesOf(const Vertex* vertex);
    static void setFaces(Vertex* vertex, const std::vector<Face*>& faces);
    // Lists a face new to the scene at each of its corners (once per vertex, after what they
    // list already).
    static void listAtCorners(Face* face);

    // The tree items of a record newly in the scene, with everything below it: an entity as
    // the last child of its parent's item; a sub-entity at its place among its entity's
    // sub-entities, with its faces; a face as the last child of its sub-entity's item, with its
    // corners. Items of records that are switched off are unchecked.
    static void list(SceneTree& tree, SceneObject* record);
    // Removes the record's item and everything below it.
    static void unlist(SceneTree& tree, SceneObject* record);
    // Lists a face's corners again after they changed.
    static void relistCorners(SceneTree& tree, Face* face);
};

}  // namespace y4
