#include "ManagementPropertySheet.h"

#include "FileException.h"
#include "ManagementGeneralProperty.h"
#include "ManagementSCSItxtProperty.h"
#include "ServerFiles.h"
#include "StringTable.h"
#include "TemplatePage.h"
#include "ToolHost.h"
#include "WaitCursor.h"

namespace {

constexpr int kVolumeRightsTitle = 30001;
constexpr int kScsiTitle = 30002;

// Whether a file of the share can be opened for reading; nothing is kept.
bool canOpen(const Share& share, const char* file) {
    try {
        std::string firstLine;
        share.ReadFirstLine(share.PathOf(file), firstLine);
        return true;
    } catch (const FileException&) {
        return false;
    }
}

TemplatePage* listPage(int titleId, PageMode mode) {
    auto* page = new TemplatePage;
    page->SetTemplateId(TemplateId::ListParameterPage);
    page->Initialise(LoadString(titleId), 0, mode, 0, 0);
    return page;
}

}  // namespace

ManagementPropertySheet::ManagementPropertySheet(QWidget* parent) : PropertySheet(parent) {
    WaitCursor wait;
    general = new ManagementGeneralProperty;
    AddPage(general);
    const Share& share = *ToolHost::Get().GetShare();
    if (canOpen(share, ServerFile::ScsiDrives)) {
        scsiDrives = listPage(kScsiTitle, PageMode::ScsiDrives);
        AddPage(scsiDrives);
    } else if (canOpen(share, ServerFile::ScsiText)) {
        scsiText = new ManagementSCSItxtProperty;
        AddPage(scsiText);
    }
    volumeRights = listPage(kVolumeRightsTitle, PageMode::VolumeRights);
    AddPage(volumeRights);
    Create();
}

bool ManagementPropertySheet::OnInitDialog() {
    const bool result = PropertySheet::OnInitDialog();
    PlaceInParent(kLeft, kTop);
    return result;
}
