// The settings groups over an in-memory store: defaults, value texts, the guards against junk,
// and that each saver writes exactly its own group.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "model/NumberText.h"
#include "shell/SettingsRegistry.h"

namespace y4 {
namespace {

// Gives every field a value of its own (floats with fractions their text must round), saves,
// loads and saves again. The saver must write exactly the group's names, each once.
template <class Group, class Load, class Save>
void expectRoundTrip(Load load, Save save) {
    Group original{};
    int index = 0;
    for (const SettingsValue<Group>& value : Group::values()) {
        ++index;
        if (const auto* field = std::get_if<float Group::*>(&value.field)) {
            original.*(*field) = static_cast<float>(index) * 1.37f + 1e-4f;
        } else if (const auto* intField = std::get_if<int Group::*>(&value.field)) {
            original.*(*intField) = index * 1000 - 7;
        } else {
            original.*std::get<std::string Group::*>(value.field) = std::to_string(index) + ".BMP";
        }
    }
    MemorySettingsStore first;
    save(first, original);
    EXPECT_EQ(first.values().size(), Group::values().size());
    Group loaded{};
    load(first, loaded);
    for (const SettingsValue<Group>& value : Group::values()) {
        ASSERT_TRUE(first.values().contains(std::string(value.name))) << value.name;
        const auto* field = std::get_if<float Group::*>(&value.field);
        const std::string& text = first.values().at(std::string(value.name));
        if (field && value.form == SettingsTextForm::Float) {
            EXPECT_EQ(text, formatFloatText(original.*(*field))) << value.name;
        }
        if (field) {
            EXPECT_EQ(loaded.*(*field), static_cast<float>(parseLeadingFloat(text))) << value.name;
        }
    }
    MemorySettingsStore second;
    save(second, loaded);
    EXPECT_EQ(first.values(), second.values());
}

TEST(SettingsRegistry, EmptyStoreGivesTheDefaults) {
    const MemorySettingsStore empty;
    DisplaySettings display;
    display.ambientR = 0.9f;  // a load starts from the defaults, not from what was there
    loadDisplaySettings(empty, display, false);
    EXPECT_EQ(display, DisplaySettings{});
    EXPECT_EQ(std::vector({display.lightPosX, display.lightPosY, display.lightPosZ}),
              std::vector({-50.0f, -50.0f, -100.0f}));
    loadDisplaySettings(empty, display, true);
    EXPECT_EQ(std::vector({display.lightPosX, display.lightPosY, display.lightPosZ}),
              std::vector({-10.0f, -5000.0f, 0.0f}));

    ProjectionSettings p;
    loadProjectionSettings(empty, p, false);
    EXPECT_EQ(p, ProjectionSettings{});
    EXPECT_EQ(std::vector({p.orthogonal1, p.orthogonal4, p.orthogonal6}),
              std::vector({-10.24f, 7.68f, 100.0f}));
    loadProjectionSettings(empty, p, true);
    EXPECT_EQ(p.projectionMode, 1);
    EXPECT_EQ(std::vector({p.orthogonal1, p.orthogonal2, p.orthogonal3, p.orthogonal4,
                           p.orthogonal5, p.orthogonal6}),
              std::vector({-4048.0f, 4048.0f, -3072.0f, 3072.0f, -8000.0f, 8000.0f}));

    TransformSettings transform;
    transform.scaleXScale = 5.0f;
    loadTransformSettings(empty, transform);
    EXPECT_EQ(transform, TransformSettings{});
    GridSettings grid;
    grid.bitmapXYName = "OLD.BMP";
    loadGridSettings(empty, grid);
    EXPECT_EQ(grid, GridSettings{});
}

TEST(SettingsRegistry, EachSaverWritesExactlyItsOwnGroup) {
    EXPECT_EQ(DisplaySettings::values().size(), 36u);
    EXPECT_EQ(GridSettings::values().size(), 31u);
    EXPECT_EQ(ProjectionSettings::values().size(), 10u);
    expectRoundTrip<DisplaySettings>(
        [](const SettingsStore& s, DisplaySettings& g) { loadDisplaySettings(s, g, false); },
        saveDisplaySettings);
    expectRoundTrip<TransformSettings>(loadTransformSettings, saveTransformSettings);
    expectRoundTrip<GridSettings>(
        [](const SettingsStore& s, GridSettings& g) { loadGridSettings(s, g); }, saveGridSettings);
    expectRoundTrip<ProjectionSettings>(
        [](const SettingsStore& s, ProjectionSettings& g) { loadProjectionSettings(s, g, true); },
        saveProjectionSettings);

    // The transform saver writes exactly its ten values.
    MemorySettingsStore store;
    EXPECT_TRUE(saveTransformSettings(store, TransformSettings{}));
    EXPECT_EQ(store.values(), (std::map<std::string, std::string>{{"translateXScale", "1"},
                                                                  {"translateYScale", "1"},
                                                                  {"translateZScale", "1"},
                                                                  {"rotateXScale", "1"},
                                                                  {"scaleXScale", "1"},
                                                                  {"scaleYScale", "1"},
                                                                  {"scaleZScale", "1"},
                                                                  {"viewMoveScale", "0.1"},
                                                                  {"viewRotateScale", "1"},
                                                                  {"viewZoomScale", "0.3"}}));
    EXPECT_TRUE(saveProjectionSettings(store, ProjectionSettings{}));
    EXPECT_EQ(store.query("perspective2"), "0.1");
    EXPECT_EQ(store.query("perspective3"), "10000");
    EXPECT_EQ(store.query("projectionMode"), "1");
    GridSettings grid;
    grid.bitmapYZName = "C:\\Plans\\side view.BMP";
    EXPECT_TRUE(saveGridSettings(store, grid));
    EXPECT_EQ(store.query("gridSpacing"), "2");
    EXPECT_EQ(store.query("bitmapYZName"), "C:\\Plans\\side view.BMP");
    EXPECT_EQ(store.values().size(), 10u + 10u + 31u);
}

// Stores each "name=text".
void setAll(MemorySettingsStore& store, std::initializer_list<std::string> values) {
    for (const std::string& value : values) {
        store.set(value.substr(0, value.find('=')), value.substr(value.find('=') + 1));
    }
}

TEST(SettingsRegistry, PlaneOffsetsAreSavedAsWholeNumbers) {
    MemorySettingsStore store;
    // A backdrop offset keeps its fraction.
    setAll(store,
           {"gridXYOffset=2.5", "gridYZOffset=-2.7", "gridXZOffset=-0.5", "gridXY_OffsetX=2.5"});
    GridSettings grid;
    loadGridSettings(store, grid);
    EXPECT_EQ(grid.gridXYOffset, 2.5f);
    EXPECT_EQ(grid.gridYZOffset, -2.7f);
    saveGridSettings(store, grid);
    EXPECT_EQ(store.query("gridXYOffset"), "2");
    EXPECT_EQ(store.query("gridYZOffset"), "-2");
    EXPECT_EQ(store.query("gridXZOffset"), "0");
    EXPECT_EQ(store.query("gridXY_OffsetX"), "2.5");

    // Beyond the int range the whole number is written out in full, not wrapped.
    grid.gridXYOffset = 1e20f;
    grid.gridYZOffset = -3e9f;
    grid.gridXZOffset = std::numeric_limits<float>::infinity();
    saveGridSettings(store, grid);
    EXPECT_EQ(store.query("gridXYOffset"), "100000002004087734272");
    EXPECT_EQ(store.query("gridYZOffset"), "-3000000000");
    loadGridSettings(store, grid);
    EXPECT_EQ(grid.gridXYOffset, 1e20f);
    EXPECT_EQ(grid.gridXZOffset, 0.0f);
}

TEST(SettingsRegistry, EmptyAndOverlongTextsAreMissing) {
    MemorySettingsStore store;
    for (const SettingsValue<GridSettings>& value : GridSettings::values()) {
        store.set(value.name, "");
    }
    GridSettings grid;
    int reloads = 0;
    loadGridSettings(store, grid, [&](const GridSettings&) { ++reloads; });
    EXPECT_EQ(grid, GridSettings{});
    EXPECT_EQ(reloads, 1);

    const std::string name127 = "/" + std::string(122, 'p') + ".BMP";
    setAll(store,
           {"bitmapXYName=" + name127, "bitmapYZName=" + name127 + "x",
            "gridMin=" + std::string(126, ' ') + "5", "gridMax=" + std::string(127, ' ') + "5"});
    std::string reloadedName;
    loadGridSettings(store, grid, [&](const GridSettings& g) { reloadedName = g.bitmapXYName; });
    EXPECT_EQ(grid.bitmapXYName, name127);
    EXPECT_EQ(grid.bitmapYZName, "");
    EXPECT_EQ(grid.gridMin, 5.0f);
    EXPECT_EQ(grid.gridMax, 10.0f);
    EXPECT_EQ(reloadedName, name127);  // the backdrops are reloaded from the loaded names
}

TEST(SettingsRegistry, JunkNumbersReadAsZeroExceptWhereZeroWouldBreakTheView) {
    MemorySettingsStore store;
    // Beyond float range (and not finite) keeps the default; below it is 0, as atof and
    // narrowing give.
    setAll(store,
           {"ambientR=abc", "ambientG=-", "ambientB=12abc", "lightPosX=nan", "lightPosY=-inf",
            "lightPosZ=1e39", "solidR=1e-50", "projectionMode=orthogonal", "perspective1=infinity",
            "gridXY=99999999999", "gridYZ=-99999999999", "gridMax=inf"});
    DisplaySettings d;
    loadDisplaySettings(store, d, true);
    EXPECT_EQ(std::vector({d.ambientR, d.ambientG, d.ambientB, d.lightPosX, d.lightPosY,
                           d.lightPosZ, d.solidR}),
              std::vector({0.0f, 0.0f, 12.0f, -10.0f, -5000.0f, 0.0f, 0.0f}));
    ProjectionSettings projection;
    loadProjectionSettings(store, projection, false);
    EXPECT_EQ(projection.projectionMode, 0);
    EXPECT_EQ(projection.perspective1, 45.0f);

    // A spacing that would never end the grid loop reads as the default.
    GridSettings grid;
    for (const char* spacing : {"abc", "0", "-1", "-0.0", "nan", "inf", "1e39", "1e-50"}) {
        store.set("gridSpacing", spacing);
        loadGridSettings(store, grid);
        EXPECT_EQ(grid.gridSpacing, 2.0f) << spacing;
    }
    store.set("gridSpacing", "0.25");
    loadGridSettings(store, grid);
    EXPECT_EQ(grid.gridSpacing, 0.25f);
    EXPECT_EQ(grid.gridXY, INT_MAX);
    EXPECT_EQ(grid.gridYZ, INT_MIN);
    EXPECT_EQ(grid.gridMax, 10.0f);
}

// A store whose writes fail once a number of them succeeded.
class FailingStore : public MemorySettingsStore {
public:
    explicit FailingStore(int writesLeft) : writesLeft_(writesLeft) {}
    bool set(std::string_view name, std::string_view text) override {
        ++attempts;
        return writesLeft_-- > 0 && MemorySettingsStore::set(name, text);
    }
    int attempts = 0;

private:
    int writesLeft_;
};

TEST(SettingsRegistry, FailedWritesAreReportedAfterTryingEveryValue) {
    FailingStore store(3);
    EXPECT_FALSE(saveProjectionSettings(store, ProjectionSettings{}));
    EXPECT_EQ(store.attempts, 10);
    EXPECT_EQ(store.values().size(), 3u);
}

}  // namespace
}  // namespace y4
