// Y4TWriter: writes the terrain variant: the root's sub-entities as records.
#pragma once

#include "ModelWriter.h"

namespace y4 {

class Y4TWriter : public ModelWriter {
public:
    explicit Y4TWriter(Reader& reader) : ModelWriter(reader) {}

private:
    void recompute() override;
    std::optional<std::string> overlongLine() const override;
    void writeLines() override;
};

}  // namespace y4
