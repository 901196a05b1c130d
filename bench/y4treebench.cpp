// y4treebench: times opening the object tree window on a model, as y4bench asks it to in a
// process of its own (Qt's windows stay out of the core's measurements). Each run lists the
// document's model in its tree again, creates the window with its item model and tree view,
// opens the first level and shows the window on Qt's off-screen platform until the tree has
// been painted.
// Prints "tree_window_cold <seconds>" for the first run, which also pays for Qt's first window,
// and "tree_window <seconds>" for the fastest run.
#include <QApplication>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "dialogs/CObjectTreeDialog.h"
#include "document/ModelDocument.h"
#include "model/TreeListing.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes the first paint of a widget.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

// Opens the window over the document's tree listed again, as after a load.
double openWindow(y4::ModelDocument& document) {
    const auto start = Clock::now();
    y4::TreeListing::buildTree(document.tree(), document.reader()->root());
    auto dialog = std::make_unique<y4::CObjectTreeDialog>(document, nullptr);
    PaintWatch watch;
    dialog->treeView().viewport()->installEventFilter(&watch);
    dialog->show();
    while (!watch.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    dialog.reset();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: y4treebench MODEL RUNS\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = std::max(1, std::atoi(argv[2]));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The off-screen platform's notes on each window would only clutter the benchmark's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "y4treebench: %s\n", qPrintable(text));
        }
    });
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    // A failed load has shown its message on the console.
    y4::ModelDocument document;
    if (!document.load(path)) {
        return 1;
    }
    const double cold = openWindow(document);
    double best = cold;
    for (int run = 1; run < runs; ++run) {
        best = std::min(best, openWindow(document));
    }
    std::printf("tree_window_cold %.9f\ntree_window %.9f\n", cold, best);
    return 0;
}
