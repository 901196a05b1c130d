// Fuzz target of the .Y4P parser: every input is refused or loads and round-trips.
#include "ModelRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    y4::fuzz::checkModelRoundTrip(data, size, "Y4P");
    return 0;
}
