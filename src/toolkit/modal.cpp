#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/internal.h"
#include "toolkit/messageloop.h"

namespace {

// The window a modal form disables while it is up: a toolkit form's through the toolkit, so that
// it takes no input yet keeps its look, any other through Qt.
class DisabledOwner {
public:
    DisabledOwner(QWidget* window, Form* form) : window_(window), form_(form) {
        if (!window_ || !(form_ ? form_->enabled() : window_->isEnabled())) return;
        setOwnerEnabled(false);
        disabled_ = true;
    }
    ~DisabledOwner() { restore(); }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

    // Re-enables and activates the owner, once, if this display disabled it.
    void restore() {
        if (!disabled_) return;
        disabled_ = false;
        if (!window_) return;
        setOwnerEnabled(true);
        window_->activateWindow();
    }

private:
    void setOwnerEnabled(bool enabled) {
        if (form_)
            form_->setEnabled(enabled);
        else
            window_->setEnabled(enabled);
    }

    QPointer<QWidget> window_;
    Form* form_;
    bool disabled_ = false;
};

}  // namespace

DialogResult Form::showModal() {
    ensureQtApplication();
    QWidget* ownerWindow = QApplication::activeWindow();
    if (ownerWindow && ownerWindow == nativeWidget()) ownerWindow = nullptr;
    if (!enabled() || (created() && nativeWidget()->isVisible()) || (ownerWindow && !ownerWindow->isWindow()))
        throw ToolkitException("Unable to show dialog");

    FormState& state = FormAccess::state(*this);
    Form* ownerForm = ownerWindow ? formOfWidget(ownerWindow) : nullptr;
    DisabledOwner owner(ownerWindow, ownerForm);
    bool hidden = false;
    state.owner = ownerForm;
    state.ownerWindow = ownerWindow;
    state.modality = Qt::WindowModal;
    state.shownModally = true;
    state.hiddenWhileModal = [&] {
        hidden = true;
        owner.restore();
    };
    // However the display ends, the form is hidden but kept for its caller, and the owner comes
    // back before anything else happens: hidden first, as the owner takes the focus again only
    // once the form no longer keeps it from input.
    struct EndDisplay {
        Form& form;
        FormState& state;
        DisabledOwner& owner;
        ~EndDisplay() {
            state.hiddenWhileModal = nullptr;
            state.shownModally = false;
            state.modality = Qt::NonModal;
            state.ownerWindow = nullptr;
            form.setVisible(false);
            owner.restore();
            state.owner = nullptr;
        }
    } endDisplay{*this, state, owner};

    setVisible(true);
    runMessagePasses(LoopDepth::Nested, [&] { return hidden || !created() || !nativeWidget()->isVisible(); });
    return state.dialogResult;
}
