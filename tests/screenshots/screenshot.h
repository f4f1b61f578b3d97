#pragma once

// Shared by the screenshot programs: a window as it is on the screen, written to a PNG file.

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "control_p.h"

// Lets what is waiting be drawn first, then writes the window's picture and names the file it
// wrote on standard output; false, with a word on standard error, when it could not be written.
inline bool saveScreenshot(Control& window, const std::filesystem::path& file) {
    QApplication::processEvents();
    if (!widgetOf(window)->grab().save(QString::fromStdString(file.string()))) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return false;
    }
    std::printf("%s\n", file.c_str());
    return true;
}
