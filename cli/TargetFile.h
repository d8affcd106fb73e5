#pragma once

#include <string>

#include "CatalogueKind.h"

class Share;

// The server file a command works on, and the catalogue it is read with.
struct TargetFile {
    std::string name;  // as Share::PathOf takes it
    CatalogueKind kind = Configuration;
    std::string shown;  // as messages name it: its path below the share, or the full path given
};

// The catalogue for a file by where it lies and how it is named: a file in a
// folder named Volumes, or in a folder of one (any case), holds volume
// rights, a file named scsi.ini (any case) the SCSI drives, any other the
// configuration.
CatalogueKind KindOfPath(const std::string& path);

// The file that a --file choice names on the share: "config" (the default,
// also for an empty choice) and "scsi" name the two parameter files;
// anything else is a file of the share, below it ("Volumes/CDROM1/GUEST.USR"
// or "\Volumes\CDROM1\GUEST.USR") or as a full path inside it.
TargetFile ChooseFile(const std::string& choice);

// Whether a file of a share, named by its path below the share's root, is a
// file the programs never take for parameters: one of the server's reports
// (Config/Stat.txt, Config/Logfile.txt, Config/Scsi.txt) or a file of its Cd
// folder. Letter case does not matter, as on the share.
bool IsServerOnlyFile(const std::string& pathInShare);
// The same for a file of a share, named as Share::PathOf takes it. Raises
// FileException when the name leads outside the share.
bool IsServerOnlyFile(const Share& share, const std::string& name);
// The share a file of this computer lies in: the nearest folder above it
// that holds Config/Config.ini, links resolved; "" when there is none.
std::string ShareFolderAbove(const std::string& path);
// The same for a file of this computer, judged below the share it lies in
// (the nearest folder above it that holds Config/Config.ini); a file in no
// share is none of them.
bool IsServerOnlyLocalFile(const std::string& path);
