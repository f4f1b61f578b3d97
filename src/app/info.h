#pragma once

// The About window: the program's name, version and makers, and where the file format is told.

#include "toolkit/controls.h"

class Info : public Form {
public:
    Info();

    GroupBox* frame = nullptr;
    Label* freewareLabel = nullptr;
    Label* makerLabel = nullptr;
    Label* webLabel = nullptr;
    Label* authorLabel = nullptr;
    Label* emailLabel = nullptr;
    PictureBox* logoBox = nullptr;
    Label* titleLabel = nullptr;
    Label* readmeLabel = nullptr;
    Button* okButton = nullptr;

private:
    void buildLayout();

    void onOk();
    void onEnterShortcut(FormShortcutEventArgs& args);
};
