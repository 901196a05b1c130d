// Writing and applying the display-state file.
#include "DisplayStateFile.h"

#include <algorithm>
#include <unordered_map>

#include "NumberScanner.h"
#include "TextBuffer.h"
#include "model/Scene.h"
#include "platform/InputFile.h"
#include "platform/PathResolver.h"
#include "platform/SafeFileWriter.h"

namespace y4 {

namespace {
// Far more than one line for each group a model can hold.
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;
}  // namespace

bool DisplayStateFile::save(const Scene& scene, const std::string& fileName) {
    const std::optional<std::string> path = PathResolver::resolveForWrite(fileName);
    if (!path) {
        return false;
    }
    TextBuffer text;
    std::string name;
    for (const Entity* e : scene.entities) {
        name.clear();
        e->appendName(name);
        text.append(name);
        text.append(' ');
        text.appendInt(e->displayed);
        text.append('\n');
    }
    try {
        SafeFileWriter out(*path);
        out.write(text.view());
        out.commit();
    } catch (const IoError&) {
        return false;
    }
    return true;
}

bool DisplayStateFile::load(Scene& scene, const std::string& fileName) {
    const std::optional<std::string> path = PathResolver::resolveExisting(fileName);
    std::optional<std::string> file;
    if (path) {
        // Read whole, not mapped, so a file shortened meanwhile cannot kill the program; one
        // line per group fits easily, and a larger file is no display state of ours.
        file = InputFile::readWhole(*path, kMaxFileBytes);
    }
    if (!file) {
        return false;
    }
    // The first entity of each name answers for the name.
    std::unordered_map<std::string_view, Entity*> byName;
    std::vector<std::string> names;
    names.reserve(scene.entities.size());
    for (Entity* e : scene.entities) {
        names.push_back(e->name());
    }
    for (std::size_t k = 0; k < names.size(); ++k) {
        byName.try_emplace(names[k], scene.entities[k]);
    }

    bool switchedOff = false;
    std::string_view rest = *file;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // "<name> <flag>": the name stops at the first blank, so names with blanks never
        // match; a line without its number is skipped.
        const std::size_t begin = line.find_first_not_of(" \t\r\v\f");
        if (begin == std::string_view::npos) {
            continue;
        }
        line.remove_prefix(begin);
        const std::size_t nameEnd = std::min(line.find_first_of(" \t\r\v\f"), line.size());
        NumberScanner scan(line.substr(nameEnd));
        int value = 0;
        if (!scan.readInt(value)) {
            continue;
        }
        auto it = byName.find(line.substr(0, nameEnd));
        if (it == byName.end()) {
            continue;
        }
        Entity* e = it->second;
        e->displayed = value != 0;
        if (scene.m_pEntityTree && e->treeItem != kNoItem) {
            scene.m_pEntityTree->setCheck(e->treeItem, value != 0);
        }
        switchedOff = switchedOff || value == 0;
    }
    return switchedOff;
}

}  // namespace y4
