// The second parse thread and the choice of where it starts.
#include "SplitParse.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "ProgressMeter.h"
#include "Reader.h"
#include "platform/InputFile.h"

namespace y4 {

namespace {
constexpr std::size_t kLookAhead = std::size_t{1} << 20;
}  // namespace

std::optional<std::uint64_t> SplitParse::lineStartAt(const InputFile& file, std::uint64_t offset) {
    if (offset == 0) {
        return 0;
    }
    // The byte before `offset` tells whether a line starts there.
    std::uint64_t at = offset - 1;
    char buffer[4096];
    while (at < file.size()) {
        const ssize_t got = file.readAt(at, buffer, sizeof buffer);
        if (got <= 0) {
            return std::nullopt;
        }
        const void* end = std::memchr(buffer, '\n', static_cast<std::size_t>(got));
        if (end) {
            const std::uint64_t start =
                at + static_cast<std::uint64_t>(static_cast<const char*>(end) - buffer) + 1;
            return start < file.size() ? std::optional(start) : std::nullopt;
        }
        at += static_cast<std::uint64_t>(got);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> SplitParse::automaticStart(const InputFile& file, std::uint64_t from,
                                                        std::string_view marker) {
    if (file.size() < from || file.size() - from < kMinimumBytes ||
        std::thread::hardware_concurrency() < 2) {
        return std::nullopt;
    }
    const std::uint64_t middle = from + (file.size() - from) / 2;
    std::unique_ptr<char[]> buffer(new char[kLookAhead]);
    const ssize_t got = file.readAt(middle, buffer.get(), kLookAhead);
    if (got <= 0) {
        return std::nullopt;
    }
    const std::string_view text(buffer.get(), static_cast<std::size_t>(got));
    std::string pattern(1, '\n');
    pattern.append(marker);
    const std::size_t found = text.find(pattern);
    if (found == std::string_view::npos) {
        return std::nullopt;
    }
    return middle + found + 1;
}

std::optional<std::uint64_t> SplitParse::startFor(std::uint64_t request, const InputFile& file,
                                                  std::uint64_t from, std::string_view marker) {
    std::optional<std::uint64_t> start;
    if (request == Reader::kSplitAutomatic) {
        start = automaticStart(file, from, marker);
    } else if (request != Reader::kNoSplit) {
        start = lineStartAt(file, request);
    }
    // A start within what the first thread reads before the blocks would gain nothing.
    return start && *start > from ? start : std::nullopt;
}

SplitParse::SplitParse(const InputFile& file, const std::string& name, std::uint64_t start,
                       ProgressMeter* meter)
    : start_(start), lines_(file, name, start, file.size()), meter_(meter) {
    lines_.setProgress(meter, true);
}

SplitParse::~SplitParse() {
    cancel();
    finish();
}

void SplitParse::begin(int maxBlocks, ReadBlock readBlock) {
    std::promise<void> ended;
    ended_ = ended.get_future();
    thread_ = std::thread(
        [this, maxBlocks, readBlock = std::move(readBlock), ended = std::move(ended)]() mutable {
            run(maxBlocks, readBlock);
            ended.set_value();
        });
}

void SplitParse::run(int maxBlocks, const ReadBlock& readBlock) {
    // A cancel stops the thread at the next record it makes, even inside a long block.
    BatchSink sink(batch, cancelled_);
    try {
        for (int position = 0;
             position < maxBlocks && !lines_.atEnd() && !cancelled_.load(std::memory_order_relaxed);
             ++position) {
            readBlock(sink, position);
            ends.push_back({lines_.offset(), lines_.lineNumber()});
        }
    } catch (...) {
        // Cancelled, or a line this thread could not read: the first thread reads it itself and
        // reports it; the blocks read whole before it count.
    }
}

void SplitParse::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::vector<SceneObject*> SplitParse::takeOver(Scene& scene, std::size_t needed) {
    // The user may cancel while this thread waits for the other to end its half.
    if (meter_ && meter_->active() && ended_.valid()) {
        while (ended_.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready) {
            meter_->report();
        }
    }
    finish();
    const std::size_t count = std::min(ends.size(), needed);
    std::vector<SceneObject*> taken(batch.blocks.begin(),
                                    batch.blocks.begin() + static_cast<std::ptrdiff_t>(count));
    scene.takeOver(batch, count);
    return taken;
}

}  // namespace y4
