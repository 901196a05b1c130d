// ModelDocument: the one place through which a model is opened, changed and written. It owns the
// Reader (the scene), the object tree that lists it, the selection, the commit counter and the
// model's names; it runs load, save, commit and discard without any window, performs every
// user edit as one function that keeps records, tree labels and checks, world positions and the
// modified flag together and leaves one undo step, and tells its observers of every change.
// Its questions and messages go through Prompt; it knows nothing of windows or GL.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentObserver.h"
#include "EditValues.h"
#include "UndoHistory.h"
#include "UndoStep.h"
#include "files/Reader.h"
#include "model/SceneTree.h"

namespace y4 {

class Autosave;
class BitmapNumbers;
class ChangeSet;
class DragStep;
class FileProgress;

class ModelDocument {
public:
    // What a save did beyond writing the model.
    struct SaveResult {
        bool saved = false;
        // A terrain's own bitmap, named after its model, copied beside a target that had none:
        // from where to where; empty when nothing was copied.
        std::string bitmapCopiedFrom;
        std::string bitmapCopiedTo;
        explicit operator bool() const { return saved; }
    };

    // `options` are given to every Reader the document builds (the GL texture device, limits).
    explicit ModelDocument(Reader::Options options = {});
    ~ModelDocument();
    ModelDocument(const ModelDocument&) = delete;
    ModelDocument& operator=(const ModelDocument&) = delete;

    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

    // ---- the model and its workflow ----
    //
    // Trace lines: load, save and commit write the lines of the steps they perform themselves
    // ("OnButtonLoad - before new Reader()" and "- after new Reader()"; "OnButtonSave - Here 1"
    // to "- Here 6"; "OnButtonCommitChanges() - before sprintf" to "- after saveDisplayState()",
    // with the Writer's and the purge's own lines between them). The window writes the lines
    // around its calls: the entry and exit lines, the settings and dialog steps, "here 1" to
    // "here 4" after a load, and the RenderScene lines. Discard writes none.

    // Opens the file the user chose: read as spelled, known by its path in upper case. The new
    // model is read and listed beside the open one and replaces it only once it is complete; on
    // failure its message is shown and the open model, its tree, counter, selection and history
    // stay as they were. Reads the display state. The commit counter becomes 1.
    //
    // Load, save, commit and discard tell `progress`, if given, how far they got; one it
    // cancels ends as a failure does, without a message: the open model, its files and its
    // modified flag stay as they were.
    bool load(const std::string& path, FileProgress* progress = nullptr);
    // Writes the model to `target` (as spelled) in the variant it was loaded from. A failure is
    // shown and keeps the modified flag and the old file; success clears the flag. The history
    // stays: undoing after a save marks the model modified again.
    SaveResult save(const std::string& target, FileProgress* progress = nullptr);
    // Purges the records marked deleted, writes snapshot "commit<n>" beside the model in its
    // variant, counts n up and writes the display state. Clears the history; the modified flag
    // stays. A snapshot that cannot be written is shown and leaves the counter.
    bool commit(FileProgress* progress = nullptr);
    // Steps back one commit: reloads the last snapshot, or the model itself when none is left
    // (the counter then stays 1). A reload that fails is shown and keeps the current model and
    // counter. The display state is not read again.
    bool discard(FileProgress* progress = nullptr);

    bool hasModel() const { return reader_ != nullptr; }
    // The open model; null before the first load. Read it freely; change it only through the
    // edits below.
    Reader* reader() const { return reader_.get(); }
    // The object tree of the open model. The same object for the document's whole life.
    SceneTree& tree() { return tree_; }
    const SceneTree& tree() const { return tree_; }
    int commitCounter() const { return counter_; }
    // The path the model is known by (upper case) and the file it was read from.
    const std::string& modelPath() const { return modelPath_; }
    const std::string& modelFile() const { return modelFile_; }
    bool isModified() const { return reader_ && reader_->modified != 0; }

    // ---- selection (not an undo step; each step restores the selection of its time) ----

