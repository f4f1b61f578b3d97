// Group boxes.

#include <QPainter>
#include <QStyle>

#include "accessibility_p.h"
#include "control_p.h"
#include "toolkit/groupbox.h"

namespace {

// An etched frame with the caption standing in its top edge, as on Windows (Qt's styles put
// the caption above a faint frame). Not a QGroupBox: Qt would name every control inside one by
// its caption.
class GroupBoxWidget : public QWidget {
public:
    explicit GroupBoxWidget(QWidget* parent) : QWidget(parent) { describeAs(*this, QAccessible::Grouping); }

    void setTitle(const QString& title) {
        title_ = title;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine;
        const QRect caption = title_.isEmpty()
                                ? QRect()
                                : style()->itemTextRect(metrics, QRect(8, 0, width() - 16, metrics.height()), flags,
                                                        isEnabled(), title_);
        const int top = metrics.height() / 2;
        const QRect edge(0, top, width() - 2, height() - top - 2);
        painter.setClipRegion(QRegion(rect()).subtracted(caption.adjusted(-2, 0, 2, 0)));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(edge);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(edge.translated(1, 1));
        painter.setClipping(false);
        if (!caption.isEmpty()) {
            style()->drawItemText(&painter, caption, flags, palette(), isEnabled(), title_, QPalette::WindowText);
        }
    }

private:
    QString title_;
};

}  // namespace

GroupBox::GroupBox() : ControlSuperClass(Kind{.defaultBounds = {0, 0, 200, 100}, .container = true}) {}

void GroupBox::createNativeWidget() {
    native(nativeKey).widget = new GroupBoxWidget(widgetOf(parent()));
}

void GroupBox::applyNativeText() {
    static_cast<GroupBoxWidget*>(widgetOf(*this))->setTitle(toQString(text()));
}
