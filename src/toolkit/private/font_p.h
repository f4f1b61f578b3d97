#pragma once

// The Qt font behind a toolkit font, and the fonts that stand in for the Windows dialog faces.

#include <QFont>
#include <memory>

#include "toolkit/font.h"

struct Font::Native {
    QFont font;
};

// Makes the stand-in for the Windows dialog font known to Qt (Tahoma from Wine's fonts, which
// are not in fontconfig's path); its bold face follows when a font first asks for it.
void registerSubstituteFonts();

// Every control without a font of its own uses this one: "MS Shell Dlg 2" at the default GUI
// font's point size.
const std::shared_ptr<Font>& defaultControlFont();
// The Qt font of a control's font, the default one for none.
const QFont& qFontOf(const std::shared_ptr<Font>& font);
