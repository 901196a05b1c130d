// The soak's random driver: the choice of steps, undo and redo, commits, discards, saves and
// loads, and the checks of states and files. The edits themselves are in SoakRunEdits.cpp.
#include "SoakRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "SceneInvariants.h"
#include "ScenePrint.h"
#include "ScriptedPrompt.h"
#include "files/DisplayStateFile.h"
#include "files/LoadError.h"
#include "files/Writer.h"

namespace y4::test {

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The bitmap names a model's file holds: a terrain names one per record, the other variants
// list them.
std::vector<std::string> bitmapsOf(const Reader& r) {
    if (r.fileType != Reader::kY4T) {
        return r.bitmapNames;
    }
    std::vector<std::string> names;
    for (const SubEntity* s : r.subEntities) {
        const auto at = static_cast<std::size_t>(s->bitmapIndex);
        names.push_back(at < r.bitmapNames.size() ? r.bitmapNames[at] : "");
    }
    return names;
}

long itemSlack(const Reader& r, const SceneTree& tree) {
    return static_cast<long>(tree.size()) -
           static_cast<long>(r.entities.size() + r.subEntities.size() + 4 * r.faces.size());
}

}  // namespace

const char* SoakRun::kindName(int kind) {
    static const char* const kNames[kKinds] = {
        "select", "delete",  "add group", "add sub-entity", "new face",    "split face",
        "copy",   "paste",   "apply",     "winding",        "undo/redo",   "textures",
        "drag",   "scale",   "rename",    "display",        "display all", "options",
        "commit", "discard", "save+load"};
    return kind >= 0 && kind < kKinds ? kNames[kind] : "?";
}

SoakRun::SoakRun(std::string path, SoakOptions options)
    : path_(std::move(path)),
      original_(path_),
      options_(options),
      random_(options.seed),
      prompt_(std::make_unique<ScriptedPrompt>()),
      reference_(options.reference) {
    if (reference_) {
        options_.fullEvery = 1;
    }
    Reader::Options readerOptions;
    document_ = std::make_unique<ModelDocument>(readerOptions);
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".BMP") {
            pictures_.push_back(entry.path().stem().string());
        }
    }
    std::sort(pictures_.begin(), pictures_.end());
}

SoakRun::~SoakRun() = default;

std::string SoakRun::extension() const {
    return path_.substr(path_.rfind('.'));
}

std::size_t SoakRun::pick(std::size_t count) {
    return count == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
}

float SoakRun::between(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random_);
}

SceneObject* SoakRun::anyRecord(Target* target) {
    const Reader& r = *document_->reader();
    Target t;
    switch (pick(4)) {
        case 0:
            t.kind = SceneObject::kEntity;
            t.position = pick(r.entities.size());
            break;
        case 1:
            t.kind = SceneObject::kSubEntity;
            t.position = pick(r.subEntities.size());
            break;
        case 2:
            t.kind = SceneObject::kFace;
            t.position = pick(r.faces.size());
            break;
        default:
            t.kind = SceneObject::kVertex;
            t.position = pick(r.vertices.size());
            break;
    }
    if (target) {
        *target = t;
    }
    return recordAt(r, t);
}

SoakRun::Kind SoakRun::randomKind() {
    // Per thousand steps.
    static constexpr std::pair<std::size_t, Kind> kBands[] = {
        {110, kSelect},     {180, kDelete},  {220, kAddGroup}, {260, kAddSubEntity},
        {340, kNewFace},    {400, kSplit},   {450, kCopy},     {540, kPaste},
        {630, kApply},      {670, kWinding}, {720, kUndoRedo}, {760, kTextures},
        {820, kDrag},       {850, kScale},   {890, kRename},   {930, kDisplay},
        {940, kDisplayAll}, {970, kOptions}, {984, kCommit},   {992, kDiscard}};
    const std::size_t roll = pick(1000);
    for (const auto& [below, kind] : kBands) {
        if (roll < below) {
            return kind;
        }
    }
    return kSaveReload;
}

