// Fuzz target of the display-state reader: any file applies to a scene without harm, and the
// state it leaves is written and read back unchanged.
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return y4::fuzz::check(data, size, "dsp");
}
