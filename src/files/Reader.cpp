// The load pipeline: parse, turn the file's coordinates round, sum the offsets down the
// hierarchy, bound the scene, place every record in the world and build the textures.
#include "Reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_set>

#include "DisplayStateFile.h"
#include "LineReader.h"
#include "LoadError.h"
#include "Y4DParser.h"
#include "Y4PParser.h"
#include "Y4TParser.h"
#include "platform/InputFile.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {
std::string_view extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(dot + 1);
}
}  // namespace

namespace {
// The folder part of a path, without its last separator; empty when it has none.
std::string folderPart(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}
}  // namespace

Reader::Reader(EntityTree* tree, ModelSource source, Options options)
    : Scene(tree),
      fileName(std::move(source.name)),
      textureDevice_(options.textureDevice),
      imageByteLimit_(options.imageByteLimit),
      readFolder_(folderPart(source.path)) {
    WaitCursor wait;
    setFileType();
    // The parsers store positions and normals negated (the files hold them with the other
    // sign), and summing the offsets also bounds the scene.
    parse(source.path, options);
    if (Entity* top = root()) {
        sumOffsets(top);
    }
    computeWorldPositions();
    createTextures();
}

Reader::Reader(EntityTree* tree, std::string name, NewModel)
    : Scene(tree),
      fileName(std::move(name)),
      textureDevice_(nullptr),
      imageByteLimit_(ImageCache::kDefaultByteLimit),
      readFolder_(folderPart(fileName)) {
    setFileType();
    loaded_ = true;
}

void Reader::setFileType() {
    modelFolder = std::string(PathResolver::folderOf(fileName));
    const std::string_view extension = extensionOf(fileName);
    if (extension == "Y4P") {
        fileType = kY4P;
    } else if (extension == "Y4D") {
        fileType = kY4D;
    } else if (extension == "Y4T") {
        fileType = kY4T;
    } else {
        throw LoadError("Error: Unknown file type");
    }
}

Reader::~Reader() {
    deleteTextures();
    freeImages();
}

void Reader::parse(const std::string& path, const Options& options) {
    openError_ = std::strerror(ENOENT);
    std::optional<InputFile> file;
    // The file as spelled when it exists; a stored or derived name ignoring case.
    if (std::optional<std::string> found = PathResolver::resolveExisting(path)) {
        file = InputFile::open(*found, &openError_);
        filePath = std::move(*found);
    }
    if (!file) {
        std::fprintf(stderr, "\nError: Could not open file %s\n", fileName.c_str());
        filePath.clear();
        return;
    }
    openError_.clear();
    readFolder_ = folderPart(filePath);
    LineReader lines(*file, fileName);
    // One decode per texture file, however many bitmap lines name it.
    std::optional<ImageCache> cache;
    if (options.loadImages) {
        cache.emplace(imageByteLimit_);
    }
    ImageCache* images = cache ? &*cache : nullptr;
    switch (fileType) {
        case kY4P:
            Y4PParser(*this, lines, images).parse();
            break;
        case kY4D:
            Y4DParser(*this, lines, images).parse();
            break;
        default:
            Y4TParser(*this, lines, images).parse();
            break;
    }
    // What was read must be what the file held from start to end.
    lines.checkUnchanged();
    loaded_ = true;
}

namespace {
void addSums(SceneObject& to, const float* offset, const float* rotation) {
    for (int i = 0; i < 3; ++i) {
        to.cumulativeOffset[i] += offset[i];
        to.cumulativeRotation[i] += rotation[i];
    }
}
}  // namespace

// The bounding box of the vertices' offsets. It starts at the origin, so the vertices this pass
// does not reach, whose offsets stay zero, could not widen it.
void Reader::bound(const float* offset) {
    const auto widen = [](float value, float& low, float& high) {
        if (value > high) {
            high = value;
        }
        if (value < low) {
            low = value;
        }
    };
    widen(offset[0], minX, maxX);
    widen(offset[1], minY, maxY);
    widen(offset[2], minZ, maxZ);
}

// Offsets and angles are summed, not turned; the root's own position and angles are left out.
// The hierarchy is at most Scene::kMaxLevel deep, so the recursion is bounded.
void Reader::sumOffsets(Entity* e) {
    for (Entity* child : e->children) {
        const float offset[3] = {e->cumulativeOffset[0] + child->positionX,
                                 e->cumulativeOffset[1] + child->positionY,
                                 e->cumulativeOffset[2] + child->positionZ};
        const float rotation[3] = {e->cumulativeRotation[0] + child->rotateX,
                                   e->cumulativeRotation[1] + child->rotateY,
                                   e->cumulativeRotation[2] + child->rotateZ};
        addSums(*child, offset, rotation);
        sumOffsets(child);
    }
    for (SubEntity* s : e->subEntities) {
        s->parent = e;
        addSums(*s, e->cumulativeOffset, e->cumulativeRotation);
        for (Face* f : s->faces) {
            f->parent = s;
            addSums(*f, s->cumulativeOffset, s->cumulativeRotation);
        }
        for (Vertex* v : s->vertices) {
            v->subEntity = s;
            const float offset[3] = {s->cumulativeOffset[0] + v->X, s->cumulativeOffset[1] + v->Y,
                                     s->cumulativeOffset[2] + v->Z};
            addSums(*v, offset, s->cumulativeRotation);
            bound(v->cumulativeOffset);
        }
    }
}

