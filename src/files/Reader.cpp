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
#include "ProgressMeter.h"
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
    ProgressMeter meter(options.progress);
    const std::vector<LoadedBox> boxes = parse(source.path, options, meter);
    if (Entity* top = root()) {
        sumOffsets(top, boxes);
    }
    computeWorldPositions();
    // The last chance to cancel: past it, the textures hold GL names that only the destructor
    // gives back.
    if (loaded_) {
        meter.finish();
    }
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

std::vector<LoadedBox> Reader::parse(const std::string& path, const Options& options,
                                     ProgressMeter& meter) {
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
        return {};
    }
    openError_.clear();
    readFolder_ = folderPart(filePath);
    LineReader lines(*file, fileName);
    if (meter.active()) {
        meter.setTotal(file->size());
        lines.setProgress(&meter, false);
    }
    // One decode per texture file, however many bitmap lines name it.
    std::optional<ImageCache> cache;
    if (options.loadImages) {
        cache.emplace(imageByteLimit_);
    }
    ImageCache* images = cache ? &*cache : nullptr;
    std::vector<LoadedBox> boxes;
    switch (fileType) {
        case kY4P: {
            Y4PParser parser(*this, lines, images);
            parser.parse(options.parseSplit);
            boxes = parser.takeBoxes();
            break;
        }
        case kY4D: {
            Y4DParser parser(*this, lines, images);
            parser.parse();
            boxes = parser.takeBoxes();
            break;
        }
        default: {
            Y4TParser parser(*this, lines, images);
            parser.parse(options.parseSplit);
            boxes = parser.takeBoxes();
            break;
        }
    }
    // What was read must be what the file held from start to end.
    lines.checkUnchanged();
    loaded_ = true;
    return boxes;
}

// Offsets and angles are summed, not turned; the root's own position and angles are left out.
// A sub-entity, a face or a vertex looks its sums up from its entity (see SceneObject), so only
// the entities are visited. The bounding box holds the vertices' offsets: each sub-entity's
// smallest and largest coordinate, found while it was parsed, moved by its entity's offset
// (rounding keeps the order, so these are the smallest and largest offsets of its vertices),
// widened from the origin as the vertex-by-vertex pass would widen it.
void Reader::sumOffsets(Entity* top, const std::vector<LoadedBox>& boxes) {
    std::vector<const LoadedBox*> boxOf(idBound(SceneObject::kSubEntity), nullptr);
    for (const LoadedBox& box : boxes) {
        if (box.sub->id() < boxOf.size()) {
            boxOf[box.sub->id()] = &box;
        }
    }
    const auto widen = [](float value, float& low, float& high) {
        if (value > high) {
            high = value;
        }
        if (value < low) {
            low = value;
        }
    };
    top->setCumulative({0, 0, 0}, {0, 0, 0});
    // Depth first, children before sub-entities, as the sums were always taken; the hierarchy
    // is at most Scene::kMaxLevel deep and has no cycles.
    std::vector<Entity*> pending{top};
    while (!pending.empty()) {
        Entity* e = pending.back();
        pending.pop_back();
        const Triple& offset = e->cumulativeOffset();
        const Triple& rotation = e->cumulativeRotation();
        for (Entity* child : e->children) {
            child->setCumulative(
                {0.0f + (offset[0] + child->positionX), 0.0f + (offset[1] + child->positionY),
                 0.0f + (offset[2] + child->positionZ)},
                {0.0f + (rotation[0] + child->rotateX), 0.0f + (rotation[1] + child->rotateY),
                 0.0f + (rotation[2] + child->rotateZ)});
            pending.push_back(child);
        }
        for (SubEntity* s : e->subEntities) {
            s->parent = e;
            const LoadedBox* box = s->id() < boxOf.size() ? boxOf[s->id()] : nullptr;
            if (!box || !box->any) {
                continue;
            }
            const Triple sum = s->cumulativeOffset();
            float* const low[3] = {&minX, &minY, &minZ};
            float* const high[3] = {&maxX, &maxY, &maxZ};
            for (int i = 0; i < 3; ++i) {
                widen(0.0f + (sum[static_cast<std::size_t>(i)] + box->bounds[i]), *low[i],
                      *high[i]);
                widen(0.0f + (sum[static_cast<std::size_t>(i)] + box->bounds[3 + i]), *low[i],
                      *high[i]);
            }
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
