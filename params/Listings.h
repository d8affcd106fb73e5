#pragma once

#include <string>
#include <vector>

#include "ParameterHandler.h"
#include "Share.h"

// What the volume rights and SCSI drive pages list beside their rows, and
// tessaron-ctl volumes and drives print.

// A volume rights file: the line that names it ("CDROM1 - GUEST") and the
// file as the share names it ("Volumes/CDROM1/GUEST.USR").
struct VolumeRightsFile {
    std::string line;
    std::string name;
};

// The volume rights files of the share. Servers whose version occurs in
// "3.00 3.01" keep them directly in \Volumes ("Volumes - GUEST"); newer
// ones in one folder per volume ("CDROM1 - GUEST"), a plain file directly in
// \Volumes being none. Folders and files come sorted by name without regard
// to case (ties by bytes), each folder's files after it; only regular files
// count, names beginning with "." (hidden) are left out, and a line shows a
// file's name up to its first ".". Raises FileException when \Volumes (or
// a volume's folder) cannot be listed.
std::vector<VolumeRightsFile> ListVolumeRightsFiles(const Share& share, const std::string& serverVersion);

// The drive sections of scsi.ini as loaded: those whose name holds "LUN",
// in file order.
std::vector<std::string> ListScsiDrives(const ParameterHandler& scsi);

// The section that describes the drive of a LUN section: "ID_2" for
// "ID2_LUN0"; "" when the name gives no drive number.
std::string DriveSectionOf(const std::string& lunSection);

// True for server versions whose volume rights files lie directly in
// \Volumes.
bool KeepsVolumeRightsFlat(const std::string& serverVersion);
