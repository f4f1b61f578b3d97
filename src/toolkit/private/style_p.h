#pragma once

// The look of every widget: the toolkit's style and the colours of its controls (style.cpp).

#include <QColor>
#include <QPalette>
#include <initializer_list>

#include "toolkit/values.h"

class QStyle;
class QWidget;

QStyle* makeToolkitStyle();

// The colour a Color stands for on this platform.
QColor qColorOf(const Color& color);
// Gives the widget the colour in the background roles. A fixed colour gets its text, in the text
// roles, in black or white, whichever reads better on it: the desktop's text colour goes with the
// desktop's own backgrounds only (light text on a dark palette). A system colour keeps that text.
void setBackground(QWidget& widget, const Color& color, std::initializer_list<QPalette::ColorRole> backgrounds,
                   std::initializer_list<QPalette::ColorRole> texts);
