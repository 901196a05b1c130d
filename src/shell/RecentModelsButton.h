// RecentModelsButton: the "Recent" button beside "Load Y4 File". Its menu lists the recent
// models by file name, each with its folder as the tooltip; choosing one calls back with its
// path. Disabled while the list is empty.
#pragma once

#include <QToolButton>
#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace y4 {

class RecentModelsButton : public QToolButton {
public:
    using Choose = std::function<void(const std::string& path)>;

    RecentModelsButton(Choose choose, QWidget* parent = nullptr);

    // Shows `models` (most recent first) in the menu.
    void setModels(const std::vector<std::string>& models);
    QMenu& list() const { return *menu_; }

private:
    Choose choose_;
    QMenu* menu_;
};

}  // namespace y4
