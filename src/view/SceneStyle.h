// SceneStyle: the colours and point sizes the model is drawn with, taken from the display
// settings when a frame starts. Every colour is opaque: the settings' fourth components are kept
// but not drawn with.
#pragma once

#include <array>

#include "RecordFields.h"
#include "shell/DisplaySettings.h"

namespace y4 {

struct SceneStyle {
    static constexpr float kPointSize = 5.0f;
    static constexpr float kSelectedPointSize = 20.0f;
    static constexpr float kLineWidth = 1.0f;
    // The arms of the little cross at a normal's tip.
    static constexpr float kNormalTipArm = 0.05f;

    explicit SceneStyle(const DisplaySettings& d)
        : solid{d.solidR, d.solidG, d.solidB},
          select{d.selectR, d.selectG, d.selectB},
          highlight{d.highlightR, d.highlightG, d.highlightB},
          point{d.pointR, d.pointG, d.pointB} {}

    const float* face(FaceColour kind) const {
        switch (kind) {
            case FaceColour::Select:
                return select;
            case FaceColour::Highlight:
                return highlight;
            case FaceColour::Solid:
                break;
        }
        return solid;
    }
    const float* marker(bool selected) const { return selected ? selectedMarker : point; }
    static float markerSize(bool selected) { return selected ? kSelectedPointSize : kPointSize; }
    // A normal marker as four segments: the normal from the vertex, then an arm along X, Y and
    // Z from its tip.
    static std::array<Vec3, 8> normalMarker(const Vertex& v) {
        const Vec3 p = RecordFields::position(v);
        const Vec3 n = RecordFields::normal(v);
        const Vec3 tip{p.x + n.x, p.y + n.y, p.z + n.z};
        const float a = kNormalTipArm;
        return {p,   tip,
                tip, Vec3{tip.x + a, tip.y, tip.z},
                tip, Vec3{tip.x, tip.y + a, tip.z},
                tip, Vec3{tip.x, tip.y, tip.z + a}};
    }

    float solid[3];
    float select[3];
    float highlight[3];
    float point[3];
    float selectedMarker[3] = {0.75f, 0.0f, 0.0f};
};

}  // namespace y4
