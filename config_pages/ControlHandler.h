#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

#include "RowLayout.h"

class DialogUnits;

class QCheckBox;
class QComboBox;
class QFont;
class QLineEdit;
class QWidget;

// The label of a generated row. A label a little wider than its place is
// drawn slightly condensed; one that does not fit even so ends in "..." and
// shows its whole text as a tool tip (before the label's own tip, if any),
// instead of being cut mid-letter.
class RowLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The narrowest the label's font is condensed to, in percent.
    static constexpr int kNarrowestStretch = 85;
    // The font the text is drawn with: the label's own, condensed as far as
    // needed (and allowed) to fit.
    QFont FittedFont() const;
    // True when the text does not fit even condensed and is shown shortened.
    bool IsElided() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

// Creates the generated controls of a parameter page, each a visible child of
// the given parent carrying its numeric ID as object name and the given font.
class ControlHandler {
public:
    // An edit box, by position and size.
    QLineEdit* CreateEdit(QWidget* parent, const QFont& font, int id, int x, int y, int width, int height) const;
    // A static text, by its edges; text aligned to the top left like a label
    // beside an edit box.
    QLabel* CreateStatic(QWidget* parent, const QFont& font, int id, const QString& text, int left, int top,
                         int right, int bottom) const;
    // A check box that carries its own label, by its edges.
    QCheckBox* CreateCheckBox(QWidget* parent, const QFont& font, int id, const QString& text, int left, int top,
                              int right, int bottom) const;
    // A drop-down list without edit field, unsorted, by its edges.
    QComboBox* CreateComboBox(QWidget* parent, const QFont& font, int id, int left, int top, int right,
                              int bottom) const;
    // Sizes the dropped-down list of a combo box for `entries` entries.
    void FitComboHeight(QComboBox* combo, int entries) const;
};

// A rectangle of the row layout, drawn in pixels of the reference dialog
// font, as a page at its own font shows it: the rows grow with the font as
// the template's own controls do.
QRect ToPagePixels(const RowLayout::PixelRect& rect, const DialogUnits& units);
