// The structural edits of ModelDocument on small hand-made models: the paste table with every
// message, what paste copies and shares, Add Group, Add SubEntity, the numbering of New Face's
// created corners, Split Face, a terrain's protected root and bitmap, and the remembered copy
// source: the exact outcome of each. What the object tree, New Face, Attributes and Textures
// dialogs offer, refuse and apply is checked through those dialogs; that every edit keeps the
// invariants and undoes and redoes exactly is the soak run's to check.
#include <gtest/gtest.h>

#include "document/ModelDocument.h"
#include "model/ShadowView.h"
#include "support/HandModels.h"
#include "support/ModelFixture.h"
#include "support/RecordingObserver.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using Lines = std::vector<std::string>;
using test::ModelFixture;
using test::RecordingObserver;
using test::SceneDump;
using test::ShadowView;
using test::TempDir;
using test::testPrompt;

// A sub-entity of four vertices, the first and third at the same place with the same texture
// coordinates (within the tolerance) but different normals.
constexpr std::string_view kSeamY4P = R"(NumVertices: 4
NumFaces: 2
NumBitmaps: 1
NumEntities: 2
// Bitmaps
Bitmap[  0]: RED
// Entity:: name...
Entity[   0]:                             Root:     0.000000     0.000000     0.000000     0.000000     0.000000     0.000000     0.000000     -1     -1      1      0      0      1      0      0      0      0  -5141
Entity[   1]:                             Seam:     0.000000     0.000000     0.000000     0.000000     0.000000     0.000000     0.000000     -1      0     -1      2      4      1      0      0      1      0  -5141
Vertices: 4
Faces: 2
Bitmap: 0
Vertex[  0]:     0.000000     0.000000     0.000000     1.000000     1.000000     0.000000     0.000000     0.000000     0.000000     0.000000
Vertex[  1]:     1.000000     0.000000     0.000000     1.000000     0.000000     0.000000     1.000000     0.000000     1.000000     0.000000
Vertex[  2]:     0.000000     0.000000     0.000400     1.000000     0.000000     1.000000     0.000000     0.000000     0.000300     0.000000
Vertex[  3]:     0.000000     1.000000     0.000000     1.000000     0.000000     0.000000     1.000000     0.000000     0.000000     1.000000
Face[  0]:   0   1   3
Face[  1]:   2   1   3
)";

class ModelDocumentStructure : public testing::Test {
protected:
    ModelDocumentStructure() { open("TINY.Y4P", test::kTinyY4P); }

    void open(std::string_view name, std::string_view text) {
        path_ = ModelFixture::write(
            dir_, name, text,
            {{"RED"}, {"BLUE"}, {"BRICK"}, {"GLASS"}, {"GRASS"}, {"ROCK"}, {"HILLS"}, {"STONE"}});
        ASSERT_TRUE(document_.load(path_));
        r_ = document_.reader();
    }
    Entity* entity(const char* name) const { return r_->findEntityByName(name); }
    // Everything an edit may change: the records, the tree's labels and checks, the selection.
    std::string state() const {
        return SceneDump::text(*r_) + ShadowView::outline(document_.tree()) +
               document_.tree().itemText(document_.selectedItem());
    }
    void refused(SceneObject* source, SceneObject* destination, const std::string& message) {
        SCOPED_TRACE(message);
        document_.copy(source);
        const std::string before = state();
        testPrompt().expectMessage(message);
        EXPECT_FALSE(document_.paste(destination));
        EXPECT_EQ(state(), before);
    }

    TempDir dir_;
    std::string path_;
    ModelDocument document_;
    Reader* r_ = nullptr;
};

