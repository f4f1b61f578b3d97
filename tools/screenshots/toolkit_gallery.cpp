// Renders a window with every control of the toolkit in its states into
// <folder>/toolkit-gallery.png, to check by eye that texts fit and nothing overlaps.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/application.h"
#include "toolkit/internal.h"

namespace {

template <class ControlType>
ControlType* add(Control* parent, const std::string& text, Rect bounds, const std::function<void(ControlType&)>& setup = {}) {
    auto control = std::make_unique<ControlType>();
    control->setText(text);
    if (setup) setup(*control);
    control->setBounds(bounds.x, bounds.y, bounds.width, bounds.height);
    control->setParent(parent);
    return control.release();
}

// Labels are transparent: a pale fill shows where their bounds end.
const Color labelFill = Color::fromRgb(255, 250, 205);

void fill(Label& label) { label.setBackgroundColor(labelFill); }

class Gallery : public Form {
public:
    Gallery() {
        setText("Toolkit gallery");
        setBorderStyle(FormBorderStyle::DialogFrame);
        setClientAreaSize(600, 330);

        auto* buttons = add<GroupBox>(this, "&Buttons", {8, 8, 184, 150});
        add<Button>(buttons, "&Normal", {12, 20, 80, 24});
        add<Button>(buttons, "&Default", {96, 20, 80, 24}, [](Button& button) { button.markDefault(true); });
        add<Button>(buttons, "Disa&bled", {12, 50, 80, 24}, [](Button& button) { button.setEnabled(false); });
        add<Button>(buttons, "Def. off", {96, 50, 80, 24}, [](Button& button) {
            button.markDefault(true);
            button.setEnabled(false);
        });
        add<CheckBox>(buttons, "&Checked box", {12, 82, 160, 16}, [](CheckBox& box) { box.setChecked(true); });
        add<CheckBox>(buttons, "Unchecked box", {12, 100, 160, 16});
        add<RadioButton>(buttons, "&Radio on", {12, 122, 80, 16}, [](RadioButton& radio) { radio.setChecked(true); });
        add<RadioButton>(buttons, "Radio off", {96, 122, 80, 16});

        auto* labels = add<GroupBox>(this, "&Labels", {200, 8, 392, 150});
        add<Label>(labels, "Answer mode:", {12, 20, 69, 13}, fill);
        add<Label>(labels, "Correct:", {12, 40, 48, 16}, fill);
        add<Label>(labels, "Incorrect:", {12, 60, 56, 16}, fill);
        add<Label>(labels, "Remaining:", {100, 40, 64, 16}, fill);
        add<Label>(labels, "0", {172, 40, 24, 16}, [](Label& label) {
            fill(label);
            label.setAlignment(ContentAlignment::TopRight);
        });
        add<Label>(labels, "Fitted to its text", {100, 60, 10, 10}, fill)->setFitToText(true);
        add<Label>(labels, "&Mnemonic && ampersand", {12, 84, 184, 16}, fill);
        add<Label>(labels, "Centred text that wraps over two lines of this label", {12, 104, 184, 30}, [](Label& label) {
            fill(label);
            label.setAlignment(ContentAlignment::TopCenter);
        });
        add<Label>(labels,
                   "For instructions on how to create verbaro files, please see the file readme.txt which comes "
                   "bundled with the application. This fourth line is cut off.",
                   {204, 20, 176, 48}, [](Label& label) {
                       fill(label);
                       label.setAlignment(ContentAlignment::TopCenter);
                   });
        add<Label>(labels, "Verbaro Tool 1.0", {204, 76, 160, 24}, [](Label& label) {
            fill(label);
            label.setFont(std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Bold, GraphicsUnit::Point));
        });
        add<Label>(labels, "Disabled label", {204, 104, 120, 16}, [](Label& label) { label.setEnabled(false); });
        add<PictureBox>(labels, "", {340, 104, 32, 32}, [](PictureBox& box) {
            box.setImage(Application::programResources().loadIcon(7, true));
        });

        auto* boxes = add<GroupBox>(this, "", {8, 164, 584, 158});
        const auto large = [] { return std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Regular, GraphicsUnit::Point); };
        add<TextBox>(boxes, "Editable", {12, 16, 272, 24}, [&](TextBox& box) {
            box.setFont(large());
            box.setAlignment(HorizontalAlignment::Center);
        });
        add<TextBox>(boxes, "Read-only", {12, 46, 272, 24}, [&](TextBox& box) {
            box.setFont(large());
            box.setReadOnly(true);
            box.setAlignment(HorizontalAlignment::Center);
        });
        add<TextBox>(boxes, "Right-aligned, default font", {12, 76, 272, 24}, [](TextBox& box) {
            box.setAlignment(HorizontalAlignment::Right);
        });
        add<TextBox>(boxes, "Disabled", {12, 106, 272, 24}, [](TextBox& box) { box.setEnabled(false); });
        const struct {
            const char* text;
            Color color;
        } colored[] = {{"Correct", Color::fromRgb(0, 255, 0)},
                       {"Wrong", Color::fromRgb(255, 0, 0)},
                       {"Revealed", Color::fromRgb(255, 255, 0)},
                       {"Neutral", Color::system(Color::ButtonFace)}};
        int y = 16;
        for (const auto& box : colored) {
            add<TextBox>(boxes, box.text, {300, y, 130, 24}, [&](TextBox& control) {
                control.setFont(large());
                control.setReadOnly(true);
                control.setAlignment(HorizontalAlignment::Center);
                control.setBackgroundColor(box.color);
            });
            y += 30;
        }
        add<TextBox>(boxes, "A multi-line, read-only box in the face colour whose text wraps at the box's width.",
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
    ensureQtApplication();
    Gallery gallery;
    gallery.setVisible(true);
    QApplication::processEvents();
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath("toolkit-gallery.png");
    if (!gallery.nativeWidget()->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
