// CY4EditorDlg: "Load Y4 File", "Save Y4 File", "Commit Changes" and "Discard Changes" over the
// document's workflow, with the trace lines of the window's own steps (the document writes
// those of the steps it performs) and the catch-alls around the save and the commit.
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <array>
#include <cctype>

#include "document/ModelDocument.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"
#include "platform/TraceLog.h"
#include "shell/CY4EditorDlg.h"
#include "shell/FileProgressDialog.h"
#include "shell/SettingsRegistry.h"
#include "shell/ViewMouse.h"
#include "view/CDrawFrame.h"

namespace y4 {

namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The file dialogs' filter list for the stored extension (upper case): the last variant
// loaded first; none for an extension of no variant.
std::string filterFor(const std::string& extension) {
    if (extension.empty() || extension == "Y4P") {
        return "Y4P Files (*.Y4P);;Y4D Files (*.Y4D);;Y4T Files (*.Y4T);;All Files (*.*)";
    }
    if (extension == "Y4D") {
        return "Y4D Files (*.Y4D);;Y4P Files (*.Y4P);;Y4T Files (*.Y4T);;All Files (*.*)";
    }
    if (extension == "Y4T") {
        return "Y4T Files (*.Y4T);;Y4P Files (*.Y4P);;Y4D Files (*.Y4D);;All Files (*.*)";
    }
    return {};
}

// The extension as the chosen file name spells it; empty without one.
std::string extensionOf(const std::string& path) {
    const std::string_view name = PathResolver::fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

// The extension of the last model loaded, in upper case, with the trace lines of the two
// steps: `lines` are those before and after the query and before and after the upper-casing,
// in the words of the command that asks.
std::string storedExtension(const SettingsStore& store, const std::array<const char*, 4>& lines) {
    trace(lines[0]);
    const std::string extension = queryRegistryValue(store, "extension");
    trace(lines[1]);
    trace(lines[2]);
    std::string upper = upperCase(extension);
    trace(lines[3]);
    return upper;
}

void warn(const char* text) {
    prompt().showMessage(text, MessageIcon::Exclamation);
}

}  // namespace

bool CY4EditorDlg::saveChangesFirst() {
    if (!document_->isModified() || !prompt().askYesNo("Save changes?")) {
        return true;
    }
    return OnButtonSave();
}

std::string CY4EditorDlg::initialOpenPath() const {
    // The stored path is upper case; the file may be spelled otherwise, or be gone while its
    // folder stays.
    const std::string stored = queryRegistryValue(store_, "path");
    if (stored.empty()) {
        return samplesFolder_;
    }
    if (const auto file = PathResolver::resolveExisting(stored)) {
        return *file;
    }
    const std::string_view folder = PathResolver::folderOf(stored);
    if (folder.size() < stored.size()) {
        if (const auto found = PathResolver::resolveExisting(folder)) {
            return *found;
        }
    }
    return stored;
}

void CY4EditorDlg::OnButtonLoad() {
    runLoad(nullptr);
}

bool CY4EditorDlg::openModel(const std::string& path) {
    return runLoad(&path);
}

bool CY4EditorDlg::runLoad(const std::string* givenPath) {
    // One file operation at a time: a drop or a timer may come while a progress window shows.
    if (FileProgressDialog::running()) {
        return false;
    }
    trace("\n\nOnButtonLoad - ENTRY POINT");
    trace("OnButtonLoad - before deselect()");
    document_->deselect();
    trace("OnButtonLoad - after deselect()");
    trace("OnButtonLoad - before 1");
    // A model whose changes were to be saved and were not stays open.
    if (!saveChangesFirst()) {
        return false;
    }
    trace("OnButtonLoad - after 1");
    trace("OnButtonLoad - before queryRegistryValue(path)");
    const std::string initial = initialOpenPath();
    trace("OnButtonLoad - after queryRegistryValue(path)");
    const std::string extension =
        storedExtension(store_, {"OnButtonLoad - before queryRegistryValue(extension)",
                                 "OnButtonLoad - after queryRegistryValue(extension)",
                                 "OnButtonLoad - before extension.MakeUpper()",
                                 "OnButtonLoad - after extension.MakeUpper()"});
    trace("OnButtonLoad - before filter");
    FileDialogRequest request{"Load Y4 File", filterFor(extension), initial, "Y4P"};
    request.mustExist = true;
    trace("OnButtonLoad - after filters");
    trace("OnButtonLoad - before loadDlg");
    const std::optional<std::string> chosen =
        givenPath ? std::optional(*givenPath) : prompt().chooseOpenFile(request);
    // A model that cannot be opened has shown why; the open one stays as it was.
    const bool loaded = chosen && finishLoad(*chosen);
    if (chosen && !loaded) {
        return false;
    }
    trace("OnButtonLoad - after loadDlg");
    trace("OnButtonLoad - before RenderScene()");
    RenderScene();
    update();
    trace("OnButtonLoad - after RenderScene()");
    trace("OnButtonLoad - EXIT POINT\n\n");
    return loaded;
}

bool CY4EditorDlg::finishLoad(const std::string& path) {
    // The document reads the model and its display state beside the open one, which it
    // replaces only once the new one is complete.
    if (!waitForView()) {
        return false;
    }
    if (FileProgressDialog progress(this, "Loading", path); !document_->load(path, &progress)) {
        return false;
    }
    rememberRecent(document_->modelFile());
    trace("OnButtonLoad - here 1");
    setRegistryValue(store_, "path", document_->modelPath());
    setRegistryValue(store_, "extension", extensionOf(path));
    store_.sync();
    trace("OnButtonLoad - here 2");
    initControls();
    trace("OnButtonLoad - here 3");
    loadSettings();
    trace("OnButtonLoad - here 4");
    return true;
}

bool CY4EditorDlg::OnButtonSave() {
    if (!document_->hasModel() || FileProgressDialog::running()) {
        return false;
    }
    try {
        trace("\n\nOnButtonSave - ENTRY POINT");
        trace("OnButtonSave - before OnButtonCommitChanges()");
        if (document_->isModified()) {
            OnButtonCommitChanges();
        }
        trace("OnButtonSave - after OnButtonCommitChanges()");
        const std::string extension =
            storedExtension(store_, {"OnButtonSave - before queryRegistryValue(extension)",
                                     "OnButtonsave - after queryRegistryValue(externsion)",
                                     "OnButtonsave - before extension.MakeUpper()",
                                     "OnButtonsave - after extension.MakeUpper()"});
        trace("OnButtonsave - before filters");
        // Offered: the model's own file, as spelled on disk, also after a discard brought
        // back a snapshot.
        FileDialogRequest request{"Save Y4 File", filterFor(extension), document_->modelFile(),
                                  "Y4P"};
        request.mustExist = true;
        trace("OnButtonsave - after filters");
        trace("OnButtonSave - before SaveDlg");
        bool saved = false;
        if (const std::optional<std::string> target = prompt().chooseSaveFile(request)) {
            FileProgressDialog progress(this, "Saving", *target);
            saved = document_->save(*target, &progress).saved;
        }
        trace("OnButtonSave - after SaveDlg");
        trace("OnButtonSave - before RenderScene()");
        RenderScene();
        trace("OnButtonSave - after RenderScene()");
        trace("OnButtonSave - before Invalidate");
        update();
        trace("OnButtonSave - after Invalidate");
        trace("OnButtonSave - EXIT POINT\n\n");
        return saved;
    } catch (...) {
        warn("Unhandled exception in onButtonSave()");
        return false;
    }
}

void CY4EditorDlg::OnButtonCommitChanges() {
    try {
        trace("\n\nOnButtonCommitChanges() - ENTRY POINT");
        if (document_->hasModel() && !FileProgressDialog::running() &&
            prompt().askYesNo("Are you sure you want to commit changes?") && commitWithProgress()) {
            enableCommitAndDiscard();
            RenderScene();
            trace("OnButtonCommitChanges() - after RenderScene()");
        }
        trace("OnButtonCommitChanges() - EXIT POINT\n\n");
    } catch (...) {
        warn("Unhandled exception in OnButtonCommitChanges()");
    }
}

bool CY4EditorDlg::commitWithProgress() {
    FileProgressDialog progress(this, "Committing", document_->modelPath());
    return document_->commit(&progress);
}

void CY4EditorDlg::OnButtonDiscardChanges() {
    if (!document_->hasModel() || FileProgressDialog::running() ||
        !prompt().askYesNo("Are you sure you want to discard changes?")) {
        return;
    }
    mouse_->setDragging(false);
    // With no snapshot left the model itself comes back, drawn as a freshly loaded one.
    const bool reloadsModel = document_->commitCounter() <= 1;
    bool discarded = false;
    {
        FileProgressDialog progress(this, "Discarding changes to", document_->modelPath());
        discarded = document_->discard(&progress);
    }
    if (discarded && reloadsModel) {
        setDrawModeChecks();
    }
    RenderScene();
}

}  // namespace y4
