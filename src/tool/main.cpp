// y4tool: checks, describes and re-saves model files from the command line, through the same
// Reader and Writer as the editor, and shows bitmaps as the editor decodes them. It never opens
// a window.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "JsonSceneWriter.h"
#include "ModelSummary.h"
#include "PpmImage.h"
#include "document/ModelDocument.h"
#include "files/BitmapDecoder.h"
#include "files/BitmapLoader.h"
#include "files/LoadError.h"
#include "files/Reader.h"
#include "platform/SafeFileWriter.h"

namespace {

constexpr const char* kUsage =
    "Usage: y4tool <command> [options]\n"
    "\n"
    "Commands:\n"
    "  check FILE...          load each model as the editor does and report ok or the error\n"
    "  info [--json] FILE     describe a model (with --json: the whole scene as JSON)\n"
    "  resave IN OUT          load IN and write it to OUT in IN's variant\n"
    "  bitmap FILE.BMP OUT    decode a bitmap as the editor does and write it as a PPM picture\n"
    "\n"
    "Run 'y4tool <command> --help' for the command's help.\n";

constexpr const char* kCheckHelp =
    "Usage: y4tool check FILE...\n"
    "Loads each model file as the editor does (textures decoded, no GL) and prints\n"
    "'FILE: ok' or 'FILE: <error>'. Exit status 0 only when every file loaded.\n";
constexpr const char* kInfoHelp =
    "Usage: y4tool info [--json] FILE\n"
    "Prints the variant, the counts, the bitmaps with their image sizes, the bounding box and\n"
    "the groups of a model. With --json prints the loaded scene as one JSON object:\n"
    "  fileType            0 for .Y4P, 1 for .Y4D, 2 for .Y4T\n"
    "  counts              {vertices, faces, bitmaps, entities}\n"
    "  bitmaps             the bitmap names, in order\n"
    "  images              [width, height] of each bitmap's image, or null without one\n"
    "  bbox                {min, max}: the box of the vertices' summed offsets, each [x, y, z]\n"
    "  entities            one object per entity, in list order:\n"
    "    name, index       the name, and the position the entity was read at\n"
    "    parent, level     the parent's position in this list (-1: none), the depth\n"
    "    position          [x, y, z] in the parent's frame\n"
    "    rotation          [rotateX, rotateY, rotateZ] in radians (about Y, X and Z)\n"
    "    cumulativeOffset, cumulativeRotation   sums down the hierarchy, [x, y, z]\n"
    "    absolute          the world position, [x, y, z]\n"
    "    entityID, parentEntityID, childEntityID, auxA, auxB   the file's columns\n"
    "    subEntities       one object each:\n"
    "      name, index, bitmapIndex\n"
    "      vertices        [X, Y, Z, normalX, normalY, normalZ, textureU, textureV] each\n"
    "      vertexIndices   each vertex's number as read\n"
    "      faces           [indexA, indexB, indexC, bitmapIndex, index] each\n"
    "Positions and normals are the file's with the other sign, as the editor holds them;\n"
    "a number that is not finite is null.\n";
constexpr const char* kResaveHelp =
    "Usage: y4tool resave IN OUT\n"
    "Loads IN and writes the scene to OUT in IN's variant, whatever OUT's extension.\n"
    "A terrain's own bitmap is named after its model: when OUT has none beside it, IN's is\n"
    "copied there.\n";
constexpr const char* kBitmapHelp =
    "Usage: y4tool bitmap FILE.BMP OUT.ppm\n"
    "Decodes a bitmap with the editor's own loader (any depth, palette or run-length\n"
    "compression, to 24-bit colour) and writes it as a binary PPM (P6) picture, so you can see\n"
    "what the editor will show. Exit status 1 when the bitmap cannot be read or written.\n";

bool wantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

// Loads a model as the editor loads the file a user chose: the file as spelled, known by its
// absolute path in upper case. Throws LoadError, also for a file that could not be opened.
std::unique_ptr<y4::Reader> load(const std::string& argument) {
    const std::string path = std::filesystem::absolute(argument).lexically_normal().string();
    auto reader = std::make_unique<y4::Reader>(nullptr, y4::ModelSource::chosen(path));
    if (!reader->loaded()) {
        throw y4::LoadError("Error: Could not open file " + argument + ": " + reader->openError());
    }
    return reader;
}

// The last model loaded is left to the end of the process, which releases its memory at once:
// tearing a million records down one by one would only keep the user waiting. Kept reachable,
// so that leak checkers do not count it.
y4::Reader* keptUntilExit = nullptr;

void keepUntilExit(std::unique_ptr<y4::Reader> reader) {
    delete keptUntilExit;
    keptUntilExit = reader.release();
}

int usageError(const char* message, const char* help) {
    std::fprintf(stderr, "y4tool: %s\n\n%s", message, help);
    return 2;
}

int check(const std::vector<std::string>& files) {
    if (wantsHelp(files)) {
        std::fputs(kCheckHelp, stdout);
        return 0;
    }
    if (files.empty()) {
        return usageError("check needs at least one file", kCheckHelp);
    }
    int failures = 0;
    for (const std::string& file : files) {
        try {
            keepUntilExit(nullptr);  // one model at a time
            keepUntilExit(load(file));
            std::printf("%s: ok\n", file.c_str());
        } catch (const std::exception& error) {
            std::printf("%s: %s\n", file.c_str(), error.what());
            ++failures;
        }
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}

int info(std::vector<std::string> args) {
    if (wantsHelp(args)) {
        std::fputs(kInfoHelp, stdout);
        return 0;
    }
    const auto json = std::find(args.begin(), args.end(), "--json");
    const bool asJson = json != args.end();
    if (asJson) {
        args.erase(json);
    }
    if (args.size() != 1) {
        return usageError("info needs exactly one file", kInfoHelp);
    }
    try {
        auto reader = load(args[0]);
        const std::string text = asJson ? y4::JsonSceneWriter::write(*reader)
                                        : y4::ModelSummary::write(*reader, args[0]);
        keepUntilExit(std::move(reader));
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", args[0].c_str(), error.what());
        return 1;
    }
}

int resave(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::fputs(kResaveHelp, stdout);
        return 0;
    }
    if (args.size() != 2) {
        return usageError("resave needs a source and a target file", kResaveHelp);
    }
    // An interrupted resave leaves no temporary file behind.
    y4::SafeFileWriter::removeTemporaryFilesOnSignals();
    // The editor's own path: its messages go to standard error. The document, like the models
    // of the other commands, is left to the end of the process.
    static y4::ModelDocument* kept = nullptr;
    kept = new y4::ModelDocument;
    y4::ModelDocument& document = *kept;
    if (!document.load(std::filesystem::absolute(args[0]).lexically_normal().string())) {
        return 1;
    }
    const std::string target = std::filesystem::absolute(args[1]).lexically_normal().string();
    const y4::ModelDocument::SaveResult saved = document.save(target);
    if (!saved.bitmapCopiedTo.empty()) {
        std::printf("Copied the terrain bitmap %s to %s\n", saved.bitmapCopiedFrom.c_str(),
                    saved.bitmapCopiedTo.c_str());
    }
    return saved ? 0 : 1;
}

int bitmap(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::fputs(kBitmapHelp, stdout);
        return 0;
    }
    if (args.size() != 2) {
        return usageError("bitmap needs a bitmap file and a target file", kBitmapHelp);
    }
    // The loader reports its own failure on standard error, with the editor's message.
    const std::unique_ptr<y4::RGBImage> image = y4::loadBitmapImage(args[0]);
    if (!image) {
        return 1;
    }
    try {
        y4::SafeFileWriter out(std::filesystem::absolute(args[1]).lexically_normal().string());
        out.write(y4::PpmImage::encode(*image));
        out.commit();
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "check") {
        return check(args);
    }
    if (command == "info") {
        return info(args);
    }
    if (command == "resave") {
        return resave(args);
    }
    if (command == "bitmap") {
        return bitmap(args);
    }
    std::fprintf(stderr, "y4tool: unknown command '%s'\n\n%s", command.c_str(), kUsage);
    return 2;
}
