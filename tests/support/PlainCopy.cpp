// The plain reference copy of a model and the fingerprints of models.
#include "PlainCopy.h"

#include <algorithm>
#include <cstring>

#include "files/Y4TParser.h"
#include "model/SelectionMarks.h"
#include "model/SelectionTransform.h"
#include "model/TreeListing.h"

namespace y4::test {

namespace {

bool goesWithPurge(const SceneObject* r) {
    while (r) {
        if (r->deleted) {
            return true;
        }
        switch (r->kind()) {
            case SceneObject::kEntity:
                r = static_cast<const Entity*>(r)->parent;
                break;
            case SceneObject::kSubEntity:
                r = static_cast<const SubEntity*>(r)->parent;
                break;
            case SceneObject::kFace:
                r = static_cast<const Face*>(r)->parent;
                break;
            default:
                r = static_cast<const Vertex*>(r)->subEntity;
                break;
        }
    }
    return false;
}

Reader::Options withoutImages() {
    Reader::Options options;
    options.loadImages = false;
    return options;
}

}  // namespace

PlainCopy::PlainCopy(const std::string& path)
    : reader(&tree, ModelSource::chosen(path), withoutImages()) {
    TreeListing::buildTree(tree, reader.root());
}

void PlainCopy::select(TreeItem item) {
    if (item == tree.selectedItem()) {
        return;
    }
    reader.editNormals = 0;
    SelectionMarks::apply(tree.itemData(tree.selectedItem()), 0);
    tree.selectItem(item);
    SelectionMarks::apply(tree.itemData(item), 1);
}

void PlainCopy::setDisplayed(SceneObject* record, bool on) {
    record->displayed = on;
    for (TreeItem item : itemsOf(&tree, record)) {
        tree.setCheck(item, on);
    }
}

template <class Map>
void PlainCopy::renumberBitmaps(Map map) {
    const int count = static_cast<int>(reader.bitmapNames.size());
    auto renumber = [&](int& n) {
        if (n >= 0 && n < count && n != 255) {
            n = map(n);
        }
    };
    for (SubEntity* s : reader.subEntities) {
        renumber(s->bitmapIndex);
    }
    for (Face* f : reader.faces) {
        renumber(f->bitmapIndex);
    }
}

bool PlainCopy::bitmapAllowed(const Op& op) const {
    const int count = static_cast<int>(reader.bitmapNames.size());
    const bool terrainLast = reader.fileType == Reader::kY4T && count > 0 &&
                             reader.bitmapNames.back() == Y4TParser::kTerrainName;
    auto movable = [&](int p) { return p >= 0 && p < count && !(terrainLast && p == count - 1); };
    switch (op.kind) {
        case Op::AddBitmap:
            return true;
        case Op::RemoveBitmap:
            // A terrain keeps a bitmap besides its own while other records name one.
            return movable(op.position) && !(reader.fileType == Reader::kY4T && count <= 2 &&
                                             reader.subEntities.size() > 1);
        case Op::MoveBitmap:
            return movable(op.position) && movable(op.position + op.offset);
        case Op::RenameBitmap:
            return movable(op.position) &&
                   reader.bitmapNames[static_cast<std::size_t>(op.position)] != op.text;
        default:
            return false;
    }
}

void PlainCopy::apply(const Op& op, bool replaying) {
    SceneObject* record = recordAt(reader, op.target);
    if (op.kind >= Op::AddBitmap && op.kind <= Op::RenameBitmap && !bitmapAllowed(op)) {
        return;
    }
    switch (op.kind) {
        case Op::Select:
            select(itemAt(reader, op.target));
            break;
        case Op::Delete: {
            if (!record || record == reader.root() || isTerrainRecord(reader, record) ||
                record->kind() == SceneObject::kVertex) {
                break;
            }
            select(kNoItem);
            const int flag = record->deleted ? 0 : 1;
            if (record->kind() == SceneObject::kEntity) {
                reader.markEntity(static_cast<Entity*>(record), flag);
            } else if (record->kind() == SceneObject::kSubEntity) {
                reader.markSubEntity(static_cast<SubEntity*>(record), flag);
            } else {
                reader.markFace(static_cast<Face*>(record), flag);
            }
            if (!flag) {
                select(itemsOf(&tree, record).front());
            }
            break;
        }
        case Op::Scale: {
            // A terrain's root stays where its file keeps it.
            Entity* root = reader.root();
            const bool keepRoot = reader.fileType == Reader::kY4T && root && root->selected;
            if (keepRoot) {
                root->selected = 0;
            }
            reader.scaleSelected(op.factors[0], op.factors[1], op.factors[2]);
            if (keepRoot) {
                root->selected = 1;
            }
            if (!replaying) {
                reader.computeWorldPositions();
            }
            break;
        }
        case Op::Drag:
            reader.editNormals = op.normals;
            for (std::size_t k = 0; k < op.deltas.size(); k += 3) {
                SelectionTransform::step(reader, op.deltas[k], op.deltas[k + 1], op.deltas[k + 2],
                                         op.dragKind, op.normals, reader.fileType == Reader::kY4T);
            }
            if (!replaying) {
                reader.computeWorldPositions();
            }
            break;
        case Op::Rename:
            if (record && !isTerrainRecord(reader, record) && !badGroupName(record, op.text)) {
                record->setName(op.text);
                for (TreeItem item : itemsOf(&tree, record)) {
                    tree.resetItemText(item);
                }
            }
            break;
        case Op::Display:
            if (record) {
                setDisplayed(record, op.on);
            }
            break;
        case Op::DisplayAll:
            for (Vertex* v : reader.vertices) {
                setDisplayed(v, op.on);
            }
            for (Face* f : reader.faces) {
                setDisplayed(f, op.on);
            }
            for (SubEntity* s : reader.subEntities) {
                setDisplayed(s, op.on);
            }
            for (Entity* e : reader.entities) {
                setDisplayed(e, op.on);
            }
            break;
        case Op::AddBitmap: {
            // A terrain's own bitmap stays last, and its record with it.
            std::vector<std::string>& names = reader.bitmapNames;
            const bool terrain = reader.fileType == Reader::kY4T && !names.empty();
            const int at = static_cast<int>(names.size()) - (terrain ? 1 : 0);
            renumberBitmaps([&](int n) { return n >= at ? n + 1 : n; });
            names.insert(names.begin() + at, op.text);
            break;
        }
        case Op::RemoveBitmap: {
            // Numbers stay, except in a terrain: there every record keeps its picture, and
            // those of the removed one take the first.
            if (reader.fileType == Reader::kY4T) {
                renumberBitmaps([&](int n) {
                    return n == op.position ? 0 : n > op.position ? n - 1 : n;
                });
            }
            reader.bitmapNames.erase(reader.bitmapNames.begin() + op.position);
            break;
        }
        case Op::MoveBitmap:
            std::swap(reader.bitmapNames[static_cast<std::size_t>(op.position)],
                      reader.bitmapNames[static_cast<std::size_t>(op.position + op.offset)]);
            break;
        case Op::RenameBitmap:
            reader.bitmapNames[static_cast<std::size_t>(op.position)] = op.text;
            break;
        case Op::EditNormals:
            reader.editNormals = op.on;
            break;
        case Op::Commit:
            if (goesWithPurge(tree.itemData(tree.selectedItem()))) {
                select(kNoItem);
            }
            SelectionMarks::apply(tree.itemData(tree.selectedItem()), 0);
            reader.finalDelete();
            SelectionMarks::apply(tree.itemData(tree.selectedItem()), 1);
            break;
    }
}

}  // namespace y4::test
