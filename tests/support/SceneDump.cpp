// Scene dumps for comparisons.
#include "SceneDump.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "files/Reader.h"

namespace y4::test {

namespace {

class Dump {
public:
    std::string out;

    template <class List>
    void positions(const List& list) {
        int k = 0;
        for (const auto* record : list) {
            position_[record] = k++;
        }
    }
    int at(const void* record) const {
        auto it = position_.find(record);
        return record == nullptr ? -1 : it == position_.end() ? -2 : it->second;
    }
    void field(const char* name, int value) {
        out += ' ' + std::string(name) + '=' + std::to_string(value);
    }
    void field(const char* name, float value) {
        char text[64];
        std::snprintf(text, sizeof text, " %s=%g(%08x)", name, static_cast<double>(value),
                      std::bit_cast<std::uint32_t>(value));
        out += text;
    }
    void field(const char* name, double value) {
        char text[64];
        std::snprintf(text, sizeof text, " %s=%.17g", name, value);
        out += text;
    }
    void base(const SceneObject& r) {
        out += " \"" + r.name() + '"';
        field("id", static_cast<int>(r.id()));
        field("index", r.index);
        field("selected", int{r.selected});
        field("changed", int{r.changed});
        field("created", int{r.created});
        field("displayed", int{r.displayed});
        field("marked", int{r.marked});
        field("deleted", int{r.deleted});
        const Triple offset = r.cumulativeOffset();
        const Triple rotation = r.cumulativeRotation();
        const Position absolute = r.absolutePosition();
        for (std::size_t i = 0; i < 3; ++i) {
            field("cumOff", offset[i]);
            field("cumRot", rotation[i]);
            field("abs", absolute[i]);
        }
    }
    template <class List>
    void list(const char* name, const List& records) {
        out += std::string(" ") + name + "=[";
        for (const auto* r : records) {
            out += std::to_string(at(r)) + ',';
        }
        out += ']';
    }

private:
    std::unordered_map<const void*, int> position_;
};

}  // namespace

std::string SceneDump::text(const Reader& r) {
    Dump d;
    d.positions(r.entities);
    d.positions(r.subEntities);
    d.positions(r.faces);
    d.positions(r.vertices);
    d.out += "fileType=" + std::to_string(r.fileType) +
             " terrain=" + std::to_string(r.terrainRecordIndex) + '\n';
    d.out += "bitmaps:";
    for (const std::string& name : r.bitmapNames) {
        d.out += " \"" + name + '"';
    }
    d.out += '\n';
    d.out += "box:";
    for (float f : {r.minX, r.minY, r.minZ, r.maxX, r.maxY, r.maxZ}) {
        d.field("", f);
    }
    d.out += '\n';
    for (const Entity* e : r.entities) {
        d.out += "entity " + std::to_string(d.at(e)) + ':';
        d.base(*e);
        d.field("parent", d.at(e->parent));
        for (auto [name, value] : {std::pair{"entityID", e->entityID},
                                   {"parentEntityID", e->parentEntityID},
                                   {"childEntityID", e->childEntityID},
                                   {"level", e->level},
                                   {"numFaces", e->numFaces},
                                   {"numVertices", e->numVertices},
                                   {"auxA", e->auxA},
                                   {"auxB", e->auxB}}) {
            d.field(name, value);
        }
        for (auto [name, value] : {std::pair{"x", e->positionX},
                                   {"y", e->positionY},
                                   {"z", e->positionZ},
                                   {"rx", e->rotateX},
                                   {"ry", e->rotateY},
                                   {"rz", e->rotateZ}}) {
            d.field(name, value);
        }
        d.list("children", e->children);
        d.list("subs", e->subEntities);
        d.out += '\n';
    }
    for (const SubEntity* s : r.subEntities) {
        d.out += "sub " + std::to_string(d.at(s)) + ':';
        d.base(*s);
        d.field("parent", d.at(s->parent));
        d.field("bitmap", s->bitmapIndex);
        d.list("faces", s->faces);
        d.list("vertices", s->vertices);
        d.out += '\n';
    }
    for (const Face* f : r.faces) {
        d.out += "face " + std::to_string(d.at(f)) + ':';
        d.base(*f);
        d.field("parent", d.at(f->parent));
        d.field("bitmap", f->bitmapIndex);
        for (auto [name, value] : {std::pair{"a", f->indexA}, {"b", f->indexB}, {"c", f->indexC}}) {
            d.field(name, value);
        }
        for (auto [name, v] : {std::pair{"A", f->vertexA}, {"B", f->vertexB}, {"C", f->vertexC}}) {
            d.field(name, d.at(v));
        }
        d.out += '\n';
    }
    for (const Vertex* v : r.vertices) {
        d.out += "vertex " + std::to_string(d.at(v)) + ':';
        d.base(*v);
        d.field("sub", d.at(v->subEntity));
        for (auto [name, value] : {std::pair{"X", v->X},
                                   {"Y", v->Y},
                                   {"Z", v->Z},
                                   {"nX", v->normalX},
                                   {"nY", v->normalY},
                                   {"nZ", v->normalZ},
                                   {"u", v->textureU},
                                   {"v", v->textureV}}) {
            d.field(name, value);
        }
        d.list("faces", v->faces);
        d.out += '\n';
    }
    return std::move(d.out);
}

}  // namespace y4::test
