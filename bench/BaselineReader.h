// BaselineReader: the yardstick of the benchmarks: a nested-variant file read line by line with
// fgets and the formats' scanf patterns, building nothing, and the same lines written back with
// fprintf. The editor's own reader and writer are measured against it.
#pragma once

#include <string>

namespace y4::bench {

class BaselineReader {
public:
    // Reads the whole file; returns the number of lines read (so nothing is optimised away).
    static long read(const std::string& path);
    // Reads the file and writes every line back through fprintf with the quoted conversions.
    static long readAndWrite(const std::string& path, const std::string& target);
};

}  // namespace y4::bench
