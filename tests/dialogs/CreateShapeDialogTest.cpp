// The "Create Shape" dialog over a creator that reports as the object tree does: the boxes of
// each kind, the report of the defaults and of refused entries, and the cylinder that stays out of
// reach.
#include <gtest/gtest.h>

#include <QLabel>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/CCreateShapeDialog.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using namespace test;

const std::string kReport = "Still need to implement CObjectTreeDialog::CreateShape()\n";

struct ReportingCreator : ShapeCreator {
    void CreateShape(ShapeKind kind, float length, float width, float height, float radius,
                     int lengthSegments, int widthSegments, int heightSegments) override {
        kinds.push_back(kind);
        reportShapeParameters(length, width, height, radius, lengthSegments, widthSegments,
                              heightSegments);
    }
    std::vector<ShapeKind> kinds;
};

class CreateShapeDialogTest : public testing::Test {
protected:
    CreateShapeDialogTest() { dialog_.show(); }

    // The texts of the seven boxes, "-" for a disabled one.
    std::vector<std::string> boxes() {
        std::vector<std::string> texts;
        for (const char* name : {"Length", "Width", "Height", "Radius", "Length Segments",
                                 "Width Segments", "Height Segments"}) {
            QLineEdit& b = box(dialog_, name);
            texts.push_back(b.isEnabled() ? b.text().toStdString() : "-" + b.text().toStdString());
        }
        return texts;
    }

    QApplication& application_ = test::guiApplication();
    ReportingCreator creator_;
    CCreateShapeDialog dialog_{creator_, nullptr};
};

TEST_F(CreateShapeDialogTest, EachKindReportsItsDefaultsAndRefusalsAsOne) {
    EXPECT_EQ(dialog_.shapeKind(), ShapeKind::Cube);
    EXPECT_FALSE(button(dialog_, "Cylinder").isEnabled());
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1.00", "1.00", "1.00", "-", "1", "1", "1"}));
    testPrompt().expectMessage(kReport + "1.00 1.00 1.00 0.00 1 1 1", MessageIcon::None);
    button(dialog_, "Create Shape").click();
    EXPECT_EQ(testPrompt().waitCursorsShown, 1);
    EXPECT_TRUE(dialog_.isVisible());  // the dialog stays open

    box(dialog_, "Length").setText("7");
    button(dialog_, "Plane").click();
    EXPECT_EQ(dialog_.shapeKind(), ShapeKind::Plane);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1.00", "1.00", "-", "-", "1", "1", "-"}));
    testPrompt().expectMessage(kReport + "1.00 1.00 0.00 0.00 1 1 0", MessageIcon::None);
    button(dialog_, "Create Shape").click();

    button(dialog_, "Cube").click();
    box(dialog_, "Width").setText("2.5");
    box(dialog_, "Height Segments").setText("12");
    testPrompt().expectMessage(kReport + "1.00 2.50 1.00 0.00 1 1 12", MessageIcon::None);
    dialog_.OnButtonCreateShape();
    EXPECT_EQ(creator_.kinds,
              (std::vector<ShapeKind>{ShapeKind::Cube, ShapeKind::Plane, ShapeKind::Cube}));

    // The captions of unused boxes are disabled with them.
    for (QLabel* label : dialog_.findChildren<QLabel*>()) {
        EXPECT_EQ(label->isEnabled(), label->buddy()->isEnabled()) << label->text().toStdString();
    }

    // Refused entries fall back to one, in their boxes too.
    box(dialog_, "Length").setText("abc");
    box(dialog_, "Width Segments").setText("-3");
    testPrompt().expectMessage("Error: Invalid value; defaulting to 1.00");
    testPrompt().expectMessage("Error: Invalid value; defaulting to 1");
    testPrompt().expectMessage(kReport + "1.00 2.50 1.00 0.00 1 1 12", MessageIcon::None);
    button(dialog_, "Create Shape").click();
    EXPECT_EQ(box(dialog_, "Length").text(), "1");
    EXPECT_EQ(box(dialog_, "Width Segments").text(), "1");

    // The cylinder stays out of reach whichever kind was chosen; its settings, should the kind
    // be chosen at all.
    EXPECT_FALSE(button(dialog_, "Cylinder").isEnabled());
    dialog_.OnButtonCylinder();
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1.00", "1.00", "-", "1.00", "1", "1", "-"}));
    testPrompt().expectMessage(kReport + "1.00 1.00 0.00 1.00 1 1 0", MessageIcon::None);
    dialog_.OnButtonCreateShape();
    EXPECT_EQ(creator_.kinds.back(), ShapeKind::Cylinder);

    button(dialog_, "Close").click();
    EXPECT_FALSE(dialog_.isVisible());
}

}  // namespace
}  // namespace y4
