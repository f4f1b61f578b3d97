#pragma once

// Controls and forms: the window and control classes every window of the program is built from.
// Each control wraps one Qt widget, created late (when its form is first shown or when it is
// attached to a container whose widget exists); what is set before is applied at creation.
// Nothing here exposes Qt beyond forward declarations.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/exception.h"

class QWidget;

// The toolkit's own failures.
class ToolkitException : public Exception {
public:
    using Exception::Exception;
};

// ---------------------------------------------------------------------------------------------
// Events

class EventArgs {
public:
    virtual ~EventArgs() = default;
};

class CancelEventArgs : public EventArgs {
public:
    bool cancel = false;
};

// A key code: the virtual-key code in the low 16 bits plus modifier bits.
using KeyCode = std::uint32_t;

struct Keys {
    static constexpr KeyCode Tab = 9;
    static constexpr KeyCode Enter = 13;
    static constexpr KeyCode Escape = 27;
    static constexpr KeyCode Space = 32;
    static constexpr KeyCode Left = 37;
    static constexpr KeyCode Up = 38;
    static constexpr KeyCode Right = 39;
    static constexpr KeyCode Down = 40;
    static constexpr KeyCode F4 = 115;
    // Letters and digits are their upper-case ASCII codes ('A' is 65, '0' is 48).
    static constexpr KeyCode ShiftModifier = 0x00010000;
    static constexpr KeyCode ControlModifier = 0x00020000;
    static constexpr KeyCode AltModifier = 0x00040000;
    static constexpr KeyCode CodeMask = 0x0000FFFF;
};

class FormShortcutEventArgs : public EventArgs {
public:
    explicit FormShortcutEventArgs(KeyCode pressed) : key(pressed) {}
    KeyCode key;
};

// An ordered list of handlers; raising it calls them in the order they were added.
template <class Sender, class Args>
class Event {
public:
    using Handler = std::function<void(Sender&, Args&)>;
    using HandlerId = std::size_t;

    HandlerId add(Handler handler) {
        handlers_.emplace_back(nextId_, std::move(handler));
        return nextId_++;
    }
    Event& operator+=(Handler handler) {
        add(std::move(handler));
        return *this;
    }
    void remove(HandlerId id) {
        std::erase_if(handlers_, [id](const auto& entry) { return entry.first == id; });
    }
    bool empty() const { return handlers_.empty(); }

    // A handler may add or remove handlers while the event is raised: the raise goes over the
    // handlers registered when it began.
    void raise(Sender& sender, Args& args) const {
        const auto current = handlers_;
        for (const auto& entry : current) entry.second(sender, args);
    }

private:
    std::vector<std::pair<HandlerId, Handler>> handlers_;
    HandlerId nextId_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Values

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// An RGB colour, or one of the system's colours when systemIndex is not NoSystemColor.
struct Color {
    static constexpr std::uint8_t NoSystemColor = 255;
    static constexpr std::uint8_t ButtonFace = 15;
    static constexpr std::uint8_t WindowBackground = 5;  // the background of text boxes

    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
    std::uint8_t systemIndex = NoSystemColor;

    static constexpr Color fromRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {r, g, b, 255, NoSystemColor}; }
    static constexpr Color system(std::uint8_t index) { return {0, 0, 0, 255, index}; }
    bool operator==(const Color&) const = default;
};

enum class FormBorderStyle { None = 0, FixedSingle = 1, DialogFrame = 2, RaisedDialogFrame = 3, Sizable = 4 };
enum class FormStartPosition { CenterOnOwner = 0, CenterOnScreen = 1, DefaultLocation = 3 };
enum class ContentAlignment { TopLeft = 0, TopCenter = 7, TopRight = 8 };
enum class HorizontalAlignment { Left = 0, Right = 1, Center = 2 };
enum class GraphicsUnit { Pixel = 2, Point = 5 };
enum class DialogResult { None = 0, OK = 1, Cancel = 2 };
enum class PictureBoxSizeMode { Normal = 0 };
enum class MessageBoxIcon { Error = 0x10, Warning = 0x30, Information = 0x40 };

// Font style flags; combine with |.
enum class FontStyle : unsigned { Regular = 0, Bold = 1, Italic = 2, Underline = 4, Strikeout = 8 };
constexpr FontStyle operator|(FontStyle a, FontStyle b) { return FontStyle(unsigned(a) | unsigned(b)); }
constexpr bool hasStyle(FontStyle style, FontStyle flag) { return (unsigned(style) & unsigned(flag)) != 0; }

