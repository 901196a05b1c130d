// The check of every fuzz target: the outcome of the input (HostileInput), and an abort, which
// libFuzzer reports with the input, when a property does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "soak/HostileInput.h"

namespace y4::fuzz {

inline int check(const std::uint8_t* data, std::size_t size, std::string_view kind) {
    const std::string outcome = test::HostileInput::outcome(
        std::string_view(reinterpret_cast<const char*>(data), size), kind);
    if (outcome.starts_with("broken")) {
        std::fprintf(stderr, "%s\n", outcome.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace y4::fuzz
