#include "TargetFile.h"

#include <vector>

#include "ServerFiles.h"
#include "ShareLocation.h"
#include "TextRules.h"

CatalogueKind KindOfPath(const std::string& path) {
    const std::vector<std::string> parts = SplitPathComponents(path, "/\\");
    if (parts.empty()) return Configuration;
    const size_t last = parts.size() - 1;
    for (size_t up = 1; up <= 2 && up <= last; ++up) {
        if (EqualIgnoringCase(parts[last - up], "volumes")) return VolumeRights;
    }
    if (EqualIgnoringCase(parts[last], "scsi.ini")) return ScsiDrives;
    return Configuration;
}

TargetFile ChooseFile(const std::string& choice) {
    if (choice.empty() || choice == "config") return {ServerFile::Configuration, Configuration};
    if (choice == "scsi") return {ServerFile::ScsiDrives, ScsiDrives};
    return {choice, KindOfPath(choice)};
}
