// The fgets/sscanf/fprintf yardstick.
#include "BaselineReader.h"

#include <cstdio>
#include <cstring>

namespace y4::bench {

namespace {

struct Line {
    char kind = 0;  // 'h' header, 'c' comment, 'b' bitmap, 'e' entity, 'v' vertex, 'f' face
    char label[64] = {};
    char name[64] = {};
    int n = 0;
    float f[10] = {};
    int i[11] = {};
};

// Scans one line with the pattern its kind uses.
void scan(const char* buffer, Line& line) {
    if (std::strncmp(buffer, "Vertex[", 7) == 0) {
        line.kind = 'v';
        const char* colon = std::strchr(buffer, ':');
        std::sscanf(buffer + 7, "%d", &line.n);
        std::sscanf(colon + 1, "%f %f %f %f %f %f %f %f %f %f", &line.f[0], &line.f[1], &line.f[2],
                    &line.f[3], &line.f[4], &line.f[5], &line.f[6], &line.f[7], &line.f[8],
                    &line.f[9]);
    } else if (std::strncmp(buffer, "Face[", 5) == 0) {
        line.kind = 'f';
        const char* colon = std::strchr(buffer, ':');
        std::sscanf(buffer + 5, "%d", &line.n);
        std::sscanf(colon + 1, "%d %d %d", &line.i[0], &line.i[1], &line.i[2]);
    } else if (std::strncmp(buffer, "Entity[", 7) == 0) {
        line.kind = 'e';
        const char* first = std::strchr(buffer, ':');
        const char* second = std::strchr(first + 1, ':');
        std::sscanf(buffer + 7, "%d", &line.n);
        std::snprintf(line.name, sizeof line.name, "%.*s", static_cast<int>(second - first - 1),
                      first + 1);
        std::sscanf(second + 1, "%f %f %f %f %f %f %f %d %d %d %d %d %d %d %d %d %d %d", &line.f[0],
                    &line.f[1], &line.f[2], &line.f[3], &line.f[4], &line.f[5], &line.f[6],
                    &line.i[0], &line.i[1], &line.i[2], &line.i[3], &line.i[4], &line.i[5],
                    &line.i[6], &line.i[7], &line.i[8], &line.i[9], &line.i[10]);
    } else if (std::strncmp(buffer, "Bitmap[", 7) == 0) {
        line.kind = 'b';
        std::sscanf(buffer + 7, "%d", &line.n);
        std::sscanf(std::strchr(buffer, ':') + 1, "%63s", line.name);
    } else if (buffer[0] == '/') {
        line.kind = 'c';
    } else {
        line.kind = 'h';
        std::sscanf(buffer, "%63s %d", line.label, &line.n);
    }
}

void print(std::FILE* out, const Line& line, const char* buffer) {
    switch (line.kind) {
        case 'v':
            std::fprintf(out,
                         "Vertex[%3d]: %12.6f %12.6f %12.6f %12.6f %12.6f %12.6f %12.6f %12.6f "
                         "%12.6f %12.6f\n",
                         line.n, double{line.f[0]}, double{line.f[1]}, double{line.f[2]},
                         double{line.f[3]}, double{line.f[4]}, double{line.f[5]}, double{line.f[6]},
                         double{line.f[7]}, double{line.f[8]}, double{line.f[9]});
            break;
        case 'f':
            std::fprintf(out, "Face[%3d]: %3d %3d %3d\n", line.n, line.i[0], line.i[1], line.i[2]);
            break;
        case 'e':
            std::fprintf(out,
                         "Entity[%4d]: %32s: %12.6f %12.6f %12.6f %12.6f %12.6f %12.6f %12.6f %6d "
                         "%6d %6d %6d %6d %6d %6d %6d %6d %6d %6d\n",
                         line.n, line.name, double{line.f[0]}, double{line.f[1]}, double{line.f[2]},
                         double{line.f[3]}, double{line.f[4]}, double{line.f[5]}, double{line.f[6]},
                         line.i[0], line.i[1], line.i[2], line.i[3], line.i[4], line.i[5],
                         line.i[6], line.i[7], line.i[8], line.i[9], line.i[10]);
            break;
        case 'b':
            std::fprintf(out, "Bitmap[%3d]: %s\n", line.n, line.name);
            break;
        case 'h':
            std::fprintf(out, "%s %d\n", line.label, line.n);
            break;
        default:
            std::fputs(buffer, out);
            break;
    }
}

long run(const std::string& path, std::FILE* out) {
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (!in) {
        return -1;
    }
    char buffer[1024];
    long lines = 0;
    Line line;
    while (std::fgets(buffer, sizeof buffer, in)) {
        scan(buffer, line);
        if (out) {
            print(out, line, buffer);
        }
        ++lines;
    }
    std::fclose(in);
    return lines;
}

}  // namespace

long BaselineReader::read(const std::string& path) {
    return run(path, nullptr);
}

long BaselineReader::readAndWrite(const std::string& path, const std::string& target) {
    std::FILE* out = std::fopen(target.c_str(), "w");
    if (!out) {
        return -1;
    }
    const long lines = run(path, out);
    std::fclose(out);
    return lines;
}

}  // namespace y4::bench
