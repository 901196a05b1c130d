// Malformed model files: each is refused with a message naming the file, the line and what was
// expected, and leaves nothing of itself behind (the sanitizer build checks for leaks). Counts,
// entity and vertex lines that are plainly broken are among the files of BadInputTest.
#include <gtest/gtest.h>

#include "files/LoadError.h"
#include "files/Reader.h"
#include "support/ModelFixture.h"

namespace y4 {
namespace {

using test::ModelFixture;
using test::TempDir;

const std::string kEntity0 =
    "Entity[   0]:                             Root:     0.000000     0.000000     0.000000     "
    "0.000000     0.000000     0.000000     0.000000     -1     -1     -1      0      0      1     "
    " "
    "0      0      0      0  -5141\n";

// An entity line of the nested variant with the given parent and sub-entity count.
std::string nestedEntity(int position, int parent, int blocks) {
    return "Entity[" + std::to_string(position) + "]: E" + std::to_string(position) +
           ": 0 0 0 0 0 0 0 -1 " + std::to_string(parent) + " -1 0 0 1 0 0 " +
           std::to_string(blocks) + " 0 -5141\n";
}

std::string nestedHeader(int entities) {
    return "NumVertices: 0\nNumFaces: 0\nNumBitmaps: 0\nNumEntities: " + std::to_string(entities) +
           "\n// Bitmaps\n// Entity:: name...\n";
}

const std::string kTriangle =
    "Vertices: 3\nFaces: 1\nBitmap: 0\n"
    "Vertex[  0]: 0 0 0 1 0 0 1 0 0 0\n"
    "Vertex[  1]: 1 0 0 1 0 0 1 0 0 0\n"
    "Vertex[  2]: 0 1 0 1 0 0 1 0 0 0\n";

const std::string kFlatHeader =
    "NumVertices: 3\nNumFaces: 1\nNumBitmaps: 0\nNumEntities: 2\n// Vertex\n"
    "0 0 0 0 0 0 1 0 0 0\n1 0 0 0 0 0 1 0 0 0\n0 1 0 0 0 0 1 0 0 0\n"
    "// Face\nFace[   0]:    0    1    2  255 // (null)\n// Bitmaps\n// Entities\n";

// An entity line of the flat variant claiming faces and vertices.
std::string flatEntity(int position, int faces, int firstFace, int vertices, int firstVertex) {
    return "Entity[" + std::to_string(position) + "]: F: 0 0 0 0 0 0 0 -1 -1 " +
           (position == 0 ? "-1" : "0") + " -1 " + std::to_string(faces) + " " +
           std::to_string(firstFace) + " " + std::to_string(vertices) + " " +
           std::to_string(firstVertex) + " 1 0 0\n";
}

std::string terrainRecord(int record, int vertices, const std::string& faceLines) {
    std::string text =
        "\\\\ Start Record\nnumVertices: " + std::to_string(vertices) +
        "\nnumFaces: " + std::to_string(std::count(faceLines.begin(), faceLines.end(), '\n')) +
        "\nRecord: " + std::to_string(record) + "\n";
    for (int k = 0; k < vertices; ++k) {
        text += "Vertex[  " + std::to_string(k) + "]: 0 0 0 0 1 0 0 0\n";
    }
    return text + "??: 1\n" + faceLines + "\\\\ End Record\n";
}

struct Case {
    const char* what;
    const char* file;
    std::string text;
    // The message after "Error: <path>, ".
    std::string message;
};

std::vector<Case> cases() {
    std::string longLine = nestedHeader(0);
    longLine.replace(longLine.find("// Bitmaps"), 10, "//" + std::string(1030, ' ') + "x");
    std::string deep = nestedHeader(258);
    for (int k = 0; k < 258; ++k) {
        deep += nestedEntity(k, k - 1, 0);
    }
    std::string manyRecords = "NumRecords: 256\n";
    return {
        {"negative count", "A.Y4P", "NumVertices: 0\nNumFaces: 0\nNumBitmaps: -2\n",
         "line 3: expected the line \"NumBitmaps: <count>\" of 0 or more"},
        {"file ends before the counts are used up", "A.Y4P", nestedHeader(2) + kEntity0,
         "line 8: the file ends where an entity line: \"Entity[n]: name:\" and 7 decimal "
         "numbers and 11 integers was expected"},
        {"line too long", "A.Y4P", longLine, "line 5: expected a line of at most 1023 characters"},
        {"not a number where a float belongs", "A.Y4P",
         nestedHeader(1) + nestedEntity(0, -1, 1) +
             "Vertices: 1\nFaces: 0\nBitmap: 0\n"
             "Vertex[  0]: 0 0 nan 1 0 0 1 0 0 0\n",
         "line 11: expected a vertex line: \"Vertex[n]:\" and 10 decimal numbers"},
        {"face corner outside the sub-entity", "A.Y4P",
         nestedHeader(1) + nestedEntity(0, -1, 1) + kTriangle + "Face[  0]:   0   1   3\n",
         "line 14: expected face corners between 0 and 2, the vertices of this sub-entity"},
        {"entity its own parent", "A.Y4P",
         nestedHeader(2) + nestedEntity(0, -1, 0) + nestedEntity(1, 1, 0),
         "line 8: expected a parent entity other than the entity itself"},
        {"cycle of parents", "A.Y4P",
         nestedHeader(3) + nestedEntity(0, -1, 0) + nestedEntity(1, 2, 0) + nestedEntity(2, 1, 0),
         "line 8: expected a parent entity that is not one of the entity's descendants"},
        {"hierarchy too deep", "A.Y4P", deep,
         "line 263: expected a hierarchy of at most 256 levels"},
        {"face range beyond the face list", "A.Y4D",
         kFlatHeader + flatEntity(0, 0, 0, 0, 0) + flatEntity(1, 2, 0, 3, 0),
         "line 14: expected a face range (first 0, count 2) within the 1 face lines"},
        {"vertex range beyond the vertex list", "A.Y4D",
         kFlatHeader + flatEntity(0, 0, 0, 0, 0) + flatEntity(1, 1, 0, 3, 1),
         "line 14: expected a vertex range (first 1, count 3) within the 3 vertex lines"},
        {"negative vertex count beside faces", "A.Y4D",
         kFlatHeader + flatEntity(0, 0, 0, 0, 0) + flatEntity(1, 1, 0, -3, 0),
         "line 14: expected a vertex range (first 0, count -3) within the 3 vertex lines"},
        {"two entities claiming one face", "A.Y4D",
         kFlatHeader + flatEntity(0, 1, 0, 3, 0) + flatEntity(1, 1, 0, 0, 0),
         "line 14: expected a face range that no earlier entity claims (face line 0 is claimed "
         "twice)"},
        {"flat face corner outside its entity", "A.Y4D",
         kFlatHeader + flatEntity(0, 0, 0, 0, 0) + flatEntity(1, 1, 0, 2, 0),
         "line 14: expected face corners of face 0 between 0 and 1, the vertices of this entity"},
        {"too many terrain records", "A.Y4T", manyRecords,
         "line 1: expected the line \"NumRecords: <count>\" of at most 255"},
        {"too many vertices in a record", "A.Y4T",
         "NumRecords: 1\nEntity[  0]: A\n??: 0\n\\\\ Start Record\nnumVertices: 65536\n",
         "line 5: expected the line \"numVertices: <count>\" of at most 65535"},
        {"terrain face corner outside its record", "A.Y4T",
         "NumRecords: 1\nEntity[  0]: Zelvan's Terrain\n??: 0\n" +
             terrainRecord(0, 3, "Face[  0]:   0   1   3\n"),
         "line 12: expected face corners between 0 and 2, the vertices of this record"},
        {"terrain file ending inside a record", "A.Y4T",
         "NumRecords: 1\nEntity[  0]: Zelvan's Terrain\n??: 0\n\\\\ Start Record\n"
         "numVertices: 1\nnumFaces: 0\nRecord: 0\n",
         "line 8: the file ends where a vertex line: \"Vertex[n]:\" and 8 numbers was expected"},
        {"absurd count with nothing behind it", "A.Y4P",
         "NumVertices: 2000000000\nNumFaces: 2000000000\nNumBitmaps: 0\nNumEntities: "
         "2000000000\n// Bitmaps\n// Entity:: name...\n",
         "line 7: the file ends where an entity line: \"Entity[n]: name:\" and 7 decimal "
         "numbers and 11 integers was expected"},
    };
}

TEST(MalformedModel, EachFaultIsRefusedWithItsLineAndWhatWasExpected) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        // Every texture a case might name exists, so only the fault can stop the load.
        const std::string path = ModelFixture::write(dir, c.file, c.text, {{"A"}});
        try {
            Reader r(nullptr, path);
            ADD_FAILURE() << "loaded";
        } catch (const LoadError& error) {
            EXPECT_EQ(error.what(), "Error: " + path + ", " + c.message);
        }
    }
}

TEST(MalformedModel, LongNamesAreCutAndOddSpacingIsAccepted) {
    TempDir dir;
    const std::string name(70, 'n');
    const std::string text = nestedHeader(1) + "Entity[0]:   " + name +
                             ":0 0 0 0 0 0 0\t-1 -1 -1 0 0 1 0 0 1 0 -5141\n" + kTriangle +
                             "Face[0]:0 1 2\n";
    Reader r(nullptr, ModelFixture::write(dir, "A.Y4P", text, {{"A"}}));
    EXPECT_EQ(r.entities[0]->name(), name.substr(0, 63));
    EXPECT_EQ(r.faces.size(), 1u);
}

}  // namespace
}  // namespace y4
