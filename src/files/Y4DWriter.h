// Y4DWriter: writes the flat variant.
#pragma once

#include "ModelWriter.h"

namespace y4 {

class Y4DWriter : public ModelWriter {
public:
    explicit Y4DWriter(Reader& reader) : ModelWriter(reader) {}

private:
    void recompute() override;
    std::optional<std::string> overlongLine() const override;
    void writeLines() override;
};

}  // namespace y4
