// The four property dialogs over settings groups and an in-memory store: which box shows and
// sets which field, Apply with empty and wrong boxes, Save writing only its own group, the
// opening button's state, and the Grid Properties backdrop rows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/CDisplayPropertiesDialog.h"
#include "dialogs/CGridPropertiesDialog.h"
#include "dialogs/CProjectionPropertiesDialog.h"
#include "dialogs/CTransformPropertiesDialog.h"
#include "model/NumberText.h"
#include "platform/SettingsStore.h"
#include "shell/SettingsRegistry.h"
#include "support/BitmapBuilder.h"
#include "support/GuiApplication.h"
#include "support/StrictPrompt.h"
#include "support/TempDir.h"

namespace y4 {
namespace {

using namespace test;

const char* const kInvalid = "Error: Invalid value; defaulting to 1.0";

// Counts the signals of a dialog, in the order they came.
struct SignalLog {
    std::vector<std::string> names;
    int count(const std::string& name) const {
        return static_cast<int>(std::count(names.begin(), names.end(), name));
    }
};

void record(CToolDialog& dialog, SignalLog& log) {
    QObject::connect(&dialog, &CToolDialog::redrawRequested,
                     [&log] { log.names.push_back("redraw"); });
    QObject::connect(&dialog, &CToolDialog::closed, [&log] { log.names.push_back("closed"); });
}

// Which box of a dialog holds which field of its group, by the box's accessible name.
template <class Group>
using BoxTable = std::vector<std::pair<const char*, float Group::*>>;

// Every box of the table shows its own field, and Apply stores each box into its own field;
// the dialog has no boxes beyond the table (apart from `otherBoxes`).
template <class Group>
void expectBoxMapping(CPropertyDialog& dialog, Group& settings, const BoxTable<Group>& table,
                      int otherBoxes = 0) {
    EXPECT_EQ(dialog.findChildren<QLineEdit*>().size(),
              static_cast<qsizetype>(table.size()) + otherBoxes);
    float value = 0.5f;
    for (const auto& [name, field] : table) {
        settings.*field = value;
        value += 1.25f;
    }
    dialog.show();
    value = 0.5f;
    for (const auto& [name, field] : table) {
        EXPECT_EQ(box(dialog, name).text().toStdString(), formatFloatText(value)) << name;
        box(dialog, name).setText(QString::number(100 + value));
        value += 1.25f;
    }
    button(dialog, "Apply").click();
    value = 0.5f;
    for (const auto& [name, field] : table) {
        EXPECT_EQ(settings.*field, 100 + value) << name;
        value += 1.25f;
    }
    button(dialog, "Close").click();
    EXPECT_FALSE(dialog.isVisible());
}

class PropertyDialogsTest : public testing::Test {
protected:
    PropertyDialogsTest() { test::guiApplication(); }

