// Line parsing shared by the model formats.
#include "ModelParser.h"

#include <algorithm>
#include <span>

#include "ImageCache.h"
#include "LoadError.h"
#include "Reader.h"
#include "RecordSink.h"
#include "SplitParse.h"
#include "model/CharacterClass.h"

namespace y4 {

namespace {
std::string_view skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}
}  // namespace

int ModelParser::readLabelled(std::string_view what) {
    std::string_view line = skipBlanks(lines_.next(what));
    std::size_t label = 0;
    while (label < line.size() && !isBlank(line[label])) {
        ++label;
    }
    NumberScanner scan(line.substr(label));
    int value = 0;
    if (label == 0 || !scan.readInt(value)) {
        lines_.fail(what);
    }
    return value;
}

int ModelParser::readCount(std::string_view what) {
    const int count = readLabelled(what);
    if (count < 0) {
        lines_.fail(std::string(what) + " of 0 or more");
    }
    return count;
}

void ModelParser::readHeaderCounts() {
    Reader& r = reader_;
    r.numVertices = readCount("the line \"NumVertices: <count>\"");
    r.numFaces = readCount("the line \"NumFaces: <count>\"");
    r.numBitmaps = readCount("the line \"NumBitmaps: <count>\"");
    r.numEntities = readCount("the line \"NumEntities: <count>\"");
}

void ModelParser::readBitmapLines(int count, const char* failure) {
    static constexpr std::string_view kWhat = "a line \"Bitmap[n]: <name>\"";
    for (int b = 0; b < count; ++b) {
        std::string name(textAfterColon(lines_.next(kWhat), kWhat));
        const std::string file = reader_.besideModel(name + ".BMP");
        addBitmap(std::move(name), file, failure);
    }
}

template <class Sink>
Vertex* ModelParser::addVertex(Sink& sink, SubEntity* owner, int index, const float* numbers,
                               int normalAt, int uvAt) {
    auto* v = sink.template create<Vertex>(nullptr, index);
    sink.enlist(v);
    if (owner) {
        owner->vertices.push_back(v);
        v->subEntity = owner;
        ++owner->parent->numVertices;
    }
    // The files hold positions and normals with the other sign.
    v->X = -numbers[0];
    v->Y = -numbers[1];
    v->Z = -numbers[2];
    v->normalX = -numbers[normalAt];
    v->normalY = -numbers[normalAt + 1];
    v->normalZ = -numbers[normalAt + 2];
    v->textureU = numbers[uvAt];
    v->textureV = numbers[uvAt + 1];
    const float position[3] = {v->X, v->Y, v->Z};
    if (!boxAny_) {
        box_ = {position[0], position[1], position[2], position[0], position[1], position[2]};
        boxAny_ = true;
    } else {
        for (int i = 0; i < 3; ++i) {
            box_[i] = position[i] < box_[i] ? position[i] : box_[i];
            box_[3 + i] = position[i] > box_[3 + i] ? position[i] : box_[3 + i];
        }
    }
    return v;
}

void ModelParser::closeBox(SubEntity* sub) {
    boxes_.push_back({sub, box_, boxAny_});
    boxAny_ = false;
}

int ModelParser::takeOver(SplitParse& split, ModelParser& back, int needed,
                          const std::function<std::size_t(SceneObject*, int)>& adopt) {
    const std::vector<SceneObject*> blocks =
        split.takeOver(reader_, static_cast<std::size_t>(needed));
    if (blocks.empty()) {
        return 0;
    }
    reader_.parseThreads = 2;
    std::size_t subEntities = 0;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        subEntities += adopt(blocks[k], static_cast<int>(k));
    }
    boxes_.insert(boxes_.end(), back.boxes_.begin(),
                  back.boxes_.begin() + static_cast<std::ptrdiff_t>(subEntities));
    // The line numbers `back` counted start at the first block.
    const SplitParse::BlockEnd& end = split.ends[blocks.size() - 1];
    lines_.restartAt(end.offset, lines_.lineNumber() + end.lines);
    return static_cast<int>(blocks.size());
}

