// y4treebench: times opening the object tree window on a model, as y4bench asks it to in a
// process of its own (Qt's windows stay out of the core's measurements). Each run lists the
// model in the tree, creates the window with its item model and tree view, opens the first
// level and shows the window on Qt's off-screen platform until the tree has been painted.
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
#include "files/Reader.h"
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

// Opens the window over a new tree of `model`, as after a load: the tree's memory is fresh too.
double openWindow(y4::Reader& model) {
    const auto start = Clock::now();
    auto tree = std::make_unique<y4::SceneTree>();
    model.m_pEntityTree = tree.get();
    y4::TreeListing::buildTree(*tree, model.root());
    auto dialog = std::make_unique<y4::CObjectTreeDialog>(*tree, nullptr);
    PaintWatch watch;
    dialog->treeView().viewport()->installEventFilter(&watch);
    dialog->show();
    while (!watch.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    dialog.reset();
    tree->deleteAllItems();
    model.m_pEntityTree = nullptr;
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

    const auto model = std::make_unique<y4::Reader>(nullptr, y4::ModelSource::chosen(path));
    if (!model->loaded()) {
        std::fprintf(stderr, "y4treebench: %s: %s\n", path.c_str(), model->openError().c_str());
        return 1;
    }
    const double cold = openWindow(*model);
    double best = cold;
    for (int run = 1; run < runs; ++run) {
        best = std::min(best, openWindow(*model));
    }
    std::printf("tree_window_cold %.9f\ntree_window %.9f\n", cold, best);
    return 0;
}
