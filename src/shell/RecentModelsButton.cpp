// RecentModelsButton: a tool button whose menu is the list of recent models.
#include "shell/RecentModelsButton.h"

#include <QMenu>

#include "platform/PathResolver.h"

namespace y4 {

namespace {
QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

RecentModelsButton::RecentModelsButton(Choose choose, QWidget* parent)
    : QToolButton(parent), choose_(std::move(choose)), menu_(new QMenu(this)) {
    setText(QStringLiteral("Recent"));
    setObjectName(QStringLiteral("Recent"));
    setToolTip(QStringLiteral("Open a recent model"));
    setPopupMode(QToolButton::InstantPopup);
    menu_->setToolTipsVisible(true);
    setMenu(menu_);
    setEnabled(false);
}

void RecentModelsButton::setModels(const std::vector<std::string>& models) {
    menu_->clear();
    for (const std::string& path : models) {
        // An ampersand in a name is a character, not a shortcut mark.
        QString name = toQString(PathResolver::fileNameOf(path));
        QAction* action = menu_->addAction(name.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setToolTip(toQString(PathResolver::folderOf(path)));
        connect(action, &QAction::triggered, this, [this, path] { choose_(path); });
    }
    setEnabled(!models.empty());
}

}  // namespace y4
