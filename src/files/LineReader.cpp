// Line splitting through a refilled window, and the messages of malformed files.
#include "LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "LoadError.h"
#include "ProgressMeter.h"
#include "platform/InputFile.h"
#include "platform/LargeMemory.h"

namespace y4 {

LineReader::LineReader(const InputFile& file, std::string name, std::uint64_t begin,
                       std::uint64_t end, int linesBefore, std::size_t windowSize)
    : input_(file),
      file_(std::move(name)),
      fileNext_(std::min(begin, file.size())),
      end_(std::max(fileNext_, std::min(end, file.size()))),
      line_(linesBefore) {
    // A range that fits whole needs no more room than itself.
    const std::uint64_t length = end_ - fileNext_;
    windowSize_ = std::max(windowSize, kMinWindowSize);
    if (length < windowSize_) {
        windowSize_ = static_cast<std::size_t>(length);
    }
    window_ = static_cast<char*>(LargeMemory::allocate(std::max<std::size_t>(windowSize_, 1)));
}

LineReader::LineReader(const InputFile& file, std::string name)
    : LineReader(file, std::move(name), 0, file.size()) {}

LineReader::~LineReader() {
    LargeMemory::release(window_, std::max<std::size_t>(windowSize_, 1));
}

void LineReader::restartAt(std::uint64_t offset, int linesBefore) {
    fileNext_ = std::min(offset, end_);
    filled_ = 0;
    pos_ = 0;
    line_ = linesBefore;
}

std::string_view LineReader::next(std::string_view expected) {
    if (atEnd()) {
        ++line_;
        throw LoadError("Error: " + file_ + ", line " + std::to_string(line_) +
                        ": the file ends where " + std::string(expected) + " was expected");
    }
    ++line_;
    std::size_t scanned = pos_;
    std::size_t length = 0;
    for (;;) {
        const void* found = std::memchr(window_ + scanned, '\n', filled_ - scanned);
        if (found) {
            length = static_cast<std::size_t>(static_cast<const char*>(found) - window_) - pos_;
            break;
        }
        if (fileNext_ >= end_) {
            length = filled_ - pos_;  // the last line, without a line end
            break;
        }
        dropLineCarriageReturns();
        // Move the start of the line to the front and read on behind it.
        std::memmove(window_, window_ + pos_, filled_ - pos_);
        filled_ -= pos_;
        pos_ = 0;
        scanned = filled_;
        refill();
    }
    const char* begin = window_ + pos_;
    pos_ += std::min(length + 1, filled_ - pos_);
    // Windows line ends, and stray carriage returns before them.
    while (length > 0 && begin[length - 1] == '\r') {
        --length;
    }
    if (length > kMaxLineLength) {
        throw LoadError(message("a line of at most 1023 characters"));
    }
    return {begin, length};
}

void LineReader::dropLineCarriageReturns() {
    // Past the longest line, only carriage returns before the line end can still belong to a
    // line that is accepted, and those are stripped; keeping one of them is enough to refuse
    // the line should anything else follow.
    const std::size_t keep = kMaxLineLength + 1;
    if (filled_ - pos_ <= keep) {
        return;
    }
    const char* tail = window_ + pos_ + keep;
    const char* end = window_ + filled_;
    if (std::any_of(tail, end, [](char c) { return c != '\r'; })) {
        throw LoadError(message("a line of at most 1023 characters"));
    }
    filled_ = pos_ + keep;
}

void LineReader::refill() {
    const std::uint64_t left = end_ - fileNext_;
    const std::size_t room = windowSize_ - filled_;
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
    const ssize_t got = input_.readAt(fileNext_, window_ + filled_, wanted);
    if (got < 0) {
        throw LoadError("Error: Could not read " + file_ + ": " + std::strerror(errno));
    }
    filled_ += static_cast<std::size_t>(got);
    fileNext_ += static_cast<std::uint64_t>(got);
    // A short read means the file is shorter now than when it was opened.
    if (static_cast<std::size_t>(got) < wanted) {
        throw LoadError("Error: " + file_ + " changed while it was read");
    }
    checkUnchanged();
    // Once per window of megabytes, so the count costs nothing beside the parse.
    if (meter_) {
        if (elsewhere_) {
            meter_->advanceElsewhere(static_cast<std::uint64_t>(got));
        } else {
            meter_->advance(static_cast<std::uint64_t>(got));
        }
    }
}

void LineReader::checkUnchanged() const {
    if (input_.changedSinceOpen()) {
        throw LoadError("Error: " + file_ + " changed while it was read");
    }
}

std::string LineReader::message(std::string_view expected) const {
    return "Error: " + file_ + ", line " + std::to_string(line_) + ": expected " +
           std::string(expected);
}

void LineReader::fail(std::string_view expected) const {
    throw LoadError(message(expected));
}

}  // namespace y4