// ---------------------------------------------------------------------------------------------
// Fonts, images, resources

class Font {
public:
    // Throws ToolkitException "Unable to create font" when the system refuses the font.
    Font(std::string family, float size, FontStyle style = FontStyle::Regular, GraphicsUnit unit = GraphicsUnit::Point);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& family() const { return family_; }
    float size() const { return size_; }
    FontStyle style() const { return style_; }
    GraphicsUnit unit() const { return unit_; }
    // The native height in pixels: negative for a size in points (10 points at 96 dpi give -13).
    int height() const { return height_; }

    struct Native;
    const Native& native() const { return *native_; }

private:
    std::string family_;
    float size_;
    FontStyle style_;
    GraphicsUnit unit_;
    int height_ = 0;
    std::unique_ptr<Native> native_;
};

class Image {
public:
    virtual ~Image() = default;
    virtual Size size() const = 0;
};

class Icon : public Image {
public:
    struct Native;
    explicit Icon(std::unique_ptr<Native> native);
    ~Icon() override;
    Size size() const override;
    const Native& native() const { return *native_; }

private:
    std::unique_ptr<Native> native_;
};

// The resources compiled into the program file.
class Resources {
public:
    // The icon group with this id; at the default icon size (32 pixels) when defaultSize is true,
    // else at the group's largest size. Returns none when the program has no such icon.
    std::shared_ptr<Icon> loadIcon(int id, bool defaultSize) const;
};

// The full path of the program's own executable file.
std::string programPath();

// A modal message box with one OK button, owned by the active window (none if there is none).
void messageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon);

// ---------------------------------------------------------------------------------------------
// Controls

class Form;

class Control {
public:
    Control();
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

    bool enabled() const;
    void setEnabled(bool enabled);
    bool visible() const;
    void setVisible(bool visible);

    const std::shared_ptr<Font>& font() const { return font_; }
    void setFont(std::shared_ptr<Font> font);

    virtual Color backgroundColor() const;
    void setBackgroundColor(Color color);

    void focus();
    bool focusWithin() const;
    // Destroys the native window and those of the children.
    void destroy();
    // Whether the native window exists.
    bool created() const;
    // The form this control belongs to (itself for a form), or none while unattached.
    Form* form();

    Event<Control, EventArgs> click;

    // The Qt widget behind the control while it exists: for the toolkit itself and for tests.
    QWidget* nativeWidget() const;

protected:
    virtual bool isContainer() const { return false; }
    // Makes the widgets of this control and its children, in attach order.
    void createNative(QWidget* parentWidget);

private:
    friend struct ControlAccess;
    struct State;

    // How each class of control realises itself as a Qt widget, made late, and how a property
    // set after that reaches the widget. Text and background are applied only while the
    // widget exists; visibility and bounds are handled on every change, whether it exists or not
    // (a form is made by being shown, and keeps its own placement).
    virtual QWidget* createNativeWidget(QWidget* parentWidget);
    virtual void applyNativeText() {}
    virtual void applyNativeEnabled();
    virtual void applyNativeBackground();
    virtual void applyNativeVisible();
    virtual void boundsChanged();
    // Runs once the native windows of the control and its children are gone.
    virtual void nativeDestroyed(bool /*wasVisible*/) {}

    // Forgets the widgets of this control and its children; the top one is deleted later or,
    // from a destructor, at once.
    enum class Deletion { Later, AtOnce };
    void releaseNative(Deletion deletion);

    std::unique_ptr<State> state_;
    Control* parent_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
    std::shared_ptr<Font> font_;
};

// Creates a control, lets `setup` give it its text and settings, places it at `bounds` and
// attaches it to `parent`, which owns it from then on. Until it is attached the control is owned
// here, so a setup that fails (a font the system refuses) leaks nothing.
template <class ControlType>
ControlType* addControl(Control* parent, Rect bounds, const std::function<void(ControlType&)>& setup) {
    auto control = std::make_unique<ControlType>();
    setup(*control);
    control->setBounds(bounds.x, bounds.y, bounds.width, bounds.height);
    control->setParent(parent);
    return control.release();
}