TEST_F(ModelDocumentStructure, ThePasteTableRefusesEachPairWithItsMessage) {
    Entity* leg = entity("Leg");
    Entity* foot = entity("Foot");
    SubEntity* arm = entity("Arm one")->subEntities[0];
    SubEntity* sole = foot->subEntities[0];
    // Nothing copied: nothing happens, silently.
    EXPECT_FALSE(document_.paste(leg));
    EXPECT_FALSE(document_.copy(arm->vertices[0]));
    EXPECT_EQ(document_.copySource(), nullptr);

    refused(leg, nullptr, "Error: Invalid paste destination");
    refused(leg, leg, "Error: Cannot paste an object into itself");
    refused(leg, foot, "Cannot copy an entity into a subordinate entity");
    refused(leg, arm, "Cannot paste an entity into a sub-entity");
    refused(leg, arm->faces[0], "Cannot paste an entity into a face");
    refused(leg, arm->vertices[0], "Invalid destination");
    refused(arm, sole, "Cannot paste a sub-entity into a sub-entity");
    refused(arm, sole->faces[0], "Cannot paste a sub-entity into a face");
    refused(arm, sole->vertices[0], "Invalid destination");
    refused(arm->faces[0], leg, "Cannot paste a face into an entity");
    refused(arm->faces[0], sole->faces[1], "Cannot paste a face into a face");
    refused(arm->faces[0], sole->vertices[2], "Invalid destination");
    EXPECT_FALSE(document_.canUndo());

    // Nothing goes into a marked record.
    ASSERT_TRUE(document_.copy(arm->faces[0]));
    EXPECT_TRUE(document_.canPaste(sole));
    ASSERT_TRUE(document_.toggleDeleted(sole));
    EXPECT_FALSE(document_.canPaste(sole));
    EXPECT_FALSE(document_.paste(sole));
}

TEST_F(ModelDocumentStructure, AFlatModelHoldsOneSubEntityPerEntity) {
    open("FLAT.Y4D", test::kFlatY4D);
    Entity* panel = entity("Panel");
    Entity* marker = entity("Marker");
    ASSERT_TRUE(document_.copy(marker->subEntities[0]));
    EXPECT_FALSE(document_.canPaste(panel));
    refused(marker->subEntities[0], panel, "Y4D files support only 1 subEntity per entity");
    EXPECT_FALSE(document_.canAddSubEntity(panel));
    EXPECT_EQ(document_.addSubEntity(panel), nullptr);
    // An entity without a sub-entity takes one.
    Entity* group = document_.addGroup(r_->root());
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(document_.canPaste(group));
    ASSERT_TRUE(document_.paste(group));
    EXPECT_EQ(group->subEntities.size(), 1u);
    EXPECT_FALSE(document_.canAddSubEntity(group));

    // Sub-entities without faces, one empty and one holding the vertices of a copy whose face
    // is marked, come back from the file with their vertices.
    ASSERT_NE(document_.addSubEntity(document_.addGroup(r_->root())), nullptr);
    ASSERT_TRUE(document_.toggleDeleted(marker->subEntities[0]->faces[0]));
    Entity* bare = document_.addGroup(r_->root());
    testPrompt().expectMessage(
        "Warning: Copy source contained deleted faces; deleted data will not be copied");
    ASSERT_TRUE(document_.paste(bare));
    ASSERT_EQ(bare->subEntities.at(0)->vertices.size(), 3u);
    ASSERT_TRUE(document_.save(path_));
    ASSERT_TRUE(document_.load(path_));
    r_ = document_.reader();
    const std::size_t count = r_->entities.size();
    ASSERT_EQ(count, 6u);
    EXPECT_EQ(r_->entities[count - 2]->subEntities.size(), 1u);
    ASSERT_EQ(r_->entities[count - 1]->subEntities.size(), 1u);
    EXPECT_EQ(r_->entities[count - 1]->subEntities[0]->vertices.size(), 3u);
}

