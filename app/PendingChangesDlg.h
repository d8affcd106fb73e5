#pragma once

#include <QDialog>

#include "ChangeSource.h"

class QLabel;
class QPushButton;
class QTreeWidget;

// "Pending Changes": what the Submit of the page shown would write now, one
// line a parameter (its name, the value read and the value it will be),
// with Revert for the selected line. It only looks; Submit stays the
// page's own.
class PendingChangesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1401;
    static constexpr int kRevertId = 1402;

    // source: the page shown, or nullptr when it has no parameters.
    PendingChangesDlg(ChangeSource* source, QWidget* parent);

    // Reads the page again and lists what it would write.
    void Refresh();
    void RevertSelected();

private:
    void updateButtons();

    ChangeSource* source;
    ChangeSource::PendingChanges pending;
    QLabel* intro;
    QTreeWidget* list;
    QPushButton* revert;
};
