#pragma once

// What a form keeps beyond what every control keeps: shared by its frame, placement and life
// cycle (form.cpp) and its modal display (modal.cpp).

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "keyboard_p.h"
#include "toolkit/form.h"

class QWindow;

struct Form::Impl {
    // While the form is shown modally (set and cleared by showModal):
    Form* owner = nullptr;  // the form of the owner window, if it has one
    bool shownModally = false;
    DialogResult dialogResult = DialogResult::None;
    // Called the moment the form is hidden during a modal display, so that the owner is
    // re-enabled and activated right then.
    std::function<void()> hiddenWhileModal;
    // While the form is up over other windows (a modal display, the error dialog): whose input
    // it withholds in the window system's sense, and the window it stays above. Applied each
    // time the form is shown.
    Qt::WindowModality modality = Qt::NonModal;
    QPointer<QWidget> ownerWindow;

    // The window's frame and placement.
    Size clientSize{300, 300};
    FormBorderStyle borderStyle = FormBorderStyle::Sizable;
    bool hasMaximizeButton = true;
    bool hasMinimizeButton = true;
    bool hasSystemMenu = true;
    FormStartPosition initialPosition = FormStartPosition::DefaultLocation;
    // A position given with setBounds; without one the platform places the window.
    bool positionSet = false;
    std::shared_ptr<Icon> icon;

    ShortcutMap shortcuts;
    IButtonControl* enterButton = nullptr;
    std::unique_ptr<MessageFilter> keyFilter;
    bool loadRaised = false;
    // Set while the window flags are replaced: Qt hides the window for that, which is no hiding.
    bool changingFrame = false;

    // Reported once the form is hidden or destroyed while shown modally.
    void reportHiddenWhileModal() const {
        if (shownModally && hiddenWhileModal) {
            hiddenWhileModal();
        }
    }

    // The window flags and size limits that the border style and caption buttons ask for.
    Qt::WindowFlags windowFlags() const;
    void applyClientSize(QWidget& widget) const;
    void applyFrame(QWidget* widget);
    // The window the form stays above and whose input it withholds, for the window system.
    void applyOwner(QWidget& widget);
    void placeAtInitialPosition(QWidget& widget, const Rect& boundsAsSet) const;
};

// Whether a modal window keeps this form window from input.
bool isKeptFromInput(const QWidget& formWindow);
// Keeps track of the modal windows (modal.cpp), and brings the top one back to the user, on top
// with the keyboard, when a window that it keeps from input is given the keyboard all the same or
// the compositor has closed its popup to give the keyboard elsewhere; once, before the first form.
void watchModalWindows();
// Whether a modal window is being mapped anew to bring it back: its hiding on the way is no
// hiding to its form.
bool isBeingMappedAnew(const QWindow* window);
