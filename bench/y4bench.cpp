// y4bench: times the core's operations on generated models of 10,000, 100,000 and 1,000,000
// faces (the fastest of several runs of each), next to the fgets/sscanf/fprintf yardstick, the
// frames drawn per second off-screen next to face-by-face drawing, the opening of the object
// tree window (by y4treebench), and the peak memory of loading the largest model. Prints a
// table, or JSON with --json.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BaselineReader.h"
#include "FrameBench.h"
#include "ModelGenerator.h"
#include "document/ModelDocument.h"
#include "files/Reader.h"
#include "files/Writer.h"
#include "model/SceneTree.h"
#include "model/SelectionMarks.h"
#include "model/TreeListing.h"
#include "platform/TraceLog.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Result {
    std::string op;
    long long faces;
    double seconds;
};

// What the document's history held after 100 scalings of a whole model.
struct HistoryMemory {
    long long faces = 0;
    std::size_t steps = 0;
    std::size_t bytes = 0;
    std::size_t budget = 0;
};

struct Options {
    std::vector<long long> sizes = {10000, 100000, 1000000};
    int runs = 5;
    bool json = false;
    std::string folder;
};

// The fastest of `runs` timings of `work`; `setup` runs untimed before each.
double fastest(int runs, const std::function<void()>& setup, const std::function<void()>& work) {
    double best = 1e300;
    for (int k = 0; k < runs; ++k) {
        setup();
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

std::string modelPath(const Options& o, long long faces, const char* extension) {
    return o.folder + "/M" + std::to_string(faces) + "." + extension;
}

void generate(const Options& o, long long faces, const char* extension) {
    const std::string path = modelPath(o, faces, extension);
    if (std::filesystem::exists(path)) {
        return;
    }
    y4::gen::GeneratorOptions g;
    g.faces = faces;
    g.groups = static_cast<int>(std::max(4LL, faces / 1000));
    g.depth = 4;
    g.subEntities = std::string(extension) == "Y4T" ? 40 : 2;
    g.textures = 8;
    g.seed = static_cast<std::uint32_t>(faces);
    y4::gen::ModelGenerator::write(g, path);
}

std::unique_ptr<y4::Reader> load(const std::string& path) {
    return std::make_unique<y4::Reader>(nullptr, y4::ModelSource::chosen(path));
}

// Marks every other face and every tenth group deleted, as a user's big clean-up would.
void markHalf(y4::Reader& r) {
    for (std::size_t k = 0; k < r.faces.size(); k += 2) {
        r.markFace(r.faces[k], 1);
    }
    for (std::size_t k = 1; k < r.entities.size(); k += 10) {
        r.markEntity(r.entities[k], 1);
    }
}

HistoryMemory historyMemory;

long long facesBelow(const y4::Entity& e) {
    long long count = 0;
    for (const y4::Entity* child : e.children) {
        count += facesBelow(*child);
    }
    for (const y4::SubEntity* s : e.subEntities) {
        count += static_cast<long long>(s->faces.size());
    }
    return count;
}

// The structural edits a user waits on: a paste of the smallest group of at least 10,000 faces
// beside itself, its vertices shared within each sub-entity, and one Split Face; each undone
// before the next run.
template <class Add>
void benchmarkStructure(const Options& o, y4::ModelDocument& document, Add add) {
    y4::Reader& r = *document.reader();
    y4::Entity* group = nullptr;
    long long groupFaces = 0;
    for (y4::Entity* e : r.entities) {
        const long long count = facesBelow(*e);
        if (e->parent && count >= 10000 && (!group || count < groupFaces)) {
            group = e;
            groupFaces = count;
        }
    }
    if (group && document.copy(group) && document.canPaste(group->parent)) {
        bool pasted = false;
        add("paste_group", fastest(
                               o.runs,
                               [&] {
                                   if (pasted) {
                                       document.undo();
                                   }
                               },
                               [&] { pasted = document.paste(group->parent); }));
        if (pasted) {
            document.undo();
        }
        if (!o.json) {
            std::fprintf(stderr, "  (the group pasted holds %lld faces)\n", groupFaces);
        }
    }
    y4::Face* face = r.faces[r.faces.size() / 2];
    bool split = false;
    add("split_face", fastest(
                          o.runs,
                          [&] {
                              if (split) {
                                  document.undo();
                              }
                          },
                          [&] { split = document.splitFace(face) != nullptr; }));
    if (split) {
        document.undo();
    }
    document.selectRecord(r.root());
}

// The edits a user waits on, through ModelDocument with its tree listed: one drag step on the
// root (the step and the world positions after it, next to the world positions alone), its undo,
// every display switch off and on, and the memory the history holds after 100 scalings of the
// whole model.
template <class Add>
void benchmarkDocument(const Options& o, long long faces, const std::string& path, Add add) {
    y4::ModelDocument document;
    if (!document.load(path)) {
        return;
    }
    document.selectRecord(document.reader()->root());
    // The world positions of this very scene, which a drag step must compute again.
    add("doc_world", fastest(
                         o.runs, [] {}, [&] { document.reader()->computeWorldPositions(); }));
    add("drag_step", fastest(
                         o.runs, [&] { document.beginDrag(); },
                         [&] { document.transformSelection(0.25f, 0, 0, 1); }));
    add("drag_undo", fastest(
                         o.runs,
                         [&] {
                             document.beginDrag();
                             document.transformSelection(0.25f, 0, 0, 1);
                             document.endDrag();
                         },
                         [&] { document.undo(); }));
    add("hide_all", fastest(
                        o.runs, [&] { document.setAllDisplayed(true); },
                        [&] { document.setAllDisplayed(false); }));
    add("show_all", fastest(
                        o.runs, [&] { document.setAllDisplayed(false); },
                        [&] { document.setAllDisplayed(true); }));
    benchmarkStructure(o, document, add);
    for (int k = 0; k < 100; ++k) {
        document.scaleSelection(1.01f, 0.99f, 1.0f);
    }
    if (faces >= historyMemory.faces) {
        historyMemory = {faces, document.history().size(), document.history().bytes(),
                         document.history().budget()};
    }
}

std::vector<y4::bench::FrameTiming> frameTimings(const std::string& path, long long faces,
                                                 int runs);
std::vector<y4::bench::FrameTiming> treeWindowTimings(const std::string& path, int runs);
std::vector<y4::bench::FrameTiming> viewDragTimings(const std::string& path);

void benchmarkSize(const Options& o, long long faces, std::vector<Result>& results) {
    const std::string nested = modelPath(o, faces, "Y4P");
    auto add = [&](const char* op, double seconds) {
        results.push_back({op, faces, seconds});
        if (!o.json) {
            std::fprintf(stderr, "  %-14s %9lld faces  %9.4f s\n", op, faces, seconds);
        }
    };
    std::unique_ptr<y4::Reader> r;
    add("baseline_read", fastest(
                             o.runs, [] {}, [&] { y4::bench::BaselineReader::read(nested); }));
    add("baseline_resave",
        fastest(
            o.runs, [] {},
            [&] { y4::bench::BaselineReader::readAndWrite(nested, o.folder + "/baseline.out"); }));
    add("load", fastest(
                    o.runs, [&] { r.reset(); }, [&] { r = load(nested); }));
    add("load_y4d", fastest(
                        o.runs, [&] { r.reset(); }, [&] { r = load(modelPath(o, faces, "Y4D")); }));
    add("load_y4t", fastest(
                        o.runs, [&] { r.reset(); }, [&] { r = load(modelPath(o, faces, "Y4T")); }));
    r = load(nested);
    add("save", fastest(
                    o.runs, [] {}, [&] { y4::Writer w(*r, o.folder + "/SAVED.Y4P"); }));
    add("resave", fastest(
                      o.runs, [&] { r.reset(); },
                      [&] {
                          r = load(nested);
                          y4::Writer w(*r, o.folder + "/SAVED.Y4P");
                      }));
    add("world", fastest(
                     o.runs, [] {}, [&] { r->computeWorldPositions(); }));

    // The tree, the selection and the marks, as the object tree drives them.
    y4::SceneTree tree;
    add("tree", fastest(
                    o.runs, [&] { tree.deleteAllItems(); },
                    [&] { y4::TreeListing::buildTree(tree, r->root()); }));
    r->m_pEntityTree = &tree;
    add("select", fastest(
                      o.runs, [&] { y4::SelectionMarks::apply(r->root(), 0); },
                      [&] { y4::SelectionMarks::apply(r->root(), 1); }));
    y4::Face* face = r->faces[r->faces.size() / 2];
    add("select_face", fastest(
                           o.runs, [&] { y4::SelectionMarks::apply(face, 0); },
                           [&] { y4::SelectionMarks::apply(face, 1); }));
    add("mark", fastest(
                    o.runs, [] {},
                    [&] {
                        r->markEntity(r->root(), 1);
                        r->markEntity(r->root(), 0);
                    }));
    r.reset();

    benchmarkDocument(o, faces, nested, add);

    // The purge, on a fresh scene with its tree each time, the trace log written to a file.
    y4::SceneTree purgeTree;
    std::unique_ptr<y4::Reader> victim;
    add("purge", fastest(
                     o.runs,
                     [&] {
                         victim.reset();
                         victim = std::make_unique<y4::Reader>(&purgeTree,
                                                               y4::ModelSource::chosen(nested));
                         y4::TreeListing::buildTree(purgeTree, victim->root());
                         markHalf(*victim);
                         y4::TraceLog::global().open(o.folder + "/Y4Editor.log");
                     },
                     [&] { victim->finalDelete(); }));
    y4::TraceLog::global().close();
    victim.reset();

    for (const y4::bench::FrameTiming& t : frameTimings(nested, faces, o.runs)) {
        add(t.op.c_str(), t.secondsPerFrame);
    }
    for (const y4::bench::FrameTiming& t : treeWindowTimings(nested, o.runs)) {
        add(t.op.c_str(), t.secondsPerFrame);
    }
    // Through the editor's window, which draws every step in software: up to 100,000 faces.
    if (faces <= 100000) {
        for (const y4::bench::FrameTiming& t : viewDragTimings(nested)) {
            add(t.op.c_str(), t.secondsPerFrame);
        }
    }
}

// What `program` prints when started with `args`: measurements in a fresh process, so that
// nothing measured so far counts, and nothing measured there (the GL driver's threads and
// memory, Qt's windows) disturbs what is measured next.
std::string outputOfProgram(const std::string& program, const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv = {const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    waitpid(child, nullptr, 0);
    return out;
}

// What this program prints when started again with `args`.
std::string outputOfFreshProcess(const std::vector<std::string>& args) {
    return outputOfProgram("/proc/self/exe", args);
}

// Lines "<op> <seconds>", as the fresh processes print them.
std::vector<y4::bench::FrameTiming> timingsIn(const std::string& output) {
    std::istringstream lines(output);
    std::vector<y4::bench::FrameTiming> out;
    y4::bench::FrameTiming t;
    while (lines >> t.op >> t.secondsPerFrame) {
        out.push_back(t);
    }
    return out;
}

// Opening the object tree window on the model, timed by y4treebench beside this program; none
// when it was not built (a build without the editor).
std::vector<y4::bench::FrameTiming> treeWindowTimings(const std::string& path, int runs) {
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "y4treebench";
    if (!std::filesystem::exists(program)) {
        return {};
    }
    return timingsIn(outputOfProgram(program.string(), {path, std::to_string(runs)}));
}

// One drag step through the editor's view, timed by y4dragbench beside this program, under a
// virtual X server when there is no display; none when it was not built or cannot run.
std::vector<y4::bench::FrameTiming> viewDragTimings(const std::string& path) {
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "y4dragbench";
    if (!std::filesystem::exists(program)) {
        return {};
    }
    const std::string steps = "21";
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') {
        return timingsIn(outputOfProgram(program.string(), {path, steps}));
    }
    const std::string xvfb = "/usr/bin/xvfb-run";
    if (!std::filesystem::exists(xvfb)) {
        return {};
    }
    return timingsIn(outputOfProgram(
        xvfb, {"-a", "-s", "-screen 0 1280x1024x24", program.string(), path, steps}));
}

// The peak resident memory of a fresh process that loads the model and does nothing else.
long long peakMemoryOfLoad(const std::string& path) {
    const std::string out = outputOfFreshProcess({"--measure-load", path});
    return out.empty() ? -1 : std::atoll(out.c_str());
}

// Frame timings of the model, each line of the fresh process "<op> <seconds per frame>".
std::vector<y4::bench::FrameTiming> frameTimings(const std::string& path, long long faces,
                                                 int runs) {
    return timingsIn(outputOfFreshProcess(
        {"--measure-frames", path, std::to_string(faces), std::to_string(runs)}));
}

int measureFrames(const char* path, const char* faces, const char* runs) {
    for (const auto& t : y4::bench::FrameBench::measure(path, std::atoll(faces), std::atoi(runs))) {
        std::printf("%s %.9f\n", t.op.c_str(), t.secondsPerFrame);
    }
    return 0;
}

// The peak resident memory of this process's own address space. getrusage would also count
// what the forking parent held before the exec.
long long peakResidentBytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    long long kilobytes = -1;
    char line[256];
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %lld kB", &kilobytes) == 1) {
            break;
        }
    }
    if (status) {
        std::fclose(status);
    }
    return kilobytes < 0 ? -1 : kilobytes * 1024;
}

