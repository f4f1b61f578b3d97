// Picture boxes: one image at its own size, from the box's top left corner.

#include <QPainter>
#include <QPixmap>

#include "accessibility_p.h"
#include "control_p.h"
#include "icon_p.h"
#include "toolkit/picturebox.h"

namespace {

class PictureWidget : public QWidget {
public:
    explicit PictureWidget(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::NoFocus);
        describeAs(*this, QAccessible::Graphic);
    }

    void setPixmap(const QPixmap& pixmap) {
        pixmap_ = pixmap;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, pixmap_); }

private:
    QPixmap pixmap_;
};

}  // namespace

PictureBox::PictureBox() : Control(Kind{.defaultBounds = {0, 0, 100, 50}}) {}

void PictureBox::createNativeWidget() {
    native(nativeKey).widget = new PictureWidget(widgetOf(parent()));
    applyNativeImage();
}

void PictureBox::setImage(std::shared_ptr<Image> image) {
    if (image == image_) {
        return;
    }
    image_ = std::move(image);
    if (created()) {
        applyNativeImage();
    }
}

void PictureBox::applyNativeImage() {
    const auto* icon = dynamic_cast<const Icon*>(image_.get());
    const Size size = icon ? icon->size() : Size{};
    static_cast<PictureWidget*>(widgetOf(*this))
        ->setPixmap(icon ? icon->native(nativeKey).icon.pixmap(QSize(size.width, size.height)) : QPixmap());
}
