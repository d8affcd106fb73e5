#pragma once

#include "PropertyPage.h"  // complete before the sheet's inline page accessors
#include "PropertySheet.h"

class ManagementGeneralProperty;
class ManagementSCSItxtProperty;
class TemplatePage;

// The tabbed sheet of the server's management, built inside the main window
// below its header: the General page; a SCSI tab - the drive settings of
// the SCSI configuration file when the server has one it can read, else
// the server's text description of its SCSI bus, else none; and the volume
// rights. Building it only looks whether those two SCSI files can be
// opened; each page reads its own files when it is first shown. Help (F1,
// the Help button) reaches the main window, which shows the topic of the
// page that is active.
class ManagementPropertySheet : public PropertySheet {
    Q_OBJECT
public:
    explicit ManagementPropertySheet(QWidget* parent);

    bool OnInitDialog() override;

    ManagementGeneralProperty* GeneralPage() const { return general; }
    // The SCSI tab, of whichever kind it is; nullptr when there is none.
    TemplatePage* ScsiDrivesPage() const { return scsiDrives; }
    ManagementSCSItxtProperty* ScsiTextPage() const { return scsiText; }
    TemplatePage* VolumeRightsPage() const { return volumeRights; }

private:
    // Where the sheet sits in the main window's client area, in pixels of
    // the reference font (scaled to the font in use).
    static constexpr int kLeft = 15;
    static constexpr int kTop = 70;

    // All children of the sheet.
    ManagementGeneralProperty* general = nullptr;
    ManagementSCSItxtProperty* scsiText = nullptr;
    TemplatePage* scsiDrives = nullptr;
    TemplatePage* volumeRights = nullptr;
};