int measureLoad(const char* path) {
    const y4::Reader r(nullptr, path);
    std::printf("%lld\n", peakResidentBytes());
    return r.loaded() ? 0 : 1;
}

double secondsOf(const std::vector<Result>& results, const std::string& op, long long faces) {
    for (const Result& r : results) {
        if (r.op == op && r.faces == faces) {
            return r.seconds;
        }
    }
    return -1;
}

// Frames per second, and the targets: 30 frames per second in textured mode at 100,000 faces,
// and the vertex arrays at least three times as fast as face-by-face drawing from 100,000 faces
// on.
void printFrameRates(const std::vector<Result>& results, const std::vector<long long>& sizes) {
    if (secondsOf(results, "frame_solid", sizes.front()) <= 0) {
        return;
    }
    std::printf("frames per second at %d x %d off-screen:\n", y4::bench::FrameBench::kWidth,
                y4::bench::FrameBench::kHeight);
    const char* ops[] = {"frame_solid", "frame_solid_face_by_face", "frame_textured",
                         "frame_textured_face_by_face"};
    for (const long long faces : sizes) {
        std::printf("  %8lld faces:", faces);
        for (const char* op : ops) {
            std::printf("  %s %.1f", op + 6, 1 / secondsOf(results, op, faces));
        }
        std::printf("\n");
    }
    // A drag step through the editor's view ends with a frame: beside the frame time.
    for (const long long faces : sizes) {
        const double step = secondsOf(results, "view_drag_step", faces);
        if (step > 0) {
            std::printf(
                "  %8lld faces, in the editor's window: drag step %.1f ms (vertices %.1f ms), "
                "frame %.1f ms\n",
                faces, step * 1e3, secondsOf(results, "view_drag_vertices", faces) * 1e3,
                secondsOf(results, "view_frame", faces) * 1e3);
        }
    }
    for (const long long faces : sizes) {
        if (faces < 100000) {
            continue;
        }
        const auto line = [](const std::string& what, double value, double target) {
            std::printf("  %-36s %8.2f  (target >= %.2f) %s\n", what.c_str(), value, target,
                        value >= target ? "ok" : "MISSED");
        };
        const std::string size = " at " + std::to_string(faces);
        if (faces == 100000) {
            line("textured fps" + size, 1 / secondsOf(results, "frame_textured", faces), 30);
        }
        for (const std::string mode : {"solid", "textured"}) {
            line(mode + " arrays / face by face" + size,
                 secondsOf(results, "frame_" + mode + "_face_by_face", faces) /
                     secondsOf(results, "frame_" + mode, faces),
                 3);
        }
    }
}

