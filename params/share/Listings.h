#pragma once

#include <string>
#include <vector>

#include "FileException.h"
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

// A volume folder that could not be read: its name ("CDROM1") and what
// failed. Its files are not listed; the other folders' are.
struct UnreadableVolume {
    std::string volume;
    FileException error;
};

struct VolumeRightsListing {
    std::vector<VolumeRightsFile> files;
    std::vector<UnreadableVolume> unreadable;
    // The share has no \Volumes folder at all (so no volume rights files):
    // its path, for saying so; empty when there is one.
    std::string missingFolder;
};

// The volume rights files of the share. Servers whose version occurs in
// "3.00 3.01" keep them directly in \Volumes ("Volumes - GUEST"); newer
// ones in one folder per volume ("CDROM1 - GUEST"), a plain file directly in
// \Volumes being none. Folders and files come sorted by name without regard
// to case (ties by bytes), each folder's files after it; only regular files
// count, names beginning with "." (hidden) are left out, and a line shows a
// file's name up to its first ".". Names are the file system's bytes. A
// volume's folder that cannot be read is noted and passed over. Raises
// FileException when \Volumes is there but cannot be listed.
VolumeRightsListing ListVolumeRightsFiles(const Share& share, const std::string& serverVersion);

// The drive sections of scsi.ini as loaded: those whose name holds "LUN",
// in file order.
std::vector<std::string> ListScsiDrives(const ParameterHandler& scsi);

// The section that describes the drive of a LUN section: "ID_2" for
// "ID2_LUN0"; "" when the name gives no drive number.
std::string DriveSectionOf(const std::string& lunSection);

// The "Drive" value of the drive section of each LUN section ("" where
// there is none), found through one index of the sections by name, so that
// a file of many drives takes time in proportion to its size.
std::vector<std::string> DrivesOf(const ParameterHandler& scsi, const std::vector<std::string>& lunSections);

// True for server versions whose volume rights files lie directly in
// \Volumes.
bool KeepsVolumeRightsFlat(const std::string& serverVersion);
