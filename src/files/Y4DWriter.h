// Y4DWriter: writes the flat variant.
#pragma once

#include "ModelWriter.h"

namespace y4 {

class Y4DWriter : public ModelWriter {
public:
    explicit Y4DWriter(Reader& reader) : ModelWriter(reader) {}
    explicit Y4DWriter(const SceneSnapshot& snapshot) : ModelWriter(snapshot) {}

private:
    void recompute() override;
    std::optional<std::string> overlongLine() const override;
    void writeLines() override;
    // The lines from the scene or from a snapshot of it.
    template <class Model>
    void writeLinesOf(const Model& model);
};

}  // namespace y4
