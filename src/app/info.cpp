#include "app/info.h"

#include <memory>
#include <string>

#include "program/identity.h"
#include "toolkit/application.h"

namespace {

// Every text of the window stands centred in its label; the title is in a larger, bold font.
Label* addCenteredLabel(Control* parent, const std::string& text, Rect bounds, std::shared_ptr<Font> font = nullptr) {
    return addControl<Label>(parent, bounds, [&](Label& label) {
        if (font) {
            label.setFont(std::move(font));
        }
        label.setText(text);
        label.setAlignment(ContentAlignment::TopCenter);
    });
}

}  // namespace

Info::Info() {
    buildLayout();
}

void Info::buildLayout() {
    setIcon(nullptr);
    setInitialPosition(FormStartPosition::CenterOnOwner);
    setBorderStyle(FormBorderStyle::RaisedDialogFrame);
    setHasMaximizeButton(false);
    setHasMinimizeButton(false);
    setText("About");
    setClientAreaSize(244, 263);

    // Only the frame's bottom edge lies inside the window: it is the line above the OK button.
    frame = addControl<GroupBox>(this, "", {-16, -16, 312, 238});
    freewareLabel = addCenteredLabel(frame, "This program is distributed as freeware.", {24, 72, 224, 16});
    makerLabel = addCenteredLabel(frame, "Verbaro Project, 2026", {24, 189, 221, 15});
    webLabel = addCenteredLabel(frame, "www.verbaro.example.org", {24, 207, 224, 15});
    authorLabel = addCenteredLabel(frame, "Programmed by the Verbaro team", {28, 148, 224, 15});
    emailLabel = addCenteredLabel(frame, "E-mail: team@verbaro.example.org", {28, 165, 224, 15});
    logoBox = addControl<PictureBox>(frame, {40, 32, 32, 32},
                                     [](PictureBox& box) { box.setSizeMode(PictureBoxSizeMode::Normal); });
    titleLabel =
        addCenteredLabel(frame, programName + " " + programVersion, {80, 40, 160, 24},
                         std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Bold, GraphicsUnit::Point));
    readmeLabel = addCenteredLabel(frame,
                                   "For instructions on how to create verbaro files, please see the file readme.txt "
                                   "which comes bundled with the application.",
                                   {28, 95, 216, 48});
    okButton = addControl<Button>(this, "OK", {84, 230, 75, 24});

    logoBox->setImage(Application::programResources().loadIcon(programIconId, true));
    okButton->click += [this](Control&, EventArgs&) { onOk(); };
    addKeyShortcut(Keys::Enter, [this](Form&, FormShortcutEventArgs& args) { onEnterShortcut(args); });
}

void Info::onOk() {
    close();
}

void Info::onEnterShortcut(FormShortcutEventArgs& args) {
    if (args.key == Keys::Enter) {
        okButton->simulateClick();
    }
}