// The same for a control whose text comes first, before its other settings.
template <class ControlType>
ControlType* addControl(Control* parent, const std::string& text, Rect bounds,
                        const std::function<void(ControlType&)>& settings = {}) {
    return addControl<ControlType>(parent, bounds, [&](ControlType& control) {
        control.setText(text);
        if (settings) {
            settings(control);
        }
    });
}

// Base of the controls that wrap a standard native control.
class ControlSuperClass : public Control {};

class Label : public Control {
public:
    Label();
    ContentAlignment alignment() const;
    void setAlignment(ContentAlignment alignment);
    // While on, the label is sized to its text in its font, unwrapped; a later setBounds
    // overrides that size until the text changes again.
    bool fitToText() const;
    void setFitToText(bool fit);

    void setText(const std::string& text) override;

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;
    void applyNativeText() override;
    void fitSizeToText();

    ContentAlignment alignment_ = ContentAlignment::TopLeft;
    bool fitToText_ = false;
};

class TextBoxBase : public ControlSuperClass {
public:
    bool readOnly() const;
    void setReadOnly(bool readOnly);
    bool multiline() const;
    void setMultiline(bool multiline);
    std::uint32_t textLength() const;
    // Selects the whole text when the native window exists; otherwise does nothing.
    void selectAll();

    std::string text() const override;
    void setText(const std::string& text) override;
    Color backgroundColor() const override;

private:
    void applyNativeText() override;
    void applyNativeBackground() override;

    bool readOnly_ = false;
    // Fixed when the native window is made: a single-line and a multi-line box are different
    // kinds of widget.
    bool multiline_ = false;
};

class TextBox : public TextBoxBase {
public:
    TextBox();
    HorizontalAlignment alignment() const;
    void setAlignment(HorizontalAlignment alignment);

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;

    HorizontalAlignment alignment_ = HorizontalAlignment::Left;
};

class ButtonBase : public ControlSuperClass {
private:
    void applyNativeText() override;
};

// A button that a form can press: its Enter button.
class IButtonControl {
public:
    virtual ~IButtonControl() = default;
    virtual void simulateClick() = 0;
    virtual void markDefault(bool isDefault) = 0;
};

class Button : public ButtonBase, public IButtonControl {
public:
    Button();
    // Raises click as a user click would, but only when enabled, visible and created.
    void simulateClick() override;
    // The default-button look whenever the button is enabled.
    void markDefault(bool isDefault) override;

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;

    bool markedDefault_ = false;
};

class CheckBox : public ButtonBase {
public:
    CheckBox();
    bool checked() const;
    void setChecked(bool checked);

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;

    bool checked_ = false;
};

class RadioButton : public ButtonBase {
public:
    RadioButton();
    bool checked() const;
    void setChecked(bool checked);

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;

    bool checked_ = false;
};

class GroupBox : public ControlSuperClass {
public:
    GroupBox();

protected:
    bool isContainer() const override { return true; }

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;
    void applyNativeText() override;
};

class PictureBox : public Control {
public:
    PictureBox();
    const std::shared_ptr<Image>& image() const;
    void setImage(std::shared_ptr<Image> image);
    PictureBoxSizeMode sizeMode() const;
    void setSizeMode(PictureBoxSizeMode mode);

private:
    QWidget* createNativeWidget(QWidget* parentWidget) override;
    void applyNativeImage(QWidget* widget);

    std::shared_ptr<Image> image_;
    PictureBoxSizeMode sizeMode_ = PictureBoxSizeMode::Normal;
};

class ScrollableControl : public Control {
protected:
    bool isContainer() const override { return true; }
};

class ContainerControl : public ScrollableControl {};

// ---------------------------------------------------------------------------------------------
// Forms

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

private:
    friend struct FormAccess;
    struct FormState;

    QWidget* createNativeWidget(QWidget* parentWidget) override;
    void applyNativeText() override;
    // A disabled form refuses the input to its window itself (its key filter), so that its
    // controls keep their look: Qt would draw every widget in a disabled window greyed.
    void applyNativeEnabled() override {}
    void applyNativeBackground() override;
    void applyNativeVisible() override;
    void boundsChanged() override;
    void nativeDestroyed(bool wasVisible) override;
    // The window flags and size limits that the border style and caption buttons ask for.
    void applyNativeFrame();
    // The window the form stays above and whose input it withholds, for the window system.
    void applyNativeOwner();
    void placeAtInitialPosition();

    std::unique_ptr<FormState> formState_;
};