void ModelParser::checkCorners(const FaceLine& line, int vertexCount, std::string_view owner) {
    for (int c : line.corner) {
        if (c < 0 || c >= vertexCount) {
            lines_.fail("face corners between 0 and " + std::to_string(vertexCount - 1) +
                        ", the vertices of this " + std::string(owner));
        }
    }
}

template <class Sink>
void ModelParser::addFaces(Sink& sink, SubEntity* sub, const std::vector<FaceLine>& faceLines,
                           int bitmapIndex) {
    sub->faces.useStorage(sink.template listSlice<Face>(faceLines.size()), faceLines.size());
    for (const FaceLine& line : faceLines) {
        auto* f = sink.template create<Face>(sub, line.index);
        sub->faces.push_back(f);
        sink.enlist(f);
        f->indexA = line.corner[0];
        f->indexB = line.corner[1];
        f->indexC = line.corner[2];
        f->vertexA = sub->vertices[static_cast<std::size_t>(f->indexA)];
        f->vertexB = sub->vertices[static_cast<std::size_t>(f->indexB)];
        f->vertexC = sub->vertices[static_cast<std::size_t>(f->indexC)];
        f->bitmapIndex = bitmapIndex;
        ++sub->parent->numFaces;
    }
    linkCorners(sink, sub);
}

template <class Sink>
void ModelParser::linkCorners(Sink& sink, SubEntity* sub) {
    // A face lists each of its corners once, however often it names it.
    uses_.assign(sub->vertices.size(), 0);
    std::size_t total = 0;
    for (const Face* f : sub->faces) {
        const int a = f->indexA, b = f->indexB, c = f->indexC;
        ++uses_[static_cast<std::size_t>(a)];
        uses_[static_cast<std::size_t>(b)] += b != a ? 1 : 0;
        uses_[static_cast<std::size_t>(c)] += c != a && c != b ? 1 : 0;
        total += 1 + (b != a ? 1 : 0) + (c != a && c != b ? 1 : 0);
    }
    std::int32_t* slice = sink.adjacencySlice(total);
    std::size_t k = 0;
    for (Vertex* v : sub->vertices) {
        v->faces.useSlice(slice);
        slice += uses_[k++];
    }
    for (Face* f : sub->faces) {
        for (Vertex* corner : {f->vertexA, f->vertexB, f->vertexC}) {
            // A face meets its corners one after another, so a repeat can only be the last.
            if (corner->faces.empty() || corner->faces.back() != f) {
                corner->faces.appendInSlice(f);
            }
        }
    }
}

std::string_view ModelParser::textAfterColon(std::string_view line, std::string_view what) const {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        lines_.fail(what);
    }
    return skipBlanks(line.substr(colon + 1));
}

int ModelParser::bracketIndex(std::string_view line, std::string_view& rest,
                              std::string_view what) const {
    const std::size_t colon = line.find(':');
    const std::size_t open = line.substr(0, colon).find('[');
    int index = 0;
    if (colon == std::string_view::npos || open == std::string_view::npos) {
        lines_.fail(what);
    }
    // The text between "[" and the character before the colon, which is the "]".
    // The "]" ends the number, so the scanner may read ahead to the end of what was read.
    NumberScanner scan(line.substr(open + 1, colon > open + 1 ? colon - open - 2 : 0),
                       lines_.readableEnd());
    if (!scan.readInt(index)) {
        lines_.fail(what);
    }
    rest = line.substr(colon + 1);
    return index;
}

void ModelParser::readFloats(NumberScanner& scan, float* out, int count, std::string_view what,
                             int width, int precision) const {
    if (!scan.readFloats(out, count, width, precision)) {
        lines_.fail(what);
    }
}

void ModelParser::readInts(NumberScanner& scan, int* out, int count, std::string_view what,
                           int width) const {
    if (!scan.readInts(out, count, width)) {
        lines_.fail(what);
    }
}

