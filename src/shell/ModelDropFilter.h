// ModelDropFilter: lets a window take a model file dropped on it. A drop is taken when it holds
// a local file whose extension names a model variant, in any case; of several files the first
// such one is opened. Anything else is refused while it is dragged, so the cursor shows that it
// cannot be dropped.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QMimeData;
class QWidget;

namespace y4 {

class ModelDropFilter : public QObject {
public:
    using Open = std::function<void(const std::string& path)>;

    // Makes `window` accept drops and hands each model dropped on it to `open`.
    ModelDropFilter(QWidget* window, Open open);

    // The model file a drop of `data` would open, if any.
    static std::optional<std::string> modelIn(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Open open_;
};

}  // namespace y4
