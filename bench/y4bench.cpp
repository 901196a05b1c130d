// y4bench: times what a user meets on generated models of 10,000, 100,000 and 1,000,000 faces.
// Each operation runs in a fresh process (this program again, with --child), so its memory is
// as cold as a user's first load; the child reports the process CPU time (every thread) and the
// wall time of the operation alone. Runs are interleaved over the operations, so a busy machine
// slows them alike; the table shows the fastest and the median of the runs, next to the
// yardsticks measured in the same run (fgets/sscanf/fprintf, and std::from_chars building
// nothing), the peak memory of a load, and the growth from one size to the next. The older
// in-process figures (the fastest of the runs in one process, memory already warm) follow as
// an extra column. Then the memory an undo history holds after 100 scalings, the frames drawn
// per second off-screen next to face-by-face drawing, and the opening of the object tree window
// (by y4treebench), each measured in a process of its own. Prints a table, or JSON with --json.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "BenchOperations.h"
#include "FrameBench.h"
#include "ModelGenerator.h"
#include "document/ModelDocument.h"
#include "files/Reader.h"
#include "platform/TraceLog.h"

namespace {

using Clock = std::chrono::steady_clock;
using y4::bench::ChildState;
using y4::bench::findOperation;
using y4::bench::Operation;
using y4::bench::operations;
using y4::bench::Work;

struct Options {
    std::vector<long long> sizes = {10000, 100000, 1000000};
    int runs = 5;
    bool json = false;
    bool warm = true;
    bool frames = true;
    std::string folder;
};

// CPU time of the whole process (every thread, finished ones included) and wall time.
struct Stamp {
    double cpu;
    double wall;
    static Stamp now() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto seconds = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
        };
        return {seconds(usage.ru_utime) + seconds(usage.ru_stime),
                std::chrono::duration<double>(Clock::now().time_since_epoch()).count()};
    }
};

std::string modelPath(const std::string& folder, long long faces, const char* extension) {
    return folder + "/M" + std::to_string(faces) + "." + extension;
}

void generate(const std::string& folder, long long faces, const char* extension) {
    const std::string path = modelPath(folder, faces, extension);
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

// The child: runs one operation and prints "<cpu> <wall>" (or the peak memory of a load), then
// leaves without tearing anything down.
int child(const std::string& name, const std::string& model, const std::string& folder) {
    if (name == "peak") {
        const auto r = std::make_unique<y4::Reader>(nullptr, y4::ModelSource::chosen(model));
        std::printf("%lld\n", peakResidentBytes());
        std::fflush(stdout);
        std::_Exit(r->loaded() ? 0 : 1);
    }
    if (name == "history") {
        // What the history holds after 100 scalings of the whole model.
        const auto document = std::make_unique<y4::ModelDocument>();
        if (!document->load(model)) {
            std::_Exit(1);
        }
        document->selectRecord(document->reader()->root());
        for (int k = 0; k < 100; ++k) {
            document->scaleSelection(1.01f, 0.99f, 1.0f);
        }
        std::printf("%zu %zu %zu\n", document->history().size(), document->history().bytes(),
                    document->history().budget());
        std::fflush(stdout);
        std::_Exit(0);
    }
    const Operation* op = findOperation(name);
    if (!op) {
        return 2;
    }
    static ChildState state;
    Work work = op->make(state, model, folder);
    work.setup();
    const Stamp start = Stamp::now();
    work.timed();
    const Stamp end = Stamp::now();
    std::printf("%.9f %.9f\n", (end.cpu - start.cpu) / work.perUnit,
                (end.wall - start.wall) / work.perUnit);
    std::fflush(stdout);
    y4::TraceLog::global().close();
    std::_Exit(0);
}

// Runs `program` with `args` and reads what it prints; nothing when it failed.
std::optional<std::string> runProgram(const std::string& program,
                                      const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return std::nullopt;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return out;
}

// Runs this program as a child and reads what it prints.
std::optional<std::string> runChild(const std::vector<std::string>& args) {
    return runProgram("/proc/self/exe", args);
}

// Lines "<op> <seconds>", as the frame and tree window processes print them.
std::vector<y4::bench::FrameTiming> timingsIn(const std::optional<std::string>& output) {
    std::istringstream lines(output.value_or(""));
    std::vector<y4::bench::FrameTiming> out;
    y4::bench::FrameTiming t;
    while (lines >> t.op >> t.secondsPerFrame) {
        out.push_back(t);
    }
    return out;
}

// Frames drawn off-screen, each kind in a process of its own, so that the GL driver's threads
// and memory stay out of the core's measurements and one kind does not slow the next.
std::vector<y4::bench::FrameTiming> frameTimings(const std::string& path, long long faces,
                                                 int runs) {
    std::vector<y4::bench::FrameTiming> out;
    for (const std::string& kind : y4::bench::FrameBench::kinds()) {
        const auto timings = timingsIn(runChild(
            {"--measure-frames", path, std::to_string(faces), std::to_string(runs), kind}));
        out.insert(out.end(), timings.begin(), timings.end());
    }
    return out;
}

int measureFrames(const char* path, const char* faces, const char* runs, const char* kind) {
    const auto t = y4::bench::FrameBench::measure(path, std::atoll(faces), std::atoi(runs), kind);
    if (!t) {
        return 1;
    }
    std::printf("%s %.9f\n", t->op.c_str(), t->secondsPerFrame);
    return 0;
}

// Opening the object tree window on the model, timed by y4treebench beside this program; none
// when it was not built (a build without the editor).
std::vector<y4::bench::FrameTiming> treeWindowTimings(const std::string& path, int runs) {
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "y4treebench";
    if (!std::filesystem::exists(program)) {
        return {};
    }
    return timingsIn(runProgram(program.string(), {path, std::to_string(runs)}));
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
        return timingsIn(runProgram(program.string(), {path, steps}));
    }
    const std::string xvfb = "/usr/bin/xvfb-run";
    if (!std::filesystem::exists(xvfb)) {
        return {};
    }
    return timingsIn(
        runProgram(xvfb, {"-a", "-s", "-screen 0 1280x1024x24", program.string(), path, steps}));
}

