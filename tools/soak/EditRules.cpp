// The refusal rules the checks predict.
#include "EditRules.h"

#include <algorithm>

#include "files/Reader.h"
#include "files/Y4TParser.h"

namespace y4::test {

bool isTerrainRecord(const Reader& r, const SceneObject* record) {
    return r.fileType == Reader::kY4T && record && record->kind() == SceneObject::kSubEntity &&
           record->name() == Y4TParser::kTerrainName;
}

bool badGroupName(const SceneObject* record, const std::string& name) {
    return record->kind() == SceneObject::kEntity &&
           (name.find(':') != std::string::npos ||
            std::any_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
}

}  // namespace y4::test