std::string Reader::besideModel(std::string_view name) const {
    return readFolder_ + std::string(name);
}

std::string Reader::bitmapFileName(std::string_view bitmapName) const {
    return PathResolver::join(modelFolder, std::string(bitmapName) + ".BMP");
}

std::string Reader::baseName() const {
    std::string_view name = PathResolver::fileNameOf(fileName);
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string Reader::displayStateFileName() const {
    const std::size_t dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".dsp";
}

void Reader::createTextures() {
    textures.createTextures(textureDevice_, bitmapNames.size());
}

void Reader::deleteTextures() {
    textures.deleteTextures(textureDevice_);
}

void Reader::freeImages() {
    textures.freeImages();
}

std::string Reader::textureFileName(std::size_t position) const {
    const std::string& name = bitmapNames[position];
    // The terrain's own bitmap is the picture named after the model.
    if (fileType == kY4T && position + 1 == bitmapNames.size() && name == Y4TParser::kTerrainName) {
        return bitmapFileName(baseName());
    }
    return bitmapFileName(name);
}

std::string Reader::texturePath(std::size_t position) const {
    const std::string& name = bitmapNames[position];
    if (fileType == kY4T && position + 1 == bitmapNames.size() && name == Y4TParser::kTerrainName) {
        return besideModel(baseName() + ".BMP");
    }
    return besideModel(name + ".BMP");
}

void Reader::reloadImages() {
    // The list is rebuilt with one entry per name from the start, so a reload that stops part
    // way still leaves image k beside name k (empty from the failure on) and later moves and
    // removals of bitmaps stay in range.
    auto& images = textures.images;
    images.clear();
    images.resize(bitmapNames.size());
    ImageCache cache(imageByteLimit_);
    for (std::size_t position = 0; position < bitmapNames.size(); ++position) {
        images[position] = cache.load(texturePath(position));
        if (!images[position]) {
            prompt().showMessage("Error: Could not load bitmaps", MessageIcon::Exclamation);
            throw ImageReloadError();
        }
    }
}

void Reader::addBitmap(const std::string& name) {
    insertBitmap(name, readBitmap(name));
}

std::shared_ptr<const RGBImage> Reader::readBitmap(const std::string& name) const {
    // The images held already count against the limit, each shared one once.
    std::size_t used = 0;
    std::unordered_set<const RGBImage*> counted;
    for (const auto& held : textures.images) {
        if (held && counted.insert(held.get()).second) {
            used += held->data.size();
        }
    }
    ImageCache cache(used < imageByteLimit_ ? imageByteLimit_ - used : 0);
    std::shared_ptr<const RGBImage> image = cache.load(besideModel(name + ".BMP"));
    if (cache.overLimit()) {
        prompt().showMessage(imageLimitMessage(), MessageIcon::Exclamation);
    }
    return image;
}

void Reader::insertBitmap(const std::string& name, std::shared_ptr<const RGBImage> image) {
    auto& images = textures.images;
    if (fileType == kY4T && !bitmapNames.empty()) {
        images.insert(images.end() - (images.empty() ? 0 : 1), std::move(image));
        bitmapNames.insert(bitmapNames.end() - 1, name);
    } else {
        images.push_back(std::move(image));
        bitmapNames.push_back(name);
    }
    modified = 1;
}

const char* Reader::unreadableBitmapMessage() const {
    return fileType == kY4P ? "Error: Could not open required texture; aborting"
                            : "Error: Could not read required texture; aborting";
}

std::string Reader::imageLimitMessage() const {
    return ImageCache::limitMessage(fileName, imageByteLimit_);
}

void Reader::removeBitmap(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= bitmapNames.size()) {
        return;
    }
    if (static_cast<std::size_t>(position) < textures.images.size()) {
        textures.images.erase(textures.images.begin() + position);
    }
    bitmapNames.erase(bitmapNames.begin() + position);
    modified = 1;
}

std::string Reader::displayStatePath() const {
    return besideModel(PathResolver::fileNameOf(displayStateFileName()));
}

bool Reader::saveDisplayState() const {
    return DisplayStateFile::save(*this, displayStatePath());
}

void Reader::loadDisplayState() {
    if (DisplayStateFile::load(*this, displayStatePath())) {
        prompt().showMessage(
            "Reminder: Some display flags were turned off when the display state was last "
            "saved; these groups will not be displayed",
            MessageIcon::Information);
    }
}

}  // namespace y4
