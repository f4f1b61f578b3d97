// Forms: late widgets, frame and placement, closing, first showing; and the toolkit's services
// around them (message filters, fonts, icons, program path, message box).

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <limits>

#include "controls_support.h"
#include "toolkit/testing/testing.h"
#include "user_input.h"

using namespace controls_support;
using user_input::later;

namespace {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { startToolkit(); }

    static QRect workArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    Form form;
};

TEST_F(FormTest, WidgetsAreMadeWhenTheFormIsFirstShownWithWhatWasSetBefore) {
    auto* group = addControl<GroupBox>(&form, "&Group", {20, 30, 200, 100});
    auto* button = addControl<Button>(group, "&Go", {16, 24, 80, 24}, [](Button& button) { button.setEnabled(false); });
    auto* check = addControl<CheckBox>(group, "Check", {16, 60, 80, 16}, [](CheckBox& box) { box.setChecked(true); });
    form.setText("Caption");
    EXPECT_FALSE(button->created());
    EXPECT_FALSE(button->focusWithin());

    show(form);

    ASSERT_TRUE(button->created());
    EXPECT_EQ(widgetOf(form)->windowTitle(), "Caption");
    QWidget* widget = widgetOf(*button);
    EXPECT_EQ(widget->parentWidget(), widgetOf(*group)) << "placed relative to the group box's own corner";
    EXPECT_EQ(widget->geometry(), QRect(16, 24, 80, 24));
    EXPECT_EQ(static_cast<QPushButton*>(widget)->text(), "&Go");
    EXPECT_FALSE(widget->isEnabled());
    EXPECT_TRUE(check->checked());
    EXPECT_EQ(controlOfWidget(widget), button);
    EXPECT_EQ(controlOfWidget(widget->window()), &form);
    EXPECT_EQ(button->form(), &form);

    auto* late = addControl<Label>(group, "Late", {16, 80, 60, 13});
    EXPECT_TRUE(late->created()) << "attached to a container whose widget exists";
    EXPECT_TRUE(widgetOf(*late)->isVisible());
    button->setBounds(-5, -6, 70, 20);
    EXPECT_EQ(widget->geometry(), QRect(-5, -6, 70, 20));
}

TEST_F(FormTest, OnlyContainersTakeChildrenAndNothingChangesOnARefusal) {
    auto* group = addControl<GroupBox>(&form, "", {0, 0, 100, 100});
    auto* button = addControl<Button>(group, "B", {0, 0, 75, 23});
    Label label;
    Form other;
    const auto refusal = [](const std::function<void()>& attach) {
        try {
            attach();
        } catch (const ToolkitException& error) {
            return error.message();
        }
        return std::string("attached");
    };
    EXPECT_EQ(refusal([&] { button->setParent(&label); }), "Invalid parent control");
    EXPECT_EQ(refusal([&] { group->setParent(group); }), "Invalid parent control");
    EXPECT_EQ(refusal([&] { other.setParent(&form); }), "Invalid parent control");
    EXPECT_EQ(button->parent(), group);
    EXPECT_EQ(group->children().size(), 1u);

    button->setParent(&form);
    EXPECT_TRUE(group->children().empty());
    EXPECT_EQ(form.children().back().get(), button);
}

TEST_F(FormTest, NewFormHasSizingFrameCaptionButtonsAndSystemMenu) {
    EXPECT_EQ(form.borderStyle(), FormBorderStyle::Sizable);
    EXPECT_TRUE(form.hasMaximizeButton());
    EXPECT_TRUE(form.hasMinimizeButton());
    EXPECT_TRUE(form.hasSystemMenu());
    EXPECT_EQ(form.backgroundColor(), Color::system(Color::ButtonFace));
    form.setClientAreaSize(200, 100);
    show(form);
    const Qt::WindowFlags flags = widgetOf(form)->windowFlags();
    EXPECT_TRUE(flags.testFlags(Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint
                                | Qt::WindowCloseButtonHint));
    EXPECT_NE(widgetOf(form)->minimumSize(), widgetOf(form)->maximumSize());

    form.setBorderStyle(FormBorderStyle::DialogFrame);
    form.setHasMaximizeButton(false);
    QWidget* widget = widgetOf(form);
    EXPECT_TRUE(widget->isVisible()) << "a new frame does not hide the window";
    EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(widget->minimumSize(), QSize(200, 100));
    EXPECT_EQ(widget->maximumSize(), QSize(200, 100));

    form.setHasSystemMenu(false);
    EXPECT_FALSE(widget->windowFlags()
                 & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint));
}

