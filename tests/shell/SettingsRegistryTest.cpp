// The settings groups over an in-memory store: defaults, value texts, the guards against junk,
// and that each saver writes exactly its own group.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <set>
#include <string>
#include <variant>

#include "model/NumberText.h"
#include "shell/SettingsRegistry.h"

namespace y4 {
namespace {

template <class Group>
std::set<std::string> namesOf() {
    std::set<std::string> names;
    for (const SettingsValue<Group>& value : Group::values()) {
        names.emplace(value.name);
    }
    return names;
}

std::set<std::string> keysOf(const MemorySettingsStore& store) {
    std::set<std::string> keys;
    for (const auto& entry : store.values()) {
        keys.insert(entry.first);
    }
    return keys;
}

// Gives every field a value of its own (floats with fractions their text must round), saves,
// loads and saves again. A field missing from the table or listed twice shows as a difference.
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
    Group loaded{};
    load(first, loaded);
    for (const SettingsValue<Group>& value : Group::values()) {
        if (const auto* field = std::get_if<float Group::*>(&value.field)) {
            const std::string& text = first.values().at(std::string(value.name));
            if (value.form == SettingsTextForm::Float) {
                EXPECT_EQ(text, formatFloatText(original.*(*field))) << value.name;
            }
            EXPECT_EQ(loaded.*(*field), static_cast<float>(parseLeadingFloat(text))) << value.name;
        }
    }
    MemorySettingsStore second;
    save(second, loaded);
    EXPECT_EQ(first.values(), second.values());
    EXPECT_EQ(keysOf(first), namesOf<Group>());
}

TEST(SettingsRegistry, EmptyStoreGivesTheDefaults) {
    const MemorySettingsStore empty;
    DisplaySettings display;
    display.ambientR = 0.9f;  // a load starts from the defaults, not from what was there
    loadDisplaySettings(empty, display, false);
    EXPECT_EQ(display, DisplaySettings{});
    EXPECT_EQ(display.lightPosX, -50.0f);
    EXPECT_EQ(display.lightPosY, -50.0f);
    EXPECT_EQ(display.lightPosZ, -100.0f);
    loadDisplaySettings(empty, display, true);
    EXPECT_EQ(display.lightPosX, -10.0f);
    EXPECT_EQ(display.lightPosY, -5000.0f);
    EXPECT_EQ(display.lightPosZ, 0.0f);

    ProjectionSettings projection;
    loadProjectionSettings(empty, projection, false);
    EXPECT_EQ(projection, ProjectionSettings{});
    EXPECT_EQ(projection.orthogonal1, -10.24f);
    EXPECT_EQ(projection.orthogonal4, 7.68f);
    EXPECT_EQ(projection.orthogonal6, 100.0f);
    loadProjectionSettings(empty, projection, true);
    EXPECT_EQ(projection.projectionMode, 1);
    EXPECT_EQ(projection.orthogonal1, -4048.0f);
    EXPECT_EQ(projection.orthogonal2, 4048.0f);
    EXPECT_EQ(projection.orthogonal3, -3072.0f);
    EXPECT_EQ(projection.orthogonal4, 3072.0f);
    EXPECT_EQ(projection.orthogonal5, -8000.0f);
    EXPECT_EQ(projection.orthogonal6, 8000.0f);

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
    EXPECT_EQ(namesOf<TransformSettings>(),
              (std::set<std::string>{"translateXScale", "translateYScale", "translateZScale",
                                     "rotateXScale", "scaleXScale", "scaleYScale", "scaleZScale",
                                     "viewMoveScale", "viewRotateScale", "viewZoomScale"}));
    expectRoundTrip<DisplaySettings>(
        [](const SettingsStore& s, DisplaySettings& g) { loadDisplaySettings(s, g, false); },
        saveDisplaySettings);
    expectRoundTrip<TransformSettings>(loadTransformSettings, saveTransformSettings);
    expectRoundTrip<GridSettings>(
        [](const SettingsStore& s, GridSettings& g) { loadGridSettings(s, g); }, saveGridSettings);
    expectRoundTrip<ProjectionSettings>(
        [](const SettingsStore& s, ProjectionSettings& g) { loadProjectionSettings(s, g, true); },
        saveProjectionSettings);

    MemorySettingsStore store;
    EXPECT_TRUE(saveTransformSettings(store, TransformSettings{}));
    EXPECT_EQ(store.query("viewZoomScale"), "0.3");
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

TEST(SettingsRegistry, PlaneOffsetsAreSavedAsWholeNumbers) {
    MemorySettingsStore store;
    store.set("gridXYOffset", "2.5");
    store.set("gridYZOffset", "-2.7");
    store.set("gridXZOffset", "-0.5");
    store.set("gridXY_OffsetX", "2.5");  // a backdrop offset keeps its fraction
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
    for (const std::string& name : namesOf<GridSettings>()) {
        store.set(name, "");
    }
    GridSettings grid;
    int reloads = 0;
    loadGridSettings(store, grid, [&](const GridSettings&) { ++reloads; });
    EXPECT_EQ(grid, GridSettings{});
    EXPECT_EQ(reloads, 1);

    const std::string name127 = "/" + std::string(122, 'p') + ".BMP";
    store.set("bitmapXYName", name127);
    store.set("bitmapYZName", name127 + "x");
    store.set("gridMin", std::string(126, ' ') + "5");
    store.set("gridMax", std::string(127, ' ') + "5");
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
    store.set("ambientR", "abc");
    store.set("ambientG", "-");
    store.set("ambientB", "12abc");
    store.set("lightPosX", "nan");
    store.set("lightPosY", "-inf");
    store.set("lightPosZ", "1e39");  // beyond float range
    store.set("solidR", "1e-50");    // below it: 0, as atof and narrowing give
    DisplaySettings display;
    loadDisplaySettings(store, display, true);
    EXPECT_EQ(display.ambientR, 0.0f);
    EXPECT_EQ(display.ambientG, 0.0f);
    EXPECT_EQ(display.ambientB, 12.0f);
    EXPECT_EQ(display.lightPosX, -10.0f);
    EXPECT_EQ(display.lightPosY, -5000.0f);
    EXPECT_EQ(display.lightPosZ, 0.0f);
    EXPECT_EQ(display.solidR, 0.0f);

    store.set("projectionMode", "orthogonal");
    store.set("perspective1", "infinity");
    ProjectionSettings projection;
    loadProjectionSettings(store, projection, false);
    EXPECT_EQ(projection.projectionMode, 0);
    EXPECT_EQ(projection.perspective1, 45.0f);

    store.set("gridXY", "99999999999");
    store.set("gridYZ", "-99999999999");
    store.set("gridMax", "inf");
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
