// Picking through ModelDocument: the highlighted faces around a picked vertex, announced for
// the sub-entities whose faces change colour, and the vertex's selection through its last tree
// listing, none of it an edit.
#include <gtest/gtest.h>

#include "document/ModelDocument.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/RecordingObserver.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;
using test::RecordingObserver;

TEST(ModelDocumentPicking, HighlightingAndChoosingAPickedVertexAreAnnouncedButNoEdits) {
    test::TempDir dir;
    ModelDocument document;
    ASSERT_TRUE(document.load(
        test::ModelFixture::write(dir, "TINY.Y4P", test::kTinyY4P, {{"RED"}, {"BLUE"}})));
    Reader& r = *document.reader();
    SubEntity* arm = r.entities[1]->subEntities[0];
    SubEntity* foot = r.entities[3]->subEntities[0];
    Vertex* toe = foot->vertices[0];
    Vertex* hand = arm->vertices[2];
    RecordingObserver told(document);
    told.probe = [&] { return std::to_string(foot->faces[1]->marked); };

    document.choosePickedVertex(toe);
    EXPECT_EQ(told.take(),
              (Lines{"will change highlight of [V:Vertex[0]] placed [] meshes [S:SubEntity[0]] | 0",
                     "change highlight of [V:Vertex[0]] placed [] meshes [S:SubEntity[0]] | 1",
                     "select - -> V:Vertex[0]"}));
    // Both of the toe's faces and all their corners; the listing selected is the last.
    for (const Face* f : foot->faces) {
        EXPECT_EQ(f->marked, 1);
    }
    for (const Vertex* v : foot->vertices) {
        EXPECT_EQ(v->marked, 1);
    }
    EXPECT_EQ(document.selectedItem(), toe->treeItems(document.tree()).back());
    EXPECT_EQ(toe->selected, 1);
    EXPECT_EQ(arm->faces[0]->marked, 0);

    // Another vertex: the old faces lose the mark, so both sub-entities are redrawn.
    told.probe = {};
    document.choosePickedVertex(hand);
    EXPECT_EQ(told.take(),
              (Lines{"will change highlight of [V:Vertex[2]] placed [] meshes [S:SubEntity[0] "
                     "S:SubEntity[0]]",
                     "change highlight of [V:Vertex[2]] placed [] meshes [S:SubEntity[0] "
                     "S:SubEntity[0]]",
                     "select V:Vertex[0] -> V:Vertex[2]"}));
    EXPECT_EQ(foot->faces[0]->marked, 0);
    EXPECT_EQ(toe->marked, 0);
    EXPECT_EQ(toe->selected, 0);
    EXPECT_EQ(arm->faces[0]->marked, 1);
    EXPECT_EQ(hand->selected, 1);

    document.clearHighlight();
    document.select(kNoItem);
    EXPECT_EQ(told.take(), (Lines{"will change highlight of [] placed [] meshes [S:SubEntity[0]]",
                                  "change highlight of [] placed [] meshes [S:SubEntity[0]]",
                                  "select V:Vertex[2] -> -"}));
    for (const Vertex* v : r.vertices) {
        EXPECT_EQ(v->marked, 0);
    }
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.isModified());
}

}  // namespace
}  // namespace y4