TEST_F(FormTest, ClientAreaSizeIsTheWidgetsSizeAndBoundsTheOuterFrame) {
    form.setClientAreaSize(411, 315);
    EXPECT_EQ(form.clientAreaSize(), (Size{411, 315}));
    show(form);
    EXPECT_EQ(widgetOf(form)->size(), QSize(411, 315));
    const QRect frame = widgetOf(form)->frameGeometry();
    EXPECT_EQ(form.bounds(), (Rect{frame.x(), frame.y(), frame.width(), frame.height()}));
    form.setClientAreaSize(244, 263);
    EXPECT_EQ(form.clientAreaSize(), (Size{244, 263}));
}

TEST_F(FormTest, CenterOnScreenCentresTheOuterWindowInTheWorkArea) {
    form.setClientAreaSize(411, 315);
    form.setInitialPosition(FormStartPosition::CenterOnScreen);
    show(form);
    const QRect area = workArea();
    const Rect outer = form.bounds();
    EXPECT_EQ(outer.x, area.x() + (area.width() - outer.width) / 2);
    EXPECT_EQ(outer.y, area.y() + (area.height() - outer.height) / 2);
}

TEST_F(FormTest, CloseAsksClosingDestroysAndRaisesClosedOnce) {
    addControl<Button>(&form, "OK", {10, 10, 75, 23});
    bool cancel = true;
    int closes = 0;
    form.closing += [&](Form&, CancelEventArgs& args) { args.cancel = cancel; };
    form.closed += [&](Form&, EventArgs&) { ++closes; };
    show(form);

    widgetOf(form)->close();  // the caption's close button
    EXPECT_TRUE(form.created());
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(closes, 0);

    cancel = false;
    form.setEnabled(false);
    widgetOf(form)->close();
    EXPECT_TRUE(form.created() && form.visible()) << "a disabled window is not closed by the user";
    form.setEnabled(true);
    form.close();
    EXPECT_FALSE(form.created());
    EXPECT_FALSE(form.children().front()->created());
    EXPECT_EQ(closes, 1);
    form.destroy();
    form.close();
    EXPECT_EQ(closes, 1);
}

TEST_F(FormTest, DisabledFormTakesNoInputYetItsControlsKeepTheirLook) {
    auto* button = addControl<Button>(&form, "&Go", {10, 10, 75, 23});
    auto* off = addControl<Button>(&form, "Off", {10, 40, 75, 23}, [](Button& button) { button.setEnabled(false); });
    auto* box = addControl<TextBox>(&form, "typed", {10, 70, 100, 24});
    ClickCount clicks(*button);
    int shortcuts = 0;
    form.addKeyShortcut(Keys::Enter, [&](Form&, FormShortcutEventArgs&) { ++shortcuts; });
    show(form);
    box->focus();
    // The platform's click reaches the window first, a synthetic one the button at once.
    const auto clickThroughTheWindow = [&] {
        const QPoint onButton = widgetOf(*button)->geometry().center();
        QTest::mouseClick(widgetOf(form)->windowHandle(), Qt::LeftButton, Qt::NoModifier, onButton);
    };
    const auto clickAndType = [&] {
        QTest::mouseClick(widgetOf(*button), Qt::LeftButton);
        QTest::keyClicks(widgetOf(*box), "x");
        press(form, Qt::Key_Return);
        press(form, Qt::Key_G, Qt::AltModifier);
    };

    form.setEnabled(false);
    clickThroughTheWindow();
    EXPECT_TRUE(box->focusWithin()) << "the click did not even move the focus";
    clickAndType();

    EXPECT_FALSE(form.enabled());
    EXPECT_EQ(clicks.count, 0);
    EXPECT_EQ(box->text(), "typed");
    EXPECT_EQ(shortcuts, 0);
    EXPECT_TRUE(widgetOf(*button)->isEnabled()) << "drawn as an enabled button";
    EXPECT_TRUE(widgetOf(*box)->isEnabled());
    EXPECT_FALSE(widgetOf(*off)->isEnabled()) << "a control disabled itself still looks disabled";
    button->simulateClick();
    EXPECT_EQ(clicks.count, 1) << "a control of a disabled window is not disabled itself";

    form.setEnabled(true);
    clickThroughTheWindow();
    EXPECT_TRUE(button->focusWithin());
    box->focus();
    clickAndType();
    EXPECT_EQ(clicks.count, 4) << "two clicks and the mnemonic";
    EXPECT_EQ(box->text(), "typedx");
    EXPECT_EQ(shortcuts, 1);
}

