// JSON output of a scene.
#include "JsonSceneWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <unordered_map>

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

void writeSubEntity(Json& j, const SubEntity& s) {
    j.text += '{';
    j.key("name");
    j.string(s.name());
    j.text += ',';
    j.key("index");
    j.number(s.index);
    j.text += ',';
    j.key("bitmapIndex");
    j.number(s.bitmapIndex);
    j.text += ',';
    j.key("vertices");
    j.text += '[';
    for (std::size_t k = 0; k < s.vertices.size(); ++k) {
        const Vertex& v = *s.vertices[k];
        j.text += k ? "," : "";
        j.floats({v.X, v.Y, v.Z, v.normalX, v.normalY, v.normalZ, v.textureU, v.textureV});
    }
    j.text += "],";
    j.key("vertexIndices");
    j.text += '[';
    for (std::size_t k = 0; k < s.vertices.size(); ++k) {
        j.text += k ? "," : "";
        j.number(s.vertices[k]->index);
    }
    j.text += "],";
    j.key("faces");
    j.text += '[';
    for (std::size_t k = 0; k < s.faces.size(); ++k) {
        const Face& f = *s.faces[k];
        j.text += k ? ",[" : "[";
        for (int value : {f.indexA, f.indexB, f.indexC, f.bitmapIndex}) {
            j.number(value);
            j.text += ',';
        }
        j.number(f.index);
        j.text += ']';
    }
    j.text += "]}";
}

void writeEntity(Json& j, const Entity& e, int parent) {
    j.text += '{';
    j.key("name");
    j.string(e.name());
    for (auto [name, value] :
         {std::pair{"index", e.index}, {"parent", parent}, {"level", e.level}}) {
        j.text += ',';
        j.key(name);
        j.number(value);
    }
    j.text += ',';
    j.key("position");
    j.floats({e.positionX, e.positionY, e.positionZ});
    j.text += ',';
    j.key("rotation");
    j.floats({e.rotateX, e.rotateY, e.rotateZ});
    j.text += ',';
    j.key("cumulativeOffset");
    j.floats({e.cumulativeOffset[0], e.cumulativeOffset[1], e.cumulativeOffset[2]});
    j.text += ',';
    j.key("cumulativeRotation");
    j.floats({e.cumulativeRotation[0], e.cumulativeRotation[1], e.cumulativeRotation[2]});
    j.text += ',';
    j.key("absolute");
    // World positions are sums of floats kept in doubles; each is exactly a float.
    j.floats({static_cast<float>(e.absolutePosition[0]), static_cast<float>(e.absolutePosition[1]),
              static_cast<float>(e.absolutePosition[2])});
    for (auto [name, value] : {std::pair{"entityID", e.entityID},
                               {"parentEntityID", e.parentEntityID},
                               {"childEntityID", e.childEntityID},
                               {"auxA", e.auxA},
                               {"auxB", e.auxB}}) {
        j.text += ',';
        j.key(name);
        j.number(value);
    }
    j.text += ',';
    j.key("subEntities");
    j.text += '[';
    for (std::size_t k = 0; k < e.subEntities.size(); ++k) {
        j.text += k ? "," : "";
        writeSubEntity(j, *e.subEntities[k]);
    }
    j.text += "]}";
}

}  // namespace

std::string JsonSceneWriter::write(const Reader& r) {
    Json j;
    j.text += '{';
    j.key("fileType");
    j.number(r.fileType);
    j.text += ',';
    j.key("counts");
    j.text += '{';
    j.key("vertices");
    j.number(r.vertices.size());
    j.text += ',';
    j.key("faces");
    j.number(r.faces.size());
    j.text += ',';
    j.key("bitmaps");
    j.number(r.bitmapNames.size());
    j.text += ',';
    j.key("entities");
    j.number(r.entities.size());
    j.text += "},";
    j.key("bitmaps");
    j.text += '[';
    for (std::size_t k = 0; k < r.bitmapNames.size(); ++k) {
        j.text += k ? "," : "";
        j.string(r.bitmapNames[k]);
    }
    j.text += "],";
    j.key("images");
    j.text += '[';
    for (std::size_t k = 0; k < r.bitmapNames.size(); ++k) {
        j.text += k ? "," : "";
        const RGBImage* image = k < r.textures.images.size() ? r.textures.images[k].get() : nullptr;
        if (image) {
            j.text += '[' + std::to_string(image->sizeX) + ',' + std::to_string(image->sizeY) + ']';
        } else {
            j.text += "null";
        }
    }
    j.text += "],";
    j.key("bbox");
    j.text += '{';
    j.key("min");
    j.floats({r.minX, r.minY, r.minZ});
    j.text += ',';
    j.key("max");
    j.floats({r.maxX, r.maxY, r.maxZ});
    j.text += "},";
    j.key("entities");
    j.text += '[';
    std::unordered_map<const Entity*, int> positions;
    for (std::size_t k = 0; k < r.entities.size(); ++k) {
        positions.try_emplace(r.entities[k], static_cast<int>(k));
    }
    for (std::size_t k = 0; k < r.entities.size(); ++k) {
        const Entity& e = *r.entities[k];
        auto parent = e.parent ? positions.find(e.parent) : positions.end();
        j.text += k ? "," : "";
        writeEntity(j, e, parent == positions.end() ? -1 : parent->second);
    }
    j.text += "]}\n";
    return std::move(j.text);
}

}  // namespace y4
