#include "DialogUnits.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>

#include <cmath>
#include <cstdlib>

int MulDivRounded(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(denominator) / 2;
    const long long rounded = (product >= 0) == (denominator > 0) ? (std::llabs(product) + half) / std::llabs(denominator)
                                                                 : -((std::llabs(product) + half) / std::llabs(denominator));
    return static_cast<int>(rounded);
}

DialogUnits::DialogUnits(int baseWidth, int baseHeight)
    : baseWidth(baseWidth > 0 ? baseWidth : 1), baseHeight(baseHeight > 0 ? baseHeight : 1) {}

DialogUnits DialogUnits::ForFont(const QFont& font) {
    // QFontMetrics::averageCharWidth() reads a font table value that differs
    // from the letters' real average; measure the letters instead.
    const QFontMetricsF metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const qreal average = metrics.horizontalAdvance(letters) / letters.size();
    return DialogUnits(static_cast<int>(std::lround(average)), QFontMetrics(font).height());
}

int DialogUnits::X(int units) const { return MulDivRounded(units, baseWidth, 4); }
int DialogUnits::Y(int units) const { return MulDivRounded(units, baseHeight, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    // Both edges are mapped, so neighbouring controls keep their common edge.
    const int left = X(x), top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

int DialogUnits::ReferenceX(int pixels) const { return MulDivRounded(pixels, baseWidth, ReferenceBaseWidth); }
int DialogUnits::ReferenceY(int pixels) const { return MulDivRounded(pixels, baseHeight, ReferenceBaseHeight); }