// A modal display of `form` over `owner`, shown and active first, with `whileUp` run inside it.
void showModallyOverAnOwner(Form& form, Form& owner, std::function<void()> whileUp) {
    show(owner);
    ASSERT_TRUE(user_input::waitUntilActive(widgetOf(owner)));
    later(std::move(whileUp));
    form.showModal();
}

TEST_F(FormTest, ClosingAModallyShownFormHidesItWithoutAskingAndBringsTheOwnerBackFirst) {
    Form owner;
    int closes = 0;
    bool visibleAfterClose = true;
    form.closing += [](Form&, CancelEventArgs& args) { args.cancel = true; };
    form.closed += [&](Form&, EventArgs&) { closes += owner.enabled() ? 1 : 100; };

    showModallyOverAnOwner(form, owner, [&] {
        form.close();
        visibleAfterClose = form.visible();
        form.setVisible(false);  // ends a display that the close left running
    });

    EXPECT_FALSE(visibleAfterClose);
    EXPECT_EQ(closes, 1) << "closed comes once, after the owner is enabled again";
    EXPECT_TRUE(form.created());
    EXPECT_TRUE(owner.enabled());
}

TEST_F(FormTest, HidingEndsAModalDisplayButANewFrameDoesNot) {
    Form owner;
    bool upAfterNewFrame = false;
    QObject thisTest;  // drops the call below should the display end before it
    showModallyOverAnOwner(form, owner, [&] {
        form.setHasMinimizeButton(false);
        // Served by the display's loop only if the new frame has not ended it.
        QTimer::singleShot(0, &thisTest, [&] {
            upAfterNewFrame = form.visible();
            form.setVisible(false);
        });
    });
    EXPECT_TRUE(upAfterNewFrame);
    EXPECT_FALSE(form.visible());
    EXPECT_TRUE(owner.enabled());
}

TEST_F(FormTest, LoadIsRaisedOnceThenTheFirstTabStopGetsTheFocus) {
    addControl<Label>(&form, "Label", {10, 10, 60, 13});
    addControl<RadioButton>(&form, "Radio", {10, 30, 80, 16});
    addControl<Button>(&form, "Off", {10, 50, 75, 23}, [](Button& button) { button.setEnabled(false); });
    auto* first = addControl<Button>(&form, "First", {10, 80, 75, 23});
    int loads = 0;
    form.load += [&](Form&, EventArgs&) { ++loads; };
    show(form);
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(first->focusWithin());
    form.setVisible(false);
    show(form);
    EXPECT_EQ(loads, 1);
}

TEST_F(FormTest, FocusGivenByALoadHandlerIsKept) {
    addControl<Button>(&form, "First", {10, 10, 75, 23});
    auto* second = addControl<Button>(&form, "Second", {10, 40, 75, 23});
    form.load += [&](Form&, EventArgs&) { second->focus(); };
    show(form);
    EXPECT_TRUE(second->focusWithin());
}

