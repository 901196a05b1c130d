// The operations y4bench times, with the set-up each needs.
#include "BenchOperations.h"

#include <cstdlib>

#include "BaselineReader.h"
#include "FromCharsReader.h"
#include "document/RecoveryState.h"
#include "files/Writer.h"
#include "model/SelectionMarks.h"
#include "model/TreeListing.h"
#include "platform/FileProgress.h"
#include "platform/TraceLog.h"

namespace y4::bench {

namespace {

// Marks every other face and every tenth group deleted, as a user's big clean-up would.
void markHalf(Reader& r) {
    std::size_t k = 0;
    for (Face* f : r.faces) {
        if (k++ % 2 == 0) {
            r.markFace(f, 1);
        }
    }
    k = 0;
    for (Entity* e : r.entities) {
        if (k++ % 10 == 1) {
            r.markEntity(e, 1);
        }
    }
}

long long facesBelow(const Entity& e) {
    long long count = 0;
    for (const Entity* child : e.children) {
        count += facesBelow(*child);
    }
    for (const SubEntity* s : e.subEntities) {
        count += static_cast<long long>(s->faces.size());
    }
    return count;
}

// The group a paste copies: the smallest below the root of at least 10,000 faces, or the largest
// of a model without one.
Entity* groupToPaste(Reader& r) {
    Entity* group = nullptr;
    long long groupFaces = 0;
    Entity* largest = nullptr;
    long long largestFaces = -1;
    for (Entity* e : r.entities) {
        if (!e->parent) {
            continue;
        }
        const long long count = facesBelow(*e);
        if (count >= 10000 && (!group || count < groupFaces)) {
            group = e;
            groupFaces = count;
        }
        if (count > largestFaces) {
            largest = e;
            largestFaces = count;
        }
    }
    return group ? group : largest;
}

// A progress window that never cancels, as the editor passes one to every load: what the
// hook costs the load.
class CountingProgress : public FileProgress {
public:
    bool report(std::uint64_t, std::uint64_t) override {
        ++reports;
        return true;
    }
    long reports = 0;
};

constexpr int kSingleDeletes = 1000;

}  // namespace

const std::vector<Operation>& operations() {
    auto load = [](ChildState& s, const std::string& model) {
        s.reader = std::make_unique<Reader>(nullptr, ModelSource::chosen(model));
    };
    auto loadWithTree = [load](ChildState& s, const std::string& model) {
        load(s, model);
        s.tree = std::make_unique<SceneTree>();
        s.reader->m_pEntityTree = s.tree.get();
        TreeListing::buildTree(*s.tree, s.reader->root());
    };
    // The edits a user waits on go through ModelDocument, with its tree listed and the root
    // selected.
    auto loadDocument = [](ChildState& s, const std::string& model) {
        s.document = std::make_unique<ModelDocument>();
        if (!s.document->load(model)) {
            std::_Exit(1);
        }
        s.document->selectRecord(s.document->reader()->root());
    };
    // A document operation: `prepare` after the load, untimed, then `timed`.
    using DocumentStep = void (*)(ModelDocument&);
    auto documentWork = [loadDocument](DocumentStep prepare, DocumentStep timed) {
        return [loadDocument, prepare, timed](ChildState& s, const std::string& model,
                                              const std::string&) {
            return Work{[&s, model, loadDocument, prepare] {
                            loadDocument(s, model);
                            prepare(*s.document);
                        },
                        [&s, timed] { timed(*s.document); }};
        };
    };
    static const std::vector<Operation> list = {
        {"sscanf_read", "Y4P", true,
         [](ChildState&, const std::string& model, const std::string&) {
             return Work{[] {}, [model] { BaselineReader::read(model); }};
         }},
        {"sscanf_resave", "Y4P", true,
         [](ChildState&, const std::string& model, const std::string& folder) {
             return Work{[] {},
                         [model, folder] {
                             BaselineReader::readAndWrite(model, folder + "/baseline.out");
                         }};
         }},
        {"from_chars", "Y4P", true,
         [](ChildState&, const std::string& model, const std::string&) {
             return Work{[] {}, [model] { FromCharsReader::read(model); }};
         }},
        {"load", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[] {}, [&s, model, load] { load(s, model); }};
         }},
        {"load_progress", "Y4P", false,
         [](ChildState& s, const std::string& model, const std::string&) {
             return Work{[] {},
                         [&s, model] {
                             static CountingProgress progress;
                             Reader::Options options;
                             options.progress = &progress;
                             s.reader = std::make_unique<Reader>(
                                 nullptr, ModelSource::chosen(model), options);
                         }};
         }},
        {"load_y4d", "Y4D", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[] {}, [&s, model, load] { load(s, model); }};
         }},
        {"load_y4t", "Y4T", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[] {}, [&s, model, load] { load(s, model); }};
         }},
        {"save", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string& folder) {
             return Work{[&s, model, load] { load(s, model); },
                         [&s, folder] { Writer w(*s.reader, folder + "/SAVED.Y4P"); }};
         }},
        // What an autosave did on the main thread before the snapshot: the text laid out in
        // place, the marks taken.
        {"autosave_copy", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, load] { load(s, model); },
                         [&s] {
                             const auto text = Writer::layOut(*s.reader);
                             const std::string marks = RecoveryState::capture(*s.reader);
                             if (text.empty() && marks.empty()) {
                                 std::abort();
                             }
                         }};
         }},
        // What an autosave start does on the main thread: the snapshot and the marks taken; the
        // text is laid out and written on the autosave thread.
        {"autosave_start", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, load] { load(s, model); },
                         [&s] {
                             const SceneSnapshot snapshot = Writer::snapshot(*s.reader);
                             const std::string marks = RecoveryState::capture(*s.reader);
                             if (snapshot.entities.empty() && marks.empty()) {
                                 std::abort();
                             }
                         }};
         }},
        {"resave", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string& folder) {
             return Work{[] {},
                         [&s, model, folder, load] {
                             load(s, model);
                             Writer w(*s.reader, folder + "/RESAVED.Y4P");
                         }};
         }},
        {"world", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, load] { load(s, model); },
                         [&s] { s.reader->computeWorldPositions(); }};
         }},
        {"tree", "Y4P", false,
         [load](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, load] {
                             load(s, model);
                             s.tree = std::make_unique<SceneTree>();
                         },
                         [&s] { TreeListing::buildTree(*s.tree, s.reader->root()); }};
         }},
        {"select", "Y4P", false,
         [loadWithTree](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, loadWithTree] { loadWithTree(s, model); },
                         [&s] { SelectionMarks::apply(s.reader->root(), 1); }};
         }},
        {"select_face", "Y4P", false,
         [loadWithTree](ChildState& s, const std::string& model, const std::string&) {
             return Work{
                 [&s, model, loadWithTree] { loadWithTree(s, model); },
                 [&s] { SelectionMarks::apply(s.reader->faces[s.reader->faces.size() / 2], 1); }};
         }},
        {"mark", "Y4P", false,
         [loadWithTree](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, loadWithTree] {
                             loadWithTree(s, model);
                             s.tree->addObserver(&s.view);
                         },
                         [&s] { s.reader->markEntity(s.reader->root(), 1); }};
         }},
        {"delete_face", "Y4P", false,
         [loadWithTree](ChildState& s, const std::string& model, const std::string&) {
             return Work{[&s, model, loadWithTree] { loadWithTree(s, model); },
                         [&s] {
                             // Faces spread over the model, each removed on its own.
                             Reader& r = *s.reader;
                             std::vector<Face*> victims;
                             const std::size_t step =
                                 std::max<std::size_t>(1, r.faces.size() / kSingleDeletes);
                             std::size_t k = 0;
                             for (Face* f : r.faces) {
                                 if (k++ % step == 0 && victims.size() < kSingleDeletes) {
                                     victims.push_back(f);
                                 }
                             }
                             for (Face* f : victims) {
                                 r.deleteObject(f);
                             }
                         },
                         kSingleDeletes};
         }},
        {"purge", "Y4P", false,
         [loadWithTree](ChildState& s, const std::string& model, const std::string& folder) {
             return Work{[&s, model, folder, loadWithTree] {
                             loadWithTree(s, model);
                             markHalf(*s.reader);
                             TraceLog::global().open(folder + "/Y4Editor.log");
                         },
                         [&s] { s.reader->finalDelete(); }};
         }},
        // The world positions of the document's scene, which a drag step must compute again.
        {"doc_world", "Y4P", false,
         documentWork([](ModelDocument&) {},
                      [](ModelDocument& d) { d.reader()->computeWorldPositions(); })},
        {"drag_step", "Y4P", false,
         documentWork([](ModelDocument& d) { d.beginDrag(); },
                      [](ModelDocument& d) { d.transformSelection(0.25f, 0, 0, 1); })},
        {"drag_undo", "Y4P", false,
         documentWork(
             [](ModelDocument& d) {
                 d.beginDrag();
                 d.transformSelection(0.25f, 0, 0, 1);
                 d.endDrag();
             },
             [](ModelDocument& d) { d.undo(); })},
        {"hide_all", "Y4P", false,
         documentWork([](ModelDocument&) {}, [](ModelDocument& d) { d.setAllDisplayed(false); })},
        {"show_all", "Y4P", false,
         documentWork([](ModelDocument& d) { d.setAllDisplayed(false); },
                      [](ModelDocument& d) { d.setAllDisplayed(true); })},
        // The structural edits a user waits on: a group pasted beside itself, its vertices
        // shared within each sub-entity, and one Split Face.
        {"paste_group", "Y4P", false,
         documentWork(
             [](ModelDocument& d) {
                 Entity* group = groupToPaste(*d.reader());
                 if (!group || !d.copy(group) || !d.canPaste(group->parent)) {
                     std::_Exit(1);
                 }
                 d.selectRecord(group->parent);
             },
             [](ModelDocument& d) {
                 if (!d.paste(d.selectedRecord())) {
                     std::_Exit(1);
                 }
             })},
        {"split_face", "Y4P", false,
         documentWork([](ModelDocument&) {},
                      [](ModelDocument& d) {
                          Reader& r = *d.reader();
                          if (!d.splitFace(r.faces[r.faces.size() / 2])) {
                              std::_Exit(1);
                          }
                      })},
    };
    return list;
}

const Operation* findOperation(const std::string& name) {
    for (const Operation& op : operations()) {
        if (name == op.name) {
            return &op;
        }
    }
    return nullptr;
}

}  // namespace y4::bench
