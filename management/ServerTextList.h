#pragma once

#include <QListView>

#include <string>
#include <vector>

class DialogUnits;
class QStringListModel;

// A server report shown as the server wrote it: one entry per line, in file
// order, in the system's fixed-pitch font; nothing can be selected or
// edited. Lines scroll sideways to their full width, and at least to the
// width the server lays its reports out for, so nothing a server writes
// beyond that width is cut off. Built for large reports: one model
// of strings and rows of one height, so tens of thousands of lines open at
// once.
class ServerTextList : public QListView {
    Q_OBJECT
public:
    // The width the server lays its reports out for, in reference pixels.
    static constexpr int kReportWidth = 800;

    // Takes the place of a template's list box: its geometry, its ID and its
    // place in the Tab order. The list box itself is deleted. units are the
    // window's: lines scroll at least to the report width at its font.
    ServerTextList(QWidget* placeholder, const DialogUnits& units);

    // Shows these lines (server text), replacing what was shown.
    void SetLines(const std::vector<std::string>& lines);
    // The entries shown, for the owner and for tests.
    QStringList Lines() const;
    // How wide the lines scroll, in pixels.
    int Extent() const { return extent; }

protected:
    // Left and Right scroll sideways, so wide lines can be read by keyboard.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringListModel* model;
    int minimumExtent;
    int extent;
};
