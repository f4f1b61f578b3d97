// Text boxes: contents, read-only, multi-line, background and the text on it, and the context menu's items.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>

#include "controls_support.h"

using namespace controls_support;

namespace {

struct MenuItem {
    std::string text;
    bool enabled;
    bool operator==(const MenuItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MenuItem& item) {
    return out << item.text << (item.enabled ? "+" : "-");
}

class TextBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        startToolkit();
        QGuiApplication::clipboard()->clear();
    }

    // Opens the box's context menu with a right click, reads its items and triggers the one
    // named `choose`, if any.
    static std::vector<MenuItem> contextMenu(TextBox& box, const std::string& choose = {}) {
        std::vector<MenuItem> items;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                items.push_back({action->isSeparator() ? "-" : action->text().toStdString(), action->isEnabled()});
                if (action->text().toStdString() == choose) {
                    chosen = action;
                }
            }
            if (chosen) {
                chosen->trigger();
            }
            menu->close();
        });
        QWidget* widget = widgetOf(box);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(widget, &event);
        return items;
    }

    Form form;
};

TEST_F(TextBoxTest, TextBeforeAndAfterTheWidgetExistsIncludingTyping) {
    auto* box = addControl<TextBox>(&form, "Grüße", {10, 10, 200, 24});
    EXPECT_EQ(box->textLength(), 5u);
    box->selectAll();  // nothing to select yet
    show(form);
    box->focus();
    QTest::keyClicks(widgetOf(*box), " a vous");
    EXPECT_EQ(box->text(), "Grüße a vous");
    EXPECT_EQ(box->textLength(), 12u);
    box->selectAll();
    EXPECT_EQ(static_cast<QLineEdit*>(widgetOf(*box))->selectedText(), "Grüße a vous");
}

