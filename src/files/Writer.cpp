// The save pipeline: trace, turn the coordinates to the file's convention, write the variant,
// turn them back.
#include "Writer.h"

#include <cstdio>
#include <memory>

#include "LoadError.h"
#include "Reader.h"
#include "Y4DWriter.h"
#include "Y4PWriter.h"
#include "Y4TWriter.h"
#include "platform/PathResolver.h"
#include "platform/Prompt.h"
#include "platform/SafeFileWriter.h"
#include "platform/TraceLog.h"

namespace y4 {

namespace {

// The variant is the one the model was loaded from, whatever the target is called.
std::string_view extensionOf(const Reader& reader) {
    const std::string& source = reader.fileName;
    const std::size_t dot = source.rfind('.');
    return dot == std::string::npos ? std::string_view(source)
                                    : std::string_view(source).substr(dot + 1);
}

// The format writer of the variant, over a scene or a snapshot.
template <class Model>
std::unique_ptr<ModelWriter> formatOf(std::string_view extension, Model& model) {
    if (extension == "Y4P") {
        return std::make_unique<Y4PWriter>(model);
    }
    if (extension == "Y4D") {
        return std::make_unique<Y4DWriter>(model);
    }
    if (extension == "Y4T") {
        return std::make_unique<Y4TWriter>(model);
    }
    throw SaveError("Could not write file");
}

// The format writer of the variant, its columns recomputed and its lines checked.
std::unique_ptr<ModelWriter> preparedFormat(Reader& reader, std::string_view extension,
                                            const std::string& target) {
    std::unique_ptr<ModelWriter> format = formatOf(extension, reader);
    // Refused before the target is touched: a saved file must load again.
    if (const std::optional<std::string> record = format->prepare()) {
        throw SaveError("Error: Could not write " + target + ": " + *record +
                        " would need a line of more than 1023 characters");
    }
    return format;
}

}  // namespace

std::vector<std::string> Writer::layOut(Reader& reader) {
    reader.negateCoordinates();
    std::exception_ptr failure;
    std::vector<std::string> text;
    try {
        text = preparedFormat(reader, extensionOf(reader), reader.fileName)->layOut();
    } catch (...) {
        failure = std::current_exception();
    }
    reader.negateCoordinates();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return text;
}

SceneSnapshot Writer::snapshot(Reader& reader) {
    const std::string_view extension = extensionOf(reader);
    preparedFormat(reader, extension, reader.fileName);
    return SceneSnapshot(reader, extension);
}

void Writer::layOut(const SceneSnapshot& snapshot,
                    const std::function<void(std::string_view)>& piece) {
    formatOf(snapshot.variant(), snapshot)->layOut(piece);
}

Writer::Writer(Reader& reader, std::string targetFileName, Target target, FileProgress* progress)
    : m_reader(reader),
      m_targetFileName(std::move(targetFileName)),
      m_target(target),
      m_progress(progress) {
    trace("\n\nWriter - ENTRY POINT");
    WaitCursor wait;
    const std::string_view extension = extensionOf(m_reader);

    trace("Writer - before preprocess()");
    preprocess();
    trace("Writer - after preprocess()");
    // The scene is turned back whatever happens to the file.
    std::exception_ptr failure;
    try {
        writeFormat(extension);
    } catch (...) {
        failure = std::current_exception();
    }
    trace("Writer() - before postprocess()");
    postprocess();
    trace("Writer() - after postprocess()");
    trace("Writer - EXIT POINT\n\n");
    if (failure) {
        std::rethrow_exception(failure);
    }
}

// The files hold positions and normals with the other sign.
void Writer::preprocess() {
    m_reader.negateCoordinates();
}

void Writer::writeFormat(std::string_view extension) {
    const std::unique_ptr<ModelWriter> format =
        preparedFormat(m_reader, extension, m_targetFileName);
    try {
        std::optional<std::string> path = m_targetFileName;
        if (m_target == Target::IgnoringCase) {
            path = PathResolver::resolveForWrite(m_targetFileName);
        }
        if (!path) {
            throw IoError("Could not write " + m_targetFileName + ": No such folder");
        }
        format->writeTo(*path, m_progress);
    } catch (const IoError& error) {
        std::fprintf(stderr, "\nError: Could not open file %s\n", m_targetFileName.c_str());
        throw SaveError(std::string("Error: ") + error.what());
    }
}

}  // namespace y4