// The targets: the largest load and resave against the yardstick, growth from the second
// largest size to the largest, and the in-memory operations against the load.
void printRatios(const std::vector<Result>& results, std::vector<long long> sizes) {
    std::sort(sizes.begin(), sizes.end());
    const long long big = sizes.back();
    std::printf("\nratios at %lld faces:\n", big);
    auto line = [](const char* what, double ratio, double limit) {
        std::printf("  %-36s %8.3f  (target <= %.2f) %s\n", what, ratio, limit,
                    ratio <= limit ? "ok" : "MISSED");
    };
    line("load / baseline_read",
         secondsOf(results, "load", big) / secondsOf(results, "baseline_read", big), 0.3);
    line("resave / baseline_resave",
         secondsOf(results, "resave", big) / secondsOf(results, "baseline_resave", big), 0.3);
    const double load = secondsOf(results, "load", big);
    for (const char* op : {"world", "mark", "select", "tree"}) {
        line((std::string(op) + " / load").c_str(), secondsOf(results, op, big) / load, 0.5);
    }
    // A drag step is the world positions it needs and next to nothing else; its undo no more.
    const double step = secondsOf(results, "drag_step", big);
    line("drag_step / doc_world", step / secondsOf(results, "doc_world", big), 1.1);
    line("drag_undo / drag_step", secondsOf(results, "drag_undo", big) / step, 1.1);
    line("hide_all / load", secondsOf(results, "hide_all", big) / load, 0.5);
    line("show_all / load", secondsOf(results, "show_all", big) / load, 0.5);
    if (const double window = secondsOf(results, "tree_window", big); window > 0) {
        std::printf("object tree window at %lld faces:\n", big);
        line("tree_window (seconds)", window, 1.0);
    }
    printFrameRates(results, sizes);
    if (sizes.size() < 2) {
        return;
    }
    const long long smaller = sizes[sizes.size() - 2];
    std::printf("growth from %lld to %lld faces (x%lld):\n", smaller, big, big / smaller);
    for (const Result& r : results) {
        if (r.faces == big && r.op.rfind("baseline", 0) != 0 && r.op != "select_face") {
            line(r.op.c_str(), r.seconds / secondsOf(results, r.op, smaller),
                 1.5 * static_cast<double>(big) / static_cast<double>(smaller));
        }
    }
}

