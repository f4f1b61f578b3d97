// The dialog shown for an error that escaped an event handler: the user continues or quits.

#include "errform_p.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

#include "control_p.h"
#include "messagefilter_p.h"
#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/textbox.h"

namespace {

// While the error dialog waits, the other windows of the program take no input: their mouse,
// keyboard and close events are dropped. Menus that pop up from the dialog itself still work.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(Form& dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type()) || !watched->isWidgetType()) {
            return false;
        }
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->window()->windowType() == Qt::Popup || formOfWidget(widget) == &dialog_) {
            return false;
        }
        return refuseInput(event);
    }

private:
    Form& dialog_;
};

}  // namespace

Application::ErrForm::ErrForm(const std::string& errorText) {
    setText("Error");
    setClientAreaSize(340, 150);
    setInitialPosition(FormStartPosition::CenterOnScreen);
    setBorderStyle(FormBorderStyle::RaisedDialogFrame);
    setHasMinimizeButton(false);
    setHasMaximizeButton(false);
    setHasSystemMenu(false);
    const Size client = clientAreaSize();
    constexpr int buttonWidth = 100;

    auto* sentence = new Label;
    sentence->setBounds(10, 10, client.width - 20, 40);
    sentence->setText("An application exception has occured. Click Continue to allow the application to ignore this "
                      "error and attempt to continue.");
    sentence->setParent(this);

    errorBox_ = new TextBox;
    errorBox_->setText(errorText);
    errorBox_->setBounds(10, 50, client.width - 20, 50);
    errorBox_->setBackgroundColor(backgroundColor());
    errorBox_->setReadOnly(true);
    errorBox_->setMultiline(true);
    errorBox_->setParent(this);

    continueButton_ = new Button;
    const int buttonHeight = continueButton_->bounds().height;
    const int buttonY = client.height - 10 - buttonHeight;
    continueButton_->setBounds(client.width - 20 - 2 * buttonWidth, buttonY, buttonWidth, buttonHeight);
    continueButton_->setText("&Continue");
    continueButton_->setParent(this);
    continueButton_->click += [this](Control&, EventArgs&) { onContinue(); };

    setEnterButton(continueButton_);

    auto* quitButton = new Button;
    quitButton->setBounds(client.width - 10 - buttonWidth, buttonY, buttonWidth, buttonHeight);
    quitButton->setText("&Quit");
    quitButton->setParent(this);
    quitButton->click += [this](Control&, EventArgs&) { onQuit(); };
}

std::string Application::ErrForm::text() const {
    return errorBox_ ? errorBox_->text() : Form::text();
}

void Application::ErrForm::onFirstShown() {
    continueButton_->focus();
}

void Application::ErrForm::onClosing(CancelEventArgs& args) {
    Form::onClosing(args);
    if (!choiceMade_) {
        args.cancel = true;
    }
}

void Application::ErrForm::onContinue() {
    choiceMade_ = true;
    continueChosen_ = true;
    destroy();
}

void Application::ErrForm::onQuit() {
    choiceMade_ = true;
    continueChosen_ = false;
    destroy();
}

bool Application::ErrForm::waitForChoice() {
    InputBlocker blocker(*this);
    showOverWholeProgram();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    while (created()) {
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return continueChosen_;
}
