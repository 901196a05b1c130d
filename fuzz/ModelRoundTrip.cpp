// The round-trip property of the model formats, with a comparison of what each file carries.
#include "ModelRoundTrip.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "BitmapWriter.h"
#include "files/LoadError.h"
#include "files/Reader.h"
#include "files/TextBuffer.h"
#include "files/Writer.h"
#include "platform/ConsolePrompt.h"

namespace y4::fuzz {

namespace {

const std::string& workFolder() {
    // Never destroyed, so that it outlives the handler that removes the folder at exit.
    static const std::string* folder = [] {
        auto* path = new std::string("/tmp/y4fuzz.XXXXXX");
        if (!mkdtemp(path->data())) {
            std::abort();
        }
        std::atexit([] { std::filesystem::remove_all(workFolder()); });
        return path;
    }();
    return *folder;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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

[[noreturn]] void fail(const char* what, const std::string& a, const std::string& b) {
    std::fprintf(stderr, "round trip broken: %s\n--- first\n%s\n--- second\n%s\n", what, a.c_str(),
                 b.c_str());
    std::abort();
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

}  // namespace

void checkModelRoundTrip(const std::uint8_t* data, std::size_t size, const char* extension) {
    const std::string input = workFolder() + "/IN." + extension;
    const std::string first = workFolder() + "/ONCE/IN." + extension;
    const std::string second = workFolder() + "/TWICE/IN." + extension;
    static const bool folders = [] {
        if (std::system(
                ("mkdir -p " + workFolder() + "/ONCE " + workFolder() + "/TWICE").c_str()) != 0) {
            return false;
        }
        for (const char* folder : {"", "/ONCE", "/TWICE"}) {
            writeTextures(workFolder() + folder);
        }
        // The loader's messages would only slow the fuzzer down.
        static ConsolePrompt silent(std::fopen("/dev/null", "w"));
        installPrompt(&silent);
        return true;
    }();
    if (!folders) {
        std::abort();
    }
    writeFile(input, data, size);
    Reader::Options options;
    options.imageByteLimit = kImageLimit;
    std::unique_ptr<Reader> loaded;
    try {
        loaded = std::make_unique<Reader>(nullptr, input, options);
    } catch (const LoadError&) {
        return;  // Refused: fine, as long as nothing leaked or crashed.
    }
    // A scene that cannot be written in lines the reader accepts is refused before the target
    // is touched; anything written must load again.
    const std::string old = readFile(first);
    try {
        Writer once(*loaded, first);
    } catch (const SaveError& error) {
        if (readFile(first) != old) {
            fail("a refused save changed its target", error.what(), readFile(first));
        }
        return;
    }
    std::unique_ptr<Reader> reloaded;
    try {
        reloaded = std::make_unique<Reader>(nullptr, first, options);
    } catch (const LoadError& error) {
        fail("a saved file was refused", error.what(), readFile(first));
    }
    const std::string before = carried(*loaded);
    const std::string after = carried(*reloaded);
    if (before != after) {
        fail("the saved file does not carry the scene", before, after);
    }
    try {
        Writer twice(*reloaded, second);
    } catch (const SaveError& error) {
        fail("a saved file could not be saved again", error.what(), readFile(first));
    }
    if (readFile(first) != readFile(second)) {
        fail("a saved file saved again changed", readFile(first), readFile(second));
    }
}

}  // namespace y4::fuzz