bool parse(int argc, char** argv, Options& o) {
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--json") {
            o.json = true;
        } else if (arg == "--runs" && k + 1 < argc) {
            o.runs = std::max(1, std::atoi(argv[++k]));
        } else if (arg == "--sizes" && k + 1 < argc) {
            o.sizes.clear();
            for (std::string list = argv[++k]; !list.empty();) {
                const std::size_t comma = list.find(',');
                o.sizes.push_back(std::atoll(list.substr(0, comma).c_str()));
                list = comma == std::string::npos ? "" : list.substr(comma + 1);
            }
        } else if (arg == "--folder" && k + 1 < argc) {
            o.folder = argv[++k];
        } else {
            std::fprintf(stderr,
                         "Usage: y4bench [--json] [--runs N] [--sizes 10000,100000,1000000] "
                         "[--folder DIR]\n");
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--measure-load") {
        return measureLoad(argv[2]);
    }
    if (argc == 5 && std::string(argv[1]) == "--measure-frames") {
        return measureFrames(argv[2], argv[3], argv[4]);
    }
    Options o;
    if (!parse(argc, argv, o)) {
        return 2;
    }
    std::unique_ptr<std::filesystem::path, void (*)(std::filesystem::path*)> cleanup(
        nullptr, [](std::filesystem::path* p) {
            std::filesystem::remove_all(*p);
            delete p;
        });
    if (o.folder.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "y4bench.XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("y4bench");
            return 1;
        }
        o.folder = pattern;
        cleanup.reset(new std::filesystem::path(pattern));
    }
    std::vector<Result> results;
    for (long long faces : o.sizes) {
        if (!o.json) {
            std::fprintf(stderr, "generating and measuring %lld faces...\n", faces);
        }
        for (const char* extension : {"Y4P", "Y4D", "Y4T"}) {
            generate(o, faces, extension);
        }
        benchmarkSize(o, faces, results);
    }
    const long long largest = *std::max_element(o.sizes.begin(), o.sizes.end());
    const long long peak = peakMemoryOfLoad(modelPath(o, largest, "Y4P"));

    if (o.json) {
        std::printf("{\"results\": [");
        for (std::size_t k = 0; k < results.size(); ++k) {
            std::printf("%s{\"op\": \"%s\", \"faces\": %lld, \"seconds\": %.6f}", k ? ", " : "",
                        results[k].op.c_str(), results[k].faces, results[k].seconds);
        }
        std::printf(
            "], \"peakMemoryBytes\": {\"faces\": %lld, \"bytes\": %lld}, "
            "\"history\": {\"faces\": %lld, \"steps\": %zu, \"bytes\": %zu, "
            "\"budget\": %zu}}\n",
            largest, peak, historyMemory.faces, historyMemory.steps, historyMemory.bytes,
            historyMemory.budget);
        return 0;
    }
    std::printf("%-16s", "operation");
    for (long long faces : o.sizes) {
        std::printf(" %12lld", faces);
    }
    std::printf("   (seconds, fastest of %d)\n", o.runs);
    for (std::size_t k = 0; k < results.size() / o.sizes.size(); ++k) {
        std::printf("%-16s", results[k].op.c_str());
        for (std::size_t s = 0; s < o.sizes.size(); ++s) {
            std::printf(" %12.4f", results[s * (results.size() / o.sizes.size()) + k].seconds);
        }
        std::printf("\n");
    }
    std::printf("peak memory of the %lld-face load: %.1f MB\n", largest,
                static_cast<double>(peak) / 1048576.0);
    std::printf(
        "history after 100 scalings of the whole %lld-face model: %zu steps kept, "
        "%.1f MB (budget %.0f MB) %s\n",
        historyMemory.faces, historyMemory.steps,
        static_cast<double>(historyMemory.bytes) / 1048576.0,
        static_cast<double>(historyMemory.budget) / 1048576.0,
        historyMemory.bytes <= historyMemory.budget ? "ok" : "OVER BUDGET");
    printRatios(results, o.sizes);
    return 0;
}
