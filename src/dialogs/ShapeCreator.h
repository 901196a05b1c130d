// ShapeCreator: what the "Create Shape" dialog hands its parameters to (the object tree
// dialog), and the report that stands in for building the shape.
#pragma once

namespace y4 {

enum class ShapeKind { Cube = 0, Plane = 1, Cylinder = 2 };

class ShapeCreator {
public:
    virtual ~ShapeCreator() = default;
    virtual void CreateShape(ShapeKind kind, float length, float width, float height, float radius,
                             int lengthSegments, int widthSegments, int heightSegments) = 0;
};

// Shapes are not built yet: shows the parameters received ("Still need to implement
// CObjectTreeDialog::CreateShape()" and the values), under the wait cursor, and changes nothing.
// The kind is not shown.
void reportShapeParameters(float length, float width, float height, float radius,
                           int lengthSegments, int widthSegments, int heightSegments);

}  // namespace y4
