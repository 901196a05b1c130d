// Line splitting and the messages of malformed files.
#include "LineReader.h"

#include <cstring>

#include "LoadError.h"
#include "platform/MappedFile.h"

namespace y4 {

namespace {
// Pages of a mapped file are released in steps of this size.
constexpr std::size_t kReleaseStep = std::size_t{16} << 20;
}  // namespace

LineReader::LineReader(std::string_view bytes, std::string file, MappedFile* mapping)
    : bytes_(bytes), file_(std::move(file)), mapping_(mapping) {}

std::string_view LineReader::next(std::string_view expected) {
    if (atEnd()) {
        ++line_;
        throw LoadError("Error: " + file_ + ", line " + std::to_string(line_) +
                        ": the file ends where " + std::string(expected) + " was expected");
    }
    ++line_;
    const char* begin = bytes_.data() + pos_;
    const std::size_t left = bytes_.size() - pos_;
    const void* found = std::memchr(begin, '\n', left);
    std::size_t length =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - begin) : left;
    pos_ += found ? length + 1 : length;
    // Windows line ends, and stray carriage returns before them.
    while (length > 0 && begin[length - 1] == '\r') {
        --length;
    }
    if (length > kMaxLineLength) {
        throw LoadError(message("a line of at most 1023 characters"));
    }
    if (mapping_ && pos_ - released_ >= kReleaseStep) {
        released_ = pos_;
        mapping_->discardBefore(released_);
    }
    return {begin, length};
}

std::string LineReader::message(std::string_view expected) const {
    return "Error: " + file_ + ", line " + std::to_string(line_) + ": expected " +
           std::string(expected);
}

void LineReader::fail(std::string_view expected) const {
    throw LoadError(message(expected));
}

}  // namespace y4
