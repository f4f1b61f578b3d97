#include "appfixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <fstream>

#include "model/appexception.h"

namespace app_test {

namespace {

void settle() {
    QApplication::processEvents();
}

}  // namespace

AppTest::AppTest() {
    std::string name = (std::filesystem::temp_directory_path() / "verbaro-app-test-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    folder = name;

    installWarningBox();
    setMessageBoxHandler([this](const MessageBoxCall& call) { boxes.push_back(call); });
    setOpenFileDialogHandler([this](const OpenFileDialogCall& call) {
        dialogs.push_back(call);
        return std::exchange(dialogChoice_, std::nullopt);
    });

    form = std::make_unique<MyForm>();
    form->setVisible(true);
    QWidget* window = widgetOf(*form);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        ADD_FAILURE() << "the main window did not become active";
    }
    settle();
}

AppTest::~AppTest() {
    form.reset();
    setMessageBoxHandler(nullptr);
    setOpenFileDialogHandler(nullptr);
    AppException::setWarningBox(nullptr);
    std::filesystem::remove_all(folder);
}

std::string AppTest::write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

void AppTest::chooseNext(const std::string& path) {
    dialogChoice_ = path;
}

void AppTest::open(const std::string& path) {
    chooseNext(path);
    click(*form->openButton);
}

void AppTest::cancelOpen() {
    dialogChoice_ = std::nullopt;
    click(*form->openButton);
}

void AppTest::type(const std::string& text) {
    QWidget* box = widgetOf(*form->guessBox);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QString::fromStdString(text));
    settle();
}

void AppTest::guess(const std::string& text) {
    type(text);
    click(*form->guessButton);
}

void AppTest::pressEnterOn(Control& control) {
    control.focus();
    settle();
    ASSERT_EQ(QApplication::focusWidget(), widgetOf(control));
    pressEnterOnFocus();
}

void AppTest::click(Control& control) {
    QTest::mouseClick(widgetOf(control), Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
    settle();
}

std::vector<std::string> AppTest::counters() const {
    return {form->correctValue->text(), form->incorrectValue->text(), form->answeredValue->text(),
            form->remainingValue->text()};
}

std::string AppTest::question() const {
    return form->questionBox->text();
}

std::string AppTest::answerFor(const std::map<std::string, std::string>& answers) const {
    const auto found = answers.find(question());
    if (found == answers.end()) {
        ADD_FAILURE() << "unexpected question \"" << question() << "\"";
        return std::string();
    }
    return found->second;
}

QWidget* visibleWindow(const std::string& caption) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == QString::fromStdString(caption)) {
            return window;
        }
    }
    return nullptr;
}

WhenAboutShown::WhenAboutShown(const std::function<void(QWidget& window)>& action) : poll_(std::make_unique<QTimer>()) {
    QObject::connect(poll_.get(), &QTimer::timeout, [this, action] {
        if (QWidget* about = visibleWindow("About")) {
            poll_->stop();
            action(*about);
        }
    });
    poll_->start(10);
}

WhenAboutShown::~WhenAboutShown() = default;

void pressEnterOnFocus() {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_Return);
    settle();
}

}  // namespace app_test
