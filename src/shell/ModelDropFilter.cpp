// ModelDropFilter: drag and drop events of the main window.
#include "shell/ModelDropFilter.h"

#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace y4 {

ModelDropFilter::ModelDropFilter(QWidget* window, Open open)
    : QObject(window), open_(std::move(open)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

std::optional<std::string> ModelDropFilter::modelIn(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return std::nullopt;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString suffix = QFileInfo(url.toLocalFile()).suffix().toUpper();
        if (suffix == QLatin1String("Y4P") || suffix == QLatin1String("Y4D") ||
            suffix == QLatin1String("Y4T")) {
            return QFile::encodeName(url.toLocalFile()).toStdString();
        }
    }
    return std::nullopt;
}

bool ModelDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (modelIn(drag->mimeData())) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<std::string> path = modelIn(drop->mimeData());
            if (!path) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // The source of the drag waits for this event to return; the load, its questions
            // and its messages come after it.
            QTimer::singleShot(0, this, [this, model = *path] { open_(model); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace y4