TEST_F(ModelDocumentStructure, PasteCopiesShareVerticesWithinTheTolerance) {
    Entity* arm = entity("Arm one");
    SubEntity* mesh = arm->subEntities[0];
    SubEntity* empty = arm->subEntities[1];
    Face* face = mesh->faces[0];
    document_.selectRecord(empty);
    RecordingObserver told(document_);

    // A face into an empty sub-entity: its three corners are copied, marked created and, with
    // the sub-entity selected, selected.
    ASSERT_TRUE(document_.copy(face));
    ASSERT_TRUE(document_.paste(empty));
    ASSERT_EQ(empty->faces.size(), 1u);
    ASSERT_EQ(empty->vertices.size(), 3u);
    Face* copy = empty->faces[0];
    EXPECT_EQ(copy->name(), "Face[0]");
    EXPECT_EQ(copy->vertexA->X, face->vertexA->X);
    EXPECT_EQ(copy->vertexC->textureV, face->vertexC->textureV);
    EXPECT_EQ((std::vector<int>{copy->indexA, copy->indexB, copy->indexC}),
              (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(copy->created + copy->selected + copy->vertexB->created + copy->vertexB->selected, 4);
    EXPECT_EQ(told.take(), (Lines{"added [V:Vertex[0] V:Vertex[1] V:Vertex[2] F:Face[0]] meshes "
                                  "[S:SubEntity[1]]",
                                  "modified", "undo 1 redo 0"}));
    EXPECT_TRUE(document_.isModified());
    EXPECT_EQ(document_.undoName(), "Paste");
    told.take();

    // Again: the corners match the copies made before, so no vertex is added.
    ASSERT_TRUE(document_.paste(empty));
    EXPECT_EQ(empty->faces.size(), 2u);
    EXPECT_EQ(empty->vertices.size(), 3u);
    EXPECT_EQ(empty->faces[1]->vertexB, copy->vertexB);

    // A face into its own sub-entity: the first matching vertices, the old corners themselves.
    ASSERT_TRUE(document_.paste(mesh));
    EXPECT_EQ(mesh->vertices.size(), 3u);
    EXPECT_EQ(mesh->faces[1]->vertexA, face->vertexA);
    EXPECT_EQ(face->vertexA->faces.size(), 2u);

    // A group into its sibling: a copy one level down, with its sub-entities renumbered.
    Entity* leg = entity("Leg");
    ASSERT_TRUE(document_.copy(arm));
    ASSERT_TRUE(document_.paste(leg));
    Entity* armCopy = leg->children.back();
    EXPECT_EQ(armCopy->name(), "Arm one");
    EXPECT_EQ(armCopy->level, 2);
    EXPECT_EQ(armCopy->index, 4);
    EXPECT_EQ(armCopy->subEntities.size(), 2u);
    EXPECT_EQ(armCopy->subEntities[1]->faces.size(), 2u);
    const Entity* root = r_->root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(armCopy->absolutePosition()[0], leg->positionX + root->positionX);
}

TEST_F(ModelDocumentStructure, CoincidingVerticesOfACopiedSubEntityBecomeOne) {
    open("SEAM.Y4P", kSeamY4P);
    Entity* seam = entity("Seam");
    ASSERT_TRUE(document_.copy(seam->subEntities[0]));
    Entity* group = document_.addGroup(r_->root());
    ASSERT_TRUE(document_.paste(group));
    SubEntity* copy = group->subEntities[0];
    ASSERT_EQ(copy->vertices.size(), 3u);
    // The first of the two wins, with its own normal; the second face uses it.
    EXPECT_EQ(copy->vertices[0]->normalX, seam->subEntities[0]->vertices[0]->normalX);
    EXPECT_EQ(copy->faces[1]->vertexA, copy->vertices[0]);
    EXPECT_EQ(copy->faces[1]->indexA, 0);
    EXPECT_EQ(copy->faces[1]->indexC, 2);
}

TEST_F(ModelDocumentStructure, DeletedPartsOfASourceAreLeftOutWithOneWarning) {
    Entity* arm = entity("Arm one");
    Entity* leg = entity("Leg");
    ASSERT_NE(document_.addSubEntity(arm), nullptr);
    ASSERT_TRUE(document_.toggleDeleted(arm->subEntities[0]));
    ASSERT_TRUE(document_.toggleDeleted(arm->subEntities[1]));
    ASSERT_TRUE(document_.copy(arm));
    testPrompt().expectMessage(
        "Warning: Copy source contained deleted data; deleted data was not copied");
    ASSERT_TRUE(document_.paste(leg));
    ASSERT_EQ(leg->children.back()->subEntities.size(), 1u);
    EXPECT_EQ(leg->children.back()->subEntities[0]->name(), "SubEntity[0]");

    // A marked face of a sub-entity: the faces' warning; a source marked as a whole: its
    // warning and nothing else.
    SubEntity* sole = entity("Foot")->subEntities[0];
    ASSERT_TRUE(document_.toggleDeleted(sole->faces[0]));
    ASSERT_TRUE(document_.copy(sole));
    testPrompt().expectMessage(
        "Warning: Copy source contained deleted faces; deleted data will not be copied");
    ASSERT_TRUE(document_.paste(arm));
    EXPECT_EQ(arm->subEntities.back()->faces.size(), 1u);
    EXPECT_EQ(arm->subEntities.back()->vertices.size(), 3u);
    ASSERT_TRUE(document_.copy(sole->faces[1]));
    ASSERT_TRUE(document_.toggleDeleted(sole->faces[1]));
    const std::size_t steps = document_.history().size();
    testPrompt().expectMessage(
        "Warning: Copy source contained deleted faces; deleted data will not be copied");
    EXPECT_FALSE(document_.paste(arm->subEntities[2]));
    EXPECT_EQ(document_.history().size(), steps);
}

TEST_F(ModelDocumentStructure, ATerrainRecordIsPastedBeforeTheTerrainsOwn) {
    open("HILLS.Y4T", test::kHillsY4T);
    Entity* root = r_->root();
    ASSERT_NE(root, nullptr);
    document_.selectRecord(root);
    ASSERT_TRUE(document_.copy(root->subEntities[0]));
    ASSERT_TRUE(document_.paste(root));
    ASSERT_EQ(root->subEntities.size(), 4u);
    EXPECT_EQ(root->subEntities[2]->name(), "SubEntity[3]");
    EXPECT_EQ(r_->subEntities[2], root->subEntities[2]);
    EXPECT_EQ(root->subEntities[3]->name(), "Zelvan's Terrain");
    EXPECT_EQ(document_.tree().itemText(document_.tree().child(root->treeItem, 2)), "SubEntity[3]");

    // The file holds neither the root's name nor its placement: applying them changes nothing
    // a save writes. The terrain's own record keeps its name.
    ASSERT_TRUE(document_.save(path_));
    AttributeValues values = document_.attributesOf(root);
    values.groupName = "Elsewhere";
    values.position = {5, 6, 7};
    ASSERT_TRUE(document_.applyAttributes(values));
    EXPECT_FALSE(document_.isModified());
    SubEntity* own = root->subEntities[3];
    document_.selectRecord(own);
    values = document_.attributesOf(own);
    values.subEntityName = "Mine";
    values.bitmapIndex = 0;
    EXPECT_FALSE(document_.applyAttributes(values));
    EXPECT_EQ(own->name(), "Zelvan's Terrain");
    // Nor does another record take the terrain's bitmap, which its file could not say.
    document_.selectRecord(root->subEntities[0]);
    values = document_.attributesOf(root->subEntities[0]);
    values.bitmapIndex = own->bitmapIndex;
    EXPECT_FALSE(document_.applyAttributes(values));
    EXPECT_NE(root->subEntities[0]->bitmapIndex, own->bitmapIndex);
}

TEST_F(ModelDocumentStructure, AddGroupAndAddSubEntityMakeEmptyRecordsLast) {
    Entity* root = r_->root();
    document_.selectRecord(root);
    const std::string before = state();
    Entity* group = document_.addGroup(root);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(root->children.back(), group);
    EXPECT_EQ(r_->entities.back(), group);
    EXPECT_EQ(group->level, 1);
    EXPECT_EQ(group->index, 4);
    EXPECT_EQ(group->positionX, 0.0f);
    EXPECT_EQ(group->created + group->selected, 2);
    EXPECT_EQ(document_.undoName(), "Add Group");

    SubEntity* mesh = document_.addSubEntity(group);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->name(), "SubEntity[0]");
    EXPECT_EQ(mesh->bitmapIndex, 0);
    EXPECT_TRUE(mesh->faces.empty());
    EXPECT_FALSE(document_.canAddGroup(group));
    // Undoing both leaves the file as it was.
    document_.undo();
    document_.undo();
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(document_.isModified());
}

TEST_F(ModelDocumentStructure, NewFaceAppendsCreatedCornersNamedAsTheDialogNumberedThem) {
    SubEntity* sole = entity("Foot")->subEntities[0];
    document_.selectRecord(sole);
    std::array<FaceCorner, 3> corners{FaceCorner::existing(sole->vertices[0]),
                                      FaceCorner::existing(sole->vertices[2]),
                                      FaceCorner::existing(sole->vertices[1])};
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(document_.addFace(sole, corners));
    }
    EXPECT_EQ(document_.nextVertexNumber(sole), 3);
    VertexValues far;
    far.X = -7;
    far.normalZ = 1;
    corners = {FaceCorner::created(far, 4), FaceCorner::existing(sole->vertices[1]),
               FaceCorner::created(VertexValues(), 3)};
    Face* face = document_.addFace(sole, corners);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->name(), "Face[5]");
    ASSERT_EQ(sole->vertices.size(), 5u);
    EXPECT_EQ(sole->vertices[3]->name(), "Vertex[4]");
    EXPECT_EQ(sole->vertices[3]->X, -7.0f);
    EXPECT_EQ(sole->vertices[4]->name(), "Vertex[3]");
    EXPECT_EQ((std::vector<int>{face->indexA, face->indexB, face->indexC}),
              (std::vector<int>{3, 1, 4}));
    EXPECT_EQ(r_->vertices.back(), sole->vertices[4]);
    EXPECT_EQ(document_.tree().itemText(document_.selectedItem()), "Face[5]");
}

