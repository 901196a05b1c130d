// EditRules: the few rules by which the document refuses an edit with a message, as the checks
// that drive it predict them.
#pragma once

#include <string>

namespace y4 {
class Reader;
class SceneObject;
}  // namespace y4

namespace y4::test {

// The terrain's own record of a terrain model.
bool isTerrainRecord(const Reader& r, const SceneObject* record);
// A group name the file could not hold.
bool badGroupName(const SceneObject* record, const std::string& name);

}  // namespace y4::test
