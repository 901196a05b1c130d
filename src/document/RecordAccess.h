// RecordAccess: the document's one window onto the fields of the scene records and the Reader's
// lists. The edits and their undo steps read and write records only through these functions, so
// that the records' layout can change without touching the edits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/EntityTree.h"

namespace y4 {

class Entity;
class Reader;
class Scene;
class SceneObject;
class SceneTree;
class SubEntity;
class Vertex;
struct RGBImage;

class RecordAccess {
public:
    // ---- ownership and tree items ----

    // The record that holds `record` (an entity's parent, a sub-entity's entity, a face's
    // sub-entity, a vertex's sub-entity), or null.
    static SceneObject* ownerOf(const SceneObject* record);
    // The tree item of an entity, sub-entity or face; for a vertex, its listing under the face
    // `listedUnder`, or its first listing.
    static TreeItem itemOf(const SceneTree& tree, const SceneObject* record,
                           const SceneObject* listedUnder = nullptr);
    // Whether the record goes at the next purge: it, or something that holds it, is deleted.
    static bool goesWithPurge(const SceneObject* record);
    // Every record a purge removes, listed without what a listed record holds, and the
    // surviving sub-entities that lose faces.
    static void purgeSet(const Scene& scene, std::vector<SceneObject*>& records,
                         std::vector<SubEntity*>& meshes);
    // The sub-entities at or below `record` (for a face or vertex, the one it belongs to).
    static void subEntitiesOf(const SceneObject* record, std::vector<SubEntity*>& out);
    // Whether `record` is the terrain's own record of a terrain model.
    static bool isTerrainRecord(const Reader& reader, const SceneObject* record);
    // Whether the model's root entity stays where it is: a terrain file has no place for the
    // root's position and angles, so no edit moves, turns or scales it.
    static bool rootFixed(const Reader& reader);

    // ---- deleted marks ----

    static bool deleted(const SceneObject* record);
    // The records at and below `record` (as marking reaches them) whose mark already equals
    // `flag`.
    static void alreadyMarked(const SceneObject* record, int flag, std::vector<SceneObject*>& out);
    // Marks (1) or unmarks (0) `record` and everything below it, as Delete does.
    static void mark(Scene& scene, SceneObject* record, int flag);
    // Sets the mark of this one record and relabels its tree items.
    static void setDeletedMark(SceneTree& tree, SceneObject* record, int flag);

    // ---- display switches ----

    // Whether the record's switch or the check of one of its items differs from `on`.
    static bool displayDiffers(const SceneTree& tree, const SceneObject* record, bool on);
    static bool displayed(const SceneObject* record);
    // The switch and the check of every tree item of the record.
    static void setDisplayed(SceneTree& tree, SceneObject* record, bool on);
    // Every vertex, face, sub-entity and entity, in that order, with their items.
    static void setAllDisplayed(Scene& scene, SceneTree& tree, bool on);
    // The switches of every record of a scene, one bit each.
    class DisplayFlags {
    public:
        void capture(const Scene& scene);
        // The switches and the checks of every item as captured.
        void restore(Scene& scene, SceneTree& tree) const;
        std::size_t bytes() const { return bits_.capacity() * sizeof(std::uint64_t); }

    private:
        std::vector<std::uint64_t> bits_;
        // Set when every switch had the same value: then no bits are kept.
        bool uniform_ = false;
        bool value_ = false;
    };

    // ---- names ----

    static std::string name(const SceneObject* record);
    // Sets the name (cut to the longest a record holds) and relabels the record's items.
    static void setName(SceneTree& tree, SceneObject* record, std::string_view name);

    // ---- placement and geometry ----

    // Entities' positions, angles and changed marks, in the order of a list.
    class Placements {
    public:
        void capture(const std::vector<Entity*>& entities);
        void restore() const;
        const std::vector<Entity*>& entities() const { return entities_; }
        std::size_t bytes() const;

    private:
        std::vector<Entity*> entities_;
        std::vector<float> values_;
        std::vector<std::uint8_t> changed_;
    };
    // Vertices' positions, or normals, in the order of a list.
    class Points {
    public:
        void capture(const std::vector<Vertex*>& vertices, bool normals);
        void restore() const;
        const std::vector<Vertex*>& vertices() const { return vertices_; }
        std::size_t bytes() const;

    private:
        std::vector<Vertex*> vertices_;
        std::vector<float> values_;
        bool normals_ = false;
    };
    // What scaling the selection changes: entities and vertices selected and not deleted, but
    // a fixed root.
    static void scaleTargets(const Reader& reader, std::vector<Entity*>& entities,
                             std::vector<Vertex*>& vertices);
    // Multiplies the entities' positions and the vertices' positions by the factors.
    static void scale(const std::vector<Entity*>& entities, const std::vector<Vertex*>& vertices,
                      float fx, float fy, float fz);
    // The sub-entities of the vertices, each once, in the order first met.
    static void meshesOf(const std::vector<Vertex*>& vertices, std::vector<SubEntity*>& out);

    // ---- bitmaps ----

    // Exchanges the names and the images at two positions.
    static void swapBitmaps(Reader& reader, int first, int second);
    // Gives the bitmap at `position` a new name and the picture read for it.
    static void renameBitmap(Reader& reader, int position, const std::string& name,
                             std::shared_ptr<const RGBImage> image);
    // The bitmap names and their images, as a whole.
    class BitmapList {
    public:
        void capture(const Reader& reader);
        // Puts names and images back and builds the textures again.
        void restore(Reader& reader) const;
        const std::vector<std::string>& names() const { return names_; }
        // The names' bytes, and the images' bytes that `other` does not share.
        std::size_t bytes(const BitmapList& other) const;

    private:
        std::vector<std::string> names_;
        std::vector<std::shared_ptr<const RGBImage>> images_;
    };
};

}  // namespace y4
