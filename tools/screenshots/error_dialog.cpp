// Renders the unhandled-error dialog, as it shows a sample error, into <folder>/error-dialog.png.

#include <cstdio>
#include <filesystem>

#include "screenshot.h"
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
    return saveScreenshot(dialog, std::filesystem::path(argv[1]) / "error-dialog.png") ? 0 : 1;
}
