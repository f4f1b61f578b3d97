// Icons compiled into the program as Qt resources: the images of icon group <id> lie under
// :/icons/<id>/ as <size>-<bits>.png.

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "icon_p.h"
#include "platform_p.h"
#include "toolkit/resources.h"

namespace {

// The system's default icon size.
constexpr int defaultIconSize = 32;

struct IconImage {
    int size;
    int bits;
    QString path;
};

std::vector<IconImage> iconImages(int id) {
    const QDir folder(QStringLiteral(":/icons/%1").arg(id));
    static const QRegularExpression name(QStringLiteral("^(\\d+)-(\\d+)\\.png$"));
    std::vector<IconImage> images;
    for (const QString& file : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = name.match(file);
        if (match.hasMatch()) {
            images.push_back({match.captured(1).toInt(), match.captured(2).toInt(), folder.filePath(file)});
        }
    }
    return images;
}

// An icon group whose images are read only when one of them is first wanted: QIcon::addFile
// decodes every image at once, and where the platform shows no window icon, nothing ever asks
// for one of the main window's.
class IconGroupEngine : public QIconEngine {
public:
    explicit IconGroupEngine(std::vector<IconImage> images) : images_(std::move(images)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        decoded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        // The caller has applied the screen's pixel ratio already.
        return decoded().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return pixmap(size, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return decoded().availableSizes(mode, state);
    }
    bool isNull() override { return images_.empty(); }
    QIconEngine* clone() const override { return new IconGroupEngine(*this); }

private:
    const QIcon& decoded() {
        if (decoded_.isNull()) {
            for (const IconImage& image : images_) {
                decoded_.addFile(image.path, QSize(image.size, image.size));
            }
        }
        return decoded_;
    }

    std::vector<IconImage> images_;
    QIcon decoded_;
};

std::shared_ptr<Icon> makeIcon(int id, bool defaultSize) {
    std::vector<IconImage> images = iconImages(id);
    if (images.empty()) {
        return nullptr;
    }
    // QIcon shows the last of several images of one size: the richest colours come last.
    std::sort(images.begin(), images.end(), [](const IconImage& a, const IconImage& b) {
        return a.size != b.size ? a.size > b.size : a.bits < b.bits;
    });
    auto native = std::make_unique<Icon::Native>();
    const int size = defaultSize ? defaultIconSize : images.front().size;
    native->icon = QIcon(new IconGroupEngine(std::move(images)));
    native->size = QSize(size, size);
    return std::make_shared<Icon>(nativeKey, std::move(native));
}

}  // namespace

std::shared_ptr<Icon> Resources::loadIcon(int id, bool defaultSize) const {
    ensureQtApplication();
    // Loaded shared: every request for the same icon gets the same object.
    static std::map<std::pair<int, bool>, std::shared_ptr<Icon>> loaded;
    const auto key = std::make_pair(id, defaultSize);
    const auto found = loaded.find(key);
    if (found != loaded.end()) {
        return found->second;
    }
    std::shared_ptr<Icon> icon = makeIcon(id, defaultSize);
    if (icon) {
        loaded.emplace(key, icon);
    }
    return icon;
}

std::string programPath() {
    return toStdString(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}
