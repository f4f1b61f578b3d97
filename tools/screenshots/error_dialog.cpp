// Renders the unhandled-error dialog, as it shows a sample error, into <folder>/error-dialog.png.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "toolkit/application.h"
#include "toolkit/internal.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    ensureQtApplication();
    Application::ErrForm dialog("Invalid file filter string");
    dialog.setVisible(true);
    QApplication::processEvents();
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath("error-dialog.png");
    if (!dialog.nativeWidget()->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