TEST_F(FormTest, FocusAndFocusWithinNeedTheWidget) {
    auto* button = addControl<Button>(&form, "B", {10, 10, 75, 23});
    button->focus();
    EXPECT_FALSE(button->focusWithin());
    EXPECT_FALSE(form.focusWithin());
    show(form);
    EXPECT_TRUE(form.focusWithin());
}

TEST_F(FormTest, DestroyedFormIsMadeAgainWhenShown) {
    auto* box = addControl<CheckBox>(&form, "Box", {10, 10, 80, 16});
    show(form);
    box->setChecked(true);
    form.destroy();
    EXPECT_FALSE(box->created());
    EXPECT_TRUE(box->checked());
    show(form);
    ASSERT_TRUE(box->created());
    EXPECT_TRUE(box->checked());
}

// The test carries the program's icon images as icon group 5.
TEST_F(FormTest, IconsComeFromTheResourcesSharedAndAtTheDefaultSize) {
    const std::shared_ptr<Icon> icon = Application::programResources().loadIcon(5, true);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), (Size{32, 32}));
    EXPECT_EQ(Application::programResources().loadIcon(5, true), icon);
    EXPECT_EQ(Application::programResources().loadIcon(5, false)->size(), (Size{48, 48}));
    form.setIcon(icon);
    show(form);
    const QIcon group = widgetOf(form)->windowIcon();
    const auto asShown = [](const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    EXPECT_EQ(asShown(group.pixmap(32, 32)), asShown(QPixmap(":/icons/5/32-32.png"))) << "the richest colours";

    // The images are read when first wanted; the icon answers as one made of them at once.
    QIcon atOnce;
    for (const char* size : {"48", "32", "24", "16"}) {
        atOnce.addFile(QString(":/icons/5/%1-32.png").arg(size));
    }
    EXPECT_FALSE(group.isNull());
    EXPECT_EQ(group.availableSizes().size(), 8) << "each size in 8 and in 32 bits";
    for (const QSize wanted : {QSize(16, 16), QSize(20, 20), QSize(64, 64)}) {
        EXPECT_EQ(group.actualSize(wanted), atOnce.actualSize(wanted));
        EXPECT_EQ(asShown(group.pixmap(wanted)), asShown(atOnce.pixmap(wanted))) << wanted.width();
    }
    QImage painted(24, 24, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    QPainter painter(&painted);
    group.paint(&painter, painted.rect());
    painter.end();
    EXPECT_EQ(painted, asShown(atOnce.pixmap(24, 24)));
}

TEST_F(FormTest, IconNoneRemovesTheWindowIcon) {
    EXPECT_EQ(Application::programResources().loadIcon(9999, true), nullptr);
    form.setIcon(Application::programResources().loadIcon(5, true));
    show(form);
    EXPECT_FALSE(widgetOf(form)->windowIcon().isNull());
    form.setIcon(nullptr);
    EXPECT_TRUE(widgetOf(form)->windowIcon().isNull());
}

// The Qt font of a label drawn in this font.
QFont shownFont(const std::shared_ptr<Font>& font) {
    Form form;
    auto* label = addControl<Label>(&form, "", {0, 0, 10, 10}, [&](Label& label) { label.setFont(font); });
    show(form);
    return widgetOf(*label)->font();
}

TEST(Font, PointSizeBecomesPixelHeightAtTheScreenResolution) {
    startToolkit();
    ASSERT_EQ(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY()), 96);
    const auto large = std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Regular, GraphicsUnit::Point);
    EXPECT_EQ(large->height(), -13);
    EXPECT_EQ(shownFont(large).pixelSize(), 13);
    EXPECT_EQ(shownFont(large).weight(), QFont::Normal);
    const auto bold = std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Bold, GraphicsUnit::Point);
    EXPECT_EQ(shownFont(bold).weight(), QFont::Bold);
    EXPECT_EQ(Font("MS Shell Dlg 2", 8).height(), -11);
    EXPECT_EQ(Font("Tahoma", 8.25f).height(), -11);
    EXPECT_EQ(QApplication::font().pixelSize(), 11) << "the default control font";
}

