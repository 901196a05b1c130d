// HostileInput: what each reader makes of any bytes, as one line, for the fuzz targets and the
// regression test of the inputs they found. "broken: ..." means a property does not hold (the
// fuzz targets abort on it); anything else is a sound outcome:
// - a model (.Y4P, .Y4D, .Y4T, read with a few small textures beside it): "refused: <message>"
//   with the work folder shown as <folder>, "not saved: <message>" when the writer refuses the
//   scene without touching its target, or "loads" when it loads, saves, loads again with the
//   same content as far as the variant carries it, and saves again to the same bytes;
// - a display state: "applies, <n> groups off" when it applies to a small scene and the state
//   written back reads the same;
// - a bitmap: "decodes <width>x<height>" or "refused: <why>".
#pragma once

#include <string>
#include <string_view>

namespace y4::test {

class HostileInput {
public:
    // `extension`: "Y4P", "Y4D", "Y4T", "dsp" or "bmp".
    static std::string outcome(std::string_view data, std::string_view extension);
    static std::string model(std::string_view data, const char* extension);
    static std::string displayState(std::string_view data);
    static std::string bitmap(std::string_view data);
};

}  // namespace y4::test
