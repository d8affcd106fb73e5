#include "ControlHandler.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolTip>

#include <QStyle>

#include "DialogUnits.h"
#include "RowLayout.h"
#include "TemplateBuilder.h"

namespace {

QRect edges(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

}  // namespace

QFont RowLabel::FittedFont() const {
    QFont fitted = font();
    const int room = contentsRect().width();
    for (int stretch = 100; stretch >= kNarrowestStretch; stretch -= 5) {
        fitted.setStretch(stretch);
        if (QFontMetrics(fitted).horizontalAdvance(text()) <= room) break;
    }
    return fitted;
}

bool RowLabel::IsElided() const {
    return QFontMetrics(FittedFont()).horizontalAdvance(text()) > contentsRect().width();
}

void RowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFont fitted = FittedFont();
    painter.setFont(fitted);
    const QRect area = contentsRect();
    const QString shown = QFontMetrics(fitted).elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

bool RowLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The whole text of a shortened label, then the label's own tip.
        auto* help = static_cast<QHelpEvent*>(event);
        QStringList tip;
        if (IsElided()) tip << text();
        if (!toolTip().isEmpty()) tip << toolTip();
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip.join(QLatin1Char('\n')), this);
        }
        return true;
    }
    return QLabel::event(event);
}

QLineEdit* ControlHandler::CreateEdit(QWidget* parent, const QFont& font, int id, int x, int y, int width,
                                      int height) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setFont(font);
    edit->setGeometry(x, y, width, height);
    FollowReadOnlyLook(edit);
    edit->show();
    return edit;
}

QLabel* ControlHandler::CreateStatic(QWidget* parent, const QFont& font, int id, const QString& text, int left,
                                     int top, int right, int bottom) const {
    auto* label = new RowLabel(text, parent);
    label->setObjectName(QString::number(id));
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(edges(left, top, right, bottom));
    label->show();
    return label;
}

QCheckBox* ControlHandler::CreateCheckBox(QWidget* parent, const QFont& font, int id, const QString& text,
                                          int left, int top, int right, int bottom) const {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QString::number(id));
    check->setFont(font);
    check->setFocusPolicy(Qt::StrongFocus);
    check->setGeometry(edges(left, top, right, bottom));
    check->show();
    return check;
}

QComboBox* ControlHandler::CreateComboBox(QWidget* parent, const QFont& font, int id, int left, int top, int right,
                                          int bottom) const {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    combo->setFont(font);
    combo->setEditable(false);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFocusPolicy(Qt::StrongFocus);
    // The list drops down below the field and shows as many entries as its
    // fitted height allows, instead of a menu laid over the field.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->setGeometry(edges(left, top, right, bottom));
    combo->show();
    return combo;
}

void ControlHandler::FitComboHeight(QComboBox* combo, int entries) const {
    combo->setMaxVisibleItems(RowLayout::ComboDropRows(entries));
}

QRect ToPagePixels(const RowLayout::PixelRect& r, const DialogUnits& units) {
    const int left = units.ReferenceX(r.left);
    const int top = units.ReferenceY(r.top);
    return QRect(left, top, units.ReferenceX(r.right) - left, units.ReferenceY(r.bottom) - top);
}