TEST_F(TextBoxTest, ReadOnlyBoxKeepsItsTextAndHasTheFaceColour) {
    auto* box = addControl<TextBox>(&form, "question", {10, 10, 200, 24}, [](TextBox& box) {
        box.setReadOnly(true);
        box.setAlignment(HorizontalAlignment::Center);
    });
    auto* editable = addControl<TextBox>(&form, "", {10, 40, 200, 24});
    show(form);
    box->focus();
    QTest::keyClicks(widgetOf(*box), "xyz");
    EXPECT_EQ(box->text(), "question");
    const auto baseOf = [](TextBox& box) { return widgetOf(box)->palette().color(QPalette::Base); };
    EXPECT_EQ(baseOf(*box), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(baseOf(*editable), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(static_cast<QLineEdit*>(widgetOf(*box))->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    box->setBackgroundColor(Color::fromRgb(255, 0, 0));
    EXPECT_EQ(baseOf(*box), QColor(255, 0, 0)) << "own colour whether read-only or not";
    editable->setBackgroundColor(Color::fromRgb(0, 255, 0));
    EXPECT_EQ(baseOf(*editable), QColor(0, 255, 0));
    box->setBackgroundColor(Color::system(Color::ButtonFace));
    EXPECT_EQ(baseOf(*box), QApplication::palette().color(QPalette::Button));
}

// A fixed background gets black text on the light palette as on a dark one; a system colour keeps
// the palette's text.
TEST_F(TextBoxTest, TextOnAFixedBackgroundReadsWhateverThePalette) {
    auto* box = addControl<TextBox>(&form, "text", {10, 10, 80, 20});
    auto* label = addControl<Label>(&form, "text", {10, 40, 80, 13});
    show(form);
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Text, QColor(239, 240, 241));
    dark.setColor(QPalette::WindowText, QColor(239, 240, 241));
    dark.setColor(QPalette::Button, QColor(49, 54, 59));
    const auto textOf = [](const Control& control, QPalette::ColorRole role) {
        return widgetOf(control)->palette().color(QPalette::Active, role);
    };
    for (const QPalette& palette : {light, dark}) {
        QApplication::setPalette(palette);
        QApplication::processEvents();
        for (const Color fixed : {Color::fromRgb(0, 255, 0), Color::fromRgb(255, 0, 0), Color::fromRgb(255, 255, 0)}) {
            box->setBackgroundColor(fixed);
            label->setBackgroundColor(fixed);
            EXPECT_EQ(textOf(*box, QPalette::Text), QColor(Qt::black));
            EXPECT_EQ(textOf(*label, QPalette::WindowText), QColor(Qt::black));
        }
        box->setBackgroundColor(Color::fromRgb(0, 0, 128));
        EXPECT_EQ(textOf(*box, QPalette::Text), QColor(Qt::white));
        box->setBackgroundColor(Color::system(Color::ButtonFace));
        EXPECT_EQ(textOf(*box, QPalette::Text), palette.color(QPalette::Text));
    }
    QApplication::setPalette(light);
}

TEST_F(TextBoxTest, MultilineIsFixedWhenTheWidgetIsMade) {
    auto* lines = addControl<TextBox>(&form, "first\r\nsecond", {10, 10, 200, 50}, [](TextBox& box) {
        box.setMultiline(true);
        box.setReadOnly(true);
    });
    auto* line = addControl<TextBox>(&form, "", {10, 70, 200, 24});
    show(form);
    ASSERT_NE(qobject_cast<QPlainTextEdit*>(widgetOf(*lines)), nullptr);
    EXPECT_EQ(lines->text(), "first\nsecond");
    line->setMultiline(true);
    EXPECT_FALSE(line->multiline());
    EXPECT_NE(qobject_cast<QLineEdit*>(widgetOf(*line)), nullptr);
}

TEST_F(TextBoxTest, ContextMenuOfAnEmptyBox) {
    auto* box = addControl<TextBox>(&form, "", {10, 10, 200, 24});
    show(form);
    EXPECT_EQ(contextMenu(*box), (std::vector<MenuItem>{{"&Undo", false},
                                                        {"-", true},
                                                        {"Cu&t", false},
                                                        {"&Copy", false},
                                                        {"&Paste", false},
                                                        {"&Delete", false},
                                                        {"-", true},
                                                        {"Select &All", false}}));
    QGuiApplication::clipboard()->setText("pasted");
    EXPECT_EQ(contextMenu(*box, "&Paste")[4], (MenuItem{"&Paste", true}));
    EXPECT_EQ(box->text(), "pasted");
    EXPECT_TRUE(contextMenu(*box)[0].enabled) << "the paste can be undone";
}

TEST_F(TextBoxTest, ContextMenuFollowsSelectionAndReadOnly) {
    auto* box = addControl<TextBox>(&form, "some words", {10, 10, 200, 24});
    show(form);
    auto* edit = static_cast<QLineEdit*>(widgetOf(*box));
    edit->setSelection(0, 4);
    std::vector<MenuItem> items = contextMenu(*box);
    EXPECT_TRUE(items[2].enabled && items[3].enabled && items[5].enabled && items[7].enabled);

    contextMenu(*box, "Select &All");
    EXPECT_EQ(edit->selectedText(), "some words");
    EXPECT_FALSE(contextMenu(*box)[7].enabled) << "all of it is selected already";

    edit->setSelection(4, 6);
    contextMenu(*box, "&Delete");
    EXPECT_EQ(box->text(), "some");

    box->setReadOnly(true);
    QGuiApplication::clipboard()->setText("clip");
    edit->setSelection(0, 2);
    items = contextMenu(*box);
    EXPECT_FALSE(items[2].enabled) << "Cut";
    EXPECT_TRUE(items[3].enabled) << "Copy";
    EXPECT_FALSE(items[4].enabled) << "Paste";
    EXPECT_FALSE(items[5].enabled) << "Delete";
}

TEST_F(TextBoxTest, ALongNewTextShowsItsBeginningAndTypingFollowsTheCaret) {
    const std::string longText = "the beginning of a text far too long for the box that shows it, up to its end";
    for (const bool readOnly : {true, false}) {
        auto* box = addControl<TextBox>(&form, "", {10, 10, 100, 24}, [&](TextBox& made) {
            made.setReadOnly(readOnly);
            made.setAlignment(HorizontalAlignment::Center);
        });
        show(form);
        box->focus();
        box->setText(longText);
        auto* line = static_cast<QLineEdit*>(widgetOf(*box));
        const auto caret = [line] { return line->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
        // The box scrolls its text when it paints.
        line->repaint();
        EXPECT_EQ(line->cursorPosition(), 0) << readOnly;
        EXPECT_LT(caret().left(), 8) << "the first character is in view, read-only " << readOnly;
        if (!readOnly) {
            QTest::keyClick(line, Qt::Key_End);
            QTest::keyClicks(line, " and more");
            line->repaint();
            EXPECT_EQ(box->text(), longText + " and more");
            EXPECT_LE(caret().right(), line->width()) << "the caret stays in view while typing";
        }
    }
}

}  // namespace
