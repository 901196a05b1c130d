// SceneDump: every field of every record of a scene as text, one line per record, floats as
// their exact bits, so that two scenes compare with one EXPECT_EQ and a difference shows as the
// lines that differ.
#pragma once

#include <string>

namespace y4 {
class Reader;
}

namespace y4::test {

class SceneDump {
public:
    static std::string text(const Reader& reader);
};

}  // namespace y4::test