    // Selects a tree item (kNoItem: nothing), marking what it covers and clearing what the old
    // one covered; normal editing ends. The windows mirror this selection.
    void select(TreeItem item);
    // The record's item (a vertex's first listing).
    void selectRecord(SceneObject* record);
    TreeItem selectedItem() const { return tree_.selectedItem(); }
    SceneObject* selectedRecord() const { return tree_.itemData(tree_.selectedItem()); }

    // Clears the selection and forgets the copied record ("Deselect").
    void deselect();

    // ---- picking (neither is an edit: no undo step, no modified flag) ----

    // Highlights the faces around `v`: clears the highlight mark (`marked`) of every record,
    // then sets it on every face of `v` and on the corners of each. Null only clears.
    void highlightFacesAround(Vertex* v);
    void clearHighlight() { highlightFacesAround(nullptr); }
    // A vertex (or its normal) picked in the view: its faces highlighted, and the vertex
    // selected through its last listing in the tree.
    void choosePickedVertex(Vertex* v);

    // ---- edits: each one undo step ----
    //
    // Each can... query says whether the object tree would offer the edit for a record; an edit
    // it would not offer does nothing. Records an edit makes are marked created, and selected
    // where the selection covers them. The structural edits compute the world positions again.

    // Delete, or Undelete when the record is marked: the record and everything below it. The
    // root and a terrain's own record are refused with their messages; a vertex is not marked
    // by itself. A deleted record is no longer selected; an undeleted one is selected again.
    bool toggleDeleted(SceneObject* record);
    // Whether "Delete"/"Undelete" is offered: entities, sub-entities and faces, except a
    // terrain's own record (the root is offered and refused with its message).
    bool canDelete(const SceneObject* record) const;

    // "Add Group": an entity "New Group" at the origin, the last child of `parent`. Offered for
    // an entity that holds no sub-entities, outside terrains.
    Entity* addGroup(Entity* parent);
    bool canAddGroup(const SceneObject* record) const;
    // "Add SubEntity": an empty sub-entity "SubEntity[n]" (n: the entity's count of them) with
    // bitmap 0. Offered for an entity without child entities; a terrain's root and an entity of
    // a flat (.Y4D) model only while they have no sub-entity, since their files hold one.
    SubEntity* addSubEntity(Entity* parent);
    bool canAddSubEntity(const SceneObject* record) const;

    // "Add Face": a face "Face[n]" with bitmap 0 in `subEntity`, its corners existing vertices
    // of it or vertices made from values (appended in corner order), the new face selected. A
    // corner left unset, or one vertex used twice, is refused with its message.
    Face* addFace(SubEntity* subEntity, const std::array<FaceCorner, 3>& corners);
    bool canAddFace(const SceneObject* record) const;
    // The number the New Face dialog names its first created vertex with.
    int nextVertexNumber(const SubEntity* subEntity) const;

    // "Split Face": cuts the face from its second corner to the middle of the edge from its
    // first corner to its third; the face keeps the first half, a new face (the last of the
    // sub-entity, selected) takes the second, with the face's bitmap and display switch.
    Face* splitFace(Face* face);
    bool canSplitFace(const SceneObject* record) const;

    // ---- copy and paste ----

    // "Copy": remembers the record; nothing is copied until Paste, so later changes of the
    // source are part of the copy. Offered for live entities (outside terrains), sub-entities
    // (except a terrain's own) and faces.
    bool copy(SceneObject* record);
    bool canCopy(const SceneObject* record) const;
    // The remembered record, or null. It is forgotten when it, or what holds it, is about to
    // leave the scene (a purge, an undo) and when the model is replaced; a window re-reads
    // canPaste then.
    SceneObject* copySource() const { return copySource_; }
    // "Paste" into `destination` (normally the selection): the checks and messages of the
    // paste table, then a copy of the remembered record with everything below it. A copy whose
    // source is entirely marked deleted shows its warning and changes nothing.
    bool paste(SceneObject* destination);
    // Whether "Paste" is offered with `destination` selected.
    bool canPaste(const SceneObject* destination) const;

    // ---- attributes ----

