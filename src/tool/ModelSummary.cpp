// The human summary of a model, with its groups as the object tree lists them.
#include "ModelSummary.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "files/Reader.h"
#include "model/SceneTree.h"
#include "model/TreeListing.h"

namespace y4 {

namespace {

__attribute__((format(printf, 1, 2))) std::string format(const char* pattern, ...) {
    char line[512];
    va_list values;
    va_start(values, pattern);
    std::vsnprintf(line, sizeof line, pattern, values);
    va_end(values);
    return line;
}

// Groups and sub-entities of the tree with their counts; faces and corners are only counted.
void writeItems(std::string& out, const SceneTree& tree, TreeItem parent, int depth) {
    for (int row = 0; row < tree.childCount(parent); ++row) {
        const TreeItem item = tree.child(parent, row);
        const SceneObject* record = tree.itemData(item);
        std::string line(static_cast<std::size_t>(2 * depth + 2), ' ');
        line += tree.itemText(item);
        if (record->kind() == SceneObject::kEntity) {
            const auto* e = static_cast<const Entity*>(record);
            line += format("  (%zu groups, %zu sub-entities, %d faces, %d vertices)",
                           e->children.size(), e->subEntities.size(), e->numFaces, e->numVertices);
        } else if (record->kind() == SceneObject::kSubEntity) {
            const auto* s = static_cast<const SubEntity*>(record);
            line += format("  (bitmap %d, %zu faces, %zu vertices)", s->bitmapIndex,
                           s->faces.size(), s->vertices.size());
        } else {
            continue;
        }
        out += line + '\n';
        writeItems(out, tree, item, depth + 1);
    }
}

}  // namespace

std::string ModelSummary::write(const Reader& r, const std::string& shownName) {
    static constexpr std::string_view kVariants[] = {".Y4P (nested)", ".Y4D (flat)",
                                                     ".Y4T (terrain)"};
    std::string out = shownName + '\n';
    out += "  variant:      " + std::string(kVariants[r.fileType]) + '\n';
    out += format("  records:      %zu entities, %zu sub-entities, %zu faces, %zu vertices\n",
                  r.entities.size(), r.subEntities.size(), r.faces.size(), r.vertices.size());
    out += format("  bounding box: (%g, %g, %g) to (%g, %g, %g)\n", double{r.minX}, double{r.minY},
                  double{r.minZ}, double{r.maxX}, double{r.maxY}, double{r.maxZ});
    out += format("  bitmaps:      %zu\n", r.bitmapNames.size());
    for (std::size_t k = 0; k < r.bitmapNames.size(); ++k) {
        const RGBImage* image = k < r.textures.images.size() ? r.textures.images[k].get() : nullptr;
        out += format("    %3zu %-32s ", k, r.bitmapNames[k].c_str());
        out += image ? format("%d x %d\n", image->sizeX, image->sizeY) : "(no image)\n";
    }
    out += "  groups:\n";
    SceneTree tree;
    if (Entity* root = r.root()) {
        TreeListing::buildTree(tree, root);
        writeItems(out, tree, kNoItem, 1);
    }
    return out;
}

}  // namespace y4
