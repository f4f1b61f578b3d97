#pragma once

// What screen readers are told of the controls (accessibility.cpp). Qt describes text boxes, push
// buttons and check boxes rightly itself; every other widget is marked, when it is made, as one
// that the toolkit describes, with the role of its kind.

#include <QAccessible>

class Control;
class QWidget;

void describeAs(QWidget& widget, QAccessible::Role role);
// Installs the toolkit's descriptions; the last installed is asked first, before Qt's own.
void installAccessibleDescriptions();
// Gives the widget of the control, and those of the controls it captions, their accessible name
// and description as they now are; a change is announced.
void showAccessibleText(Control& control);
// Announces the control's description anew.
void announceAccessibleDescription(Control& control);
