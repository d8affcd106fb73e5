#include "TargetFile.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "ServerFiles.h"
#include "Share.h"
#include "ShareFile.h"
#include "ShareLocation.h"
#include "TextRules.h"

namespace {

// A path below a share as messages write it: "/" between the names.
std::string shownName(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;  // a full path, as given
    std::string shown;
    for (const std::string& part : SplitPathComponents(name, "/\\")) shown += (shown.empty() ? "" : "/") + part;
    return shown;
}

}  // namespace

TargetFile ChooseFile(const std::string& choice) {
    if (choice.empty() || choice == "config") return {ServerFile::Configuration, Configuration, "Config/Config.ini"};
    if (choice == "scsi") return {ServerFile::ScsiDrives, ScsiDrives, "Config/scsi.ini"};
    return {choice, KindOfPath(choice), shownName(choice)};
}

bool IsServerOnlyFile(const std::string& pathInShare) {
    // The names as the path leads, "." and ".." followed.
    std::vector<std::string> parts;
    for (const std::string& part : SplitPathComponents(pathInShare, "/\\")) {
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (part != ".") {
            parts.push_back(part);
        }
    }
    // The file itself, or (a folder) anything below it.
    const auto is = [&parts](const char* serverName, bool below) {
        const std::vector<std::string> names = SplitPathComponents(serverName, "\\");
        if (names.size() > parts.size() || (names.size() < parts.size() && !below)) return false;
        for (size_t i = 0; i < names.size(); ++i) {
            if (!EqualIgnoringCase(names[i], parts[i])) return false;
        }
        return true;
    };
    return is(ServerFile::DiscFolder, true) || is(ServerFile::Statistics, false) || is(ServerFile::EventLog, false) ||
           is(ServerFile::ScsiText, false);
}

bool IsServerOnlyFile(const Share& share, const std::string& name) {
    // The file's path below the share's root; for a folder of this computer
    // with links followed, as the share's own root is.
    std::string path = share.PathOf(name);
    std::string root = share.PathOf("");
    if (!path.empty() && path[0] == '/') {
        path = WeaklyResolved(path);
        root = WeaklyResolved(root);
        if (path.empty() || root.empty()) return false;
    }
    if (path.size() <= root.size() || path.compare(0, root.size(), root) != 0 || path[root.size()] != '/') return false;
    return IsServerOnlyFile(path.substr(root.size() + 1));
}

std::string ShareFolderAbove(const std::string& path) {
    std::error_code failed;
    const std::filesystem::path file = std::filesystem::weakly_canonical(std::filesystem::absolute(path, failed), failed);
    if (failed) return {};
    for (std::filesystem::path folder = file.parent_path(); folder.has_relative_path(); folder = folder.parent_path()) {
        if (ShareFolderProblem(folder.string()) == 0) return folder.string();
    }
    return {};
}

bool IsServerOnlyLocalFile(const std::string& path) {
    const std::string folder = ShareFolderAbove(path);
    if (folder.empty()) return false;
    std::error_code failed;
    const std::filesystem::path file = std::filesystem::weakly_canonical(std::filesystem::absolute(path, failed), failed);
    return !failed && IsServerOnlyFile(file.lexically_relative(folder).string());
}
