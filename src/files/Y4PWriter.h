// Y4PWriter: writes the nested variant.
#pragma once

#include "ModelWriter.h"

namespace y4 {

class Y4PWriter : public ModelWriter {
public:
    explicit Y4PWriter(Reader& reader) : ModelWriter(reader) {}
    explicit Y4PWriter(const SceneSnapshot& snapshot) : ModelWriter(snapshot) {}

private:
    void recompute() override;
    std::optional<std::string> overlongLine() const override;
    void writeLines() override;
    // The lines from the scene or from a snapshot of it.
    template <class Model>
    void writeLinesOf(const Model& model);
};

}  // namespace y4
