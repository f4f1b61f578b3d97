// Renders the unhandled-error dialog, as it shows a sample error, into <folder>/error-dialog.png.

#include <cstdio>
#include <filesystem>
#include <memory>

#include "screenshot.h"
#include "toolkit/form.h"
#include "toolkit/testing/testing.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    startToolkit();
    const std::unique_ptr<Form> dialog = makeErrorDialog("Invalid file filter string");
    dialog->setVisible(true);
    return saveScreenshot(*dialog, std::filesystem::path(argv[1]) / "error-dialog.png") ? 0 : 1;
}
