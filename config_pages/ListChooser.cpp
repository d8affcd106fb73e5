#include "ListChooser.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "Catalogue.h"
#include "ControlHandler.h"
#include "Cp1252.h"
#include "Listings.h"
#include "ServerFiles.h"
#include "ShownText.h"
#include "StringIds.h"
#include "StringTable.h"
#include "ToolHost.h"

namespace {
constexpr int kTooManyRows = 1009;
constexpr int kVolumeRightsFilesName = 60028;
constexpr int kDrivesName = 60029;
}  // namespace

ListChooser::ListChooser(PageMode mode, QListWidget* list) : mode(mode), list(list) {
    list->setAccessibleName(
        FromServerText(LoadString(mode == PageMode::VolumeRights ? kVolumeRightsFilesName : kDrivesName)));
}

ListChooser::~ListChooser() { RemoveDriveRow(); }

void ListChooser::Reset() {
    listed = tooManyShown = false;
    chosen = 0;
}

void ListChooser::List(const SharePtr& share, const std::string& serverVersion) {
    if (listed) return;
    listed = true;
    names.clear();
    QStringList lines;
    VolumeRightsListing volumes;
    if (mode == PageMode::VolumeRights) {
        volumes = ListVolumeRightsFiles(*share, serverVersion);
        // Names as the file system gives them, not as server text.
        for (const VolumeRightsFile& file : volumes.files) {
            lines << QString::fromStdString(ShownName(file.line));
            names.push_back(file.name);
        }
    } else {
        ParameterHandler scsi;
        scsi.Load(share, ServerFile::ScsiDrives, CatalogueOf(ScsiDrives));
        names = ListScsiDrives(scsi);
        for (const std::string& name : names) lines << FromServerText(name);
    }
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(lines);
    chosen = 0;
    for (const UnreadableVolume& folder : volumes.unreadable) {
        ToolHost::Get().ShowNamedMessage(StringId::UnreadableVolume, folder.volume, ShownName(folder.error.Detail()));
    }
    if (names.empty()) {
        // Folders that could not be read were named: "none" would not be true.
        if (volumes.unreadable.empty()) {
            ToolHost::Get().ShowMessage(mode == PageMode::VolumeRights ? StringId::NoVolumeRightsFiles
                                                                        : StringId::NoDrives);
        }
        return;
    }
    list->setCurrentRow(0);
    list->show();
}

void ListChooser::Load(const SharePtr& share, ParameterHandler& store, ParameterSection& section) const {
    if (mode == PageMode::ScsiDrives) store.Load(share, ServerFile::ScsiDrives, CatalogueOf(ScsiDrives));
    if (chosen < 0 || chosen >= static_cast<int>(names.size())) return;
    try {
        if (mode == PageMode::ScsiDrives) {
            section = store.GetSection(names[chosen]);
            return;
        }
        store.Load(share, names[chosen], CatalogueOf(VolumeRights));
        section = store.GetSection("");
    } catch (const ParameterHandler::ParameterError& error) {
        // The section named by the line vanished from the file in between.
        throw FileException(error.Path(), error.Reason());
    }
    // The name a volume rights file starts with is the file's own, not a setting.
    if (section.GetParameterCount() > 0 && section.ParameterAt(0).GetKey() == "Name") {
        section.KeepRange(1, section.GetParameterCount() - 1);
    }
}

int ListChooser::RowsShown(int rows) {
    if (mode != PageMode::ScsiDrives || rows <= kMaxDriveRows) return rows;
    if (!tooManyShown) {
        tooManyShown = true;
        ToolHost::Get().ShowMessage(kTooManyRows);
    }
    return kMaxDriveRows;
}

int ListChooser::AddDriveRow(const ParameterHandler& store, const std::string& section, QWidget* pane,
                             const ControlHandler& controls, const DialogUnits& units, int firstTop) {
    std::string drive;
    if (mode != PageMode::ScsiDrives || !store.GetValue(DriveSectionOf(section), "Drive", drive)) return firstTop;
    constexpr int edge = RowLayout::kEdgeHeight;
    const QRect label = ToPagePixels({4, 4 + 2 * edge, 124, 32}, units);
    const QRect value = ToPagePixels({128, 4, 128 + RowLayout::kEditWidth, 4 + RowLayout::kControlHeight}, units);
    driveLabel = controls.CreateStatic(pane, pane->font(), kDriveLabelId, QStringLiteral("Drive"), label.left(),
                                       label.top(), label.right() + 1, label.bottom() + 1);
    driveValue = controls.CreateEdit(pane, pane->font(), kDriveValueId, value.x(), value.y(), value.width(),
                                     value.height());
    driveValue->setAccessibleName(driveLabel->text());
    driveLabel->setBuddy(driveValue);
    driveValue->setText(FromServerText(drive));
    driveValue->setCursorPosition(0);
    driveValue->setReadOnly(true);
    return RowLayout::kRowPitch + 4;
}

void ListChooser::RemoveDriveRow() {
    delete driveLabel.data();
    delete driveValue.data();
}
