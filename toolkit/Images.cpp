#include "Images.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include "DialogTemplates.h"

namespace {

// An image's icon, drawn from its SVG source at the size it is shown, when
// it is shown, and kept at that size: a button asks for one size, the
// window system for a few, and nothing is drawn before it is needed.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QString path) : path(std::move(path)) {}

    QIconEngine* clone() const override { return new SvgIconEngine(path); }
    QString key() const override { return QStringLiteral("tessaron-svg"); }
    bool isNull() override { return !loaded(); }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    // Any size: the image is drawn for the one asked for.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        if (size.isEmpty() || !loaded()) return {};
        const quint64 key = (quint64(size.width()) << 32) | (quint64(size.height()) << 2) | quint64(mode);
        if (const auto kept = drawn.constFind(key); kept != drawn.cend()) return *kept;
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer->render(&painter);
        painter.end();
        if (mode != QIcon::Normal) {
            // A disabled (or selected) image as the style draws it for
            // any icon.
            QStyleOption option;
            option.palette = QApplication::palette();
            image = QApplication::style()->generatedIconPixmap(mode, image, &option);
        }
        drawn.insert(key, image);
        return image;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap image = pixmap(rect.size() * ratio, mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, image);
    }

private:
    // The image's renderer, made the first time the image is drawn.
    bool loaded() {
        if (!tried) {
            tried = true;
            renderer = std::make_unique<QSvgRenderer>(path);
            if (!renderer->isValid()) renderer.reset();
        }
        return renderer != nullptr;
    }

    QString path;
    bool tried = false;
    std::unique_ptr<QSvgRenderer> renderer;
    QHash<quint64, QPixmap> drawn;
};

}  // namespace

QString ImagePath(int imageId) {
    const char* name = ImageFileName(imageId);
    return name ? QStringLiteral(":/images/") + QLatin1String(name) : QString();
}

QIcon ImageIcon(int imageId) {
    const QString path = ImagePath(imageId);
    if (path.isEmpty() || !QFile::exists(path)) return QIcon();
    return QIcon(new SvgIconEngine(path));
}

ImageWidget::ImageWidget(int imageId, QWidget* parent) : QWidget(parent), imageId(imageId) {
    const QString path = ImagePath(imageId);
    if (!path.isEmpty() && QFile::exists(path)) {
        renderer = std::make_unique<QSvgRenderer>(path);
        if (!renderer->isValid()) renderer.reset();
    }
}

ImageWidget::~ImageWidget() = default;

bool ImageWidget::HasImage() const { return renderer != nullptr; }

void ImageWidget::paintEvent(QPaintEvent*) {
    if (!renderer) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer->render(&painter, QRectF(rect()));
}
