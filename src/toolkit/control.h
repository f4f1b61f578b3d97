#pragma once

// The root of every control and form: its properties, its place among its container's children,
// and the widget that stands for it in the platform. That widget is made late, when the form is
// first shown or when the control is attached to a container whose widget exists; what is set
// before is applied then.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/event.h"
#include "toolkit/fwd.h"
#include "toolkit/nativekey.h"
#include "toolkit/toolkitexception.h"
#include "toolkit/values.h"

// What a control is to a screen reader, when it is to be other than what its kind makes it. The
// numbers are those of the reference platform's accessibility roles, which Qt's keep.
enum class AccessibleRole {
    Default = -1,
    Window = 9,
    Dialog = 18,
    Grouping = 20,
    Graphic = 40,
    StaticText = 41,
    Text = 42,
    PushButton = 43,
    CheckButton = 44,
    RadioButton = 45
};

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual std::string text() const;
    virtual void setText(const std::string& text);

    Rect bounds() const;
    void setBounds(int x, int y, int width, int height);

    // Attaches this control as the last child of a container (a Form or a GroupBox), which owns
    // it from then on. Attach order is Tab order and z-order.
    Control* parent() const { return parent_; }
    void setParent(Control* container);
    const std::vector<std::unique_ptr<Control>>& children() const { return children_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const;
    void setVisible(bool visible);

    const std::shared_ptr<Font>& font() const { return font_; }
    void setFont(std::shared_ptr<Font> font);

    virtual Color backgroundColor() const;
    void setBackgroundColor(Color color);

    // Fixed by the kind of control: whether it can take the keyboard focus, and whether Tab
    // stops at it.
    bool canFocus() const { return canFocus_; }
    bool tabStop() const { return tabStop_; }

    void focus();
    bool focusWithin() const;
    // Destroys the native window and those of the children.
    void destroy();
    // Whether the native window exists.
    bool created() const;
    // The form this control belongs to (itself for a form), or none while unattached.
    Form* form();

    // What a screen reader tells of the control. Its name, unless set here, is what it shows: the
    // text of a label, button or group box without its "&" marks, a window's caption. A control
    // captioned by another (labelledBy, a control of the same form) is named by that caption, and
    // one that shows a text of its own adds it ("Correct: 3"). The description is told after the
    // name, and a new one is announced even when it reads as before. The role, unless set, is that
    // of the control's kind; a window keeping others from input is a dialog, and says it is modal.
    // Text boxes, push buttons and check boxes keep the platform's own description of their kind,
    // their role with it.
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(const std::string& name);
    const std::string& accessibleDescription() const { return accessibleDescription_; }
    void setAccessibleDescription(const std::string& description);
    AccessibleRole accessibleRole() const { return accessibleRole_; }
    void setAccessibleRole(AccessibleRole role) { accessibleRole_ = role; }
    Control* labelledBy() const { return labelledBy_; }
    void setLabelledBy(Control* caption);

    Event<Control, EventArgs> click;

    // The control's side in the platform: the widget that stands for it while it exists.
    // Complete, and reached, only inside the toolkit.
    struct Native;
    Native& native(NativeKey /*key*/) { return *native_; }
    const Native& native(NativeKey /*key*/) const { return *native_; }

protected:
    // What a kind of control fixes for all controls of that kind.
    struct Kind {
        Rect defaultBounds;
        bool canFocus = false;
        bool tabStop = false;
        // Whether it holds other controls.
        bool container = false;
        // A form stays hidden until it is shown.
        bool initiallyVisible = true;
    };
    explicit Control(const Kind& kind);

    // Makes the widgets of this control and its children, in attach order.
    void createNative();
    // The bounds as last set, whatever the platform has made of them since.
    const Rect& boundsAsSet() const { return bounds_; }
    // Changes the bounds kept for a control whose widget does not exist, without placing it.
    void keepBounds(const Rect& bounds) { bounds_ = bounds; }
    // Whether the control has a background colour of its own.
    bool hasOwnBackgroundColor() const { return backgroundColor_.has_value(); }

private:
    // How each class of control realises itself as a widget, made late, and how a property set
    // after that reaches the widget. Text and background are applied only while the widget
    // exists; visibility and bounds are handled on every change, whether it exists or not (a
    // form is made by being shown, and keeps its own placement).
    virtual void createNativeWidget();
    virtual void applyNativeText() {}
    virtual void applyNativeEnabled();
    virtual void applyNativeBackground();
    virtual void applyNativeVisible(bool visible);
    virtual void boundsChanged();
    // Runs once the native windows of the control and its children are gone.
    virtual void nativeDestroyed(bool /*wasVisible*/) {}

    // Forgets the widgets of this control and its children; the top one is deleted later or,
    // from a destructor, at once.
    enum class Deletion { Later, AtOnce };
    void releaseNative(Deletion deletion);

    const bool canFocus_;
    const bool tabStop_;
    const bool container_;
    std::string text_;
    Rect bounds_;
    bool enabled_ = true;
    bool visible_;
    std::optional<Color> backgroundColor_;
    std::shared_ptr<Font> font_;
    std::string accessibleName_;
    std::string accessibleDescription_;
    AccessibleRole accessibleRole_ = AccessibleRole::Default;
    Control* labelledBy_ = nullptr;
    Control* parent_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
    std::unique_ptr<Native> native_;
};

// Base of the controls that wrap a standard native control.
class ControlSuperClass : public Control {
protected:
    using Control::Control;
};
