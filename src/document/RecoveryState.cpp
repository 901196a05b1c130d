// Writing and applying the state that goes with an autosave copy.
#include "RecoveryState.h"

#include <charconv>
#include <initializer_list>
#include <optional>

#include "RecordAccess.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/Scene.h"
#include "model/SceneTree.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"

namespace y4 {

namespace {

constexpr std::string_view kFirstLine = "Y4Editor autosave state 1";
constexpr char kKinds[] = {'E', 'S', 'F', 'V'};
constexpr char kHex[] = "0123456789ABCDEF";

// A name may hold any byte but the line break; blanks, controls and '%' go as "%XX".
void appendEscaped(std::string& out, std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == '%' || byte == 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '%') {
            out += text[k];
            continue;
        }
        unsigned value = 0;
        if (text.size() - k < 3) {
            return std::nullopt;
        }
        const auto [end, error] =
            std::from_chars(text.data() + k + 1, text.data() + k + 3, value, 16);
        if (error != std::errc() || end != text.data() + k + 3) {
            return std::nullopt;
        }
        out += static_cast<char>(value);
        k += 2;
    }
    return out;
}

void appendRecord(std::string& out, std::initializer_list<int> address, const SceneObject& r) {
    auto appendAddress = [&](std::string_view word) {
        out += word;
        out += ' ';
        out += kKinds[r.kind()];
        for (const int position : address) {
            out += ' ';
            out += std::to_string(position);
        }
    };
    if (!r.displayed || r.deleted) {
        appendAddress("mark");
        out += r.displayed ? " 1" : " 0";
        out += r.deleted ? " 1\n" : " 0\n";
    }
    // Entities keep their names in the model file.
    if (r.kind() != SceneObject::kEntity && r.hasOwnName()) {
        appendAddress("name");
        out += ' ';
        appendEscaped(out, r.name());
        out += '\n';
    }
}

// The words of one line, taken one at a time.
class Words {
public:
    explicit Words(std::string_view line) : rest_(line) {}
    std::string_view next() {
        const std::size_t begin = rest_.find_first_not_of(' ');
        if (begin == std::string_view::npos) {
            rest_ = {};
            return {};
        }
        rest_.remove_prefix(begin);
        const std::size_t end = std::min(rest_.find(' '), rest_.size());
        const std::string_view word = rest_.substr(0, end);
        rest_.remove_prefix(end);
        return word;
    }
    std::optional<std::size_t> position() {
        const std::string_view word = next();
        std::size_t value = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
            return std::nullopt;
        }
        return value;
    }
    std::optional<bool> flag() {
        const std::string_view word = next();
        if (word == "0" || word == "1") {
            return word == "1";
        }
        return std::nullopt;
    }

private:
    std::string_view rest_;
};

template <class List>
auto at(List& list, std::optional<std::size_t> position) -> decltype(list[0]) {
    return position && *position < list.size() ? list[*position] : nullptr;
}

// The record a line's kind and positions name, or null.
SceneObject* recordAt(Scene& scene, Words& words) {
    const std::string_view kind = words.next();
    Entity* e = at(scene.entities, words.position());
    if (kind == "E" || !e) {
        return kind == "E" ? e : nullptr;
    }
    SubEntity* s = at(e->subEntities, words.position());
    if (kind == "S" || !s) {
        return kind == "S" ? s : nullptr;
    }
    if (kind == "F") {
        return at(s->faces, words.position());
    }
    if (kind == "V") {
        return at(s->vertices, words.position());
    }
    return nullptr;
}

std::string firstLine(std::size_t copySize, std::uint64_t hash) {
    std::string line(kFirstLine);
    line += ' ' + std::to_string(copySize) + ' ';
    for (int shift = 60; shift >= 0; shift -= 4) {
        line += kHex[(hash >> shift) & 15];
    }
    return line;
}

}  // namespace

std::uint64_t RecoveryState::fingerprint(std::string_view bytes, std::uint64_t hash) {
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

std::string RecoveryState::capture(const Scene& scene) {
    std::string out;
    int e = 0;
    for (const Entity* entity : scene.entities) {
        appendRecord(out, {e}, *entity);
        int s = 0;
        for (const SubEntity* sub : entity->subEntities) {
            appendRecord(out, {e, s}, *sub);
            int k = 0;
            for (const Face* f : sub->faces) {
                appendRecord(out, {e, s, k++}, *f);
            }
            k = 0;
            for (const Vertex* v : sub->vertices) {
                appendRecord(out, {e, s, k++}, *v);
            }
            ++s;
        }
        ++e;
    }
    return out;
}

std::string RecoveryState::fileText(std::string_view lines, std::size_t copySize,
                                    std::uint64_t copyFingerprint) {
    return firstLine(copySize, copyFingerprint) + '\n' + std::string(lines);
}

bool RecoveryState::apply(Scene& scene, SceneTree& tree, std::string_view file,
                          std::string_view copyText) {
    std::size_t end = file.find('\n');
    if (file.substr(0, end) != firstLine(copyText.size(), fingerprint(copyText))) {
        return false;
    }
    bool complete = true;
    while (end != std::string_view::npos) {
        file.remove_prefix(end + 1);
        end = file.find('\n');
        const std::string_view line = file.substr(0, end);
        if (line.empty()) {
            continue;
        }
        Words words(line);
        const std::string_view what = words.next();
        SceneObject* record = what == "mark" || what == "name" ? recordAt(scene, words) : nullptr;
        if (record && what == "mark") {
            const std::optional<bool> displayed = words.flag();
            const std::optional<bool> deleted = words.flag();
            if (displayed && deleted && words.next().empty()) {
                RecordAccess::setDisplayed(tree, record, *displayed);
                if (*deleted) {
                    RecordAccess::setDeletedMark(tree, record, 1);
                }
                continue;
            }
        } else if (record && record->kind() != SceneObject::kEntity) {
            const std::optional<std::string> name = unescaped(words.next());
            if (name && words.next().empty()) {
                RecordAccess::setName(tree, record, *name);
                continue;
            }
        }
        complete = false;
    }
    return complete;
}

}  // namespace y4