    MemorySettingsStore store_;
    DisplaySettings display_;
    TransformSettings transform_;
    GridSettings grid_;
    ProjectionSettings projection_;
};

// A store that keeps values but cannot make them durable.
class UnsyncableStore : public MemorySettingsStore {
public:
    bool sync() override { return false; }
};

TEST_F(PropertyDialogsTest, EveryBoxShowsAndSetsItsOwnFieldAndSaveWritesItsOwnGroup) {
    using D = DisplaySettings;
    CDisplayPropertiesDialog display(display_, store_, nullptr);
    expectBoxMapping<D>(
        display, display_,
        {{"Ambient R", &D::ambientR},       {"Ambient G", &D::ambientG},
         {"Ambient B", &D::ambientB},       {"Ambient A", &D::ambientA},
         {"Diffuse R", &D::diffuseR},       {"Diffuse G", &D::diffuseG},
         {"Diffuse B", &D::diffuseB},       {"Diffuse A", &D::diffuseA},
         {"Specular R", &D::specularR},     {"Specular G", &D::specularG},
         {"Specular B", &D::specularB},     {"Specular A", &D::specularA},
         {"Background R", &D::backgroundR}, {"Background G", &D::backgroundG},
         {"Background B", &D::backgroundB}, {"Background A", &D::backgroundA},
         {"Solid R", &D::solidR},           {"Solid G", &D::solidG},
         {"Solid B", &D::solidB},           {"Solid A", &D::solidA},
         {"Selected R", &D::selectR},       {"Selected G", &D::selectG},
         {"Selected B", &D::selectB},       {"Selected A", &D::selectA},
         {"Point R", &D::pointR},           {"Point G", &D::pointG},
         {"Point B", &D::pointB},           {"Point A", &D::pointA},
         {"Highlight R", &D::highlightR},   {"Highlight G", &D::highlightG},
         {"Highlight B", &D::highlightB},   {"Highlight A", &D::highlightA},
         {"Light0 X", &D::lightPosX},       {"Light0 Y", &D::lightPosY},
         {"Light0 Z", &D::lightPosZ},       {"Light0 Magnitude", &D::lightPosDistance}});

    using T = TransformSettings;
    CTransformPropertiesDialog transform(transform_, store_, nullptr);
    expectBoxMapping<T>(transform, transform_,
                        {{"Scale X", &T::scaleXScale},
                         {"Scale Y", &T::scaleYScale},
                         {"Scale Z", &T::scaleZScale},
                         {"Translate X", &T::translateXScale},
                         {"Translate Y", &T::translateYScale},
                         {"Translate Z", &T::translateZScale},
                         {"Rotate", &T::rotateXScale},
                         {"Viewpoint Move", &T::viewMoveScale},
                         {"Viewpoint Rotate", &T::viewRotateScale},
                         {"Viewpoint Zoom", &T::viewZoomScale}});

    using G = GridSettings;
    CGridPropertiesDialog grid(grid_, store_, nullptr);
    expectBoxMapping<G>(grid, grid_,
                        {{"Interval", &G::gridSpacing},
                         {"Min", &G::gridMin},
                         {"Max", &G::gridMax},
                         {"GridXY Offset", &G::gridXYOffset},
                         {"GridXY R", &G::gridXY_R},
                         {"GridXY G", &G::gridXY_G},
                         {"GridXY B", &G::gridXY_B},
                         {"GridYZ Offset", &G::gridYZOffset},
                         {"GridYZ R", &G::gridYZ_R},
                         {"GridYZ G", &G::gridYZ_G},
                         {"GridYZ B", &G::gridYZ_B},
                         {"GridXZ Offset", &G::gridXZOffset},
                         {"GridXZ R", &G::gridXZ_R},
                         {"GridXZ G", &G::gridXZ_G},
                         {"GridXZ B", &G::gridXZ_B},
                         {"Opacity", &G::gridBitmapOpacity}},
                        3);

    using P = ProjectionSettings;
    CProjectionPropertiesDialog projection(projection_, store_, nullptr);
    expectBoxMapping<P>(projection, projection_,
                        {{"Orthogonal Min X", &P::orthogonal1},
                         {"Orthogonal Min Y", &P::orthogonal3},
                         {"Orthogonal Min Z", &P::orthogonal5},
                         {"Orthogonal Max X", &P::orthogonal2},
                         {"Orthogonal Max Y", &P::orthogonal4},
                         {"Orthogonal Max Z", &P::orthogonal6},
                         {"Perspective FoV", &P::perspective1},
                         {"Perspective Near", &P::perspective2},
                         {"Perspective Far", &P::perspective3}});
    EXPECT_TRUE(testPrompt().shown.empty());
    EXPECT_TRUE(store_.values().empty());  // Apply never writes the store

    // Save applies and writes its own group, every value of it and no other.
    const auto namesOf = [](auto values) {
        std::set<std::string> names;
        for (const auto& value : values) {
            names.insert(std::string(value.name));
        }
        return names;
    };
    const struct {
        CPropertyDialog* dialog;
        const char* box;
        std::set<std::string> group;
        const char* storedName;
    } cases[] = {
        {&display, "Ambient G", namesOf(DisplaySettings::values()), "ambientG"},
        {&transform, "Viewpoint Zoom", namesOf(TransformSettings::values()), "viewZoomScale"},
        {&grid, "Max", namesOf(GridSettings::values()), "gridMax"},
        {&projection, "Perspective FoV", namesOf(ProjectionSettings::values()), "perspective1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.storedName);
        store_.set("path", "C:\\MODELS\\A.Y4P");
        store_.set("other", "kept");
        c.dialog->show();
        box(*c.dialog, c.box).setText("0.25");
        button(*c.dialog, "Save").click();
        // The others' values kept, and every value of the group written, no other.
        EXPECT_EQ(store_.query("path"), "C:\\MODELS\\A.Y4P");
        EXPECT_EQ(store_.query("other"), "kept");
        EXPECT_EQ(store_.query(c.storedName), "0.25");
        std::set<std::string> written;
        for (const auto& [name, text] : store_.values()) {
            if (name != "path" && name != "other") {
                written.insert(name);
            }
        }
        EXPECT_EQ(written, c.group);
        c.dialog->OnButtonClose();
        store_ = MemorySettingsStore();
    }
    EXPECT_EQ(display_.ambientG, 0.25f);
    EXPECT_EQ(grid_.gridMax, 0.25f);

    // Save makes the store durable at once: one that cannot says so.
    UnsyncableStore failing;
    CTransformPropertiesDialog unsaved(transform_, failing, nullptr);
    unsaved.show();
    testPrompt().expectMessage("Error: Could not save the settings");
    unsaved.OnButtonSave();
}

TEST_F(PropertyDialogsTest, ApplyTakesEmptyOrRefusedBoxesAndCloseGivesTheOpenerBack) {
    // The logs outlive the dialogs, which report their closing as they go.
    SignalLog log, transformLog;
    // Its opening button outlives it: destroyed while shown, the dialog gives the button back
    // (the editor's exit checks that).
    QPushButton opener("Display...");
    CDisplayPropertiesDialog display(display_, store_, nullptr);
    display.openWith(opener);
    record(display, log);
    QObject::connect(&display, &CDisplayPropertiesDialog::lightingChanged,
                     [&log] { log.names.push_back("lighting"); });
    opener.click();
    EXPECT_TRUE(display.isVisible());
    EXPECT_FALSE(opener.isEnabled());
    opener.click();  // a disabled button cannot open it twice
    EXPECT_TRUE(log.names.empty());
    box(display, "Ambient R").clear();
    box(display, "Diffuse G").setText("1,5");
    box(display, "Light0 X").setText("1e3");
    testPrompt().expectMessage(kInvalid);
    display.OnButtonApply();
    EXPECT_EQ(display_.ambientR, 0.0f);
    EXPECT_EQ(display_.diffuseG, 1.0f);
    EXPECT_EQ(box(display, "Diffuse G").text(), "1.0");
    EXPECT_EQ(display_.lightPosX, 1000.0f);
    EXPECT_EQ(display_.specularR, 1.0f);
    EXPECT_EQ(log.names, (std::vector<std::string>{"lighting", "redraw"}));
    // Close gives the button back, as Escape does.
    button(display, "Close").click();
    EXPECT_FALSE(display.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    EXPECT_EQ(log.names, (std::vector<std::string>{"lighting", "redraw", "redraw", "closed"}));
    opener.click();
    display.reject();
    EXPECT_FALSE(display.isVisible());
    EXPECT_TRUE(opener.isEnabled());

    // Boxes are read top to bottom, left to right; the plane offsets fall back to 0.
    CGridPropertiesDialog grid(grid_, store_, nullptr);
    grid.show();
    box(grid, "Interval").setText("two");
    box(grid, "GridYZ Offset").setText("+1");
    box(grid, "GridYZ G").setText("");
    box(grid, "Opacity").setText("50 %");
    testPrompt().expectMessage(kInvalid);
    testPrompt().expectMessage("Error: Invalid value; defaulting to 0.00");
    testPrompt().expectMessage(kInvalid);
    grid.OnButtonApply();
    EXPECT_EQ(grid_.gridSpacing, 1.0f);
    EXPECT_EQ(grid_.gridYZOffset, 0.0f);
    EXPECT_EQ(box(grid, "GridYZ Offset").text(), "0");
    EXPECT_EQ(grid_.gridYZ_G, 0.0f);
    EXPECT_EQ(grid_.gridBitmapOpacity, 1.0f);
    EXPECT_EQ(testPrompt().shown.size(), 4u);

    // The transform factors take effect at the next command; nothing is drawn.
    CTransformPropertiesDialog transform(transform_, store_, nullptr);
    record(transform, transformLog);
    transform.show();
    box(transform, "Scale X").setText("2");
    transform.OnButtonApply();
    EXPECT_EQ(transform_.scaleXScale, 2.0f);
    EXPECT_TRUE(transformLog.names.empty());

    // A projection applied is drawn at once (EditorViewTest); shown and applied unchanged, it
    // stays as it was.
    CProjectionPropertiesDialog projection(projection_, store_, nullptr);
    projection.show();
    projection.OnButtonApply();
    EXPECT_EQ(projection_, ProjectionSettings{});

    // Shown again, it reads the settings afresh; a large number shown and applied unchanged
    // keeps its value.
    QLineEdit& far = box(projection, "Perspective Far");
    EXPECT_EQ(far.text(), "10000");
    far.setText("typed");
    projection_.perspective3 = 2000000.0f;
    projection.OnButtonClose();
    projection.show();
    EXPECT_EQ(far.text(), "2e+06");
    projection.OnButtonApply();
    EXPECT_EQ(projection_.perspective3, 2000000.0f);
}

TEST_F(PropertyDialogsTest, BackdropSwitchesMoveButtonsAndBrowsing) {
    grid_.bitmapXY = 1;
    grid_.bitmapXYName = "C:\\PLANS\\FRONT.BMP";
    grid_.gridYZ = 1;
    SignalLog log;
    CGridPropertiesDialog grid(grid_, store_, nullptr);
    record(grid, log);
    int reloads = 0;
    QObject::connect(&grid, &CGridPropertiesDialog::backdropsChanged, [&reloads] { ++reloads; });
    std::vector<std::pair<BackdropPlane, std::shared_ptr<RGBImage>>> images;
    QObject::connect(&grid, &CGridPropertiesDialog::backdropImageChosen,
                     [&images](BackdropPlane plane, std::shared_ptr<RGBImage> image) {
                         images.emplace_back(plane, std::move(image));
                     });
    grid.show();

    QCheckBox* backdropXY = findOneByAccessibleName<QCheckBox>(grid, "Backdrop XY");
    ASSERT_NE(backdropXY, nullptr);
    EXPECT_TRUE(backdropXY->isChecked());
    EXPECT_TRUE(findOneByAccessibleName<QCheckBox>(grid, "GridYZ")->isChecked());
    EXPECT_FALSE(findOneByAccessibleName<QCheckBox>(grid, "GridXY")->isChecked());
    EXPECT_EQ(grid.pathBox(BackdropPlane::XY).text(), "C:\\PLANS\\FRONT.BMP");
    EXPECT_TRUE(grid.moveButton(BackdropPlane::XY).isEnabled());
    EXPECT_FALSE(grid.moveButton(BackdropPlane::YZ).isEnabled());
    // Each row's controls are named after it; its buttons by their captions.
    for (const auto& [plane, row] : {std::pair{BackdropPlane::XY, "XY"},
                                     {BackdropPlane::YZ, "YZ"},
                                     {BackdropPlane::XZ, "XZ"}}) {
        EXPECT_EQ(accessibleNameOf(grid.pathBox(plane)), QString("Backdrop %1 File").arg(row));
        EXPECT_NE(findOneByAccessibleName<QCheckBox>(grid, QString("Grid") + row), nullptr);
        EXPECT_NE(findOneByAccessibleName<QCheckBox>(grid, QString("Backdrop ") + row), nullptr);
        EXPECT_EQ(accessibleNameOf(grid.moveButton(plane)), "Move");
        EXPECT_EQ(accessibleNameOf(grid.browseButton(plane)), "...");
    }

    // What the switches and each Move button do to the drawn backdrops is checked in the
    // editor's view (EditorViewTest).

    // Browsing: cancelled, then a file that is no bitmap, then a bitmap.
    test::TempDir dir;
    const std::string broken = dir.write("BROKEN.BMP", "not a bitmap");
    const std::string good = dir.write(
        "SIDE.BMP", test::BitmapBuilder(2, 2, 24, {0xff0000, 0x00ff00, 0x0000ff, 0}).build());
    testPrompt().expectFileDialog(std::nullopt);
    grid.browseButton(BackdropPlane::YZ).click();
    testPrompt().expectFileDialog(broken);
    testPrompt().expectMessage("Unknown DIB file format.");
    testPrompt().expectMessage("ERROR: Invalid DIB Bitmap File");
    grid.browseButton(BackdropPlane::YZ).click();
    EXPECT_EQ(grid.pathBox(BackdropPlane::YZ).text(), "");
    EXPECT_TRUE(images.empty());
    EXPECT_EQ(testPrompt().shown.at(0).caption, "Error");
    log.names.clear();
    testPrompt().expectFileDialog(good);
    grid.browseButton(BackdropPlane::YZ).click();
    EXPECT_EQ(grid.pathBox(BackdropPlane::YZ).text().toStdString(), good);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].first, BackdropPlane::YZ);
    EXPECT_EQ(images[0].second->sizeX, 2);
    EXPECT_EQ(images[0].second->data.size(), 12u);
    EXPECT_EQ(log.names, std::vector<std::string>{"redraw"});
    EXPECT_EQ(grid_.bitmapYZName, "");  // the name itself changes on Apply

    EXPECT_EQ(reloads, 0);
    grid.OnButtonApply();
    EXPECT_EQ(grid_.bitmapYZName, good);
    EXPECT_EQ(grid_.bitmapXYName, "C:\\PLANS\\FRONT.BMP");
    EXPECT_EQ(reloads, 1);
}

}  // namespace
}  // namespace y4
