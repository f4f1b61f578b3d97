// Renders a window with every control of the toolkit in its states into
// <folder>/toolkit-gallery.png, to check by eye that texts fit and nothing overlaps.

#include <cstdio>
#include <filesystem>
#include <memory>

#include "program/identity.h"
#include "screenshot.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/testing/testing.h"

namespace {

// Labels are transparent: a pale fill shows where their bounds end.
const Color labelFill = Color::fromRgb(255, 250, 205);

void fill(Label& label) {
    label.setBackgroundColor(labelFill);
}

class Gallery : public Form {
public:
    Gallery() {
        setText("Toolkit gallery");
        setBorderStyle(FormBorderStyle::DialogFrame);
        setClientAreaSize(600, 330);

        auto* buttons = addControl<GroupBox>(this, "&Buttons", {8, 8, 184, 150});
        addControl<Button>(buttons, "&Normal", {12, 20, 80, 24});
        addControl<Button>(buttons, "&Default", {96, 20, 80, 24}, [](Button& button) { button.markDefault(true); });
        addControl<Button>(buttons, "Disa&bled", {12, 50, 80, 24}, [](Button& button) { button.setEnabled(false); });
        addControl<Button>(buttons, "Def. off", {96, 50, 80, 24}, [](Button& button) {
            button.markDefault(true);
            button.setEnabled(false);
        });
        addControl<CheckBox>(buttons, "&Checked box", {12, 82, 160, 16}, [](CheckBox& box) { box.setChecked(true); });
        addControl<CheckBox>(buttons, "Unchecked box", {12, 100, 160, 16});
        addControl<RadioButton>(buttons, "&Radio on", {12, 122, 80, 16},
                                [](RadioButton& radio) { radio.setChecked(true); });
        addControl<RadioButton>(buttons, "Radio off", {96, 122, 80, 16});

        auto* labels = addControl<GroupBox>(this, "&Labels", {200, 8, 392, 150});
        addControl<Label>(labels, "Answer mode:", {12, 20, 69, 13}, fill);
        addControl<Label>(labels, "Correct:", {12, 40, 48, 16}, fill);
        addControl<Label>(labels, "Incorrect:", {12, 60, 56, 16}, fill);
        addControl<Label>(labels, "Remaining:", {100, 40, 64, 16}, fill);
        addControl<Label>(labels, "0", {172, 40, 24, 16}, [](Label& label) {
            fill(label);
            label.setAlignment(ContentAlignment::TopRight);
        });
        addControl<Label>(labels, "Fitted to its text", {100, 60, 10, 10}, fill)->setFitToText(true);
        addControl<Label>(labels, "&Mnemonic && ampersand", {12, 84, 184, 16}, fill);
        addControl<Label>(labels, "Centred text that wraps over two lines of this label", {12, 104, 184, 30},
                          [](Label& label) {
                              fill(label);
                              label.setAlignment(ContentAlignment::TopCenter);
                          });
        addControl<Label>(labels,
                          "For instructions on how to create verbaro files, please see the file readme.txt which comes "
                          "bundled with the application. This fourth line is cut off.",
                          {204, 20, 176, 48}, [](Label& label) {
                              fill(label);
                              label.setAlignment(ContentAlignment::TopCenter);
                          });
        addControl<Label>(labels, programName + " " + programVersion, {204, 76, 160, 24}, [](Label& label) {
            fill(label);
            label.setFont(std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Bold, GraphicsUnit::Point));
        });
        addControl<Label>(labels, "Disabled label", {204, 104, 120, 16}, [](Label& label) { label.setEnabled(false); });
        addControl<PictureBox>(labels, "", {340, 104, 32, 32}, [](PictureBox& box) {
            box.setImage(Application::programResources().loadIcon(programIconId, true));
        });

        auto* boxes = addControl<GroupBox>(this, "", {8, 164, 584, 158});
        const auto large = [] {
            return std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Regular, GraphicsUnit::Point);
        };
        addControl<TextBox>(boxes, "Editable", {12, 16, 272, 24}, [&](TextBox& box) {
            box.setFont(large());
            box.setAlignment(HorizontalAlignment::Center);
        });
        addControl<TextBox>(boxes, "Read-only", {12, 46, 272, 24}, [&](TextBox& box) {
            box.setFont(large());
            box.setReadOnly(true);
            box.setAlignment(HorizontalAlignment::Center);
        });
        addControl<TextBox>(boxes, "Right-aligned, default font", {12, 76, 272, 24},
                            [](TextBox& box) { box.setAlignment(HorizontalAlignment::Right); });
        addControl<TextBox>(boxes, "Disabled", {12, 106, 272, 24}, [](TextBox& box) { box.setEnabled(false); });
        const struct {
            const char* text;
            Color color;
        } colored[] = {{"Correct", Color::fromRgb(0, 255, 0)},
                       {"Wrong", Color::fromRgb(255, 0, 0)},
                       {"Revealed", Color::fromRgb(255, 255, 0)},
                       {"Neutral", Color::system(Color::ButtonFace)}};
        int y = 16;
        for (const auto& box : colored) {
            addControl<TextBox>(boxes, box.text, {300, y, 130, 24}, [&](TextBox& control) {
                control.setFont(large());
                control.setReadOnly(true);
                control.setAlignment(HorizontalAlignment::Center);
                control.setBackgroundColor(box.color);
            });
            y += 30;
        }
        addControl<TextBox>(boxes,
                            "A multi-line, read-only box in the face colour whose text wraps at the box's width.",
                            {440, 16, 132, 84}, [this](TextBox& box) {
                                box.setMultiline(true);
                                box.setReadOnly(true);
                                box.setBackgroundColor(backgroundColor());
                            });
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    startToolkit();
    Gallery gallery;
    gallery.setVisible(true);
    return saveScreenshot(gallery, std::filesystem::path(argv[1]) / "toolkit-gallery.png") ? 0 : 1;
}
