#include "Images.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "DialogTemplates.h"

QString ImagePath(int imageId) {
    const char* name = ImageFileName(imageId);
    return name ? QStringLiteral(":/images/") + QLatin1String(name) : QString();
}

QIcon ImageIcon(int imageId) {
    const QString path = ImagePath(imageId);
    if (path.isEmpty() || !QFile::exists(path)) return QIcon();
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return QIcon();
    QIcon icon;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
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
