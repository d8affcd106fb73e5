#include "ScrollPane.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace {

const QColor kPaneGrey(192, 192, 192);

int idOf(const QWidget* widget) {
    bool ok = false;
    const int id = widget->objectName().toInt(&ok);
    return ok ? id : -1;
}

// New position of one direction for a scroll code.
long long stepFor(unsigned code, int current, int line, int page, int thumb) {
    switch (code) {
    case ScrollPane::LineUp: return static_cast<long long>(current) - line;
    case ScrollPane::LineDown: return static_cast<long long>(current) + line;
    case ScrollPane::PageUp: return static_cast<long long>(current) - page;
    case ScrollPane::PageDown: return static_cast<long long>(current) + page;
    case ScrollPane::ThumbTrack: return thumb;
    case ScrollPane::Top: return 0;
    case ScrollPane::Bottom: return INT_MAX;
    default: return current;  // thumb position, end scroll, no request
    }
}

}  // namespace

ScrollPane::ScrollPane(CommandTarget* target, int firstId, int endId, QWidget* parent)
    : QAbstractScrollArea(parent), target(target), firstId(firstId), endId(endId) {
    setObjectName(QStringLiteral("1255"));
    setFrameShape(QFrame::NoFrame);
    // The pane is a container: Tab moves through its row controls, never
    // stops on the pane itself.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onBarAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onBarAction(Qt::Vertical, action); });
}

void ScrollPane::AttachControl(QWidget* control) {
    // The control tells the pane when it gets the focus. A filter on the
    // control lives no longer than the control, unlike a connection to the
    // application's focus signal, which could reach a pane half destroyed.
    control->installEventFilter(this);
    const int id = idOf(control);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        connect(combo, &QComboBox::activated, this, [this, id](int) {
            if (target) target->OnChildCommand(id, kSelectionChange);
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, [this, id](bool) {
            if (target) target->OnChildCommand(id, kClicked);
        });
    }
}

void ScrollPane::SetScrollSizes(int mode, QSize total, QSize page, QSize line) {
    const int oldMode = mappingMode;
    mappingMode = mode;
    // Units are pixels in the only mapping the pages use.
    totalDev = QSize(std::abs(total.width()), std::abs(total.height()));
    pageStep = QSize(std::abs(page.width()), std::abs(page.height()));
    lineStep = QSize(std::abs(line.width()), std::abs(line.height()));
    if (pageStep.width() == 0) pageStep.setWidth(totalDev.width() / 10);
    if (pageStep.height() == 0) pageStep.setHeight(totalDev.height() / 10);
    if (lineStep.width() == 0) lineStep.setWidth(pageStep.width() / 10);
    if (lineStep.height() == 0) lineStep.setHeight(pageStep.height() / 10);
    updateBars();
    if (oldMode != mode) viewport()->update();
}

ScrollPane::BarDecision ScrollPane::DecideBars(QSize total, QSize client, QSize barThickness, QPoint position) {
    BarDecision d;
    int rangeX = total.width() - client.width();
    int rangeY = total.height() - client.height();
    d.position = position;
    d.horizontal = rangeX > 0;
    if (!d.horizontal) d.position.setX(0);
    else rangeY += barThickness.height();
    d.vertical = rangeY > 0;
    if (!d.vertical) d.position.setY(0);
    else rangeX += barThickness.width();
    if (d.vertical && !d.horizontal && rangeX > 0) {
        d.horizontal = true;
        rangeY += barThickness.height();
    }
    if (rangeX > 0 && d.position.x() >= rangeX) d.position.setX(rangeX);
    if (rangeY > 0 && d.position.y() >= rangeY) d.position.setY(rangeY);
    d.range = QSize(rangeX, rangeY);
    return d;
}

