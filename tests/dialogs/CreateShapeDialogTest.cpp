// The "Create Shape" dialog over a creator that reports as the object tree does: the boxes of
// each kind, the report of the defaults, refused entries, and the cylinder that stays out of
// reach.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "dialogs/CCreateShapeDialog.h"
#include "support/GuiApplication.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using test::findOneByAccessibleName;
using test::testPrompt;

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

    QLineEdit& box(const char* name) {
        QLineEdit* found = findOneByAccessibleName<QLineEdit>(dialog_, name);
        if (found == nullptr) {
            throw std::runtime_error(std::string("no box ") + name);
        }
        return *found;
    }
    QPushButton& button(const char* caption) {
        QPushButton* found = findOneByAccessibleName<QPushButton>(dialog_, caption);
        if (found == nullptr) {
            throw std::runtime_error(std::string("no button ") + caption);
        }
        return *found;
    }
    // The texts of the seven boxes, "-" for a disabled one.
    std::vector<std::string> boxes() {
        std::vector<std::string> texts;
        for (const char* name : {"Length", "Width", "Height", "Radius", "Length Segments",
                                 "Width Segments", "Height Segments"}) {
            QLineEdit& b = box(name);
            texts.push_back(b.isEnabled() ? b.text().toStdString() : "-" + b.text().toStdString());
        }
        return texts;
    }

    QApplication& application_ = test::guiApplication();
    ReportingCreator creator_;
    CCreateShapeDialog dialog_{creator_, nullptr};
};

TEST_F(CreateShapeDialogTest, TheCubeAndThePlaneReportTheirDefaults) {
    EXPECT_EQ(dialog_.windowTitle(), "Create Shape");
    EXPECT_EQ(dialog_.shapeKind(), ShapeKind::Cube);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1.00", "1.00", "1.00", "-", "1", "1", "1"}));
    testPrompt().expectMessage(kReport + "1.00 1.00 1.00 0.00 1 1 1", MessageIcon::None);
    button("Create Shape").click();
    EXPECT_EQ(testPrompt().waitCursorsShown, 1);
    EXPECT_TRUE(dialog_.isVisible());  // the dialog stays open

    box("Length").setText("7");
    button("Plane").click();
    EXPECT_EQ(dialog_.shapeKind(), ShapeKind::Plane);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1.00", "1.00", "-", "-", "1", "1", "-"}));
    testPrompt().expectMessage(kReport + "1.00 1.00 0.00 0.00 1 1 0", MessageIcon::None);
    button("Create Shape").click();

    button("Cube").click();
    box("Width").setText("2.5");
    box("Height Segments").setText("12");
    testPrompt().expectMessage(kReport + "1.00 2.50 1.00 0.00 1 1 12", MessageIcon::None);
    dialog_.OnButtonCreateShape();
    EXPECT_EQ(creator_.kinds,
              (std::vector<ShapeKind>{ShapeKind::Cube, ShapeKind::Plane, ShapeKind::Cube}));

    // The captions of unused boxes are disabled with them.
    for (QLabel* label : dialog_.findChildren<QLabel*>()) {
        EXPECT_EQ(label->isEnabled(), label->buddy()->isEnabled()) << label->text().toStdString();
    }
}

TEST_F(CreateShapeDialogTest, RefusedEntriesFallBackToOne) {
    box("Length").setText("abc");
    box("Width Segments").setText("-3");
    testPrompt().expectMessage("Error: Invalid value; defaulting to 1.00");
    testPrompt().expectMessage("Error: Invalid value; defaulting to 1");
    testPrompt().expectMessage(kReport + "1.00 1.00 1.00 0.00 1 1 1", MessageIcon::None);
    button("Create Shape").click();
    EXPECT_EQ(box("Length").text(), "1");
    EXPECT_EQ(box("Width Segments").text(), "1");
}

TEST_F(CreateShapeDialogTest, TheCylinderStaysDisabled) {
    EXPECT_FALSE(button("Cylinder").isEnabled());
    button("Plane").click();
    button("Cube").click();
    EXPECT_FALSE(button("Cylinder").isEnabled());
    // Its settings, should the kind be chosen at all.
    dialog_.OnButtonCylinder();
    EXPECT_EQ(boxes(), (std::vector<std::string>{"1.00", "1.00", "-", "1.00", "1", "1", "-"}));
    testPrompt().expectMessage(kReport + "1.00 1.00 0.00 1.00 1 1 0", MessageIcon::None);
    dialog_.OnButtonCreateShape();
    EXPECT_EQ(creator_.kinds, std::vector<ShapeKind>{ShapeKind::Cylinder});

    button("Close").click();
    EXPECT_FALSE(dialog_.isVisible());
}

}  // namespace
}  // namespace y4
