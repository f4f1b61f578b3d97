#pragma once

// The dialog shown for an error that escaped an event handler.

#include <string>

#include "toolkit/application.h"
#include "toolkit/form.h"

class Application::ErrForm : public Form {
public:
    explicit ErrForm(const std::string& errorText);
    // Shows the dialog and waits for the user's choice: true for Continue, false for Quit.
    bool waitForChoice();
    std::string text() const override;

protected:
    void onFirstShown() override;
    void onClosing(CancelEventArgs& args) override;

private:
    void onContinue();
    void onQuit();

    bool choiceMade_ = false;
    bool continueChosen_ = false;
    Button* continueButton_ = nullptr;
    TextBox* errorBox_ = nullptr;
};
