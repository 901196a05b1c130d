// Y4TWriter: writes the terrain variant: the root's sub-entities as records.
#pragma once

#include "ModelWriter.h"

namespace y4 {

class Y4TWriter : public ModelWriter {
public:
    explicit Y4TWriter(Reader& reader) : ModelWriter(reader) {}
    explicit Y4TWriter(const SceneSnapshot& snapshot) : ModelWriter(snapshot) {}

private:
    void recompute() override;
    std::optional<std::string> overlongLine() const override;
    void writeLines() override;
    // The lines from the scene or from a snapshot of it.
    template <class Model>
    void writeLinesOf(const Model& model);
};

}  // namespace y4
