// y4soak: the long soak of ModelDocument. Each model given, and a generated one on request, is
// copied with its bitmaps into a scratch folder of its own and goes through a seeded random
// sequence of edits, undos, redos, commits, discards and saves with loads (SoakRun), checked
// after every step. Prints one line per model; exits 1 with the seed and step of the first
// violation.
//   y4soak [--steps N] [--seed S] [--full-every K] [--generate-faces N] [MODEL...]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ModelGenerator.h"
#include "soak/SoakRun.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    long steps = 100000;
    std::uint32_t seed = 1;
    // 0: chosen from the model's size.
    long fullEvery = 0;
    long generateFaces = 0;
    std::vector<std::string> models;
};

bool parse(int argc, char** argv, Options& o) {
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        const bool hasValue = k + 1 < argc;
        if (arg == "--steps" && hasValue) {
            o.steps = std::atol(argv[++k]);
        } else if (arg == "--seed" && hasValue) {
            o.seed = static_cast<std::uint32_t>(std::strtoul(argv[++k], nullptr, 10));
        } else if (arg == "--full-every" && hasValue) {
            o.fullEvery = std::atol(argv[++k]);
        } else if (arg == "--generate-faces" && hasValue) {
            o.generateFaces = std::atol(argv[++k]);
        } else if (!arg.empty() && arg[0] != '-') {
            o.models.push_back(arg);
        } else {
            return false;
        }
    }
    return o.steps > 0 && (!o.models.empty() || o.generateFaces > 0);
}

fs::path scratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "y4soak.XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("y4soak: scratch folder");
        std::exit(2);
    }
    return pattern;
}

// The model and every bitmap beside it, copied into `folder`; the copy's path.
std::string copyModel(const fs::path& model, const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(
             model.parent_path().empty() ? fs::path(".") : model.parent_path())) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (extension == ".BMP") {
            fs::copy_file(entry.path(), folder / entry.path().filename());
        }
    }
    fs::copy_file(model, folder / model.filename());
    return (folder / model.filename()).string();
}

// Runs the soak on the model at `path`; whether it held.
bool soak(const std::string& name, const std::string& path, long faces, const Options& o) {
    y4::test::SoakOptions options;
    options.seed = o.seed;
    options.steps = o.steps;
    // A full check costs about as much as the model is large: one every step up to a few
    // thousand faces, and about one per 2,000 faces of steps beyond.
    options.fullEvery = o.fullEvery > 0 ? o.fullEvery : std::max(1L, faces / 2000);
    const auto start = std::chrono::steady_clock::now();
    options.progress = [&](long steps) {
        std::printf(
            "%s: %ld steps held, %.0f s\n", name.c_str(), steps,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::fflush(stdout);
    };
    y4::test::SoakRun run(path, options);
    const bool held = run.run();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long made = 0;
    for (long count : run.made) {
        made += count;
    }
    std::printf(
        "%s: %s after %ld steps, seed %u, %ld edits made, %ld undos, %ld redos, %ld "
        "commits, %ld discards, %ld reloads, %ld reopened, %zu faces at the end, %ld full checks "
        "(every %ld steps), %.0f s\n",
        name.c_str(), held ? "held" : "FAILED", run.stepsDone(), o.seed, made, run.undos, run.redos,
        run.made[y4::test::SoakRun::kCommit], run.made[y4::test::SoakRun::kDiscard],
        run.made[y4::test::SoakRun::kSaveReload], run.reopened, run.faces(), run.fullChecks,
        options.fullEvery, seconds);
    if (!held) {
        std::printf("  %s\n", run.failure().c_str());
    }
    std::fflush(stdout);
    return held;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "Usage: y4soak [--steps N] [--seed S] [--full-every K] [--generate-faces N] "
                     "[MODEL...]\n");
        return 2;
    }
    bool held = true;
    for (const std::string& model : o.models) {
        const fs::path folder = scratchFolder();
        const std::string path = copyModel(model, folder);
        long faces = 0;
        try {
            faces = static_cast<long>(y4::Reader(nullptr, path).faces.size());
        } catch (const std::exception& error) {
            std::fprintf(stderr, "y4soak: %s\n", error.what());
            return 2;
        }
        if (soak(fs::path(model).filename().string(), path, faces, o)) {
            fs::remove_all(folder);
        } else {
            std::printf("  its files are kept in %s\n", folder.c_str());
            held = false;
        }
    }
    if (o.generateFaces > 0) {
        const fs::path folder = scratchFolder();
        y4::gen::GeneratorOptions generated;
        generated.faces = o.generateFaces;
        generated.seed = o.seed;
        const std::string path = (folder / "GENERATED.Y4P").string();
        y4::gen::ModelGenerator::write(generated, path);
        const std::string name = "generated model of " + std::to_string(o.generateFaces) + " faces";
        if (soak(name, path, o.generateFaces, o)) {
            fs::remove_all(folder);
        } else {
            std::printf("  its files are kept in %s\n", folder.c_str());
            held = false;
        }
    }
    return held ? 0 : 1;
}
