// SettingsValue: one row of a settings group's table (the stored name, the field it fills and how
// its text is written). Each group keeps one such table, so its loader and saver cannot drift.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace y4 {

// How a float field is written to the store.
enum class SettingsTextForm {
    Float,        // the float text of the number fields
    WholeNumber,  // truncated toward zero (the grid plane offsets)
};

template <class Group>
struct SettingsValue {
    using Field = std::variant<float Group::*, int Group::*, std::string Group::*>;

    std::string_view name;
    Field field;
    SettingsTextForm form = SettingsTextForm::Float;
};

}  // namespace y4