    // What the Attributes dialog shows for a record (the chosen vertices are null).
    AttributeValues attributesOf(const SceneObject* record) const;
    // "Apply" of the Attributes dialog on the selection: names (cut to 63 characters), the
    // entity's placement (but a terrain's root, whose file has no place for it, stays at the
    // origin), the sub-entity's bitmap (a terrain's own record keeps its name and
    // bitmap, and no other record takes the terrain's bitmap), a face's corners re-wired to the
    // chosen vertices (refused with the duplicate message when a chosen vertex would repeat a
    // corner) and the rows written into the corners. An Apply that changes nothing is no undo step.
    bool applyAttributes(const AttributeValues& values);
    // "Change Winding": exchanges the face's first and third corners.
    bool changeWinding(Face* face);
    bool canChangeWinding(const SceneObject* record) const;
    // Scales the positions of the selected entities and vertices that are not deleted. A
    // terrain's root is never moved, turned or scaled (its file has no place for its
    // placement): a scaling or step that would reach nothing but it does nothing.
    bool scaleSelection(float fx, float fy, float fz);
    // One drag step (SelectionTransform kinds: 1 translate, 2 rotate in degrees, 3 scale,
    // 4 stretch) on the selection, on normals while normal editing is on. World positions are
    // computed again after each step. Between beginDrag and endDrag all steps make one undo
    // step; a step outside a drag is one by itself. Every other step sets the modified flag.
    void transformSelection(float a, float b, float c, int kind);
    void beginDrag();
    void endDrag();
    bool dragging() const { return dragging_; }
    // Renames a record (cut to 63 characters). A terrain's own record keeps its name; a group
    // name with a colon or a control character, which its file could not hold, is refused
    // with a message.
    bool rename(SceneObject* record, std::string_view name);
    // Display switches and the checks of their tree items. They do not change what a save
    // writes, so they leave the modified flag alone.
    bool setDisplayed(SceneObject* record, bool on);
    void setAllDisplayed(bool on);
    // The bitmap list. Adding or renaming reads the picture from the model's folder, and one
    // that cannot be read is refused with the loader's messages; in a terrain the new bitmap
    // goes before the terrain's own, which stays last and cannot be removed, moved or renamed.
    // A removal renumbers the records as BitmapNumbers::forRemoval says; in a terrain the last
    // bitmap besides its own stays while other records name it. A move leaves the numbers.
    bool addBitmap(const std::string& name);
    // "Add Texture" with the file the user chose: the bitmap is named after the file (without
    // folder and extension) and read from the model's folder, after the warning that the game's
    // archive must hold it.
    bool addTextureFile(const std::string& chosenPath);
    bool removeBitmap(int position);
    // Exchanges the bitmap at `position` with its neighbour `offset` (-1 up, +1 down).
    bool moveBitmap(int position, int offset);
    bool renameBitmap(int position, const std::string& name);
    bool canRemoveBitmap(int position) const;
    bool canMoveBitmap(int position, int offset) const;
    bool canRenameBitmap(int position) const { return editableBitmap(position); }

    // ---- drawing options of the open model (no undo, no modified flag) ----

    void setDrawMode(int mode);
    void setTexturing(bool on);
    void setShowVertices(bool on);
    void setShowNormals(bool on);
    void setEditNormals(bool on);

    // ---- undo and redo ----

    bool canUndo() const { return history_.nextUndo() != nullptr; }
    bool canRedo() const { return history_.nextRedo() != nullptr; }
    // The name of the edit an undo or a redo would take back or make again; empty when none.
    std::string undoName() const;
    std::string redoName() const;
    void undo();
    void redo();
    // The memory the history may hold (UndoHistory::kDefaultBudget unless set).
    void setHistoryBudget(std::size_t bytes);
    const UndoHistory& history() const { return history_; }

    // ---- autosave, recovery and the crash copy ----
    //
    // While the model has unsaved edits a recovery copy "<model>.autosave.<ext>" is written
    // beside it each interval, and before a discard reloads, with the state its file cannot hold
    // in "<model>.autosave.state". A load offers a copy newer than the model; a save removes it.
    // None of it touches the modified flag, the history, the commit counter, the snapshots or
    // the trace log.

