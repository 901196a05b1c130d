// editorIcon: the editor's application icon, a cube in a three-quarter view, its hidden edges
// dashed and the three coloured axes along the edges of its front corner, on a tile of the
// view's blue. It is drawn in code, at every size a window system asks for.
#pragma once

#include <QIcon>

namespace y4 {

QIcon editorIcon();

}  // namespace y4
