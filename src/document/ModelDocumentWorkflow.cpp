// Load, save, commit and discard: the model workflow without any window.
#include <utility>

#include "Autosave.h"
#include "ModelDocument.h"
#include "RecordAccess.h"
#include "files/BitmapDecoder.h"
#include "files/LoadError.h"
#include "files/Writer.h"
#include "model/SelectionMarks.h"
#include "model/TreeListing.h"
#include "platform/FileProgress.h"
#include "platform/InputFile.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"
#include "platform/SafeFileWriter.h"
#include "platform/TraceLog.h"

namespace y4 {

namespace {

constexpr const char* kExtensions[] = {"Y4P", "Y4D", "Y4T"};

void showError(const std::string& text) {
    prompt().showMessage(text, MessageIcon::Exclamation);
}

// "commit<n>." and the model's variant.
std::string snapshotName(const Reader& reader, int counter) {
    return "commit" + std::to_string(counter) + "." + kExtensions[reader.fileType];
}

}  // namespace

std::unique_ptr<Reader> ModelDocument::readModel(const ModelSource& source, SceneTree& into,
                                                 bool traced, FileProgress* progress,
                                                 const std::string& shownAs) {
    const auto showError = [&](std::string text) {
        if (const std::size_t at = text.find(source.name);
            !shownAs.empty() && at != std::string::npos) {
            text.replace(at, source.name.size(), shownAs);
        }
        y4::showError(text);
    };
    try {
        if (traced) {
            trace("OnButtonLoad - before new Reader()");
        }
        Reader::Options options = options_;
        options.progress = progress;
        auto reader = std::make_unique<Reader>(&into, source, options);
        if (traced) {
            trace("OnButtonLoad - after new Reader()");
        }
        if (!reader->loaded()) {
            showError("Error: Could not open file " + source.path + ": " + reader->openError());
            return nullptr;
        }
        TreeListing::buildTree(into, reader->root());
        return reader;
    } catch (const CancelledByUser&) {
        // The user's own choice: nothing to tell.
    } catch (const LoadError& error) {
        showError(error.what());
    } catch (const std::exception& error) {
        showError("Error: Could not load " + source.path + ": " + error.what());
    }
    return nullptr;
}

// The new model, listed in its own tree, takes the open one's place: the views stay attached to
// the same tree, which is reset once.
void ModelDocument::install(std::unique_ptr<Reader> reader, SceneTree& listed) {
    endDrag();
    select(kNoItem);
    tell(&DocumentObserver::modelAboutToBeReplaced);
    tree_.takeItemsOf(listed);
    reader->m_pEntityTree = &tree_;
    // Steps may hold records that an undo took out of the old scene; they go before it does.
    history_.clear(true);
    std::unique_ptr<Reader> old = std::exchange(reader_, std::move(reader));
    if (old) {
        // Its items went with the reset.
        old->m_pEntityTree = nullptr;
        old.reset();
    }
    tell(&DocumentObserver::modelReplaced);
    settle();
}

bool ModelDocument::load(const std::string& path, FileProgress* progress) {
    // A failure of the last model's copy is told as its own.
    finishAutosave();
    const ModelSource source = ModelSource::chosen(path);
    if (const std::optional<std::string> copy = newerRecoveryCopy(source)) {
        if (prompt().askYesNo("Unsaved changes of " + source.path + " were autosaved to " + *copy +
                              ", which is newer than the model.\n" +
                              "Open the autosaved copy instead?") &&
            recover(source, *copy, progress)) {
            return true;
        }
    }
    SceneTree listed;
    std::unique_ptr<Reader> reader = readModel(source, listed, true, progress);
    if (!reader) {
        return false;
    }
    reader->loadDisplayState();
    install(std::move(reader), listed);
    counter_ = 1;
    modelPath_ = reader_->fileName;
    modelFile_ = reader_->filePath;
    autosave_->restart();
    autosaveFailureShown_ = false;
    return true;
}

// A terrain's own picture is named after its model, so a terrain written under another name
// needs a copy of it there. A save leaves a picture the target has alone; a snapshot replaces
// the picture of an older snapshot of that number.
bool ModelDocument::copyTerrainPicture(const std::string& target, bool replace,
                                       SaveResult* result) {
    const std::string_view name = PathResolver::fileNameOf(target);
    const std::string copy = std::string(target, 0, target.size() - name.size()) +
                             std::string(name.substr(0, name.rfind('.'))) + ".BMP";
    const std::optional<std::string> source =
        PathResolver::resolveExisting(reader_->besideModel(reader_->baseName() + ".BMP"));
    const std::optional<std::string> present = PathResolver::resolveExisting(copy);
    if (present && (!replace || present == source)) {
        return false;
    }
    std::string reason = "No such file or directory";
    std::optional<std::string> bytes;
    if (source) {
        bytes = InputFile::readWhole(*source, BitmapDecoder::kMaxFileBytes, &reason);
    }
    if (!bytes) {
        throw SaveError("Error: Could not copy the terrain bitmap to " + copy + ": " + reason);
    }
    const std::optional<std::string> path = replace ? PathResolver::resolveForWrite(copy) : copy;
    try {
        if (!path) {
            throw IoError("Could not write " + copy + ": No such folder");
        }
        SafeFileWriter out(*path);
        out.write(*bytes);
        out.commit();
    } catch (const IoError& error) {
        throw SaveError(std::string("Error: ") + error.what());
    }
    if (result) {
        result->bitmapCopiedFrom = *source;
        result->bitmapCopiedTo = *path;
    }
    return true;
}

ModelDocument::SaveResult ModelDocument::save(const std::string& target, FileProgress* progress) {
    SaveResult result;
    if (!reader_) {
        return result;
    }
    endDrag();
    trace("OnButtonSave - Here 1");
    trace("OnButtonSave -  Here 2");
    try {
        if (reader_->fileType == Reader::kY4T) {
            copyTerrainPicture(target, false, &result);
        }
        Writer writer(*reader_, target, Writer::Target::AsSpelled, progress);
    } catch (const CancelledByUser&) {
        return result;
    } catch (const SaveError& error) {
        showError(error.what());
        return result;
    } catch (const std::exception&) {
        showError("Unhandled exception; save aborted");
        return result;
    }
    trace("OnButtonSave - Here 3");
    trace("OnButtonSave - Here 4");
    trace("OnButtonSave - Here 5");
    history_.markClean();
    settle();
    removeRecoveryCopy();
    trace("OnButtonSave - Here 6");
    result.saved = true;
    return result;
}

bool ModelDocument::commit(FileProgress* progress) {
    if (!reader_) {
        return false;
    }
    endDrag();
    trace("OnButtonCommitChanges() - before sprintf");
    const std::string snapshot = snapshotName(*reader_, counter_);
    trace("OnButtonCommitChanges() - after sprintf");
    const std::string extension = kExtensions[reader_->fileType];
    trace("OnButtonCommitChanges() - before strcat " + extension);
    trace("OnButtonCommitChanges() - after strcat " + extension);

    // The records that go are told before they are destroyed; a selection among them ends.
    RecordSet gone;
    RecordAccess::purgeSet(*reader_, gone.records, gone.meshes);
    if (RecordAccess::goesWithPurge(selectedRecord())) {
        select(kNoItem);
    }
    if (!gone.records.empty()) {
        tell(&DocumentObserver::recordsAboutToBeRemoved, gone);
    }
    // A selection that stays covers less once purged faces are gone: a corner only they used
    // would otherwise stay marked, and move with every later transform.
    SelectionMarks::apply(selectedRecord(), 0);
    trace("OnButtonCommitChanges() - before finalDelete()");
    reader_->finalDelete();
    trace("OnButtonCommitChanges() - after finalDelete()");
    SelectionMarks::apply(selectedRecord(), 1);
    if (!gone.records.empty()) {
        tell(&DocumentObserver::recordsRemoved, gone);
        // The file on disk still holds what the purge removed.
        setModified(true);
    }
    history_.clear(!reader_->modified);
    settle();

    trace("OnButtonCommitChanges() - before new Writer");
    const std::string path = reader_->besideModel(snapshot);
    try {
        if (reader_->fileType == Reader::kY4T) {
            copyTerrainPicture(path, true, nullptr);
        }
        Writer writer(*reader_, path, Writer::Target::IgnoringCase, progress);
    } catch (const CancelledByUser&) {
        return false;
    } catch (const SaveError& error) {
        showError(error.what());
        return false;
    }
    trace("OnButtonCommitChanges() - after new Writer");
    trace("OnButtonCommitChanges() - before delete pWriter");
    trace("OnButtonCommitChanges() - after delete pWriter");
    ++counter_;
    trace("OnButtonCommitChanges() - before saveDisplayState()");
    reader_->saveDisplayState();
    trace("OnButtonCommitChanges() - after saveDisplayState()");
    return true;
}

bool ModelDocument::discard(FileProgress* progress) {
    if (!reader_) {
        return false;
    }
    endDrag();
    // What the reload throws away stays recoverable.
    if (isModified()) {
        autosaveNow();
    }
    const int counter = counter_ > 1 ? counter_ - 1 : 1;
    ModelSource source{modelFile_, modelPath_};
    if (counter_ > 1) {
        const std::string name = snapshotName(*reader_, counter);
        source = {reader_->besideModel(name), PathResolver::join(reader_->modelFolder, name)};
    }
    SceneTree listed;
    std::unique_ptr<Reader> reader = readModel(source, listed, false, progress);
    if (!reader) {
        return false;
    }
    if (counter_ > 1) {
        // The display buttons keep their state when a snapshot comes back; so do the options
        // they set.
        reader->drawMode = reader_->drawMode;
        reader->texturing = reader_->texturing;
        reader->showVertices = reader_->showVertices;
        reader->showNormals = reader_->showNormals;
    }
    install(std::move(reader), listed);
    counter_ = counter;
    return true;
}

}  // namespace y4
