#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QFont;

// Dialog units to pixels, from the dialog font as the templates expect it: a
// horizontal unit is a quarter of the font's average character width (taken
// over the 52 letters A-Z a-z and rounded), a vertical unit an eighth of its
// height. Windows built from templates use it for every template rectangle,
// and ReferenceX/Y for the few positions the program gives in pixels of the
// font the layouts were drawn with (6 x 13 base units), so they keep their
// place beside the controls at any font size.
class DialogUnits {
public:
    DialogUnits(int baseWidth, int baseHeight);
    static DialogUnits ForFont(const QFont& font);

    int BaseWidth() const { return baseWidth; }
    int BaseHeight() const { return baseHeight; }

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

    // Pixels of the reference font scaled to this one.
    int ReferenceX(int pixels) const;
    int ReferenceY(int pixels) const;
    QPoint ReferencePoint(int x, int y) const { return {ReferenceX(x), ReferenceY(y)}; }

    static constexpr int ReferenceBaseWidth = 6;
    static constexpr int ReferenceBaseHeight = 13;

private:
    int baseWidth;
    int baseHeight;
};

// number * numerator / denominator, rounded half away from zero.
int MulDivRounded(int number, int numerator, int denominator);
