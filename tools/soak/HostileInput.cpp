// What each reader makes of any input: the round trip of the model formats with a comparison of
// what each file carries, the display state applied and written back, and the bitmap decoder.
#include "HostileInput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <variant>

#include "BitmapWriter.h"
#include "ModelGenerator.h"
#include "files/BitmapDecoder.h"
#include "files/DisplayStateFile.h"
#include "files/LoadError.h"
#include "files/Reader.h"
#include "files/TextBuffer.h"
#include "files/Writer.h"
#include "platform/ConsolePrompt.h"

namespace y4::test {

namespace {

const std::string& workFolder() {
    // Never destroyed, so that it outlives the handler that removes the folder at exit.
    static const std::string* folder = [] {
        // In memory where the system offers it: every save syncs its file, which on a disk
        // costs the fuzzer most of its time.
        auto* path = new std::string("/dev/shm/y4fuzz.XXXXXX");
        if (!mkdtemp(path->data())) {
            *path = "/tmp/y4fuzz.XXXXXX";
            if (!mkdtemp(path->data())) {
                std::abort();
            }
        }
        std::atexit([] { std::filesystem::remove_all(workFolder()); });
        return path;
    }();
    return *folder;
}

void writeFile(const std::string& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The textures the seed models name, in sizes from one pixel to wider than tall, in names that
// differ in case from the bitmap names, and the terrain's own picture of the model "IN". Their
// decoded sizes add up to more than the limit below, so a model that names them all is
// refused for it.
void writeTextures(const std::string& folder) {
    const struct {
        const char* file;
        int width, height;
    } textures[] = {{"wood.bmp", 4, 4},  {"Metal.BMP", 2, 3}, {"RED.BMP", 1, 1},
                    {"blue.bmp", 2, 2},  {"Brick.Bmp", 3, 2}, {"GLASS.BMP", 4, 4},
                    {"grass.BMP", 8, 8}, {"STONE.BMP", 2, 2}, {"bark.bmp", 1, 3},
                    {"ROCK.BMP", 4, 4},  {"sand.bmp", 2, 2},  {"IN.BMP", 8, 8}};
    for (const auto& t : textures) {
        gen::BitmapWriter::write(folder + "/" + t.file, t.width, t.height, [](int x, int y) {
            return gen::Rgb{static_cast<std::uint8_t>(x * 30), static_cast<std::uint8_t>(y * 30),
                            255};
        });
    }
}
constexpr std::size_t kImageLimit = 600;

std::string broken(const char* what, const std::string& a, const std::string& b) {
    return std::string("broken: ") + what + "\n--- first\n" + a + "\n--- second\n" + b;
}

// The message with the work folder's name left out, so that it reads the same in every run.
std::string refused(const std::string& message) {
    std::string text = message;
    for (std::size_t at; (at = text.find(workFolder())) != std::string::npos;) {
        text.replace(at, workFolder().size(), "<folder>");
    }
    return "refused: " + text;
}

// What the file of the scene's variant carries, numbers written as the file writes them.
std::string carried(const Reader& r) {
    const int precision = r.fileType == Reader::kY4D ? 4 : 6;
    TextBuffer text;
    auto number = [&](float value) {
        text.append(' ');
        text.appendFixed(value, 0, precision);
    };
    if (r.fileType != Reader::kY4T) {
        for (const std::string& name : r.bitmapNames) {
            text.append("bitmap " + name + "\n");
        }
    }
    for (std::size_t k = 0; k < r.entities.size(); ++k) {
        const Entity& e = *r.entities[k];
        if (r.fileType == Reader::kY4T && k > 0) {
            break;
        }
        text.append("entity " + e.name());
        for (float f : {e.positionX, e.positionY, e.positionZ, e.rotateX, e.rotateY, e.rotateZ}) {
            number(f);
        }
        int parent = -1;
        for (std::size_t p = 0; p < r.entities.size(); ++p) {
            parent = r.entities[p] == e.parent ? static_cast<int>(p) : parent;
        }
        text.append(" parent " + std::to_string(parent) + " auxB " + std::to_string(e.auxB));
        if (r.fileType == Reader::kY4P) {
            text.append(" auxA " + std::to_string(e.auxA));
        }
        text.append('\n');
        for (const SubEntity* s : e.subEntities) {
            text.append("  sub " + s->name() + " bitmap " + std::to_string(s->bitmapIndex) + "\n");
            for (const Vertex* v : s->vertices) {
                text.append("   ");
                for (float f : {v->X, v->Y, v->Z, v->normalX, v->normalY, v->normalZ, v->textureU,
                                v->textureV}) {
                    number(f);
                }
                text.append('\n');
            }
            for (const Face* f : s->faces) {
                text.append("   face " + std::to_string(f->indexA) + " " +
                            std::to_string(f->indexB) + " " + std::to_string(f->indexC) + " " +
                            std::to_string(f->bitmapIndex) + "\n");
            }
        }
    }
    return text.take();
}

// A scene for display states, with names the reader must treat with care: a blank, a twin, an
// empty one.
std::unique_ptr<Reader> displayScene() {
    gen::GeneratorOptions options;
    options.faces = 40;
    options.groups = 12;
    auto scene = gen::ModelGenerator::generate(options, "/nowhere/SCENE.Y4P");
    scene->entities[3]->setName("With blank");
    scene->entities[4]->setName("Group1");
    scene->entities[5]->setName("");
    return scene;
}

}  // namespace

std::string HostileInput::model(std::string_view data, const char* extension) {
    const std::string input = workFolder() + "/IN." + extension;
    const std::string first = workFolder() + "/ONCE/IN." + extension;
    const std::string second = workFolder() + "/TWICE/IN." + extension;
    static const bool folders = [] {
        std::error_code error;
        for (const char* folder : {"/ONCE", "/TWICE"}) {
            if (!std::filesystem::create_directories(workFolder() + folder, error)) {
                return false;
            }
        }
        for (const char* folder : {"", "/ONCE", "/TWICE"}) {
            writeTextures(workFolder() + folder);
        }
        return true;
    }();
    if (!folders) {
        return "broken: no work folder";
    }
    writeFile(input, data);
    // The loader's messages are part of no outcome, and would only slow the fuzzer down.
    static ConsolePrompt silent(std::fopen("/dev/null", "w"));
    const struct Silence {
        Prompt* previous = installPrompt(&silent);
        ~Silence() { installPrompt(previous); }
    } silence;
    Reader::Options options;
    options.imageByteLimit = kImageLimit;
    std::unique_ptr<Reader> loaded;
    try {
        loaded = std::make_unique<Reader>(nullptr, input, options);
    } catch (const LoadError& error) {
        return refused(error.what());  // Fine, as long as nothing leaked or crashed.
    }
    // A scene that cannot be written in lines the reader accepts is refused before the target
    // is touched; anything written must load again.
    const std::string old = readFile(first);
    try {
        Writer once(*loaded, first);
    } catch (const SaveError& error) {
        if (readFile(first) != old) {
            return broken("a refused save changed its target", error.what(), readFile(first));
        }
        return "not saved: " + refused(error.what()).substr(9);
    }
    std::unique_ptr<Reader> reloaded;
    try {
        reloaded = std::make_unique<Reader>(nullptr, first, options);
    } catch (const LoadError& error) {
        return broken("a saved file was refused", error.what(), readFile(first));
    }
    const std::string before = carried(*loaded);
    const std::string after = carried(*reloaded);
    if (before != after) {
        return broken("the saved file does not carry the scene", before, after);
    }
    try {
        Writer twice(*reloaded, second);
    } catch (const SaveError& error) {
        return broken("a saved file could not be saved again", error.what(), readFile(first));
    }
    if (readFile(first) != readFile(second)) {
        return broken("a saved file saved again changed", readFile(first), readFile(second));
    }
    return "loads";
}

// Any file applies to a scene without harm, and the state it leaves is written and read back
// unchanged as far as names can carry it.
std::string HostileInput::displayState(std::string_view data) {
    const std::string input = workFolder() + "/IN.dsp";
    const std::string saved = workFolder() + "/SAVED.dsp";
    writeFile(input, data);
    const auto scene = displayScene();
    DisplayStateFile::load(*scene, input);
    if (!DisplayStateFile::save(*scene, saved)) {
        return "broken: the display state cannot be saved";
    }
    const auto copy = displayScene();
    DisplayStateFile::load(*copy, saved);
    std::map<std::string, int> uses;
    for (const Entity* e : scene->entities) {
        ++uses[e->name()];
    }
    int off = 0;
    for (std::size_t k = 0; k < scene->entities.size(); ++k) {
        // Only a name of its own, without blanks, can carry a switch through the file.
        const std::string name = scene->entities[k]->name();
        off += scene->entities[k]->displayed == 0;
        if (uses[name] == 1 && !name.empty() && name.find(' ') == std::string::npos &&
            copy->entities[k]->displayed != scene->entities[k]->displayed) {
            return "broken: entity " + std::to_string(k) + " did not keep its display switch";
        }
    }
    return "applies, " + std::to_string(off) + " groups off";
}

// Every image the decoder returns holds exactly sizeX * sizeY pixels of three bytes.
std::string HostileInput::bitmap(std::string_view data) {
    const auto result = BitmapDecoder::decode(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    const RGBImage* image = std::get_if<RGBImage>(&result);
    if (!image) {
        static const char* const kErrors[] = {"unknown format", "conversion failed",
                                              "out of memory", "over the limit"};
        return std::string("refused: ") + kErrors[static_cast<int>(std::get<BitmapError>(result))];
    }
    if (image->sizeX <= 0 || image->sizeY <= 0 ||
        image->data.size() !=
            static_cast<std::size_t>(image->sizeX) * static_cast<std::size_t>(image->sizeY) * 3) {
        return "broken: an image of " + std::to_string(image->data.size()) + " bytes";
    }
    return "decodes " + std::to_string(image->sizeX) + "x" + std::to_string(image->sizeY);
}

std::string HostileInput::outcome(std::string_view data, std::string_view extension) {
    if (extension == "dsp") {
        return displayState(data);
    }
    if (extension == "bmp") {
        return bitmap(data);
    }
    for (const char* model : {"Y4P", "Y4D", "Y4T"}) {
        if (extension == model) {
            return HostileInput::model(data, model);
        }
    }
    return "unknown kind of input: " + std::string(extension);
}

}  // namespace y4::test
