// JSON output of a scene.
#include "JsonSceneWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "files/Reader.h"

namespace y4 {

namespace {

class Json {
public:
    std::string text;

    void number(float value) {
        if (!std::isfinite(value)) {
            text += "null";
            return;
        }
        char digits[32];
        text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    void number(int value) { text += std::to_string(value); }
    void number(std::size_t value) { text += std::to_string(value); }
    void floats(std::initializer_list<float> values) {
        text += '[';
        bool first = true;
        for (float v : values) {
            if (!first) {
                text += ',';
            }
            first = false;
            number(v);
        }
        text += ']';
    }
    // Valid UTF-8 passes through; any other byte is taken as Latin-1, as names written on
    // Windows usually are.
    void string(std::string_view s) {
        text += '"';
        for (std::size_t i = 0; i < s.size();) {
            const auto c = static_cast<unsigned char>(s[i]);
            if (c == '"' || c == '\\') {
                text += '\\';
                text += static_cast<char>(c);
                ++i;
            } else if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                text += escape;
                ++i;
            } else if (c < 0x80) {
                text += static_cast<char>(c);
                ++i;
            } else if (const std::size_t n = utf8Length(s.substr(i))) {
                text.append(s.substr(i, n));
                i += n;
            } else {
                text += static_cast<char>(0xC0 | (c >> 6));
                text += static_cast<char>(0x80 | (c & 0x3F));
                ++i;
            }
        }
        text += '"';
    }
    void key(std::string_view name) {
        string(name);
        text += ':';
    }

private:
    // The length of the UTF-8 sequence at the start of `s`, or 0 when it is not one.
    static std::size_t utf8Length(std::string_view s) {
        const auto c = static_cast<unsigned char>(s[0]);
        std::size_t n = 0;
        unsigned minimum = 0;
        if ((c & 0xE0) == 0xC0) {
            n = 2;
            minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            n = 3;
            minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            n = 4;
            minimum = 0x10000;
        } else {
            return 0;
        }
        if (s.size() < n) {
            return 0;
        }
        unsigned code = c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto part = static_cast<unsigned char>(s[k]);
            if ((part & 0xC0) != 0x80) {
                return 0;
            }
            code = (code << 6) | (part & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code >= minimum && code <= 0x10FFFF && !surrogate ? n : 0;
    }
};

// Members of the object or array being written get their commas from here.
class Out : public Json {
public:
    void open(char bracket) {
        separate();
        text += bracket;
        first_ = true;
    }
    void close(char bracket) {
        text += bracket;
        first_ = false;
    }
    void member(std::string_view name) {
        separate();
        key(name);
        first_ = true;
    }
    void value(int v) {
        separate();
        number(v);
    }
    void value(std::size_t v) {
        separate();
        number(v);
    }
    void value(std::string_view v) {
        separate();
        string(v);
    }
    void value(std::initializer_list<float> v) {
        separate();
        floats(v);
    }
    void null() {
        separate();
        text += "null";
    }
    template <class T>
    void field(std::string_view name, const T& v) {
        member(name);
        value(v);
    }
    void field(std::string_view name, std::initializer_list<float> v) {
        member(name);
        value(v);
    }

private:
    void separate() {
        if (!first_) {
            text += ',';
        }
        first_ = false;
    }
    bool first_ = true;
};

void writeSubEntity(Out& j, const SubEntity& s) {
    j.open('{');
    j.field("name", s.name());
    j.field("index", s.index);
    j.field("bitmapIndex", s.bitmapIndex);
    j.member("vertices");
    j.open('[');
    for (const Vertex* v : s.vertices) {
        j.value({v->X, v->Y, v->Z, v->normalX, v->normalY, v->normalZ, v->textureU, v->textureV});
    }
    j.close(']');
    j.member("vertexIndices");
    j.open('[');
    for (const Vertex* v : s.vertices) {
        j.value(v->index);
    }
    j.close(']');
    j.member("faces");
    j.open('[');
    for (const Face* f : s.faces) {
        j.open('[');
        for (int value : {f->indexA, f->indexB, f->indexC, f->bitmapIndex, f->index}) {
            j.value(value);
        }
        j.close(']');
    }
    j.close(']');
    j.close('}');
}

void writeEntity(Out& j, const Entity& e, int parent) {
    j.open('{');
    j.field("name", e.name());
    j.field("index", e.index);
    j.field("parent", parent);
    j.field("level", e.level);
    j.field("position", {e.positionX, e.positionY, e.positionZ});
    j.field("rotation", {e.rotateX, e.rotateY, e.rotateZ});
    const Triple& offset = e.cumulativeOffset();
    const Triple& turn = e.cumulativeRotation();
    j.field("cumulativeOffset", {offset[0], offset[1], offset[2]});
    j.field("cumulativeRotation", {turn[0], turn[1], turn[2]});
    // World positions are sums of floats kept in doubles; each is exactly a float.
    const Position& absolute = e.absolutePosition();
    j.field("absolute", {static_cast<float>(absolute[0]), static_cast<float>(absolute[1]),
                         static_cast<float>(absolute[2])});
    j.field("entityID", e.entityID);
    j.field("parentEntityID", e.parentEntityID);
    j.field("childEntityID", e.childEntityID);
    j.field("auxA", e.auxA);
    j.field("auxB", e.auxB);
    j.member("subEntities");
    j.open('[');
    for (const SubEntity* s : e.subEntities) {
        writeSubEntity(j, *s);
    }
    j.close(']');
    j.close('}');
}

}  // namespace

std::string JsonSceneWriter::write(const Reader& r) {
    Out j;
    j.open('{');
    j.field("fileType", r.fileType);
    j.member("counts");
    j.open('{');
    j.field("vertices", r.vertices.size());
    j.field("faces", r.faces.size());
    j.field("bitmaps", r.bitmapNames.size());
    j.field("entities", r.entities.size());
    j.close('}');
    j.member("bitmaps");
    j.open('[');
    for (const std::string& name : r.bitmapNames) {
        j.value(name);
    }
    j.close(']');
    j.member("images");
    j.open('[');
    for (std::size_t k = 0; k < r.bitmapNames.size(); ++k) {
        const RGBImage* image = k < r.textures.images.size() ? r.textures.images[k].get() : nullptr;
        if (image) {
            j.open('[');
            j.value(image->sizeX);
            j.value(image->sizeY);
            j.close(']');
        } else {
            j.null();
        }
    }
    j.close(']');
    j.member("bbox");
    j.open('{');
    j.field("min", {r.minX, r.minY, r.minZ});
    j.field("max", {r.maxX, r.maxY, r.maxZ});
    j.close('}');
    j.member("entities");
    j.open('[');
    // Positions in the entity list, by id.
    std::vector<int> positions(r.idBound(SceneObject::kEntity), -1);
    int position = 0;
    for (const Entity* e : r.entities) {
        positions[e->id()] = positions[e->id()] < 0 ? position : positions[e->id()];
        ++position;
    }
    for (const Entity* e : r.entities) {
        const Entity* parent = e->parent;
        writeEntity(j, *e,
                    parent && parent->id() < positions.size() ? positions[parent->id()] : -1);
    }
    j.close(']');
    j.close('}');
    j.text += '\n';
    return std::move(j.text);
}

}  // namespace y4
