// Reader: loads one model file (.Y4P, .Y4D or .Y4T) into a scene and owns it while the model is
// open: the records, the bitmap names with their decoded images and GL textures, the drawing
// options and the modified flag. The whole load happens in the constructor; a file that cannot
// be read as its variant is refused with a LoadError and nothing of it stays behind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ImageCache.h"
#include "ModelParser.h"
#include "ModelSource.h"
#include "TextureSet.h"
#include "model/Scene.h"
#include "platform/TextureDevice.h"

namespace y4 {

class FileProgress;
class ProgressMeter;

class Reader : public Scene {
public:
    // File types.
    static constexpr int kY4P = 0;
    static constexpr int kY4D = 1;
    static constexpr int kY4T = 2;

    // Values of Options::parseSplit.
    static constexpr std::uint64_t kSplitAutomatic = ~std::uint64_t{0};
    static constexpr std::uint64_t kNoSplit = ~std::uint64_t{0} - 1;

    struct Options {
        // Where GL textures are made; none skips them (command-line tools, most tests).
        TextureDevice* textureDevice = nullptr;
        // Where a second thread starts parsing a nested or terrain model (see SplitParse):
        // kSplitAutomatic near the middle of a large file on a machine with a second core,
        // kNoSplit never, or the first line at or after this byte offset (for tests). The
        // result is the same whatever the choice.
        std::uint64_t parseSplit = kSplitAutomatic;
        // Off, bitmap files are not read and every image entry stays empty.
        bool loadImages = true;
        // The decoded size that the model's images may take together.
        std::size_t imageByteLimit = ImageCache::kDefaultByteLimit;
        // Told of the bytes parsed, and last of the whole file before the textures are made;
        // a cancel there throws CancelledByUser and nothing of the load stays behind.
        FileProgress* progress = nullptr;
    };

    // Loads the model from `source.path`; `source.name` is the name it is known by, whose
    // extension must be Y4P, Y4D or Y4T in upper case (the editor upper-cases the path it is
    // given). Throws LoadError.
    Reader(EntityTree* tree, ModelSource source, Options options);
    Reader(EntityTree* tree, ModelSource source) : Reader(tree, std::move(source), Options()) {}
    // The same for a model known by the name it is read from (ModelSource::named).
    Reader(EntityTree* tree, std::string fileName, Options options)
        : Reader(tree, ModelSource::named(std::move(fileName)), options) {}
    Reader(EntityTree* tree, std::string fileName)
        : Reader(tree, ModelSource::named(std::move(fileName)), Options()) {}
    // A new, empty model of the variant that `fileName`'s extension names, read from nowhere;
    // a Writer saves it there. Throws LoadError for an unknown extension.
    struct NewModel {};
    Reader(EntityTree* tree, std::string fileName, NewModel);
    ~Reader() override;

    // False when the file could not be opened: the scene is then empty, and openError() says
    // why ("No such file or directory").
    bool loaded() const { return loaded_; }
    const std::string& openError() const { return openError_; }

    // The file `name` in the folder the model was read from, in its real spelling (before a
    // load, the folder of the path given): where its textures, snapshots and display state are
    // looked for, ignoring the case of the name, and made.
    std::string besideModel(std::string_view name) const;
    // The texture file of a bitmap name: the model folder, the name and ".BMP".
    std::string bitmapFileName(std::string_view bitmapName) const;
    // The texture file of the bitmap at `position`: bitmapFileName of its name, except for a
    // terrain's own bitmap, whose picture is named after the model.
    std::string textureFileName(std::size_t position) const;
    // The file name without folder and extension.
    std::string baseName() const;
    // The display-state file: the file name with ".dsp" in place of its extension.
    std::string displayStateFileName() const;
    // Where the display-state file is read and written: its name beside the file read.
    std::string displayStatePath() const;

    // Textures and images, one per bitmap name.
    void createTextures();
    void deleteTextures();
    void freeImages();
    // Loads the image of every bitmap name again, replacing the image list. On the first
    // failure shows "Error: Could not load bitmaps" and throws ImageReloadError; the images
    // loaded before it stay and every later name gets an empty entry, so the list keeps one
    // entry per name.
    void reloadImages();
    // Adds a bitmap name and its image (which may be empty when its file cannot be read, or
    // when it would take the images past their limit, which is then shown); in a terrain model
    // before the terrain's own bitmap, which stays last.
    void addBitmap(const std::string& name);
    // The picture of the bitmap name `name` from the model's folder, within what the images
    // held leave of their limit; null after the loader's message or the limit's.
    std::shared_ptr<const RGBImage> readBitmap(const std::string& name) const;
    // Adds a bitmap name with an image already read, where addBitmap puts it.
    void insertBitmap(const std::string& name, std::shared_ptr<const RGBImage> image);
    // What a load of this model's variant says of a bitmap it cannot read.
    const char* unreadableBitmapMessage() const;
    // Removes the name and the image at `position`; faces keep their bitmap numbers (the
    // document's edit renumbers them).
    void removeBitmap(int position);

    // "Error: The textures of <file name> need more than <limit> when decoded".
    std::string imageLimitMessage() const;

    // The display state: which groups are switched off.
    bool saveDisplayState() const;
    void loadDisplayState();

    int fileType = kY4P;
    // The terrain's own record (the last), or -1.
    int terrainRecordIndex = -1;
    // The name the model is known by, and its folder: the name up to its last folder
    // separator, or the whole name when it has none.
    std::string fileName;
    std::string modelFolder;
    // The file the model was read from, as found; empty when none was.
    std::string filePath;
    // The counts of the file's header lines, as read or as last recomputed by a save.
    int numVertices = 0;
    int numFaces = 0;
    int numEntities = 0;
    int numBitmaps = 0;
    // Drawing options set by the main window's display buttons.
    int drawMode = 4;
    int texturing = 0;
    int showVertices = 1;
    int showNormals = 0;
    int editNormals = 0;
    // The bounding box of the vertices' cumulative offsets; always holds the origin.
    float minX = 0, minY = 0, minZ = 0;
    float maxX = 0, maxY = 0, maxZ = 0;
    TextureSet textures;
    // How many threads parsed the file: 2 when the second thread's blocks were taken over.
    int parseThreads = 1;

private:
    void setFileType();
    // Parses the file; the boxes of the sub-entities read.
    std::vector<LoadedBox> parse(const std::string& path, const Options& options,
                                 ProgressMeter& meter);
    // Where the texture of the bitmap at `position` is looked for.
    std::string texturePath(std::size_t position) const;
    // Sums the offsets and angles down from the root, marks the entities it reaches, and
    // bounds the scene from the sub-entities' boxes of the parse.
    void sumOffsets(Entity* root, const std::vector<LoadedBox>& boxes);

    TextureDevice* textureDevice_;
    std::size_t imageByteLimit_;
    // The folder of filePath, or of the path given; empty for the current folder.
    std::string readFolder_;
    std::string openError_;
    bool loaded_ = false;
};

// Thrown by reloadImages after its message.
class ImageReloadError : public std::runtime_error {
public:
    ImageReloadError() : std::runtime_error("Error: Could not load bitmaps") {}
};

}  // namespace y4