TEST(Font, BoldDialogFontIsTheRealBoldFace) {
    startToolkit();
    const QString family = QFontInfo(shownFont(std::make_shared<Font>("MS Shell Dlg 2", 8, FontStyle::Bold))).family();
    if (family != "Tahoma") {
        GTEST_SKIP() << "Wine's Tahoma is not installed";
    }
    EXPECT_TRUE(QFontDatabase::styles(family).contains("Bold")) << "not a regular face drawn thicker";
}

TEST(Font, RefusedFontsFailWithTheToolkitsMessage) {
    startToolkit();
    for (const auto& make : std::vector<std::function<void()>>{
             [] { Font("", 10); },
             [] { Font("Tahoma", 0); },
             [] { Font("Tahoma", -3); },
             [] { Font("Tahoma", std::numeric_limits<float>::quiet_NaN()); },
             [] { Font("Tahoma", 1e30f); },
         }) {
        try {
            make();
            ADD_FAILURE() << "font made";
        } catch (const ToolkitException& error) {
            EXPECT_STREQ(error.what(), "Unable to create font");
        }
    }
}

TEST_F(FormTest, BackgroundIsAnRgbColourOrTheSystemButtonFace) {
    show(form);
    const auto shownBackground = [&](Color color) {
        form.setBackgroundColor(color);
        return widgetOf(form)->palette().color(QPalette::Window);
    };
    EXPECT_EQ(shownBackground(Color::fromRgb(255, 0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(shownBackground(Color::system(Color::ButtonFace)), QApplication::palette().color(QPalette::Button));
}

TEST(ProgramServices, ProgramPathIsThisExecutable) {
    const std::string path = programPath();
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(path.ends_with("/toolkit_tests")) << path;
}

TEST(ProgramServices, MessageBoxGoesToTheInstalledHandler) {
    std::vector<MessageBoxCall> calls;
    setMessageBoxHandler([&](const MessageBoxCall& call) { calls.push_back(call); });
    messageBox("Unable to initialize the current dictionary.", "Verbaro Tool", MessageBoxIcon::Information);
    setMessageBoxHandler(nullptr);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].caption, "Verbaro Tool");
    EXPECT_EQ(calls[0].text, "Unable to initialize the current dictionary.");
    EXPECT_EQ(calls[0].icon, MessageBoxIcon::Information);
}

// A filter that records what it was offered and may consume it.
struct RecordingFilter : MessageFilter {
    RecordingFilter(std::vector<int>& log, int name, bool consume) : log(log), name(name), consume(consume) {}
    bool preFilterMessage(Message& message) override {
        if (message.type() != QEvent::User) {
            return false;
        }
        log.push_back(name);
        if (onOffer) {
            onOffer();
        }
        return consume;
    }
    std::vector<int>& log;
    int name;
    bool consume;
    std::function<void()> onOffer;
};

TEST(MessageFilters, OfferedInOrderUntilOneConsumesAndSafeToRemoveWhileOffering) {
    startToolkit();
    std::vector<int> log;
    QObject receiver;
    RecordingFilter first(log, 1, false);
    RecordingFilter second(log, 2, true);
    RecordingFilter third(log, 3, false);
    Application::addMessageFilter(&first);
    Application::addMessageFilter(&second);
    Application::addMessageFilter(&third);
    QEvent event(QEvent::User);
    QApplication::sendEvent(&receiver, &event);
    EXPECT_EQ(log, (std::vector<int>{1, 2}));

    log.clear();
    first.onOffer = [&] { Application::removeMessageFilter(&second); };
    QApplication::sendEvent(&receiver, &event);
    EXPECT_EQ(log, (std::vector<int>{1, 3}));
    Application::removeMessageFilter(&first);
    Application::removeMessageFilter(&third);
    log.clear();
    QApplication::sendEvent(&receiver, &event);
    EXPECT_TRUE(log.empty());
}

}  // namespace
