#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QSize>

class QAbstractButton;
class QComboBox;

// The grey child window that holds the rows of a generated page. It can
// scroll its rows by whole pixels, keeps the focused row control in view, and
// passes the row controls' clicks and selection changes on to the page. Only
// a pane that was given scroll sizes ever shows scroll bars or scrolls.
class ScrollPane : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Receives the notifications of the row controls: code 0 for a click
    // (check box), code 1 for a selection change (choice list).
    class CommandTarget {
    public:
        virtual ~CommandTarget() = default;
        virtual void OnChildCommand(int id, int code) = 0;
    };

    static constexpr int kClicked = 0;
    static constexpr int kSelectionChange = 1;

    // Scroll codes of one direction; Scroll takes the horizontal code in the
    // low byte and the vertical one in the next byte (0xFF: no request).
    enum ScrollCode : unsigned {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8,
        NoScroll = 0xFF,
    };
    static constexpr unsigned Horizontal(unsigned code) { return code | (NoScroll << 8); }
    static constexpr unsigned Vertical(unsigned code) { return NoScroll | (code << 8); }

    static constexpr int kMappingText = 1;  // one logical unit per pixel

    // Controls whose ID lies in [firstId, endId) are kept in view when they
    // get the focus. target may be null.
    ScrollPane(CommandTarget* target, int firstId, int endId, QWidget* parent = nullptr);

    // The widget the row controls are created in.
    QWidget* Content() const { return viewport(); }
    // Hooks a row control up for notification forwarding and focus tracking.
    void AttachControl(QWidget* control);

    // Gives the pane a scrolled content. Sizes are in pixels; a page step of 0
    // becomes a tenth of the total, a line step of 0 a tenth of the page step.
    void SetScrollSizes(int mappingMode, QSize total, QSize page = QSize(0, 0), QSize line = QSize(0, 0));

    // Scrolls by codes (see ScrollCode); thumbPosition serves ThumbTrack.
    // Returns whether the content moved.
    bool Scroll(unsigned code, int thumbPosition, bool doScroll = true);
    // Moves the content by a pixel offset within the scroll range. Returns
    // whether a position changed; a direction without a bar never moves.
    bool ScrollBy(QPoint offset, bool doScroll = true);
    // Sets both scroll positions and moves the content accordingly.
    void ScrollToDevicePosition(QPoint position);

    int MappingMode() const { return mappingMode; }
    QSize TotalSize() const { return totalDev; }
    QSize PageStep() const { return pageStep; }
    QSize LineStep() const { return lineStep; }
    QPoint ScrollPosition() const { return position; }
    bool BarsShown() const { return barsShown; }

    // The scroll-bar decision for a content of `total` pixels in a client
    // area of `client` pixels with bars of the given thickness. Returns the
    // needed bars and the position clamped to the resulting range.
    struct BarDecision {
        bool horizontal = false;
        bool vertical = false;
        QSize range;      // how far the content can move, bars accounted for
        QPoint position;  // the scroll position, kept within the range
    };
    static BarDecision DecideBars(QSize total, QSize client, QSize barThickness, QPoint position);

    // Scrolls the focused row control into view (when its ID is tracked) in
    // steps that land on multiples of the vertical line step.
    void KeepFocusInView();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateBars();
    void onBarAction(Qt::Orientation orientation, int action);
    int scrollLimit(Qt::Orientation orientation) const;

    CommandTarget* target;
    int firstId;
    int endId;
    int mappingMode = 0;
    QSize totalDev;
    QSize pageStep;
    QSize lineStep;
    QPoint position;
    bool insideUpdate = false;
    bool settingBars = false;
    bool barsShown = false;
};
