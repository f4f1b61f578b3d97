// The look of every widget: Fusion, with the keyboard focus drawn as the reference platform draws it,
// and the colours of the controls.

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <cmath>

#include "style_p.h"

namespace {

// Fusion, with the keyboard focus shown as Windows shows it: a dotted rectangle inside a push
// button and around the text of a check box or radio button, once the focus has been moved with
// the keyboard, instead of Fusion's tinted outline.
class ToolkitStyle : public QProxyStyle {
public:
    ToolkitStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect) {
            if (showsFocus(*option)) {
                drawDottedRect(*painter, option->rect, option->palette.color(QPalette::WindowText));
            }
            return;
        }
        const bool tintedWithFocus =
            element == PE_PanelButtonCommand || element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton;
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (tintedWithFocus && button && (button->state & State_HasFocus)) {
            QStyleOptionButton withoutFocus = *button;
            withoutFocus.state &= ~State_HasFocus;
            QProxyStyle::drawPrimitive(element, &withoutFocus, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        constexpr int inset = 4;
        if (element == CE_PushButton && (option->state & State_HasFocus) && showsFocus(*option)) {
            drawDottedRect(*painter, option->rect.adjusted(inset, inset, -inset, -inset),
                           option->palette.color(QPalette::ButtonText));
        }
    }

private:
    // Shown only once the focus has been moved with the keyboard in the window.
    static bool showsFocus(const QStyleOption& option) { return option.state & State_KeyboardFocusChange; }

    // Every other pixel of the rectangle's edge, as Windows' DrawFocusRect.
    static void drawDottedRect(QPainter& painter, const QRect& rect, const QColor& color) {
        QPen pen(color, 0, Qt::CustomDashLine);
        pen.setDashPattern({1, 1});
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
    }
};

// Black from a relative luminance of 0.179 up, where it contrasts more than white does.
QColor readableTextOn(const QColor& background) {
    const auto linear = [](float channel) {
        return channel <= 0.04045F ? channel / 12.92F : std::pow((channel + 0.055F) / 1.055F, 2.4F);
    };
    const float luminance = 0.2126F * linear(background.redF()) + 0.7152F * linear(background.greenF())
                          + 0.0722F * linear(background.blueF());
    return luminance >= 0.179F ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

QStyle* makeToolkitStyle() {
    return new ToolkitStyle;
}

QColor qColorOf(const Color& color) {
    switch (color.systemIndex) {
    case Color::NoSystemColor:
        return QColor(color.red, color.green, color.blue, color.alpha);
    case Color::WindowBackground:
        return QApplication::palette().color(QPalette::Base);
    default:
        return QApplication::palette().color(QPalette::Button);
    }
}

void setBackground(QWidget& widget, const Color& color, std::initializer_list<QPalette::ColorRole> backgrounds,
                   std::initializer_list<QPalette::ColorRole> texts) {
    QPalette palette = widget.palette();
    const QColor background = qColorOf(color);
    for (const QPalette::ColorRole role : backgrounds) {
        palette.setColor(role, background);
    }
    const QPalette inherited =
        widget.parentWidget() ? widget.parentWidget()->palette() : QApplication::palette(&widget);
    for (const QPalette::ColorRole role : texts) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(
                group, role,
                color.systemIndex == Color::NoSystemColor ? readableTextOn(background) : inherited.color(group, role));
        }
    }
    widget.setPalette(palette);
}