// What the document's history held after 100 scalings of the largest model.
struct HistoryMemory {
    std::size_t steps = 0;
    std::size_t bytes = 0;
    std::size_t budget = 0;
};

struct Figures {
    std::vector<double> cpu;
    std::vector<double> wall;
    double warm = -1;  // fastest in one process, wall time; -1 when not measured
};

double fastestOf(std::vector<double> v) {
    return v.empty() ? -1 : *std::min_element(v.begin(), v.end());
}
double medianOf(std::vector<double> v) {
    if (v.empty()) {
        return -1;
    }
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

using Key = std::pair<std::string, long long>;

// The old figures: the fastest of `runs` in this process, after the same setup, memory warm.
double warmFigure(const Operation& op, const std::string& model, const std::string& folder,
                  int runs) {
    double best = 1e300;
    for (int k = 0; k < runs; ++k) {
        ChildState state;
        Work work = op.make(state, model, folder);
        work.setup();
        const auto start = Clock::now();
        work.timed();
        best = std::min(best,
                        std::chrono::duration<double>(Clock::now() - start).count() / work.perUnit);
        y4::TraceLog::global().close();
    }
    return best;
}

void printTable(const Options& o, const std::map<Key, Figures>& results) {
    std::printf("%-14s %9s %11s %11s %11s %11s %11s\n", "operation", "faces", "cpu fastest",
                "cpu median", "wall fastest", "wall median", "warm");
    for (const Operation& op : operations()) {
        for (long long faces : o.sizes) {
            const Figures& f = results.at({op.name, faces});
            std::printf("%-14s %9lld %11.5f %11.5f %11.5f %11.5f", op.name, faces, fastestOf(f.cpu),
                        medianOf(f.cpu), fastestOf(f.wall), medianOf(f.wall));
            if (f.warm >= 0) {
                std::printf(" %11.5f", f.warm);
            }
            std::printf("\n");
        }
    }
}

double cpuMedian(const std::map<Key, Figures>& results, const std::string& op, long long faces) {
    auto it = results.find({op, faces});
    return it == results.end() ? -1 : medianOf(it->second.cpu);
}

// Fastest seconds per frame (and per opening of the tree window), from their own processes.
using Frames = std::map<Key, double>;

double frameSeconds(const Frames& frames, const std::string& op, long long faces) {
    auto it = frames.find({op, faces});
    return it == frames.end() ? -1 : it->second;
}

// Frames per second, and the targets: 30 frames per second in textured mode at 100,000 faces,
// and the vertex arrays at least three times as fast as face-by-face drawing from 100,000 faces
// on.
void printFrameRates(const Frames& frames, std::vector<long long> sizes) {
    std::sort(sizes.begin(), sizes.end());
    if (frameSeconds(frames, "frame_solid", sizes.front()) <= 0) {
        return;
    }
    std::printf("\nframes per second at %d x %d off-screen (fastest of the runs):\n",
                y4::bench::FrameBench::kWidth, y4::bench::FrameBench::kHeight);
    const std::vector<std::string> ops = y4::bench::FrameBench::kinds();
    for (const long long faces : sizes) {
        std::printf("  %8lld faces:", faces);
        for (const std::string& op : ops) {
            std::printf("  %s %.1f", op.c_str() + 6, 1 / frameSeconds(frames, op, faces));
        }
        std::printf("\n");
    }
    // A drag step through the editor's view ends with a frame: beside the frame time.
    for (const long long faces : sizes) {
        const double step = frameSeconds(frames, "view_drag_step", faces);
        if (step > 0) {
            std::printf(
                "  %8lld faces, in the editor's window: drag step %.1f ms (vertices %.1f ms), "
                "frame %.1f ms\n",
                faces, step * 1e3, frameSeconds(frames, "view_drag_vertices", faces) * 1e3,
                frameSeconds(frames, "view_frame", faces) * 1e3);
        }
    }
    for (const long long faces : sizes) {
        if (faces < 100000) {
            continue;
        }
        const auto line = [](const std::string& what, double value, double target) {
            std::printf("  %-40s %9.2f  (target >= %.2f) %s\n", what.c_str(), value, target,
                        value >= target ? "ok" : "MISSED");
        };
        const std::string size = " at " + std::to_string(faces);
        if (faces == 100000) {
            line("textured fps" + size, 1 / frameSeconds(frames, "frame_textured", faces), 30);
        }
        for (const std::string mode : {"solid", "textured"}) {
            line(mode + " arrays / face by face" + size,
                 frameSeconds(frames, "frame_" + mode + "_face_by_face", faces) /
                     frameSeconds(frames, "frame_" + mode, faces),
                 3);
        }
    }
}

void printTargets(const Options& o, const std::map<Key, Figures>& results, const Frames& frames,
                  long long peak, long long fileBytes) {
    std::vector<long long> sizes = o.sizes;
    std::sort(sizes.begin(), sizes.end());
    const long long big = sizes.back();
    const auto line = [](const std::string& what, double value, double limit) {
        std::printf("  %-40s %9.4f  (target <= %g) %s\n", what.c_str(), value, limit,
                    value <= limit ? "ok" : "MISSED");
    };
    std::printf("\ntargets at %lld faces (median CPU time, cold):\n", big);
    const double read = cpuMedian(results, "sscanf_read", big);
    line("load / sscanf_read", cpuMedian(results, "load", big) / read, 0.30);
    // The progress hook must not be seen beside the noise of the runs.
    line("load with a progress hook / load",
         cpuMedian(results, "load_progress", big) / cpuMedian(results, "load", big), 1.03);
    std::printf("  %-40s %9.4f\n", "from_chars / sscanf_read",
                cpuMedian(results, "from_chars", big) / read);
    line("resave / sscanf_resave",
         cpuMedian(results, "resave", big) / cpuMedian(results, "sscanf_resave", big), 0.25);
    // An autosave start only copies what the writer reads into plain arrays; the text is laid
    // out and written on another thread. The old start laid out the whole text in place.
    line("autosave_start / autosave_copy",
         cpuMedian(results, "autosave_start", big) / cpuMedian(results, "autosave_copy", big), 0.3);
    line("peak memory of a load / file size",
         static_cast<double>(peak) / static_cast<double>(fileBytes), 1.5);
    line("purge of half the faces, log included (s)", cpuMedian(results, "purge", big), 0.4);
    line("first tree build (s)", cpuMedian(results, "tree", big), 0.25);
    line("delete one face (s)", cpuMedian(results, "delete_face", big), 0.0001);
    line("mark the root, view attached (s)", cpuMedian(results, "mark", big), 0.06);
    const double load = cpuMedian(results, "load", big);
    for (const char* op : {"world", "mark", "select", "tree", "hide_all", "show_all"}) {
        line(std::string(op) + " / load", cpuMedian(results, op, big) / load, 0.5);
    }
    // A drag step is the world positions it needs and next to nothing else; its undo no more.
    const double step = cpuMedian(results, "drag_step", big);
    line("drag_step / doc_world", step / cpuMedian(results, "doc_world", big), 1.1);
    line("drag_undo / drag_step", cpuMedian(results, "drag_undo", big) / step, 1.1);
    line("paste a group of 10,000 faces or more (s)", cpuMedian(results, "paste_group", big), 0.2);
    line("split one face (s)", cpuMedian(results, "split_face", big), 0.2);
    if (const double window = frameSeconds(frames, "tree_window", big); window > 0) {
        line("open the object tree window (s, wall)", window, 1.0);
    }
    for (std::size_t s = 1; s < sizes.size(); ++s) {
        const long long from = sizes[s - 1];
        const long long to = sizes[s];
        const double limit = 1.1 * static_cast<double>(to) / static_cast<double>(from);
        std::printf("growth from %lld to %lld faces (median CPU time, x%lld):\n", from, to,
                    to / from);
        for (const Operation& op : operations()) {
            // Selecting one face takes the same few records at any size.
            if (!op.yardstick && std::string(op.name) != "select_face") {
                line(op.name, cpuMedian(results, op.name, to) / cpuMedian(results, op.name, from),
                     limit);
            }
        }
    }
}

void printJson(const std::map<Key, Figures>& results, const Frames& frames, long long largest,
               long long peak, long long fileBytes, const HistoryMemory& history) {
    std::printf("{\"results\": [");
    bool first = true;
    for (const Operation& op : operations()) {
        for (const auto& [key, f] : results) {
            if (key.first != op.name) {
                continue;
            }
            std::printf(
                "%s{\"op\": \"%s\", \"faces\": %lld, \"cpuFastest\": %.6f, \"cpuMedian\": %.6f, "
                "\"wallFastest\": %.6f, \"wallMedian\": %.6f, \"warm\": %.6f}",
                first ? "" : ", ", key.first.c_str(), key.second, fastestOf(f.cpu), medianOf(f.cpu),
                fastestOf(f.wall), medianOf(f.wall), f.warm);
            first = false;
        }
    }
    std::printf("], \"frames\": [");
    first = true;
    for (const auto& [key, seconds] : frames) {
        std::printf("%s{\"op\": \"%s\", \"faces\": %lld, \"seconds\": %.6f}", first ? "" : ", ",
                    key.first.c_str(), key.second, seconds);
        first = false;
    }
    std::printf(
        "], \"peakMemory\": {\"faces\": %lld, \"bytes\": %lld, \"fileBytes\": %lld}, "
        "\"history\": {\"faces\": %lld, \"steps\": %zu, \"bytes\": %zu, \"budget\": %zu}}\n",
        largest, peak, fileBytes, largest, history.steps, history.bytes, history.budget);
}

bool parse(int argc, char** argv, Options& o) {
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--json") {
            o.json = true;
        } else if (arg == "--no-warm") {
            o.warm = false;
        } else if (arg == "--no-frames") {
            o.frames = false;
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
                         "[--folder DIR] [--no-warm] [--no-frames]\n");
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--child") {
        return child(argv[2], argv[3], argv[4]);
    }
    if (argc == 6 && std::string(argv[1]) == "--measure-frames") {
        return measureFrames(argv[2], argv[3], argv[4], argv[5]);
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
    for (long long faces : o.sizes) {
        if (!o.json) {
            std::fprintf(stderr, "generating %lld faces...\n", faces);
        }
        for (const char* extension : {"Y4P", "Y4D", "Y4T"}) {
            generate(o.folder, faces, extension);
        }
    }

    std::map<Key, Figures> results;
    for (int run = 0; run < o.runs; ++run) {
        if (!o.json) {
            std::fprintf(stderr, "cold run %d of %d...\n", run + 1, o.runs);
        }
        for (long long faces : o.sizes) {
            for (const Operation& op : operations()) {
                const std::string model = modelPath(o.folder, faces, op.variant);
                const auto out = runChild({"--child", op.name, model, o.folder});
                double cpu = 0, wall = 0;
                if (!out || std::sscanf(out->c_str(), "%lf %lf", &cpu, &wall) != 2) {
                    std::fprintf(stderr, "y4bench: %s on %s failed\n", op.name, model.c_str());
                    return 1;
                }
                Figures& f = results[{op.name, faces}];
                f.cpu.push_back(cpu);
                f.wall.push_back(wall);
            }
        }
    }
    if (o.warm) {
        for (long long faces : o.sizes) {
            if (!o.json) {
                std::fprintf(stderr, "warm figures, %lld faces...\n", faces);
            }
            for (const Operation& op : operations()) {
                results[{op.name, faces}].warm =
                    warmFigure(op, modelPath(o.folder, faces, op.variant), o.folder, o.runs);
            }
        }
    }

    Frames frames;
    if (o.frames) {
        for (long long faces : o.sizes) {
            if (!o.json) {
                std::fprintf(stderr, "frames, the tree window and the view's drag, %lld faces...\n",
                             faces);
            }
            const std::string model = modelPath(o.folder, faces, "Y4P");
            for (const auto& t : frameTimings(model, faces, o.runs)) {
                frames[{t.op, faces}] = t.secondsPerFrame;
            }
            for (const auto& t : treeWindowTimings(model, o.runs)) {
                frames[{t.op, faces}] = t.secondsPerFrame;
            }
            // Through the editor's window, which draws every step in software: up to 100,000
            // faces.
            if (faces <= 100000) {
                for (const auto& t : viewDragTimings(model)) {
                    frames[{t.op, faces}] = t.secondsPerFrame;
                }
            }
        }
    }

    const long long largest = *std::max_element(o.sizes.begin(), o.sizes.end());
    const std::string largestModel = modelPath(o.folder, largest, "Y4P");
    const auto peakText = runChild({"--child", "peak", largestModel, o.folder});
    const long long peak = peakText ? std::atoll(peakText->c_str()) : -1;
    const auto fileBytes = static_cast<long long>(std::filesystem::file_size(largestModel));
    HistoryMemory history;
    if (const auto text = runChild({"--child", "history", largestModel, o.folder})) {
        std::sscanf(text->c_str(), "%zu %zu %zu", &history.steps, &history.bytes, &history.budget);
    }
    if (o.json) {
        printJson(results, frames, largest, peak, fileBytes, history);
        return 0;
    }
    std::printf(
        "(seconds; cold: a fresh process per run, %d runs; warm: the fastest of %d in one "
        "process)\n",
        o.runs, o.runs);
    printTable(o, results);
    std::printf("peak memory of the %lld-face load: %.1f MB (file %.1f MB)\n", largest,
                static_cast<double>(peak) / 1048576.0, static_cast<double>(fileBytes) / 1048576.0);
    std::printf(
        "history after 100 scalings of the whole %lld-face model: %zu steps kept, "
        "%.1f MB (budget %.0f MB) %s\n",
        largest, history.steps, static_cast<double>(history.bytes) / 1048576.0,
        static_cast<double>(history.budget) / 1048576.0,
        history.bytes <= history.budget ? "ok" : "OVER BUDGET");
    if (const double window = frameSeconds(frames, "tree_window", largest); window > 0) {
        std::printf(
            "object tree window at %lld faces: %.3f s (first opening, Qt's first window "
            "included: %.3f s)\n",
            largest, window, frameSeconds(frames, "tree_window_cold", largest));
    }
    printFrameRates(frames, o.sizes);
    printTargets(o, results, frames, peak, fileBytes);
    return 0;
}
