// The edit-box number fields over the number checks and conversions of the model layer; the
// box is read as UTF-8, so any character outside the checks' sets refuses the text.
#include "shell/NumericFields.h"

#include <QLineEdit>
#include <QString>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "model/NumberText.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

std::string textOf(const QLineEdit& box) {
    return box.text().toStdString();
}

// The float check, also taking a "+" right after the exponent mark: putFloat writes numbers of
// a million and more as "2e+06", and a box shown and applied unchanged must keep its value.
bool acceptsFloat(std::string_view text) {
    std::string checked;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool exponentSign =
            text[i] == '+' && i > 0 && (text[i - 1] == 'e' || text[i - 1] == 'E');
        if (!exponentSign) {
            checked += text[i];
        }
    }
    return isFloatText(checked);
}

// The box's number as a float; none when the text is refused or the number lies beyond the
// float range, which would reach the model as an infinity that no model file can hold.
std::optional<float> readFloat(const QLineEdit& box) {
    const std::string text = textOf(box);
    if (!acceptsFloat(text)) {
        return std::nullopt;
    }
    const auto value = static_cast<float>(parseLeadingFloat(text));
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

void refuse(QLineEdit& box, const std::string& fallbackText, const QString& boxText) {
    prompt().showMessage("Error: Invalid value; defaulting to " + fallbackText,
                         MessageIcon::Exclamation);
    box.setText(boxText);
}

}  // namespace

void putFloat(QLineEdit& box, float value) {
    box.setText(QString::fromStdString(formatFloatText(value)));
}

void putInt(QLineEdit& box, int value) {
    box.setText(QString::number(value));
}

float getFloat(QLineEdit& box) {
    if (const std::optional<float> value = readFloat(box)) {
        return *value;
    }
    refuse(box, "1.0", QStringLiteral("1.0"));
    return 1.0f;
}

float getFloatOr(QLineEdit& box, float fallback) {
    if (const std::optional<float> value = readFloat(box)) {
        return *value;
    }
    refuse(box, formatFixedText(fallback, 2), QString::fromStdString(formatFloatText(fallback)));
    return fallback;
}

int getInt(QLineEdit& box, int fallback) {
    const std::string text = textOf(box);
    if (!isIntText(text)) {
        refuse(box, std::to_string(fallback), QString::number(fallback));
        return fallback;
    }
    return parseLeadingInt(text);
}

}  // namespace y4
