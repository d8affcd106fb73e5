#include "ServerTextList.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string_view>

#include "Cp1252.h"
#include "DialogUnits.h"

namespace {

qreal widthOf(std::string_view line, const std::array<qreal, 256>& advances) {
    qreal width = 0;
    for (const char c : line) width += advances[static_cast<unsigned char>(c)];
    return width;
}

constexpr int kDrawFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs;

}  // namespace

ServerTextList::ServerTextList(QWidget* placeholder, const DialogUnits& units)
    : QAbstractScrollArea(placeholder->parentWidget()), minimumExtent(units.ReferenceX(kReportWidth)),
      extent(minimumExtent) {
    setObjectName(placeholder->objectName());
    setGeometry(placeholder->geometry());
    if (const auto* frame = qobject_cast<QFrame*>(placeholder)) setFrameStyle(frame->frameStyle());
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    // Text starts a little off the frame, as in a list box.
    margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    // A step sideways is a few characters, not the width of the view.
    horizontalScrollBar()->setSingleStep(4 * fontMetrics().horizontalAdvance(QLatin1Char('0')));
    QWidget::setTabOrder(placeholder, this);
    setVisible(!placeholder->isHidden());
    delete placeholder;
}

void ServerTextList::SetText(ReportText report) {
    // A fixed-pitch font has no kerning: a line is as wide as its
    // characters' advances together (in fractions of a pixel, as the text is
    // laid out), which is far quicker to add up than to lay out each line.
    // A tab may be drawn up to a tab stop wide.
    const QFontMetricsF metrics(font());
    std::array<qreal, 256> advances{};
    for (int byte = 0; byte < 256; ++byte) {
        advances[byte] = metrics.horizontalAdvance(FromServerText(std::string(1, static_cast<char>(byte))));
    }
    advances['\t'] = std::max(advances['\t'], QTextOption().tabStopDistance());

    qreal widest = 0;
    report.ForEachLine([&](std::string_view line) { widest = std::max(widest, widthOf(line, advances)); });
    extent = std::max(minimumExtent, static_cast<int>(std::ceil(widest)) + 2 * margin);
    text = std::move(report);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    describeLinesInSight();
    viewport()->update();
}

int ServerTextList::LineCount() const { return static_cast<int>(std::min<size_t>(text.LineCount(), INT_MAX)); }

QStringList ServerTextList::Lines() const {
    QStringList lines;
    text.ForEachLine([&](std::string_view line) { lines.append(FromServerText(line)); });
    return lines;
}

int ServerTextList::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int ServerTextList::linesInSight() const { return std::max(1, viewport()->height() / lineHeight()); }

void ServerTextList::updateScrollBars() {
    const int inSight = linesInSight();
    verticalScrollBar()->setRange(0, std::max(0, LineCount() - inSight));
    verticalScrollBar()->setPageStep(inSight);
    horizontalScrollBar()->setRange(0, std::max(0, extent - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void ServerTextList::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const int left = margin - horizontalScrollBar()->value();
    const int count = LineCount();
    const int first = verticalScrollBar()->value() + event->rect().top() / height;
    for (int line = first, top = (first - verticalScrollBar()->value()) * height;
         line < count && top <= event->rect().bottom(); ++line, top += height) {
        painter.drawText(QRect(left, top, extent, height), kDrawFlags,
                         FromServerText(text.Line(static_cast<size_t>(line))));
    }
}

void ServerTextList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ServerTextList::keyPressEvent(QKeyEvent* event) {
    // The rest (arrows, pages) the scroll area handles itself.
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        verticalScrollBar()->triggerAction(event->key() == Qt::Key_Home ? QAbstractSlider::SliderToMinimum
                                                                         : QAbstractSlider::SliderToMaximum);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ServerTextList::scrollContentsBy(int, int dy) {
    viewport()->update();
    if (dy != 0) describeLinesInSight();
}

void ServerTextList::describeLinesInSight() {
    if (!QAccessible::isActive()) return;
    QStringList inSight;
    const int first = verticalScrollBar()->value();
    for (int line = first; line < std::min(LineCount(), first + linesInSight()); ++line) {
        inSight << FromServerText(text.Line(static_cast<size_t>(line)));
    }
    setAccessibleDescription(inSight.join(QLatin1Char('\n')));
}
