#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "PageMode.h"
#include "ParameterHandler.h"
#include "Share.h"

class QLineEdit;
class QLabel;
class QListWidget;
class QWidget;
class ControlHandler;
class DialogUnits;

// The list beside the rows of the volume rights and SCSI drive pages: the
// volume rights files of the share, or the drive sections of scsi.ini; the
// line chosen; what that line opens (a file, or a section with the drive it
// belongs to, shown in a read-only "Drive" row above the others).
class ListChooser {
public:
    static constexpr int kMaxDriveRows = 9;
    static constexpr int kDriveLabelId = 2100;
    static constexpr int kDriveValueId = 2101;

    ListChooser(PageMode mode, QListWidget* list);
    ~ListChooser();
    ListChooser(const ListChooser&) = delete;
    ListChooser& operator=(const ListChooser&) = delete;

    // Forgets the listing (each activation lists afresh) and any warning.
    void Reset();
    // Fills the list once per activation and chooses its first line; says
    // 1016 or 1015 when there is nothing to list, and names each volume
    // folder that could not be read. Raises FileException.
    void List(const SharePtr& share, const std::string& serverVersion);
    bool HasLines() const { return !names.empty(); }
    int Chosen() const { return chosen; }
    void Choose(int line) { chosen = line; }

    // Loads what the chosen line opens: the volume rights file (its unnamed
    // section, without its leading "Name"), or the drive section of
    // scsi.ini. Leaves section empty when nothing is listed. Raises
    // FileException (also when the section has gone from the file).
    void Load(const SharePtr& share, ParameterHandler& store, ParameterSection& section) const;

    // How many of rows the page shows: all, but at most nine of a drive
    // (saying 1009 once per activation).
    int RowsShown(int rows);

    // The drive page's "Drive" row above the others, when the drive has
    // one, in pane; answers the top of the first row below it (firstTop
    // when there is none).
    int AddDriveRow(const ParameterHandler& store, const std::string& section, QWidget* pane,
                    const ControlHandler& controls, const DialogUnits& units, int firstTop);
    void RemoveDriveRow();

private:
    PageMode mode;
    QListWidget* list;
    std::vector<std::string> names;  // what each line opens: a file of the share, or a section
    int chosen = 0;
    bool listed = false;
    bool tooManyShown = false;
    // Children of the page's pane, which may go first.
    QPointer<QLabel> driveLabel;
    QPointer<QLineEdit> driveValue;
};

