// The records' bitmap numbers that follow a change of the bitmap list.
#include "BitmapNumbers.h"

#include <unordered_set>

#include "files/Reader.h"
#include "model/Face.h"
#include "model/SubEntity.h"

namespace y4 {

namespace {

// What a file writes as no bitmap.
constexpr int kNoBitmap = 255;

bool namesBitmap(int number, int count) {
    return number >= 0 && number < count && number != kNoBitmap;
}

int& numberOf(SceneObject* record) {
    return record->kind() == SceneObject::kFace ? static_cast<Face*>(record)->bitmapIndex
                                                : static_cast<SubEntity*>(record)->bitmapIndex;
}

}  // namespace

template <class Renumber>
BitmapNumbers BitmapNumbers::renumbered(const Reader& reader, Renumber renumber) {
    BitmapNumbers numbers;
    const int count = static_cast<int>(reader.bitmapNames.size());
    std::unordered_set<SubEntity*> meshes;
    auto visit = [&](SceneObject* record, SubEntity* mesh) {
        const int before = numberOf(record);
        if (!namesBitmap(before, count)) {
            return;
        }
        const int after = renumber(before);
        if (after != before) {
            numbers.entries_.push_back({record, before, after});
            if (mesh && meshes.insert(mesh).second) {
                numbers.change_.meshes.push_back(mesh);
            }
        }
    };
    for (SubEntity* s : reader.subEntities) {
        visit(s, s);
    }
    for (Face* f : reader.faces) {
        visit(f, f->parent);
    }
    numbers.change_.aspects = RecordChange::kBitmapNumbers;
    return numbers;
}

BitmapNumbers BitmapNumbers::forRemoval(const Reader& reader, int position) {
    // A model or flat file keeps its numbers as they are: a number names a place in the list,
    // and what was below the removed bitmap moves up into its place (a number past the end draws
    // untextured and saves as it is). A terrain file names a picture for every record instead,
    // and one left on the terrain's own picture or past the list would not load again.
    if (reader.fileType != Reader::kY4T) {
        return BitmapNumbers();
    }
    return renumbered(reader, [&](int number) {
        return number == position ? 0 : number > position ? number - 1 : number;
    });
}

BitmapNumbers BitmapNumbers::forInsertion(const Reader& reader, int position) {
    return renumbered(reader, [&](int number) { return number >= position ? number + 1 : number; });
}

void BitmapNumbers::put(bool after) const {
    for (const Entry& entry : entries_) {
        numberOf(entry.record) = after ? entry.after : entry.before;
    }
}

std::size_t BitmapNumbers::bytes() const {
    return entries_.capacity() * sizeof(Entry) + change_.meshes.capacity() * sizeof(SubEntity*);
}

}  // namespace y4
