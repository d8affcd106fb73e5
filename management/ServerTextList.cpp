#include "ServerTextList.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <cmath>

#include "Cp1252.h"
#include "DialogUnits.h"

namespace {

// Every row is as wide as the widest line: with rows of one size the view
// takes the first row's size for all of them, and so scrolls to that width.
class ExtentDelegate : public QStyledItemDelegate {
public:
    explicit ExtentDelegate(ServerTextList* list) : QStyledItemDelegate(list), list(list) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width(), list->Extent()));
        return size;
    }

private:
    const ServerTextList* list;
};

qreal widthOf(const std::string& line, const std::array<qreal, 256>& advances) {
    qreal width = 0;
    for (const char c : line) width += advances[static_cast<unsigned char>(c)];
    return width;
}

}  // namespace

ServerTextList::ServerTextList(QWidget* placeholder, const DialogUnits& units)
    : QListView(placeholder->parentWidget()), model(new QStringListModel(this)),
      minimumExtent(units.ReferenceX(kReportWidth)), extent(minimumExtent) {
    setObjectName(placeholder->objectName());
    setGeometry(placeholder->geometry());
    if (const auto* frame = qobject_cast<QFrame*>(placeholder)) setFrameStyle(frame->frameStyle());
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setUniformItemSizes(true);
    // A step sideways is a few characters, not the width of a row.
    horizontalScrollBar()->setSingleStep(4 * fontMetrics().horizontalAdvance(QLatin1Char('0')));
    setItemDelegate(new ExtentDelegate(this));
    setModel(model);
    QWidget::setTabOrder(placeholder, this);
    setVisible(!placeholder->isHidden());
    delete placeholder;
}

void ServerTextList::SetLines(const std::vector<std::string>& lines) {
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
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        widest = std::max(widest, widthOf(line, advances));
        entries.append(FromServerText(line));
    }
    // The item's own margins on both sides of its text.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    extent = std::max(minimumExtent, static_cast<int>(std::ceil(widest)) + margins);
    model->setStringList(entries);
}

void ServerTextList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && event->modifiers() == Qt::NoModifier) {
        horizontalScrollBar()->triggerAction(key == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                                 : QAbstractSlider::SliderSingleStepAdd);
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

QStringList ServerTextList::Lines() const { return model->stringList(); }
