// Vertex construction, rotation, visibility and face list.
#include "Vertex.h"

#include <algorithm>
#include <cmath>

#include "Entity.h"
#include "Face.h"
#include "SubEntity.h"
#include "platform/Prompt.h"

namespace y4 {

Vertex::Vertex(Face* face, int index) : SceneObject(kVertex, index) {
    if (face) {
        subEntity = face->parent;
        faces.push_back(face);
    }
}

Vertex::Vertex(const Vertex& source, int index)
    : SceneObject(source, index),
      X(source.X),
      Y(source.Y),
      Z(source.Z),
      normalX(source.normalX),
      normalY(source.normalY),
      normalZ(source.normalZ),
      textureU(source.textureU),
      textureV(source.textureV) {}

Vertex::~Vertex() {
    dropTableName();
}

void Vertex::appendPathName(std::string& out) const {
    appendName(out);
    out.append("; ");
    if (subEntity) {
        subEntity->appendPathName(out);
    }
}

void Vertex::Rotate(int axis, int target, float angle) {
    rotate(axis, target, std::cos(static_cast<double>(angle)),
           std::sin(static_cast<double>(angle)));
}

void Vertex::rotate(int axis, int target, double c, double s) {
    const bool position = target == kPosition;
    float& x = position ? X : normalX;
    float& y = position ? Y : normalY;
    float& z = position ? Z : normalZ;
    const double a = x, b = y, d = z;
    switch (axis) {
        case kAxisX:
            y = static_cast<float>(b * c - d * s);
            z = static_cast<float>(b * s + d * c);
            break;
        case kAxisY:
            x = static_cast<float>(a * c + d * s);
            z = static_cast<float>(d * c - a * s);
            break;
        case kAxisZ:
            x = static_cast<float>(a * c - b * s);
            y = static_cast<float>(a * s + b * c);
            break;
        default:
            prompt().showMessage("Error: Invalid Vertex::Rotate()", MessageIcon::Exclamation);
            break;
    }
}

bool Vertex::isDisplayed() const {
    if (!displayed) {
        return false;
    }
    if (!subEntity) {
        return true;
    }
    if (!subEntity->displayed) {
        return false;
    }
    for (const Entity* e = subEntity->parent; e; e = e->parent) {
        if (!e->displayed) {
            return false;
        }
    }
    return true;
}

void Vertex::addFace(Face* face) {
    if (!faces.contains(face)) {
        faces.push_back(face);
    }
}

}  // namespace y4
