// CPropertyDialog: a tool dialog that edits one settings group. It keeps no copy of the settings:
// showing it fills its boxes from the live fields, "Apply" reads every box back in reading order
// and lets the group take effect, "Save" applies and then writes the group to the store.
#pragma once

#include <QString>
#include <initializer_list>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "dialogs/CToolDialog.h"

class QCheckBox;
class QGridLayout;
class QLayout;
class QLineEdit;
class QShowEvent;

namespace y4 {

class SettingsStore;

class CPropertyDialog : public CToolDialog {
    Q_OBJECT

public:
    CPropertyDialog(const QString& caption, SettingsStore& store, QWidget* parent);

public slots:
    void OnButtonApply();
    void OnButtonSave();

protected:
    // An edit box for `field`, read with getFloat, or with getFloatOr and `fallback` when one is
    // given. Boxes are read in the order they are made. The accessible name says the box's row
    // and column, for the box has no caption of its own.
    QLineEdit* makeFloatBox(float& field, const QString& accessibleName,
                            std::optional<float> fallback = std::nullopt);
    // A check box captioned `caption` for a 0/1 flag.
    QCheckBox* makeFlagBox(int& flag, const QString& caption);
    // A caption for a row or column of boxes.
    QWidget* makeCaption(const QString& text);
    // Fills a grid of boxes: a caption row with `columns` from column 1 on at `row`, then one
    // row per entry of `rows`, captioned in column 0, each box named "<prefix><row> <column>".
    // Returns the row after the last.
    struct BoxRow {
        QString caption;
        std::vector<float*> fields;
    };
    int addBoxGrid(QGridLayout& grid, int row, const std::vector<QString>& columns,
                   const std::vector<BoxRow>& rows, const QString& namePrefix = {});
    // One row of boxes at `row`, each captioned above and named "<prefix><caption>".
    void addCaptionedBoxes(QGridLayout& grid, int row,
                           const std::vector<std::pair<QString, float*>>& boxes,
                           const QString& namePrefix);
    // Lays out the sections one below the other, then "Apply", "Save" and "Close".
    void layOut(std::initializer_list<std::variant<QWidget*, QLayout*>> sections);

    // What a dialog shows beyond its number and flag boxes.
    virtual void fillExtras() {}
    // What Apply reads beyond the number and flag boxes.
    virtual void applyExtras() {}
    // Lets the applied values take effect (the signals of each dialog).
    virtual void takeEffect() = 0;
    // Writes the dialog's group; false when the store refused a value.
    virtual bool saveGroup(SettingsStore& store) = 0;

    void showEvent(QShowEvent* event) override;

private:
    void fillBoxes();

    struct FloatBinding {
        QLineEdit* box;
        float* field;
        std::optional<float> fallback;
    };
    struct FlagBinding {
        QCheckBox* box;
        int* flag;
    };
    SettingsStore& store_;
    std::vector<FloatBinding> floats_;
    std::vector<FlagBinding> flags_;
};

}  // namespace y4
