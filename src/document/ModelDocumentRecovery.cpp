// Autosave, recovery and the crash copy of the open model.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "Autosave.h"
#include "ModelDocument.h"
#include "RecoveryState.h"
#include "files/LoadError.h"
#include "files/Writer.h"
#include "platform/InputFile.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

// Far more than the state of any model: one short line per record at most.
constexpr std::size_t kMaxStateBytes = std::size_t{1} << 30;
// The largest model text read back to check that a state belongs to its copy.
constexpr std::size_t kMaxCopyBytes = std::size_t{8} << 30;

// "<folder of the file>/<model name without extension><middle><tail>": the companions of a
// model are named after the name the editor knows it by, in the folder it was read from.
std::string companion(const ModelSource& model, std::string_view middle, std::string_view tail) {
    const std::string_view file = PathResolver::fileNameOf(model.path);
    const std::string_view folder =
        std::string_view(model.path).substr(0, model.path.size() - file.size());
    std::string_view name = PathResolver::fileNameOf(model.name);
    name = name.substr(0, name.rfind('.'));
    return std::string(folder) + std::string(name) + std::string(middle) + std::string(tail);
}

// ".<extension>" of the model's name.
std::string extensionOf(const ModelSource& model) {
    const std::string_view name = PathResolver::fileNameOf(model.name);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string copyPathOf(const ModelSource& model) {
    return companion(model, ".autosave", extensionOf(model));
}

std::string statePathOf(const ModelSource& model) {
    return companion(model, ".autosave", ".state");
}

std::string picturePathOf(const ModelSource& model) {
    return companion(model, ".autosave", ".BMP");
}

void showWarning(const std::string& text) {
    prompt().showMessage(text, MessageIcon::Exclamation);
}

}  // namespace

std::optional<std::string> ModelDocument::newerRecoveryCopy(const ModelSource& model) {
    if (extensionOf(model).empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> file = PathResolver::resolveExisting(model.path);
    const std::optional<std::string> copy = PathResolver::resolveExisting(copyPathOf(model));
    if (!file || !copy) {
        return std::nullopt;
    }
    std::error_code error;
    const auto modelTime = std::filesystem::last_write_time(*file, error);
    if (error) {
        return std::nullopt;
    }
    const auto copyTime = std::filesystem::last_write_time(*copy, error);
    if (error || copyTime <= modelTime) {
        return std::nullopt;
    }
    return copy;
}

bool ModelDocument::recover(const ModelSource& model, const std::string& copy,
                            FileProgress* progress) {
    const std::optional<std::string> file = PathResolver::resolveExisting(model.path);
    SceneTree listed;
    // Read as the model itself, so that a terrain finds its own picture and every name made
    // from the model's (title, snapshots, display state) is the model's.
    std::unique_ptr<Reader> reader =
        readModel(ModelSource{copy, model.name}, listed, true, progress, copy);
    if (!reader || !file) {
        return false;
    }
    const std::string statePath = statePathOf(model);
    if (const std::optional<std::string> state = PathResolver::resolveExisting(statePath)) {
        std::optional<std::string> stateText = InputFile::readWhole(*state, kMaxStateBytes);
        std::optional<std::string> copyText = InputFile::readWhole(copy, kMaxCopyBytes);
        if (!stateText || !copyText ||
            !RecoveryState::apply(*reader, listed, *stateText, *copyText)) {
            showWarning(
                "Warning: Some deleted marks, display switches or names could not be "
                "recovered from " +
                *state);
        }
    }
    reader->filePath = *file;
    install(std::move(reader), listed);
    counter_ = 1;
    modelPath_ = reader_->fileName;
    modelFile_ = reader_->filePath;
    // What was recovered is not in the model file yet.
    history_.clear(false);
    settle();
    autosave_->restart();
    autosaveFailureShown_ = false;
    return true;
}

bool ModelDocument::tickAutosave(std::chrono::steady_clock::time_point now) {
    reportAutosave(autosave_->collect(false));
    if (!reader_ || dragging_ || !autosave_->due(now, isModified())) {
        return false;
    }
    return startAutosave(now);
}

bool ModelDocument::autosaveNow() {
    finishAutosave();
    return reader_ && startAutosave(std::chrono::steady_clock::now());
}

void ModelDocument::finishAutosave() {
    reportAutosave(autosave_->collect(true));
}

bool ModelDocument::startAutosave(std::chrono::steady_clock::time_point now) {
    const ModelSource model{modelFile_, modelPath_};
    Autosave::Copy copy;
    try {
        copy.model = Writer::snapshot(*reader_);
    } catch (const std::exception& error) {
        reportAutosave(std::string(error.what()));
        return false;
    }
    copy.modelPath = copyPathOf(model);
    copy.stateLines = RecoveryState::capture(*reader_);
    copy.statePath = statePathOf(model);
    if (reader_->fileType == Reader::kY4T) {
        const std::optional<std::string> picture =
            PathResolver::resolveExisting(companion(model, "", ".BMP"));
        if (picture) {
            copy.pictureFrom = *picture;
            copy.pictureTo = picturePathOf(model);
        }
    }
    autosave_->start(std::move(copy), now);
    return true;
}

void ModelDocument::reportAutosave(const std::optional<std::string>& outcome) {
    if (!outcome || outcome->empty() || autosaveFailureShown_) {
        return;
    }
    autosaveFailureShown_ = true;
    showWarning("Warning: Autosave failed: " + *outcome);
}

std::string ModelDocument::recoveryCopyPath() const {
    return reader_ ? copyPathOf(ModelSource{modelFile_, modelPath_}) : std::string();
}

void ModelDocument::removeRecoveryCopy() {
    // A write still running would bring the copy back.
    autosave_->collect(true);
    if (!reader_) {
        return;
    }
    const ModelSource model{modelFile_, modelPath_};
    for (const std::string& path : {copyPathOf(model), statePathOf(model), picturePathOf(model)}) {
        std::error_code error;
        std::filesystem::remove(path, error);
    }
}

std::string ModelDocument::writeCrashCopy() noexcept {
    try {
        if (!reader_) {
            return {};
        }
        const ModelSource model{modelFile_, modelPath_};
        constexpr int kMostCopies = 1000;
        for (int n = 1; n <= kMostCopies; ++n) {
            const std::string middle = n == 1 ? "-crash" : "-crash-" + std::to_string(n);
            const std::string path = companion(model, middle, extensionOf(model));
            if (PathResolver::resolveExisting(path)) {
                continue;
            }
            // The name is taken before anything is written, so that no file is ever replaced.
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST) {
                    continue;
                }
                return {};
            }
            ::close(fd);
            try {
                Writer writer(*reader_, path);
            } catch (...) {
                ::unlink(path.c_str());
                return {};
            }
            if (reader_->fileType == Reader::kY4T) {
                try {
                    copyTerrainPicture(path, false, nullptr);
                } catch (...) {
                    // The geometry is what matters; the picture is still beside the model.
                }
            }
            return path;
        }
    } catch (...) {
    }
    return {};
}

}  // namespace y4
