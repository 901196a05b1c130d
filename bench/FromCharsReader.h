// FromCharsReader: the lower yardstick of the benchmarks: every number of a model file parsed with
// std::from_chars, line by line through a buffer of a few megabytes, building nothing. What a
// parse costs before a single record is made.
#pragma once

#include <string>

namespace y4::bench {

class FromCharsReader {
public:
    // The sum of every number read (so nothing is optimised away), or -1 when the file cannot be
    // read.
    static double read(const std::string& path);
};

}  // namespace y4::bench
