#include "TargetFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "ShareFile.h"
#include "ShareLocation.h"

namespace fs = std::filesystem;

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

CatalogueKind KindOfPath(const std::string& path) {
    const std::vector<std::string> parts = SplitPathComponents(path, "/\\");
    if (parts.empty()) return Configuration;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        if (lowerCase(parts[i]) == "volumes") return VolumeRights;
    }
    if (lowerCase(parts.back()) == "scsi.ini") return ScsiDrives;
    return Configuration;
}

TargetFile ChooseFile(const std::string& shareDir, const std::string& choice) {
    if (choice.empty() || choice == "config") return {SharePath(shareDir, "\\Config\\Config.ini"), Configuration};
    if (choice == "scsi") return {SharePath(shareDir, "\\Config\\scsi.ini"), ScsiDrives};

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