template <class Sink>
Entity* ModelParser::readEntityLine(Sink& sink, int position, EntityColumns& columns) {
    static constexpr std::string_view kWhat =
        "an entity line: \"Entity[n]: name:\" and 7 decimal numbers and 11 integers";
    const std::string_view line = lines_.next(kWhat);
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) {
        lines_.fail(kWhat);
    }
    NumberScanner scan(line.substr(second + 1), lines_.readableEnd());
    readFloats(scan, columns.f, 7, kWhat, 12, 6);
    readInts(scan, columns.i, 11, kWhat, 6);

    auto* e = sink.template create<Entity>(nullptr, position);
    sink.beginBlock(e);
    sink.enlist(e);
    entityLines_.push_back(lines_.lineNumber());
    e->setName(skipBlanks(line.substr(first + 1, second - first - 1)));
    e->positionX = -columns.f[0];
    e->positionY = -columns.f[1];
    e->positionZ = -columns.f[2];
    e->rotateX = columns.f[4];
    e->rotateY = columns.f[5];
    e->rotateZ = columns.f[6];
    e->entityID = columns.i[0];
    e->auxB = columns.i[9];
    return e;
}

void ModelParser::linkParents() {
    const std::span<Entity*> entities = reader_.entities.span();
    const auto count = static_cast<int>(entities.size());
    auto parentOf = [&](const Entity* e) -> Entity* {
        const int p = e->parentEntityID;
        // Entities are made in file order, so an entity's index is its position.
        return p >= 0 && p < count ? entities[static_cast<std::size_t>(p)] : nullptr;
    };
    auto refuse = [&](int position, std::string_view what) {
        throw LoadError("Error: " + lines_.file() + ", line " +
                        std::to_string(entityLines_[static_cast<std::size_t>(position)]) +
                        ": expected " + std::string(what));
    };
    for (Entity* e : entities) {
        if (e->parentEntityID != -1 && parentOf(e) == e) {
            refuse(e->index, "a parent entity other than the entity itself");
        }
        e->parent = e->parentEntityID == -1 ? nullptr : parentOf(e);
        if (e->parent) {
            e->parent->children.push_back(e);
        }
    }
    // Levels from the top down; a walk up that meets an entity of its own walk is a cycle.
    std::vector<int> level(entities.size(), -1);
    std::vector<int> walkOf(entities.size(), -1);
    std::vector<Entity*> walk;
    for (int start = 0; start < count; ++start) {
        walk.clear();
        Entity* e = entities[static_cast<std::size_t>(start)];
        while (e && level[static_cast<std::size_t>(e->index)] < 0) {
            if (walkOf[static_cast<std::size_t>(e->index)] == start) {
                refuse(e->index, "a parent entity that is not one of the entity's descendants");
            }
            walkOf[static_cast<std::size_t>(e->index)] = start;
            walk.push_back(e);
            e = e->parent;
        }
        int next = e ? level[static_cast<std::size_t>(e->index)] + 1 : 0;
        for (auto it = walk.rbegin(); it != walk.rend(); ++it, ++next) {
            if (next > Scene::kMaxLevel) {
                refuse((*it)->index, "a hierarchy of at most 256 levels");
            }
            level[static_cast<std::size_t>((*it)->index)] = next;
            (*it)->level = next;
        }
    }
}

void ModelParser::addBitmap(std::string name, const std::string& textureFile, const char* failure) {
    reader_.bitmapNames.push_back(std::move(name));
    std::shared_ptr<const RGBImage> image;
    if (images_) {
        image = images_->load(textureFile);
        if (!image && images_->overLimit()) {
            throw LoadError(reader_.imageLimitMessage() + "; aborting");
        }
        if (!image) {
            throw LoadError(failure);
        }
    }
    reader_.textures.images.push_back(std::move(image));
}

std::size_t ModelParser::reservable(int count, std::size_t shortestLine) const {
    return std::min(static_cast<std::size_t>(count), lines_.bytesLeft() / shortestLine + 1);
}

template Vertex* ModelParser::addVertex(SceneSink&, SubEntity*, int, const float*, int, int);
template Vertex* ModelParser::addVertex(BatchSink&, SubEntity*, int, const float*, int, int);
template Entity* ModelParser::readEntityLine(SceneSink&, int, EntityColumns&);
template Entity* ModelParser::readEntityLine(BatchSink&, int, EntityColumns&);
template void ModelParser::addFaces(SceneSink&, SubEntity*, const std::vector<FaceLine>&, int);
template void ModelParser::addFaces(BatchSink&, SubEntity*, const std::vector<FaceLine>&, int);
template void ModelParser::linkCorners(SceneSink&, SubEntity*);

}  // namespace y4
