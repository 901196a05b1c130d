// Fuzz target of the .Y4T parser: every input is refused or loads and round-trips.
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return y4::fuzz::check(data, size, "Y4T");
}
