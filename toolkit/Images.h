#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

#include <memory>

class QSvgRenderer;

// The program's images: SVG files compiled into the resources under
// qrc:/images/, named by ImageFileName. Drawn from the vector source at the
// screen's pixel ratio, so they stay sharp at any scale.

// Resource path of an image (":/images/rule.svg"); empty for an unknown ID.
QString ImagePath(int imageId);
// The image as an icon, drawn at the size it is shown when it is shown;
// null when the image is missing.
QIcon ImageIcon(int imageId);

// A static image control: paints its image scaled to its rectangle.
class ImageWidget : public QWidget {
    Q_OBJECT
public:
    ImageWidget(int imageId, QWidget* parent);
    ~ImageWidget() override;
    int ImageIdShown() const { return imageId; }
    bool HasImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int imageId;
    std::unique_ptr<QSvgRenderer> renderer;
};
