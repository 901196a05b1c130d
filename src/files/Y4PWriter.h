// Y4PWriter: writes the nested variant.
#pragma once

#include "ModelWriter.h"

namespace y4 {

class Y4PWriter : public ModelWriter {
public:
    explicit Y4PWriter(Reader& reader) : ModelWriter(reader) {}

private:
    void recompute() override;
    std::optional<std::string> overlongLine() const override;
    void writeLines() override;
};

}  // namespace y4
