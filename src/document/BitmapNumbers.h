// BitmapNumbers: the bitmap numbers of sub-entities and faces that a change of the bitmap list
// moves, each with its value before and after, so that an undo step can put either back.
#pragma once

#include <cstddef>
#include <vector>

#include "DocumentObserver.h"

namespace y4 {

class Reader;

class BitmapNumbers {
public:
    // The bitmap at `position` leaves a terrain's list: the numbers above it come down by one,
    // so that every record keeps drawing the picture it drew, and a record that drew the
    // removed one takes bitmap 0 (its file must name a picture; it writes -1 as 0 anyway).
    // Numbers that name no bitmap stay as they are, and the terrain's own record comes down
    // with its bitmap, kept last. Other variants keep every number.
    static BitmapNumbers forRemoval(const Reader& reader, int position);
    // A bitmap is inserted at `position`: the numbers from there on go up by one (in a terrain,
    // where the new one goes before the terrain's own, its record's number).
    static BitmapNumbers forInsertion(const Reader& reader, int position);

    bool empty() const { return entries_.empty(); }
    // Puts the numbers of before or of after the change.
    void put(bool after) const;
    // The records changed, for the announcements.
    const RecordChange& change() const { return change_; }
    std::size_t bytes() const;

private:
    struct Entry {
        SceneObject* record;
        int before;
        int after;
    };
    template <class Renumber>
    static BitmapNumbers renumbered(const Reader& reader, Renumber renumber);

    std::vector<Entry> entries_;
    RecordChange change_;
};

}  // namespace y4