    // The schedule: on/off and the interval.
    Autosave& autosave() { return *autosave_; }
    // Called by a timer: reports a write that failed (once per model, then silently until a
    // model is opened again) and starts the next copy when it is due. True when one started.
    bool tickAutosave(std::chrono::steady_clock::time_point now);
    // Writes the copy now, after the write in progress. False without a model or when the
    // model's text could not be laid out.
    bool autosaveNow();
    // Waits for the write in progress and reports it as a tick does.
    void finishAutosave();
    // Where the open model's recovery copy goes; empty without a model.
    std::string recoveryCopyPath() const;
    // Removes the copy and what goes with it, after the write in progress: an exit that the
    // user confirmed without saving.
    void removeRecoveryCopy();
    // For a program that is about to end on an error: writes the model to "<model>-crash.<ext>"
    // beside it, or "-crash-2", "-crash-3"... never over an existing file. The path written,
    // or an empty text when nothing could be; it never throws.
    std::string writeCrashCopy() noexcept;

private:
    class TreeWatch;
    class CopyWatch;

    EditContext context() { return EditContext{*reader_, tree_, observers_}; }
    template <class... Params, class... Args>
    void tell(void (DocumentObserver::*call)(Params...), const Args&... args) {
        // An observer may come or go while it is told; go by position.
        for (std::size_t k = 0; k < observers_.size(); ++k) {
            (observers_[k]->*call)(args...);
        }
    }

    // Autosave and recovery.
    bool startAutosave(std::chrono::steady_clock::time_point now);
    void reportAutosave(const std::optional<std::string>& outcome);
    // The recovery copy of `model` when it is newer than the model file.
    static std::optional<std::string> newerRecoveryCopy(const ModelSource& model);
    // Opens the copy in the model's place; false when it could not be read.
    bool recover(const ModelSource& model, const std::string& copy, FileProgress* progress);

    // The workflow.
    // Reads a model and lists it in `into`; a failure is shown, naming the file `shownAs` when
    // one is given in place of the name the model is known by.
    std::unique_ptr<Reader> readModel(const ModelSource& source, SceneTree& into, bool traced,
                                      FileProgress* progress, const std::string& shownAs = {});
    void install(std::unique_ptr<Reader> reader, SceneTree& listed);
    bool copyTerrainPicture(const std::string& target, bool replace, SaveResult* result);

    // Edits and the history.
    void perform(std::unique_ptr<UndoStep> step);
    void push(std::unique_ptr<UndoStep> step);
    void travel(bool back);
    void finishDrag();
    void settle();
    void setModified(bool modified);
    SelectionRef currentSelection() const;
    void restoreSelection(const SelectionRef& selection);
    void setOption(int& option, int value);
    bool groupNameRefused(const SceneObject* record, std::string_view name) const;
    // Keeps an edit made directly on the scene as one undo step: ends its change set,
    // computes the world positions, announces it, selects `selected` if given and keeps the
    // selections of before and after.
    void keep(const char* stepName, std::unique_ptr<ChangeSet> changes, const SelectionRef& before,
              SceneObject* selected = nullptr);
    const char* pasteRefusal(const SceneObject* source, const SceneObject* destination) const;
    bool isTerrainBitmap(int position) const;
    // A position in the list, but the terrain's own bitmap.
    bool editableBitmap(int position) const;
    bool acceptableBitmapName(const std::string& name) const;
    template <class Change>
    void changeBitmaps(const char* stepName, BitmapNumbers numbers, Change change);

    Reader::Options options_;
    std::unique_ptr<Reader> reader_;
    SceneTree tree_;
    std::unique_ptr<TreeWatch> treeWatch_;
    std::unique_ptr<CopyWatch> copyWatch_;
    SceneObject* copySource_ = nullptr;
    std::vector<DocumentObserver*> observers_;
    UndoHistory history_;
    std::unique_ptr<DragStep> drag_;
    bool dragging_ = false;
    bool selecting_ = false;
    bool lastModified_ = false;
    bool lastCanUndo_ = false;
    bool lastCanRedo_ = false;
    int counter_ = 1;
    std::string modelPath_;
    std::string modelFile_;
    std::unique_ptr<Autosave> autosave_;
    bool autosaveFailureShown_ = false;
};

}  // namespace y4
