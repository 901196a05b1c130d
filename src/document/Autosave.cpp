// The autosave schedule and its writing thread.
#include "Autosave.h"

#include <utility>

#include "RecoveryState.h"
#include "files/Writer.h"
#include "platform/InputFile.h"
#include "platform/PathResolver.h"
#include "platform/SafeFileWriter.h"

namespace y4 {

namespace {

// A terrain picture larger than this is no picture of ours.
constexpr std::size_t kMaxPictureBytes = std::size_t{512} << 20;

void writeFile(const std::string& path, std::string_view text) {
    SafeFileWriter out(path);
    out.write(text);
    out.commit();
}

}  // namespace

Autosave::~Autosave() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void Autosave::setEnabled(bool on) {
    enabled_ = on;
    dueAt_.reset();
}

void Autosave::setInterval(Clock::duration interval) {
    interval_ = interval > Clock::duration::zero() ? interval : Clock::duration(kDefaultInterval);
    dueAt_.reset();
}

void Autosave::recordsChanged(const RecordChange& change) {
    // A picked vertex's highlight is no edit.
    if (change.aspects != RecordChange::kHighlight) {
        changed();
    }
}

bool Autosave::due(Clock::time_point now, bool modified) {
    if (!enabled_ || !modified) {
        dueAt_.reset();
        return false;
    }
    if (!dueAt_) {
        dueAt_ = now + interval_;
        return false;
    }
    if (now < *dueAt_ || thread_.joinable()) {
        return false;
    }
    if (generation_ == writtenGeneration_) {
        // Nothing new since the last copy.
        dueAt_ = now + interval_;
        return false;
    }
    return true;
}

void Autosave::start(Copy copy, Clock::time_point now) {
    if (thread_.joinable()) {
        thread_.join();
    }
    dueAt_ = now + interval_;
    writtenGeneration_ = generation_;
    finished_ = false;
    thread_ = std::thread([this, copy = std::move(copy)]() mutable {
        result_ = write(copy);
        finished_ = true;
    });
}

std::optional<std::string> Autosave::collect(bool wait) {
    if (!thread_.joinable() || (!wait && !finished_)) {
        return std::nullopt;
    }
    thread_.join();
    if (!result_.empty()) {
        // Tried again at the next interval, changed or not.
        writtenGeneration_ = 0;
    }
    return std::exchange(result_, std::string());
}

void Autosave::restart() {
    dueAt_.reset();
    writtenGeneration_ = 0;
    ++generation_;
}

std::string Autosave::write(Copy& copy) {
    try {
        // The text goes to the file piece by piece, so it is never held whole.
        std::size_t size = 0;
        std::uint64_t fingerprint = RecoveryState::kFingerprintStart;
        SafeFileWriter model(copy.modelPath);
        if (copy.model) {
            Writer::layOut(*copy.model, [&](std::string_view piece) {
                model.write(piece);
                size += piece.size();
                fingerprint = RecoveryState::fingerprint(piece, fingerprint);
            });
            copy.model.reset();
        }
        model.commit();
        writeFile(copy.statePath, RecoveryState::fileText(copy.stateLines, size, fingerprint));
        if (!copy.pictureFrom.empty() && !PathResolver::resolveExisting(copy.pictureTo)) {
            std::string reason = "No such file or directory";
            const std::optional<std::string> bytes =
                InputFile::readWhole(copy.pictureFrom, kMaxPictureBytes, &reason);
            if (!bytes) {
                return "Could not read " + copy.pictureFrom + ": " + reason;
            }
            writeFile(copy.pictureTo, *bytes);
        }
    } catch (const IoError& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("Could not write ") + copy.modelPath + ": " + error.what();
    }
    return {};
}

}  // namespace y4
