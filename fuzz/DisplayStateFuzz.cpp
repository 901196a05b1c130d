// Fuzz target of the display-state reader: any file applies to a scene without harm, and the
// state it leaves is written and read back unchanged.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "ModelGenerator.h"
#include "files/DisplayStateFile.h"

namespace {

std::unique_ptr<y4::Reader> makeScene() {
    y4::gen::GeneratorOptions options;
    options.faces = 40;
    options.groups = 12;
    auto scene = y4::gen::ModelGenerator::generate(options, "/nowhere/SCENE.Y4P");
    // Names the parser must treat with care: a blank, a twin, an empty one.
    scene->entities[3]->setName("With blank");
    scene->entities[4]->setName("Group1");
    scene->entities[5]->setName("");
    return scene;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = [] {
        std::string pattern = "/tmp/y4fuzz.XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        return pattern;
    }();
    const std::string input = folder + "/IN.dsp";
    const std::string saved = folder + "/SAVED.dsp";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto scene = makeScene();
    y4::DisplayStateFile::load(*scene, input);
    if (!y4::DisplayStateFile::save(*scene, saved)) {
        std::abort();
    }
    const auto copy = makeScene();
    y4::DisplayStateFile::load(*copy, saved);
    std::map<std::string, int> uses;
    for (const y4::Entity* e : scene->entities) {
        ++uses[e->name()];
    }
    for (std::size_t k = 0; k < scene->entities.size(); ++k) {
        // Only a name of its own, without blanks, can carry a switch through the file.
        const std::string name = scene->entities[k]->name();
        if (uses[name] == 1 && !name.empty() && name.find(' ') == std::string::npos &&
            copy->entities[k]->displayed != scene->entities[k]->displayed) {
            std::fprintf(stderr, "entity %zu: %d became %d\n", k, scene->entities[k]->displayed,
                         copy->entities[k]->displayed);
            std::abort();
        }
    }
    return 0;
}