TEST_F(ModelDocumentStructure, SplitFaceHalvesTheEdgeFromTheFirstCornerToTheThird) {
    SubEntity* mesh = entity("Arm one")->subEntities[0];
    Face* face = mesh->faces[0];
    Vertex* a = face->vertexA;
    Vertex* b = face->vertexB;
    Vertex* c = face->vertexC;
    document_.selectRecord(face);
    Face* half = document_.splitFace(face);
    ASSERT_NE(half, nullptr);
    Vertex* middle = face->vertexC;
    EXPECT_EQ(middle, mesh->vertices[3]);
    EXPECT_EQ(middle->X, (c->X + a->X) * 0.5f);
    EXPECT_EQ(middle->Z, (c->Z + a->Z) * 0.5f);
    EXPECT_EQ(middle->textureU, (c->textureU + a->textureU) * 0.5f);
    EXPECT_EQ(middle->normalZ, (c->normalZ + a->normalZ) * 0.5f);
    EXPECT_EQ(face->indexC, 3);
    EXPECT_EQ((std::vector<Vertex*>{half->vertexA, half->vertexB, half->vertexC}),
              (std::vector<Vertex*>{middle, b, c}));
    EXPECT_EQ((std::vector<int>{half->indexA, half->indexB, half->indexC}),
              (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(half->bitmapIndex, face->bitmapIndex);
    EXPECT_EQ(c->faces, std::vector<Face*>{half});
    EXPECT_EQ(middle->faces, (std::vector<Face*>{face, half}));
    // The new face is selected and listed last; the old face's items show its new corners.
    EXPECT_EQ(document_.selectedRecord(), half);
    const SceneTree& tree = document_.tree();
    EXPECT_EQ(tree.row(half->treeItem), 1);
    EXPECT_EQ(tree.itemData(tree.child(face->treeItem, 2)), middle);
    EXPECT_EQ(tree.itemData(tree.child(half->treeItem, 0)), middle);
    EXPECT_EQ(document_.undoName(), "Split Face");

    // Again: the edge is halved again.
    ASSERT_NE(document_.splitFace(face), nullptr);
    EXPECT_EQ(face->vertexC->X, ((c->X + a->X) * 0.5f + a->X) * 0.5f);
    EXPECT_EQ(mesh->faces.size(), 3u);
    EXPECT_EQ(mesh->vertices.size(), 5u);
    EXPECT_FALSE(document_.canSplitFace(a));
}

TEST_F(ModelDocumentStructure, AMovedBitmapIsAnEditAndATerrainsNewTextureGoesBeforeItsOwn) {
    // Moving changes what a save writes.
    ASSERT_TRUE(document_.save(path_));
    ASSERT_TRUE(document_.moveBitmap(0, 1));
    EXPECT_TRUE(document_.isModified());

    open("HILLS.Y4T", test::kHillsY4T);
    testPrompt().expectMessage(
        "Warning: You MUST ensure that the specified bitmap is in the TERRAIN.PKV archive.  If "
        "it is not, add it using the PKVTOOL -a add file option.");
    ASSERT_TRUE(document_.addTextureFile("STONE.BMP"));
    EXPECT_EQ(r_->bitmapNames.back(), "Zelvan's Terrain");
    EXPECT_EQ(r_->bitmapNames[r_->bitmapNames.size() - 2], "STONE");
}

TEST_F(ModelDocumentStructure, TheCopySourceIsForgottenWhenItLeavesTheScene) {
    SubEntity* sole = entity("Foot")->subEntities[0];
    Entity* arm = entity("Arm one");
    // Windows told of a deselection no longer see a copy to offer, also when nothing was
    // selected (a load clears the selection before it opens the file, and may be cancelled).
    struct PasteOffer : DocumentObserver {
        explicit PasteOffer(ModelDocument& d) : document(d) { document.addObserver(this); }
        ~PasteOffer() override { document.removeObserver(this); }
        void selectionChanged(const SelectionChange&) override {
            told.push_back(document.copySource() != nullptr);
        }
        ModelDocument& document;
        std::vector<bool> told;
    } offer(document_);
    document_.selectRecord(arm);
    ASSERT_TRUE(document_.copy(sole->faces[0]));
    document_.deselect();
    EXPECT_EQ(document_.copySource(), nullptr);
    ASSERT_TRUE(document_.copy(sole->faces[0]));
    document_.deselect();
    EXPECT_EQ(document_.copySource(), nullptr);
    document_.deselect();
    EXPECT_EQ(offer.told, (std::vector<bool>{false, false, false}));

    // Made by a paste that is undone.
    ASSERT_TRUE(document_.copy(sole));
    ASSERT_TRUE(document_.paste(arm));
    ASSERT_TRUE(document_.copy(arm->subEntities.back()->faces[0]));
    document_.undo();
    EXPECT_EQ(document_.copySource(), nullptr);

    // Purged by a commit.
    ASSERT_TRUE(document_.copy(sole->faces[1]));
    ASSERT_TRUE(document_.toggleDeleted(sole));
    EXPECT_EQ(document_.copySource(), sole->faces[1]);
    ASSERT_TRUE(document_.commit());
    EXPECT_EQ(document_.copySource(), nullptr);

    // Replaced with the model.
    ASSERT_TRUE(document_.copy(arm));
    ASSERT_TRUE(document_.load(path_));
    EXPECT_EQ(document_.copySource(), nullptr);
}

}  // namespace
}  // namespace y4
