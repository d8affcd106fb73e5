#pragma once

#include <QDialog>

#include <vector>

#include "History.h"

class ConfigApp;
class QLabel;
class QPushButton;
class QTreeWidget;

// "History": the writes this computer made to the server's share, newest
// first (time, program, file, what changed), the changes of the selected
// write, and "Undo This Change", which sets what that write changed back
// through the submit path.
class HistoryDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWritesId = 1411;
    static constexpr int kChangesId = 1412;
    static constexpr int kUndoId = 1413;

    HistoryDlg(ConfigApp& app, QWidget* parent);

    // Reads the history again and lists it, the newest write selected.
    void Refresh();
    void UndoSelected();
    // Some write was undone while the window was open.
    bool Undone() const { return undone; }

private:
    void showSelected();
    const HistoryEntry* selected() const;

    ConfigApp& app;
    std::vector<HistoryEntry> entries;
    QLabel* intro;
    QTreeWidget* writes;
    QLabel* details;
    QTreeWidget* changes;
    QPushButton* undo;
    bool undone = false;
};
