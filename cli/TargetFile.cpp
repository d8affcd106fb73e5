#include "TargetFile.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "ServerFiles.h"
#include "ShareFile.h"
#include "ShareLocation.h"
#include "TextRules.h"

namespace fs = std::filesystem;

CatalogueKind KindOfPath(const std::string& path) {
    const std::vector<std::string> parts = SplitPathComponents(path, "/\\");
    if (parts.empty()) return Configuration;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        if (EqualIgnoringCase(parts[i], "volumes")) return VolumeRights;
    }
    if (EqualIgnoringCase(parts.back(), "scsi.ini")) return ScsiDrives;
    return Configuration;
}

TargetFile ChooseFile(const std::string& shareDir, const std::string& choice) {
    if (choice.empty() || choice == "config") return {SharePath(shareDir, ServerFile::Configuration), Configuration};
    if (choice == "scsi") return {SharePath(shareDir, ServerFile::ScsiDrives), ScsiDrives};

    std::error_code error;
    const fs::path share = fs::weakly_canonical(fs::absolute(shareDir, error), error);
    if (choice[0] == '/' && fs::is_regular_file(choice, error)) {
        // A full path: decide its kind by the part below the share when it lies there.
        const fs::path file = fs::weakly_canonical(choice, error);
        const fs::path below = file.lexically_relative(share);
        const bool inShare = !below.empty() && *below.begin() != "..";
        return {choice, KindOfPath(inShare ? below.string() : file.string())};
    }
    std::string relative = choice;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    if (relative[0] != '\\') relative = "\\" + relative;  // insert() trips a false -Wrestrict in g++ 12 -O2
    return {SharePath(shareDir, relative), KindOfPath(relative)};
}
