// AxesAndGrids: the three coloured axes and the reference grids on the planes parallel to the
// coordinate planes, drawn after the model under the camera transform. Positions are given in
// file coordinates and drawn negated, like everything the readouts show.
#pragma once

#include <vector>

#include "shell/GridSettings.h"

namespace y4 {

class AxesAndGrids {
public:
    // No grid family draws more lines than this, however fine the spacing.
    static constexpr int kMaxLinesPerFamily = 10000;

    // Where the grid lines lie: from `min` by `spacing` while not past `max`, stepping by
    // repeated addition in single precision. None when min > max or the spacing is not
    // usable; at most kMaxLinesPerFamily.
    static std::vector<float> linePositions(float min, float max, float spacing);
    // GL context current: the axes and the enabled grids.
    static void draw(const GridSettings& grid);
};

}  // namespace y4
