// The soak's random driver and its checks.
#include "SoakRun.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "EditRules.h"
#include "SceneInvariants.h"
#include "ScenePrint.h"
#include "ScriptedPrompt.h"
#include "files/DisplayStateFile.h"
#include "files/LoadError.h"
#include "files/Writer.h"

namespace y4::test {

namespace {

constexpr const char* kDeletedData =
    "Warning: Copy source contained deleted data; deleted data was not copied";
constexpr const char* kDeletedFaces =
    "Warning: Copy source contained deleted faces; deleted data will not be copied";

const std::string kNames[] = {"Alpha",     "Beta gamma",         "Left: wing",
                              "Tab\there", std::string(70, 'N'), "Zelvan's Terrain"};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

const char* pasteWarning(const SceneObject* r);

// The first warning of the records of `list`, in its order.
template <class List>
const char* firstWarning(const List& list) {
    for (const SceneObject* record : list) {
        if (const char* warning = pasteWarning(record)) {
            return warning;
        }
    }
    return nullptr;
}

// The paste's one warning: for the first marked record in the order a copy meets them (an
// entity's child entities before its sub-entities, a sub-entity's vertices before its faces, a
// face before its corners), or null when nothing below `r` is marked.
const char* pasteWarning(const SceneObject* r) {
    if (r->deleted) {
        return r->kind() == SceneObject::kFace ? kDeletedFaces : kDeletedData;
    }
    switch (r->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(r);
            const char* warning = firstWarning(e->children);
            return warning ? warning : firstWarning(e->subEntities);
        }
        case SceneObject::kSubEntity: {
            const auto* s = static_cast<const SubEntity*>(r);
            const char* warning = firstWarning(s->vertices);
            return warning ? warning : firstWarning(s->faces);
        }
        case SceneObject::kFace: {
            const auto* f = static_cast<const Face*>(r);
            for (const Vertex* v : {f->vertexA, f->vertexB, f->vertexC}) {
                if (v && v->deleted) {
                    return kDeletedData;
                }
            }
            return nullptr;
        }
        default:
            return nullptr;
    }
}

// The faces a copy of `r` could make.
std::size_t facesBelow(const SceneObject* r) {
    switch (r->kind()) {
        case SceneObject::kEntity: {
            const auto* e = static_cast<const Entity*>(r);
            std::size_t count = 0;
            for (const Entity* child : e->children) {
                count += facesBelow(child);
            }
            for (const SubEntity* s : e->subEntities) {
                count += s->faces.size();
            }
            return count;
        }
        case SceneObject::kSubEntity:
            return static_cast<const SubEntity*>(r)->faces.size();
        default:
            return 1;
    }
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

void SoakRun::describe(Op::Kind kind, const Target& target) {
    if (!reference_) {
        return;
    }
    edit_ = Op{};
    edit_.kind = kind;
    edit_.target = target;
    edit_.normals = document_->reader()->editNormals != 0;
    described_ = true;
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

// Makes one edit through the document, announcing the messages it must show; whether the
// document reports a change (for the steps that are no edits: whether they were offered).
bool SoakRun::perform(Kind kind) {
    ModelDocument& d = *document_;
    const Reader& r = *d.reader();
    switch (kind) {
        case kSelect: {
            Target target;
            SceneObject* record = pick(12) == 0 ? nullptr : anyRecord(&target);
            if (record && record->kind() == SceneObject::kVertex) {
                const std::vector<TreeItem> items =
                    static_cast<Vertex*>(record)->treeItems(d.tree());
                target.listing = items.empty() ? 0 : pick(items.size());
                d.select(items.empty() ? kNoItem : items[target.listing]);
            } else {
                d.selectRecord(record);
            }
            describe(Op::Select, target);
            return false;
        }
        case kDelete: {
            Target target;
            SceneObject* record = anyRecord(&target);
            describe(Op::Delete, target);
            if (record == r.root()) {
                prompt_->expectMessage("Error: Cannot remove root entity.  Operation aborted");
            } else if (isTerrainRecord(r, record)) {
                prompt_->expectMessage("Error: Cannot remove this subEntity.  Operation aborted");
            }
            const bool marking = record && !record->deleted;
            const bool done = d.toggleDeleted(record);
            // A marked record is no longer selected; an unmarked one is selected again.
            if (done && d.selectedRecord() != (marking ? nullptr : record)) {
                fail(marking ? "a deleted record stays selected"
                             : "an undeleted record is not selected");
            }
            return done;
        }
        case kAddGroup: {
            auto* parent = any(r.entities);
            const bool offered = d.canAddGroup(parent);
            const bool added = d.addGroup(parent) != nullptr;
            if (added != offered) {
                fail("Add Group differs from its offer");
            }
            return added;
        }
        case kAddSubEntity: {
            auto* parent = any(r.entities);
            const bool offered = d.canAddSubEntity(parent);
            const bool added = d.addSubEntity(parent) != nullptr;
            if (added != offered) {
                fail("Add SubEntity differs from its offer");
            }
            return added;
        }
        case kNewFace:
            return newFace();
        case kSplit: {
            auto* face = any(r.faces);
            const bool offered = d.canSplitFace(face);
            const Face* half = face && r.faces.size() < faceLimit_ ? d.splitFace(face) : nullptr;
            if (half && !offered) {
                fail("Split Face made what it does not offer");
            }
            return half != nullptr;
        }
        case kCopy: {
            SceneObject* record = anyRecord();
            if (d.copy(record) != d.canCopy(record)) {
                fail("Copy differs from its offer");
            }
            return false;
        }
        case kPaste:
            return paste();
        case kApply:
            return apply();
        case kWinding:
            return d.changeWinding(any(r.faces));
        case kTextures:
            return textures();
        case kDrag:
            return drag();
        case kScale: {
            describe(Op::Scale);
            float factors[3];
            for (float& factor : factors) {
                factor = between(0.5f, 2.0f);
            }
            std::copy(std::begin(factors), std::end(factors), edit_.factors);
            return d.scaleSelection(factors[0], factors[1], factors[2]);
        }
        case kRename: {
            Target target;
            SceneObject* record = pick(20) == 0 ? nullptr : anyRecord(&target);
            const std::string& name = kNames[pick(std::size(kNames))];
            describe(Op::Rename, target);
            edit_.text = name;
            if (record && !isTerrainRecord(r, record) && badGroupName(record, name)) {
                prompt_->expectMessage(
                    "Error: A group name cannot contain a colon or a control character");
            }
            return d.rename(record, name);
        }
        case kDisplay: {
            Target target;
            SceneObject* record = pick(20) == 0 ? nullptr : anyRecord(&target);
            const bool on = pick(3) == 0;
            describe(Op::Display, target);
            edit_.on = on;
            return d.setDisplayed(record, on);
        }
        case kDisplayAll: {
            const UndoStep* top = d.history().nextUndo();
            const bool on = pick(2) == 0;
            describe(Op::DisplayAll);
            edit_.on = on;
            d.setAllDisplayed(on);
            return d.history().nextUndo() != top;
        }
        case kOptions:
            return options();
        default:
            return false;
    }
}

bool SoakRun::newFace() {
    const Reader& r = *document_->reader();
    SubEntity* mesh = any(r.subEntities);
    if (!mesh || r.faces.size() >= faceLimit_) {
        return false;
    }
    std::array<FaceCorner, 3> corners;
    int number = document_->nextVertexNumber(mesh);
    bool unset = false;
    for (FaceCorner& corner : corners) {
        const std::size_t roll = pick(16);
        if (roll == 0) {
            unset = true;
        } else if (roll < 10 && !mesh->vertices.empty()) {
            corner = FaceCorner::existing(any(mesh->vertices));
        } else {
            VertexValues values;
            values.X = between(-5, 5);
            values.Y = between(-5, 5);
            values.textureU = between(0, 1);
            values.normalZ = 1;
            corner = FaceCorner::created(values, number++);
        }
    }
    const auto same = [&](int a, int b) {
        return corners[a].source == FaceCorner::kExisting && corners[a].vertex == corners[b].vertex;
    };
    if (unset) {
        prompt_->expectMessage(
            "Error: Need to specify all vertices.  Click Close to cancel without creating a new "
            "face");
    } else if (same(0, 1) || same(0, 2) || same(1, 2)) {
        prompt_->expectMessage(
            "Error: The same vertex is being used twice; all three vertices must be different.");
    }
    Face* face = document_->addFace(mesh, corners);
    if (face && document_->selectedRecord() != face) {
        fail("a new face is not selected");
    }
    return face != nullptr;
}

bool SoakRun::paste() {
    ModelDocument& d = *document_;
    const SceneObject* source = d.copySource();
    if (!source) {
        return false;
    }
    // The selection, or a record of the kind the source goes into, or any record.
    SceneObject* destination = nullptr;
    const Reader& r = *d.reader();
    switch (pick(4)) {
        case 0:
            destination = d.selectedRecord();
            break;
        case 1:
            destination = anyRecord();
            break;
        default:
            destination = source->kind() == SceneObject::kFace
                              ? static_cast<SceneObject*>(any(r.subEntities))
                              : any(r.entities);
            break;
    }
    // The tree offers Paste only where it may go. Copies that would outgrow the run are left
    // out.
    if (!d.canPaste(destination) || r.faces.size() + facesBelow(source) > faceLimit_) {
        return false;
    }
    // The table's refusals that the tree's offer leaves: the record itself, and an entity into
    // one further down.
    const char* refusal = nullptr;
    if (source == destination) {
        refusal = "Error: Cannot paste an object into itself";
    } else if (source->kind() == SceneObject::kEntity &&
               static_cast<const Entity*>(source)->level <
                   static_cast<const Entity*>(destination)->level) {
        refusal = "Cannot copy an entity into a subordinate entity";
    }
    if (const char* warning = refusal ? refusal : pasteWarning(source)) {
        prompt_->expectMessage(warning);
    }
    // A marked source leaves nothing to paste, and so does a face with a marked corner.
    bool nothing = source->deleted;
    if (source->kind() == SceneObject::kFace) {
        const auto* face = static_cast<const Face*>(source);
        for (const Vertex* v : {face->vertexA, face->vertexB, face->vertexC}) {
            nothing = nothing || !v || v->deleted;
        }
    }
    const bool pasted = d.paste(destination);
    if (pasted != (!refusal && !nothing)) {
        fail(pasted ? "a paste was made that must be refused" : "a paste was refused");
    }
    return pasted;
}

bool SoakRun::apply() {
    ModelDocument& d = *document_;
    SceneObject* selected = d.selectedRecord();
    if (!selected) {
        return false;
    }
    AttributeValues values = d.attributesOf(selected);
    if (pick(3) == 0) {
        values.groupName = kNames[pick(std::size(kNames))];
    }
    if (pick(3) == 0) {
        values.position[pick(3)] += between(-2, 2);
        values.rotation[pick(3)] += between(-1, 1);
    }
    if (pick(4) == 0) {
        values.subEntityName = kNames[pick(std::size(kNames))];
        values.faceName = kNames[pick(std::size(kNames))];
    }
    if (pick(4) == 0) {
        values.bitmapIndex = static_cast<int>(pick(d.reader()->bitmapNames.size() + 1)) - 1;
    }
    for (VertexValues& row : values.rows) {
        if (pick(3) == 0) {
            row.Y += between(-1, 1);
            row.textureV = between(0, 1);
        }
    }
    const Entity* entity = nullptr;
    const Face* face = nullptr;
    switch (selected->kind()) {
        case SceneObject::kEntity:
            entity = static_cast<Entity*>(selected);
            break;
        case SceneObject::kSubEntity:
            entity = static_cast<SubEntity*>(selected)->parent;
            break;
        case SceneObject::kFace:
            face = static_cast<Face*>(selected);
            entity = face->parent->parent;
            break;
        default:
            entity = static_cast<Vertex*>(selected)->subEntity->parent;
            break;
    }
    bool duplicate = false;
    if (face) {
        for (Vertex*& chosen : values.chosen) {
            if (pick(4) == 0) {
                chosen = any(face->parent->vertices);
            }
        }
        const Vertex* own[3] = {face->vertexA, face->vertexB, face->vertexC};
        for (std::size_t k = 0; k < 3; ++k) {
            for (std::size_t j = 0; j < 3 && values.chosen[k]; ++j) {
                duplicate |=
                    j != k && (values.chosen[k] == own[j] || values.chosen[k] == values.chosen[j]);
            }
        }
    }
    const std::string cut = values.groupName.substr(0, SceneObject::kMaxNameLength);
    if (duplicate) {
        prompt_->expectMessage(
            "Error: Duplicate vertices; all three vertices in a face must be different");
    } else if (cut != entity->name() && badGroupName(entity, cut)) {
        prompt_->expectMessage("Error: A group name cannot contain a colon or a control character");
    }
    const bool applied = d.applyAttributes(values);
    if (applied) {
        // What was applied is what the dialog shows again, and applying it again is no step.
        const std::size_t steps = d.history().size();
        if (d.applyAttributes(d.attributesOf(selected)) || d.history().size() != steps) {
            fail("applying what the dialog shows after an Apply is a step");
        }
    }
    return applied;
}

// An edit of the bitmap list, at any position and one past the end: a picture beside the model
// added or named, or now and then a name without one, which the document refuses.
bool SoakRun::textures() {
    ModelDocument& d = *document_;
    const std::size_t count = d.reader()->bitmapNames.size();
    const int position = static_cast<int>(pick(count + 1));
    const bool unreadable = pictures_.empty() || pick(5) == 0;
    const std::string name = unreadable ? "NOSUCH" : pictures_[pick(pictures_.size())];
    const auto expectRefusal = [&] {
        const std::string folder = std::filesystem::path(path_).parent_path().string();
        prompt_->expectMessage("Failed to open DIB file " + folder + "/NOSUCH.BMP.\n");
        prompt_->expectMessage(extension() == ".Y4P"
                                   ? "Error: Could not open required texture; aborting"
                                   : "Error: Could not read required texture; aborting");
    };
    bool offered = true;
    bool done = false;
    const std::size_t choice = pick(4);
    static constexpr Op::Kind kEdits[] = {Op::AddBitmap, Op::RemoveBitmap, Op::MoveBitmap,
                                          Op::RenameBitmap};
    describe(kEdits[choice]);
    edit_.position = position;
    edit_.text = name;
    switch (choice) {
        case 0:
            if (unreadable) {
                expectRefusal();
            }
            done = d.addBitmap(name);
            offered = !unreadable;
            break;
        case 1:
            offered = d.canRemoveBitmap(position);
            done = d.removeBitmap(position);
            break;
        case 2: {
            const int offset = pick(2) ? 1 : -1;
            edit_.offset = offset;
            offered = d.canMoveBitmap(position, offset);
            done = d.moveBitmap(position, offset);
            break;
        }
        default:
            offered = d.canRenameBitmap(position) &&
                      d.reader()->bitmapNames[static_cast<std::size_t>(position)] != name;
            if (offered && unreadable) {
                expectRefusal();
            }
            offered = offered && !unreadable;
            done = d.renameBitmap(position, name);
            break;
    }
    if (done != offered) {
        fail(done ? "a texture edit was made that must be refused" : "a texture edit was refused");
    }
    return done;
}

// A drag of a few mouse steps on the selection, one undo step; whether it made one.
bool SoakRun::drag() {
    ModelDocument& d = *document_;
    const int kind = static_cast<int>(1 + pick(4));
    const float range[] = {0, 2, 45, 1.5f, 0.3f};
    const UndoStep* top = d.history().nextUndo();
    describe(Op::Drag);
    edit_.dragKind = kind;
    d.beginDrag();
    for (std::size_t k = 1 + pick(4); k > 0; --k) {
        float deltas[3];
        for (float& delta : deltas) {
            const float value = between(-range[kind], range[kind]);
            delta = pick(5) == 0 ? 0.0f : kind == 3 ? std::abs(value) : value;
        }
        edit_.deltas.insert(edit_.deltas.end(), std::begin(deltas), std::end(deltas));
        d.transformSelection(deltas[0], deltas[1], deltas[2], kind);
    }
    d.endDrag();
    return d.history().nextUndo() != top;
}

// A drawing option, normal editing or Deselect: none of them an edit.
bool SoakRun::options() {
    ModelDocument& d = *document_;
    const bool on = pick(2) == 0;
    switch (pick(6)) {
        case 0:
            d.setDrawMode(static_cast<int>(1 + pick(4)));
            break;
        case 1:
            d.setTexturing(on);
            break;
        case 2:
            d.setShowVertices(on);
            break;
        case 3:
            d.setShowNormals(on);
            break;
        case 4:
            describe(Op::EditNormals);
            edit_.on = on;
            d.setEditNormals(on);
            break;
        default:
            describe(Op::Select);
            d.deselect();
            if (d.selectedRecord() || d.copySource()) {
                fail("Deselect leaves a selection or a copy");
            }
            break;
    }
    return false;
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