// The kinds of step a run with a reference makes: those whose edits an Op describes.
bool SoakRun::followed(Kind kind) const {
    switch (kind) {
        case kAddGroup:
        case kAddSubEntity:
        case kNewFace:
        case kSplit:
        case kCopy:
        case kPaste:
        case kApply:
        case kWinding:
        case kDiscard:
        case kSaveReload:
        // The commit in the middle and the one at the end are enough; each costs a few saves.
        case kCommit:
            return !reference_;
        default:
            return true;
    }
}

void SoakRun::fail(const std::string& what) {
    if (failure_.empty()) {
        failure_ = "seed " + std::to_string(options_.seed) + ", step " + std::to_string(step_) +
                   " (" + kindName(kind_) + "): " + what;
    }
}

SoakRun::State SoakRun::state(bool full) const {
    const Reader& r = *document_->reader();
    const SceneTree& tree = document_->tree();
    State s;
    if (full) {
        s.full = fingerprint(r, tree) * 31 + structurePrint(r);
        s.full += s.full == 0;
    }
    std::uint64_t h = 1469598103934665603ULL;
    for (std::size_t n : {r.entities.size(), r.subEntities.size(), r.faces.size(),
                          r.vertices.size(), r.bitmapNames.size(), tree.size()}) {
        h = (h ^ n) * 0x100000001B3ULL;
    }
    for (char c : tree.itemText(tree.selectedItem())) {
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    s.cheap = h;
    return s;
}

bool SoakRun::sameState(const State& expected, const State& now) const {
    return expected.cheap == now.cheap &&
           (!expected.full || !now.full || expected.full == now.full);
}

void SoakRun::checkScene(bool full, const char* what) {
    const Reader& r = *document_->reader();
    const SceneTree& tree = document_->tree();
    if (full) {
        ++fullChecks;
        const std::vector<std::string> problems = SceneInvariants::check(r, tree);
        if (!problems.empty()) {
            fail(std::string(what) + " breaks the scene: " + problems.front());
        }
        itemSlack_ = itemSlack(r, tree);
        return;
    }
    if (itemSlack(r, tree) != itemSlack_) {
        fail(std::string(what) + " leaves " + std::to_string(tree.size()) +
             " tree items for the records");
    }
    if (const SceneObject* selected = document_->selectedRecord();
        selected && !selected->selected) {
        fail(std::string(what) + " leaves the selection unmarked");
    }
    const UndoHistory& history = document_->history();
    if (document_->canUndo() != (history.position() > 0) ||
        document_->canRedo() != (history.position() < history.size())) {
        fail(std::string(what) + " leaves undo and redo out of step with the history");
    }
}

void SoakRun::checkPrompt() {
    const std::vector<std::string> problems = prompt_->takeProblems();
    if (!problems.empty()) {
        fail(problems.front());
    }
}

bool SoakRun::run() {
    if (!document_->load(path_)) {
        checkPrompt();
        fail("the model does not load");
        return false;
    }
    startFaces_ = document_->reader()->faces.size();
    faceLimit_ = 2 * startFaces_ + 800;
    full_ = true;
    start(path_);
    for (step_ = 1; step_ <= options_.steps && !failed(); ++step_) {
        full_ = step_ - lastFull_ >= options_.fullEvery;
        if (full_) {
            lastFull_ = step_;
        }
        if (step_ == options_.steps / 2) {
            kind_ = kCommit;
            ++tried[kCommit];
            commit();
        } else {
            step();
        }
        checkPrompt();
        if (options_.progress && step_ % options_.progressEvery == 0 && !failed()) {
            options_.progress(step_);
        }
    }
    --step_;
    if (failed()) {
        return false;
    }
    kind_ = kCommit;
    full_ = true;
    commit();
    checkPrompt();
    return !failed();
}

void SoakRun::start(const std::string& base) {
    base_ = readFile(base);
    baseReachable_ = true;
    checkScene(full_, "the start");
    if (reference_) {
        reference_->start(*document_);
    }
    before_.clear();
    after_.assign(1, state(full_));
}

void SoakRun::step() {
    // Deletions purged by commits shrink the model; once it has lost half its faces the user
    // opens the model again, so that the whole run works at the model's size.
    if (full_ && !reference_ && 2 * document_->reader()->faces.size() < startFaces_) {
        kind_ = kSaveReload;
        ++reopened;
        open(original_);
        return;
    }
    // Commits, discards and loads cost about as much as a full check, and come with one.
    do {
        kind_ = randomKind();
    } while ((!full_ && kind_ >= kCommit) || !followed(kind_));
    ++tried[kind_];
    switch (kind_) {
        case kUndoRedo:
            undoAndRedo();
            return;
        case kCommit:
            commit();
            return;
        case kDiscard:
            discard();
            return;
        case kSaveReload:
            saveReload();
            return;
        default:
            break;
    }
    const UndoHistory& history = document_->history();
    const State was = state(full_);
    const std::size_t position = history.position();
    const UndoStep* top = history.nextUndo();
    described_ = false;
    const bool reported = perform(kind_);
    checkScene(full_, "the edit");
    if (!failed() && described_ && !reference_->follow(edit_, reported, *document_)) {
        fail("the document differs from the reference copy");
    }
    if (failed() || kind_ == kSelect || kind_ == kCopy || kind_ == kOptions) {
        if (history.position() != position || history.nextUndo() != top) {
            fail("a step that is no edit changed the history");
        }
        return;
    }
    const State now = state(full_);
    // A new step on top of the history is the one sure sign of an edit: the budget may drop
    // the oldest steps as it is pushed.
    const bool stepped = history.nextUndo() != top;
    if (reported != stepped) {
        fail(std::string("the edit reports ") + (reported ? "a change" : "no change") +
             " but the history " + (stepped ? "has" : "has no") + " new step");
        return;
    }
    if (!stepped) {
        if (!sameState(was, now) || history.position() != position) {
            fail("a refused edit changed the scene");
        }
        return;
    }
    ++made[kind_];
    if (history.position() != history.size()) {
        fail("an edit leaves steps to redo");
        return;
    }
    before_.resize(position);
    before_.push_back(was);
    after_.resize(position + 1);
    after_.push_back(now);
    if (history.position() < position + 1) {
        // The budget dropped the oldest steps: the states of the positions they held go.
        const std::size_t dropped = position + 1 - history.position();
        before_.erase(before_.begin(), before_.begin() + static_cast<long>(dropped));
        after_.erase(after_.begin(), after_.begin() + static_cast<long>(dropped));
        baseReachable_ = false;
    }
}

// Now and then go back some steps, and forward some of them again.
void SoakRun::undoAndRedo() {
    const std::size_t back = 1 + pick(6);
    for (std::size_t k = 0; k < back && document_->canUndo() && !failed(); ++k) {
        undo();
    }
    const std::size_t forward = pick(2) ? back : pick(back);
    for (std::size_t k = 0; k < forward && document_->canRedo() && !failed(); ++k) {
        redo();
    }
}

void SoakRun::undo() {
    const std::size_t position = document_->history().position();
    document_->undo();
    ++undos;
    if (reference_) {
        reference_->undone();
    }
    checkScene(full_, "an undo");
    if (!sameState(before_[position - 1], state(full_))) {
        fail("undo to " + std::to_string(position - 1) + " does not bring the state back");
    }
}

void SoakRun::redo() {
    const std::size_t position = document_->history().position();
    document_->redo();
    ++redos;
    if (reference_) {
        reference_->redone();
    }
    checkScene(full_, "a redo");
    if (!sameState(after_[position + 1], state(full_))) {
        fail("redo to " + std::to_string(position + 1) + " does not bring the state back");
    }
}

// Undoing every step since the load or the last commit gives back that file and tree.
void SoakRun::undoEverything() {
    // On a large model only the end is checked in full: the file it saves.
    const bool full = std::exchange(full_, options_.fullEvery <= 1);
    while (document_->canUndo() && !failed()) {
        undo();
    }
    full_ = full;
    if (failed() || !baseReachable_) {
        return;
    }
    if (reference_ && !reference_->backAtStart(*document_)) {
        fail("undoing everything does not show the start again");
        return;
    }
    const std::string undone =
        (std::filesystem::path(path_).parent_path() / ("UNDONE" + extension())).string();
    if (!document_->save(undone)) {
        fail("the undone model cannot be saved");
    } else if (readFile(undone) != base_) {
        fail("undoing everything does not save the file back");
    }
}

// A commit; on a full step after undoing and redoing everything, and its file must load and
// save again unchanged.
void SoakRun::commit() {
    if (full_) {
        undoEverything();
        const bool full = std::exchange(full_, options_.fullEvery <= 1);
        while (document_->canRedo() && !failed()) {
            redo();
        }
        full_ = full;
        if (reference_ && !failed() && !reference_->savesTheSame(*document_)) {
            fail("redoing everything does not save what the reference saves");
        }
    }
    if (failed()) {
        return;
    }
    const int counter = document_->commitCounter();
    if (!document_->commit()) {
        fail("the commit failed");
        return;
    }
    ++made[kCommit];
    if (document_->canUndo() || document_->canRedo()) {
        fail("a commit leaves a history");
    }
    describe(Op::Commit);
    if (reference_ && !reference_->follow(edit_, true, *document_)) {
        fail("the commit differs from the reference copy's");
    }
    const std::string snapshot = (std::filesystem::path(path_).parent_path() /
                                  ("commit" + std::to_string(counter) + extension()))
                                     .string();
    if (full_) {
        checkFileRoundTrip(snapshot);
    }
    start(snapshot);
}

// Discard goes back to the last commit's file, or the model's own.
void SoakRun::discard() {
    const int counter = document_->commitCounter();
    const std::string expected = counter > 1
                                     ? (std::filesystem::path(path_).parent_path() /
                                        ("commit" + std::to_string(counter - 1) + extension()))
                                           .string()
                                     : document_->modelFile();
    if (!document_->discard()) {
        fail("the discard failed");
        return;
    }
    ++made[kDiscard];
    if (document_->commitCounter() != std::max(1, counter - 1) || document_->canUndo() ||
        document_->canRedo()) {
        fail("a discard leaves the counter at " + std::to_string(document_->commitCounter()) +
             " or a history");
    }
    start(expected);
}

// Saves under a new name in the model's folder and opens what was saved.
void SoakRun::saveReload() {
    const std::string saved = (std::filesystem::path(path_).parent_path() /
                               ("SOAK" + std::to_string(++saves_ % 3) + extension()))
                                  .string();
    const bool modified = document_->isModified();
    if (!document_->save(saved)) {
        fail("the save failed");
        return;
    }
    if (document_->isModified()) {
        fail(std::string("a save leaves the model modified") + (modified ? "" : " (it was not)"));
    }
    if (full_) {
        checkFileRoundTrip(saved);
    }
    if (failed()) {
        return;
    }
    if (open(saved)) {
        ++made[kSaveReload];
    }
}

// Opens a model file as the user does; whether it loaded.
bool SoakRun::open(const std::string& file) {
    // A display state written by an earlier commit of a model of that name is read with it.
    Reader::Options withoutImages;
    withoutImages.loadImages = false;
    Reader probe(nullptr, file, withoutImages);
    if (DisplayStateFile::load(probe, probe.displayStatePath())) {
        prompt_->expectMessage(
            "Reminder: Some display flags were turned off when the display state was last saved; "
            "these groups will not be displayed");
    }
    if (!document_->load(file)) {
        fail(file + " does not load");
        return false;
    }
    path_ = document_->modelFile();
    start(file);
    return true;
}

// What the run wrote loads into a fresh scene with the same records and bitmaps, and saves
// again byte for byte.
void SoakRun::checkFileRoundTrip(const std::string& file) {
    const std::string again =
        (std::filesystem::path(path_).parent_path() / ("AGAIN" + extension())).string();
    try {
        Reader::Options options;
        options.loadImages = false;
        Reader reloaded(nullptr, file, options);
        const Reader& r = *document_->reader();
        if (reloaded.entities.size() != r.entities.size() ||
            reloaded.faces.size() != r.faces.size() ||
            reloaded.vertices.size() != r.vertices.size() || bitmapsOf(reloaded) != bitmapsOf(r)) {
            fail(file + " does not hold the records of the model");
            return;
        }
        Writer(reloaded, again);
    } catch (const LoadError& error) {
        fail(file + " does not load again: " + error.what());
        return;
    } catch (const SaveError& error) {
        fail(file + " loaded does not save again: " + error.what());
        return;
    }
    if (readFile(again) != readFile(file)) {
        fail(file + " loaded and saved again differs");
    }
}

}  // namespace y4::test
