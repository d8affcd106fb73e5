#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Discovery.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

// "Choose a Server": what a start without a share shows first. The list
// holds each server found (the shares opened before first, then those this
// computer has mounted, then those of the hosts looked up), filled in as the
// probes answer; a share opened before that is gone stays in the list, said
// to be so. A host field looks up a host's shares (or a share's address);
// "Other Folder…" asks for any folder. Driven by keyboard alone: arrows
// and Enter in the list, Enter in the host field looks up, Escape cancels.
class ChooseServerDlg : public QDialog {
    Q_OBJECT
public:
    using FolderChooser = std::function<std::string()>;

    // targets: probed at once; otherFolder: asked by "Other Folder…".
    ChooseServerDlg(const std::vector<ProbeTarget>& targets, FolderChooser otherFolder, QWidget* parent = nullptr);
    ~ChooseServerDlg() override;

    // Runs the dialog: the share chosen (an address or a folder), "" when
    // cancelled.
    std::string Choose();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setUpControls();
    void layOut(QWidget* folderButton, QWidget* buttons);
    void reported(const FoundShare& share);
    void step();
    void refill();
    void lookUp();
    void openChosen();
    void chooseOtherFolder();
    void updateState();
    // The row's share: appliances, and the recent shares that are gone.
    static bool listed(const FoundShare& share);

    FolderChooser otherFolder;
    std::unique_ptr<Discovery> discovery;
    std::vector<FoundShare> found;  // every report, in the order they came
    bool searching = false;
    bool lookingUp = false;  // a host looked up has shown no server yet
    std::string select;      // the share to make current when the list is filled again
    bool moved = false;      // the user chose the current row (else the first server is)
    std::string chosen;
    QString hostProblem;     // why the last host looked up gave nothing

    QTreeWidget* servers;
    QLabel* status;
    QProgressBar* busy;
    QLineEdit* host;
    QPushButton* lookUpButton;
    QPushButton* openButton;
    QTimer* timer;
};