void ScrollPane::updateBars() {
    if (insideUpdate) return;
    insideUpdate = true;
    const QSize client = contentsRect().size();
    const QSize bar(verticalScrollBar()->sizeHint().width(), horizontalScrollBar()->sizeHint().height());
    BarDecision d;
    if (mappingMode != 0 && client.width() >= bar.width() && client.height() >= bar.height()) {
        d = DecideBars(totalDev, client, bar, position);
    }
    setHorizontalScrollBarPolicy(d.horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(d.vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // The viewport now has its final size; the bars move the content over
    // whatever it cannot show.
    const QSize view = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, d.horizontal ? std::max(0, totalDev.width() - view.width()) : 0);
    v->setRange(0, d.vertical ? std::max(0, totalDev.height() - view.height()) : 0);
    h->setPageStep(std::max(1, view.width()));
    v->setPageStep(std::max(1, view.height()));
    h->setSingleStep(std::max(1, lineStep.width()));
    v->setSingleStep(std::max(1, lineStep.height()));
    ScrollToDevicePosition(d.position);
    barsShown = d.horizontal || d.vertical;
    insideUpdate = false;
}

int ScrollPane::scrollLimit(Qt::Orientation orientation) const {
    const QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const Qt::ScrollBarPolicy policy =
        orientation == Qt::Horizontal ? horizontalScrollBarPolicy() : verticalScrollBarPolicy();
    return policy == Qt::ScrollBarAlwaysOn ? bar->maximum() : 0;
}

bool ScrollPane::Scroll(unsigned code, int thumbPosition, bool doScroll) {
    const long long x = stepFor(code & 0xFF, position.x(), lineStep.width(), pageStep.width(), thumbPosition);
    const long long y =
        stepFor((code >> 8) & 0xFF, position.y(), lineStep.height(), pageStep.height(), thumbPosition);
    const auto clampOffset = [](long long offset) {
        return static_cast<int>(std::clamp<long long>(offset, INT_MIN, INT_MAX));
    };
    return ScrollBy(QPoint(clampOffset(x - position.x()), clampOffset(y - position.y())), doScroll);
}

bool ScrollPane::ScrollBy(QPoint offset, bool doScroll) {
    if (horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOn) offset.setX(0);
    if (verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOn) offset.setY(0);
    const auto moved = [](int current, int delta, int limit) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(current) + delta, 0, limit));
    };
    const QPoint target(moved(position.x(), offset.x(), scrollLimit(Qt::Horizontal)),
                        moved(position.y(), offset.y(), scrollLimit(Qt::Vertical)));
    if (target == position) return false;
    if (doScroll) {
        ScrollToDevicePosition(target);
        viewport()->update();
    }
    return true;
}

void ScrollPane::ScrollToDevicePosition(QPoint target) {
    // The bars hold the positions; moving them moves the content through
    // scrollContentsBy.
    horizontalScrollBar()->setValue(target.x());
    verticalScrollBar()->setValue(target.y());
}

void ScrollPane::scrollContentsBy(int dx, int dy) {
    position -= QPoint(dx, dy);
    viewport()->scroll(dx, dy);
}

void ScrollPane::onBarAction(Qt::Orientation orientation, int action) {
    unsigned code = NoScroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = LineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = LineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = PageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = PageDown; break;
    case QAbstractSlider::SliderToMinimum: code = Top; break;
    case QAbstractSlider::SliderToMaximum: code = Bottom; break;
    default: return;  // thumb drags and wheel moves keep the bar's own position
    }
    // The bar applies the position it is left with after this signal; steer
    // it to the pane's own steps (a page step is not the visible height).
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const bool horizontal = orientation == Qt::Horizontal;
    const long long wanted =
        stepFor(code, horizontal ? position.x() : position.y(), horizontal ? lineStep.width() : lineStep.height(),
                horizontal ? pageStep.width() : pageStep.height(), 0);
    bar->setSliderPosition(static_cast<int>(std::clamp<long long>(wanted, 0, bar->maximum())));
}

bool ScrollPane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) KeepFocusInView();
    return QAbstractScrollArea::eventFilter(watched, event);
}

void ScrollPane::KeepFocusInView() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !viewport()->isAncestorOf(focus)) return;
    const int id = idOf(focus);
    if (id < firstId || id >= endId) return;
    const int line = lineStep.height();
    if (line <= 0) return;  // a pane without scroll sizes never scrolls
    const auto rectOf = [&] { return QRect(focus->mapTo(viewport(), QPoint(0, 0)), focus->size()); };
    const int paneHeight = viewport()->height();
    while (rectOf().top() + rectOf().height() > paneHeight) {
        const int step = line - ((position.y() + line) % line);
        if (!ScrollBy(QPoint(0, step))) break;
    }
    while (rectOf().top() < 0) {
        int step = position.y() % line;
        if (step == 0) step = line;
        if (!ScrollBy(QPoint(0, -step))) break;
    }
    viewport()->update();
}

void ScrollPane::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kPaneGrey);
}

void ScrollPane::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateBars();
}
