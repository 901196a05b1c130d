// Parsing y4render's command line.
#include "RenderOptions.h"

#include <charconv>

namespace y4 {

namespace {

// A whole number from `min` to `max` that is the whole of `text`.
std::optional<int> number(std::string_view text, int min, int max) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

bool parseSize(std::string_view text, RenderOptions& o) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const auto width = number(text.substr(0, x), 1, RenderOptions::kMaxSide);
    const auto height = number(text.substr(x + 1), 1, RenderOptions::kMaxSide);
    if (!width || !height) {
        return false;
    }
    o.width = *width;
    o.height = *height;
    return true;
}

bool parseMode(std::string_view text, RenderOptions& o) {
    if (text == "solid") {
        o.mode = RenderOptions::Mode::Solid;
    } else if (text == "textured") {
        o.mode = RenderOptions::Mode::Textured;
    } else if (text == "wireframe") {
        o.mode = RenderOptions::Mode::Wireframe;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<RenderOptions> RenderOptions::parse(const std::vector<std::string>& args,
                                                  std::string* problem) {
    RenderOptions o;
    std::vector<std::string> files;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        const bool hasValue = k + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            problem->clear();
            return std::nullopt;
        } else if (arg == "--no-vertices") {
            o.vertices = false;
        } else if (arg == "--normals") {
            o.normals = true;
        } else if (arg == "--grids") {
            o.grids = true;
        } else if (arg == "--size") {
            if (!hasValue || !parseSize(args[++k], o)) {
                *problem = "--size needs WxH, each from 1 to " + std::to_string(kMaxSide);
                return std::nullopt;
            }
        } else if (arg == "--mode") {
            if (!hasValue || !parseMode(args[++k], o)) {
                *problem = "--mode needs solid, textured or wireframe";
                return std::nullopt;
            }
        } else if (arg == "--frames") {
            const auto frames = hasValue ? number(args[++k], 0, 1000000) : std::nullopt;
            if (!frames) {
                *problem = "--frames needs a number of frames";
                return std::nullopt;
            }
            o.frames = *frames;
        } else if (arg.size() > 1 && arg[0] == '-') {
            *problem = "unknown option " + arg;
            return std::nullopt;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        *problem = "needs a model and a picture file";
        return std::nullopt;
    }
    o.model = files[0];
    o.output = files[1];
    return o;
}

}  // namespace y4
