// HandModels: small models written by hand, one per variant, whose every value the tests work
// out by hand.
#pragma once

#include <string_view>

namespace y4::test {

// Root at (1,2,3) holds "Arm one" (turned a quarter about Z, two sub-entities, the second
// empty) and "Leg", which holds "Foot" (turned 0.5 about Y, two faces sharing three corners).
inline constexpr std::string_view kTinyY4P = R"(NumVertices: 6
NumFaces: 3
NumBitmaps: 2
NumEntities: 4
// Bitmaps
Bitmap[  0]: RED
Bitmap[  1]: BLUE
// Entity:: name...
Entity[   0]:                             Root:     1.000000     2.000000     3.000000     0.000000     0.000000     0.000000     0.000000     -1     -1      1      0      0      1      0      0      0      0  -5141
Entity[   1]:                          Arm one:     1.000000     0.000000     0.000000     0.000000     0.000000     0.000000     1.570796      2      0     -1      1      3      7      0      0      2      9  -5141
Vertices: 3
Faces: 1
Bitmap: 1
Vertex[  0]:     1.000000     0.000000     0.000000     1.000000     0.000000     0.000000     1.000000     0.000000     0.250000     0.750000
Vertex[  1]:     0.000000     1.000000     0.000000     1.000000     0.000000     0.000000     1.000000     0.000000     0.500000     0.000000
Vertex[  2]:     0.000000     0.000000     2.000000     1.000000     0.000000     0.000000     1.000000     0.000000     1.000000     1.000000
Face[  0]:   0   1   2
Vertices: 0
Faces: 0
Bitmap: 0
Entity[   2]:                              Leg:     0.000000    -2.000000     0.000000     0.000000     0.000000     0.000000     0.000000     -1      0      3      2      3     -4      1      3      0      0  -5141
Entity[   3]:                             Foot:     0.000000     0.000000    -1.000000     0.000000     0.500000     0.000000     0.000000     -1      2     -1      2      3      5      1      3      1      0  -5141
Vertices: 3
Faces: 2
Bitmap: 255
Vertex[  0]:    -1.000000    -1.000000     0.000000     1.000000     0.000000    -1.000000     0.000000     0.000000     0.000000     0.000000
Vertex[  1]:     1.000000    -1.000000     0.000000     1.000000     0.000000    -1.000000     0.000000     0.000000     1.000000     0.000000
Vertex[  2]:     0.000000    -1.000000     1.000000     1.000000     0.000000    -1.000000     0.000000     0.000000     0.500000     1.000000
Face[  0]:   0   1   2
Face[  1]:   0   2   1
)";

// "Base" claims nothing; "Panel" claims vertices 0-3 and faces 0-1; "Marker" (turned a quarter
// about Z) claims vertices 4-6 and face 2, drawn untextured (255). Vertex 7 and face 3 belong
// to nobody.
inline constexpr std::string_view kFlatY4D = R"(NumVertices: 8
NumFaces: 4
NumBitmaps: 2
NumEntities: 3
// Vertex: X Y Z unused normalX normalY normalZ unused textureU textureV
  0.0000   0.0000   0.0000   0.0000   0.0000   0.0000   1.0000   0.0000   0.0000   0.0000
  2.0000   0.0000   0.0000   0.0000   0.0000   0.0000   1.0000   0.0000   1.0000   0.0000
  2.0000   2.0000   0.0000   0.0000   0.0000   0.0000   1.0000   0.0000   1.0000   1.0000
  0.0000   2.0000   0.0000   0.0000   0.0000   0.0000   1.0000   0.0000   0.0000   1.0000
  1.0000   0.0000   3.0000   0.0000   1.0000   0.0000   0.0000   0.0000   0.5000   0.5000
  0.0000   1.0000   3.0000   0.0000   1.0000   0.0000   0.0000   0.0000   0.2500   0.5000
  0.0000   0.0000   4.0000   0.0000   1.0000   0.0000   0.0000   0.0000   0.7500   0.5000
  9.0000   9.0000   9.0000   0.0000   0.0000   0.0000   0.0000   0.0000   0.0000   0.0000
// Face: vertexA vertexB vertexC bitmapIndex bitmapName(for information only)
Face[   0]:    0    1    2    0 // BRICK
Face[   1]:    0    2    3    0 // BRICK
Face[   2]:    0    1    2  255 // (null)
Face[   3]:    0    0    0    1 // GLASS
// Bitmaps
Bitmap[  0]:BRICK
Bitmap[  1]:GLASS
// Entities: name positionX,Y,Z unused rotateX,Y,Z(radians) entityID ?? parentEntityID childEntityID numFaces firstFaceIndex numVertices firstVertexIndex ?? ?? ?? [best guess]
Entity[  0]:                             Base:   0.0000   0.0000   0.0000   0.0000   0.0000   0.0000   0.0000     -1     -1     -1      1      0     12      0      3      0      0      0
Entity[  1]:                            Panel:   0.0000   0.0000  -1.0000   0.0000   0.0000   0.0000   0.0000      2     -1      0     -1      2      0      4      0      1      0      0
Entity[  2]:                           Marker:   5.0000   0.0000   0.0000   0.0000   0.0000   0.0000   1.5708     -1     -1      0     -1      1      2      3      4      1      6      0
)";

// Three records; the terrain's name stands in the middle of the record names.
inline constexpr std::string_view kHillsY4T = R"(NumRecords:      3
Entity[  0]:                            GRASS
Entity[  1]:                 Zelvan's Terrain
Entity[  2]:                             ROCK
??: 2
\\ Start Record
numVertices:      3
numFaces:      1
Record:    0
Vertex[  0]:     0.000000     0.000000     0.000000     0.000000     1.000000     0.000000     0.000000     0.000000
Vertex[  1]:     1.000000     0.000000     0.000000     0.000000     1.000000     0.000000     1.000000     0.000000
Vertex[  2]:     0.000000     2.000000     1.000000     0.000000     1.000000     0.000000     0.000000     1.000000
??: 1
Face[  0]:   0   1   2
\\ End Record
\\ Start Record
numVertices:      0
numFaces:      0
Record:    1
??: 1
\\ End Record
\\ Start Record
numVertices:      3
numFaces:      2
Record:    2
Vertex[  0]:     5.000000     0.000000     5.000000     0.000000     1.000000     0.000000     0.000000     0.000000
Vertex[  1]:     6.000000    -3.000000     5.000000     0.000000     1.000000     0.000000     1.000000     0.000000
Vertex[  2]:     5.000000     0.000000     6.000000     0.000000     1.000000     0.000000     0.000000     1.000000
??: 1
Face[  0]:   0   1   2
Face[  1]:   2   1   0
\\ End Record
)";

}  // namespace y4::test
