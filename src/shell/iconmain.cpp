// y4icon: writes the editor's icon as PNG files, for the desktop entry's icon theme folders.
// "y4icon FOLDER" writes FOLDER/<n>x<n>/apps/y4editor.png for each size the theme knows.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "shell/EditorIcon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: y4icon FOLDER\n");
        return 2;
    }
    // No window is shown: drawing the pixmaps needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QIcon icon = y4::editorIcon();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QString file = folder + QStringLiteral("/y4editor.png");
        if (!QDir().mkpath(folder) || !icon.pixmap(size, size).save(file, "PNG")) {
            std::fprintf(stderr, "y4icon: could not write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
