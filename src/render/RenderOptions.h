// RenderOptions: the command line of y4render.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace y4 {

struct RenderOptions {
    enum class Mode { Solid, Textured, Wireframe };

    static constexpr const char* kHelp =
        "Usage: y4render [--size WxH] [--mode solid|textured|wireframe] [--no-vertices]\n"
        "                [--normals] [--grids] [--frames N] MODEL OUT.png\n"
        "\n"
        "Draws MODEL (.Y4P, .Y4D or .Y4T) as the editor shows it right after loading it with\n"
        "the default settings (perspective, the camera placed for the model, default colours\n"
        "and light) and writes the picture to OUT.png. Needs no display server.\n"
        "\n"
        "  --size WxH        picture size in pixels (default 640x480)\n"
        "  --mode MODE       solid (default), textured or wireframe\n"
        "  --no-vertices     no vertex markers (the editor starts with them)\n"
        "  --normals         normal markers\n"
        "  --grids           the axes and the grids on the three axis planes\n"
        "  --frames N        then draw N more frames and print 'fps <number>'\n"
        "\n"
        "Exit status 0 on success, 1 when the model cannot be loaded or the picture written\n"
        "(the reason on standard error), 2 for a wrong command line.\n";

    // The largest side of a picture.
    static constexpr int kMaxSide = 16384;

    int width = 640;
    int height = 480;
    Mode mode = Mode::Solid;
    bool vertices = true;
    bool normals = false;
    bool grids = false;
    int frames = 0;
    std::string model;
    std::string output;

    // The options, or nothing: with `problem` empty when help was asked for, else saying
    // what is wrong.
    static std::optional<RenderOptions> parse(const std::vector<std::string>& args,
                                              std::string* problem);
};

}  // namespace y4
