// The report of the shape parameters.
#include "dialogs/ShapeCreator.h"

#include <string>

#include "model/NumberText.h"
#include "platform/Prompt.h"

namespace y4 {

void reportShapeParameters(float length, float width, float height, float radius,
                           int lengthSegments, int widthSegments, int heightSegments) {
    const WaitCursor wait;
    std::string text = "Still need to implement CObjectTreeDialog::CreateShape()\n";
    for (const float size : {length, width, height, radius}) {
        text += formatFixedText(size, 2) + ' ';
    }
    text += std::to_string(lengthSegments) + ' ' + std::to_string(widthSegments) + ' ' +
            std::to_string(heightSegments);
    prompt().showMessage(text, MessageIcon::None);
}

}  // namespace y4
