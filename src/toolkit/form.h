#pragma once

// Forms: top-level windows with their frame, placement, keyboard handling and closing, shown
// modeless or modally over the active window.

#include <functional>
#include <memory>

#include "toolkit/control.h"
#include "toolkit/icon.h"

enum class FormBorderStyle { None = 0, FixedSingle = 1, DialogFrame = 2, RaisedDialogFrame = 3, Sizable = 4 };
enum class FormStartPosition { CenterOnOwner = 0, CenterOnScreen = 1, DefaultLocation = 3 };

class ScrollableControl : public Control {
protected:
    using Control::Control;
};

class ContainerControl : public ScrollableControl {
protected:
    using ScrollableControl::ScrollableControl;
};

class Form : public ContainerControl {
public:
    Form();
    ~Form() override;

    Size clientAreaSize() const;
    void setClientAreaSize(int width, int height);

    FormBorderStyle borderStyle() const;
    void setBorderStyle(FormBorderStyle style);
    bool hasMaximizeButton() const;
    void setHasMaximizeButton(bool has);
    bool hasMinimizeButton() const;
    void setHasMinimizeButton(bool has);
    bool hasSystemMenu() const;
    void setHasSystemMenu(bool has);

    FormStartPosition initialPosition() const;
    void setInitialPosition(FormStartPosition position);

    const std::shared_ptr<Icon>& icon() const;
    void setIcon(std::shared_ptr<Icon> icon);

    using ShortcutHandler = std::function<void(Form&, FormShortcutEventArgs&)>;
    // Throws ToolkitException "Shortcut key conflict" when the key is registered already.
    void addKeyShortcut(KeyCode key, ShortcutHandler handler);

    // Shown modally: hides the form, which ends the modal display, and raises closed.
    // Otherwise: raises closing; unless cancelled, destroys the window, then raises closed.
    void close();

    IButtonControl* enterButton() const;
    void setEnterButton(IButtonControl* button);

    // Shows the form modally over the active window and returns when it has been closed.
    DialogResult showModal();
    DialogResult dialogResult() const;
    void setDialogResult(DialogResult result);
    // The form that owns this one while it is shown modally.
    Form* owner() const;

    Event<Form, CancelEventArgs> closing;
    Event<Form, EventArgs> closed;
    Event<Form, EventArgs> load;

protected:
    // Run once when the window first becomes visible: raises load, then moves the focus to the
    // first Tab stop unless the focus is already inside the window.
    virtual void onFirstShown();
    // Run when the form is asked to close other than modally: raises closing.
    virtual void onClosing(CancelEventArgs& args);
    // Shows the form above the window that is active, keeping the input of every other window
    // of the program from then on, yet disabling none.
    void showOverWholeProgram();

private:
    struct Impl;

    void createNativeWidget() override;
    void applyNativeText() override;
    // A disabled form refuses the input to its window itself (its key filter), so that its
    // controls keep their look: Qt would draw every widget in a disabled window greyed.
    void applyNativeEnabled() override {}
    void applyNativeBackground() override;
    void applyNativeVisible(bool visible) override;
    void boundsChanged() override;
    void nativeDestroyed(bool wasVisible) override;

    std::unique_ptr<Impl> impl_;
};
