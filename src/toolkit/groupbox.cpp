// Group boxes.

#include <QGroupBox>
#include <QPainter>
#include <QStyle>

#include "toolkit/internal.h"

namespace {

// An etched frame with the caption standing in its top edge, as on Windows (Qt's styles put
// the caption above a faint frame).
class GroupBoxWidget : public QGroupBox {
public:
    explicit GroupBoxWidget(QWidget* parent) : QGroupBox(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine;
        const QRect caption = title().isEmpty()
                                ? QRect()
                                : style()->itemTextRect(metrics, QRect(8, 0, width() - 16, metrics.height()), flags,
                                                        isEnabled(), title());
        const int top = metrics.height() / 2;
        const QRect edge(0, top, width() - 2, height() - top - 2);
        painter.setClipRegion(QRegion(rect()).subtracted(caption.adjusted(-2, 0, 2, 0)));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(edge);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(edge.translated(1, 1));
        painter.setClipping(false);
        if (!caption.isEmpty())
            style()->drawItemText(&painter, caption, flags, palette(), isEnabled(), title(), QPalette::WindowText);
    }
};

}  // namespace

GroupBox::GroupBox() : ControlSuperClass(Kind{.defaultBounds = {0, 0, 200, 100}, .container = true}) {}

void GroupBox::createNativeWidget() {
    native().widget = new GroupBoxWidget(widgetOf(parent()));
}

void GroupBox::applyNativeText() {
    static_cast<QGroupBox*>(widgetOf(*this))->setTitle(toQString(text()));
}
