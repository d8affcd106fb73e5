#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

#include "ServerReports.h"

class DialogUnits;

// A server report shown as the server wrote it: one line of the file per
// line of the view, in file order, in the system's fixed-pitch font; nothing
// can be selected or edited. Lines scroll sideways to their full width, and
// at least to the width the server lays its reports out for, so nothing a
// server writes beyond that width is cut off. The arrow keys, Page Up and
// Page Down, Home and End scroll. Built for large reports: the view holds
// the report's text once and draws only the lines in sight, so a report of
// millions of lines opens at once in little more memory than its file.
class ServerTextList : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The width the server lays its reports out for, in reference pixels.
    static constexpr int kReportWidth = 800;

    // Takes the place of a template's list box: its geometry, its frame, its
    // ID and its place in the Tab order. The list box itself is deleted.
    // units are the window's: lines scroll at least to the report width at
    // its font.
    ServerTextList(QWidget* placeholder, const DialogUnits& units);

    // Shows the lines of this report (server text), replacing what was shown.
    void SetText(ReportText text);
    int LineCount() const;
    // The lines shown, for tests.
    QStringList Lines() const;
    // How wide the lines scroll, in pixels.
    int Extent() const { return extent; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int lineHeight() const;
    int linesInSight() const;
    void updateScrollBars();
    // A screen reader reads the lines in sight.
    void describeLinesInSight();

    ReportText text;
    int minimumExtent;
    int extent;
    int margin;
};
