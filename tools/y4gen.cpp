// y4gen: writes the bundled sample models, or generated models of any size.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "ModelGenerator.h"
#include "SampleModels.h"

namespace {

constexpr const char* kUsage =
    "Usage: y4gen samples FOLDER\n"
    "       y4gen model [--faces N] [--groups N] [--depth N] [--subentities N]\n"
    "                   [--textures N] [--seed N] FILE.Y4P|FILE.Y4D|FILE.Y4T\n"
    "Writes the sample models, or a generated model with its texture bitmaps.\n";

bool number(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "samples" && argc == 3) {
            y4::gen::SampleModels::writeAll(argv[2]);
            return 0;
        }
        if (command == "model" && argc >= 3) {
            y4::gen::GeneratorOptions options;
            int k = 2;
            for (; k + 1 < argc && argv[k][0] == '-'; k += 2) {
                const std::string option = argv[k];
                long long value = 0;
                if (!number(argv[k + 1], value)) {
                    std::fprintf(stderr, "y4gen: %s needs a number\n", option.c_str());
                    return 2;
                }
                const int small = static_cast<int>(value > 1000000 ? 1000000 : value);
                if (option == "--faces") {
                    options.faces = value;
                } else if (option == "--groups") {
                    options.groups = small;
                } else if (option == "--depth") {
                    options.depth = small;
                } else if (option == "--subentities") {
                    options.subEntities = small;
                } else if (option == "--textures") {
                    options.textures = small;
                } else if (option == "--seed") {
                    options.seed = static_cast<std::uint32_t>(value);
                } else {
                    std::fprintf(stderr, "y4gen: unknown option %s\n\n%s", option.c_str(), kUsage);
                    return 2;
                }
            }
            if (k + 1 == argc) {
                y4::gen::ModelGenerator::write(options, argv[k]);
                return 0;
            }
        }
        std::fputs(kUsage, command == "--help" ? stdout : stderr);
        return command == "--help" ? 0 : 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "y4gen: %s\n", error.what());
        return 1;
    }
}
