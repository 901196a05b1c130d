// The from_chars pass.
#include "FromCharsReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <memory>

namespace y4::bench {

namespace {

bool startsNumber(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

// The numbers of the text [p, end), which ends at a line end.
double readNumbers(const char* p, const char* end) {
    double sum = 0;
    while (p < end) {
        if (!startsNumber(*p)) {
            ++p;
            continue;
        }
        float value = 0;
        const auto result = std::from_chars(*p == '+' ? p + 1 : p, end, value);
        if (result.ec != std::errc()) {
            ++p;
            continue;
        }
        sum += static_cast<double>(value);
        p = result.ptr;
    }
    return sum;
}

}  // namespace

double FromCharsReader::read(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    constexpr std::size_t kWindow = std::size_t{4} << 20;
    std::unique_ptr<char[]> window(new char[kWindow]);
    std::size_t filled = 0;
    double sum = 0;
    for (;;) {
        const ssize_t got = ::read(fd, window.get() + filled, kWindow - filled);
        if (got < 0) {
            ::close(fd);
            return -1;
        }
        filled += static_cast<std::size_t>(got);
        // Whole lines only; the rest moves to the front for the next read.
        const char* begin = window.get();
        const char* last =
            got == 0 ? begin + filled : static_cast<const char*>(memrchr(begin, '\n', filled));
        if (!last) {
            break;  // a line longer than the window: not a model file
        }
        const char* stop = got == 0 ? last : last + 1;
        for (const char* line = begin; line < stop;) {
            const char* lineEnd = static_cast<const char*>(std::memchr(line, '\n', stop - line));
            lineEnd = lineEnd ? lineEnd : stop;
            sum += readNumbers(line, lineEnd);
            line = lineEnd + 1;
        }
        if (got == 0) {
            break;
        }
        const auto used = static_cast<std::size_t>(stop - begin);
        std::memmove(window.get(), stop, filled - used);
        filled -= used;
    }
    ::close(fd);
    return sum;
}

}  // namespace y4::bench
