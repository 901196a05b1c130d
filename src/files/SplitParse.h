// SplitParse: the second thread of a parse. A large model file is split at the start of a block
// (an entity with its sub-entities, or a terrain record) near its middle; this thread parses the
// blocks from there to the end into a batch of its own, while the first thread parses from the
// front. When the first thread reaches the split at the end of a block, it takes over as many of
// the second thread's blocks as the file still needs and goes on after them; if it reaches the
// split in the middle of something, or the second thread stopped at a line it could not read,
// the first thread parses on by itself. Either way every record, message and line number is what
// a parse by one thread gives. Each thread reads through its own window, so memory stays bounded.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "LineReader.h"
#include "RecordSink.h"
#include "model/RecordBatch.h"

namespace y4 {

class InputFile;
class ProgressMeter;

class SplitParse {
public:
    // Automatic splits: only files with at least this many bytes after the start of their
    // blocks are split, and only when the machine has a second core.
    static constexpr std::uint64_t kMinimumBytes = std::uint64_t{8} << 20;

    // Where the second thread should start: the first line after the middle of [from, end of
    // file) that begins with `marker`, looked for within a megabyte; nothing for a small file,
    // a machine with one core or no such line.
    static std::optional<std::uint64_t> automaticStart(const InputFile& file, std::uint64_t from,
                                                       std::string_view marker);
    // The first line start at or after `offset`, or nothing at the end of the file.
    static std::optional<std::uint64_t> lineStartAt(const InputFile& file, std::uint64_t offset);
    // Where the second thread starts for the Reader's option `request` (see
    // Reader::Options::parseSplit), the blocks beginning at `from` with lines that start with
    // `marker`; nothing when the file is parsed by one thread.
    static std::optional<std::uint64_t> startFor(std::uint64_t request, const InputFile& file,
                                                 std::uint64_t from, std::string_view marker);

    // Reads one block with the given lines into the sink; its position among the thread's
    // blocks is given. Throws on a line it cannot read.
    using ReadBlock = std::function<void(BatchSink& sink, int position)>;

    // The thread's lines start at `start`, a line start; begin() starts the thread. What it
    // reads counts in `meter`, if given, whose running thread reports while it waits for this one.
    SplitParse(const InputFile& file, const std::string& name, std::uint64_t start,
               ProgressMeter* meter = nullptr);
    // Stops the thread and waits for it.
    ~SplitParse();
    SplitParse(const SplitParse&) = delete;
    SplitParse& operator=(const SplitParse&) = delete;

    // The lines the thread reads, for the parser that reads them.
    LineReader& lines() { return lines_; }
    // Reads at most `maxBlocks` blocks.
    void begin(int maxBlocks, ReadBlock readBlock);
    std::uint64_t start() const { return start_; }
    // Asks the thread to stop; it stops at the next record it would make.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    // Waits for the thread.
    void finish();
    // Waits for the thread, reporting progress meanwhile (which may throw CancelledByUser), then
    // hands the memory of the batch to `scene` with the first blocks
    // read whole, at most `needed` (the rest is destroyed); returns those blocks. Their records
    // are still to be given ids and listed, in file order.
    std::vector<SceneObject*> takeOver(Scene& scene, std::size_t needed);

    // After finish(): the blocks read whole, and where each ended: the file offset after it
    // and the lines read from the start up to there.
    struct BlockEnd {
        std::uint64_t offset;
        int lines;
    };
    RecordBatch batch;
    std::vector<BlockEnd> ends;

private:
    void run(int maxBlocks, const ReadBlock& readBlock);

    std::uint64_t start_;
    LineReader lines_;
    std::atomic<bool> cancelled_{false};
    ProgressMeter* meter_;
    std::future<void> ended_;
    std::thread thread_;
};

}  // namespace y4
