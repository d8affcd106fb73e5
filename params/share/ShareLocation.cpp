#include "ShareLocation.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ServerFiles.h"
#include "ShareFile.h"
#include "TextRules.h"

namespace fs = std::filesystem;

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string PercentEncoded(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == '.' || c == '~' || c == '$';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

std::string SmbAddress(const NetworkPath& network) {
    std::string address = "smb://" + PercentEncoded(network.host);
    if (!network.port.empty()) address += ':' + network.port;
    if (!network.share.empty()) address += '/' + PercentEncoded(network.share);
    for (const std::string& part : network.rest) address += '/' + PercentEncoded(part);
    return address;
}

std::string FromFileAddress(const std::string& argument) {
    if (!StartsWithIgnoringCase(argument, "file://")) return argument;
    std::string rest = argument.substr(7);
    if (StartsWithIgnoringCase(rest, "localhost/")) rest.erase(0, 9);
    // Another computer's file is none of this one's.
    return rest.empty() || rest[0] != '/' ? argument : PercentDecoded(rest);
}

std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

// Decodes the octal escapes ("\040" for a blank) of the mount table.
std::string octalDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() &&
            std::all_of(text.begin() + i + 1, text.begin() + i + 4, [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool isNetworkMount(const MountEntry& entry) {
    return entry.type == "cifs" || entry.type == "smb3" || entry.type == "smbfs";
}

// The parts of a share as one list: host, share, folders below it.
std::vector<std::string> componentsOf(const NetworkPath& network) {
    std::vector<std::string> parts{network.host};
    if (!network.share.empty()) parts.push_back(network.share);
    parts.insert(parts.end(), network.rest.begin(), network.rest.end());
    return parts;
}

// Number of leading parts of path that mounted covers, or -1 when mounted is
// not a leading part of path. Share names are compared without regard to case.
int coveredParts(const std::vector<std::string>& mounted, const std::vector<std::string>& path) {
    if (mounted.size() < 2 || mounted.size() > path.size()) return -1;
    for (size_t i = 0; i < mounted.size(); ++i) {
        if (!EqualIgnoringCase(mounted[i], path[i])) return -1;
    }
    return static_cast<int>(mounted.size());
}

std::string joined(std::string base, const std::vector<std::string>& parts, size_t from) {
    for (size_t i = from; i < parts.size(); ++i) {
        if (base.empty() || base.back() != '/') base += '/';
        base += parts[i];
    }
    return base;
}

// The server and share a desktop mount folder stands for
// ("smb-share:server=host,share=name,user=..."); false for other folders.
bool parseGvfsName(const std::string& name, NetworkPath& network) {
    const std::string prefix = "smb-share:";
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    network = NetworkPath{};
    std::stringstream fields(name.substr(prefix.size()));
    std::string field;
    while (std::getline(fields, field, ',')) {
        const size_t eq = field.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = field.substr(0, eq);
        const std::string value = PercentDecoded(field.substr(eq + 1));
        if (key == "server") network.host = value;
        if (key == "share") network.share = value;
        if (key == "port") network.port = value;
    }
    return !network.host.empty() && !network.share.empty();
}

std::vector<MountedShare> gvfsMounts(const std::string& gvfsRoot) {
    std::vector<MountedShare> result;
    std::error_code error;
    if (gvfsRoot.empty() || !fs::is_directory(gvfsRoot, error)) return result;
    for (const fs::directory_entry& entry : fs::directory_iterator(gvfsRoot, error)) {
        NetworkPath network;
        if (parseGvfsName(entry.path().filename().string(), network)) result.push_back({entry.path().string(), network});
    }
    // In the order of their names, whatever order the folder lists them in.
    std::sort(result.begin(), result.end(), [](const MountedShare& a, const MountedShare& b) { return a.folder < b.folder; });
    return result;
}

std::vector<MountedShare> cifsMounts(const std::string& mountsText) {
    std::vector<MountedShare> result;
    for (const MountEntry& entry : ParseMounts(mountsText)) {
        NetworkPath network;
        if (isNetworkMount(entry) && ParseNetworkPath(entry.source, network)) result.push_back({entry.target, network});
    }
    return result;
}

// The path made absolute and free of "." and "..", symbolic links resolved
// where they exist.
fs::path canonicalOf(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) absolute = path;
    // Resolved without asking for attributes: on a network share each
    // would be a round trip.
    std::string text = WeaklyResolved(absolute.string());
    if (text.empty()) text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// True when inner lies in or at outer (both canonical).
bool liesIn(const fs::path& inner, const fs::path& outer) {
    auto o = outer.begin(), i = inner.begin();
    for (; o != outer.end(); ++o, ++i) {
        if (o->empty()) continue;  // a trailing separator
        if (i == inner.end() || *i != *o) return false;
    }
    return true;
}

}  // namespace

bool ParseNetworkPath(const std::string& path, NetworkPath& network) {
    std::vector<std::string> parts;
    std::string port;
    if (StartsWithIgnoringCase(path, "smb://")) {
        std::string rest = path.substr(6);
        const size_t query = rest.find_first_of("?#");
        if (query != std::string::npos) rest.erase(query);
        // A user name and password end at the last "@" before the first
        // separator, as written: what they hold encoded separates nothing.
        const size_t at = rest.rfind('@', rest.find_first_of("/\\"));
        if (at != std::string::npos) rest.erase(0, at + 1);
        // Decoded before it is split, so that an encoded separator ("%2F",
        // "%5C") separates as a written one does.
        parts = SplitPathComponents(PercentDecoded(rest), "/\\");
        if (!parts.empty()) {
            std::string& host = parts.front();
            const size_t colon = host.rfind(':');
            if (colon != std::string::npos && host.find(']') == std::string::npos) {
                port = host.substr(colon + 1);
                host.erase(colon);
            }
        }
    } else if (path.size() >= 2 && (path[0] == '/' || path[0] == '\\') && (path[1] == '/' || path[1] == '\\')) {
        parts = SplitPathComponents(path.substr(2), "/\\");
    } else {
        return false;
    }
    if (parts.empty() || parts.front().empty()) return false;
    // A share or folder named by climbing out of another is no place on the
    // server that the path can be trusted to name.
    if (std::find(parts.begin(), parts.end(), "..") != parts.end()) return false;
    network = NetworkPath{};
    network.host = parts[0];
    network.port = port;
    if (parts.size() > 1) network.share = parts[1];
    network.rest.assign(parts.begin() + std::min<size_t>(2, parts.size()), parts.end());
    return true;
}

std::vector<MountEntry> ParseMounts(const std::string& mountsText) {
    std::vector<MountEntry> mounts;
    std::istringstream lines(mountsText);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        MountEntry entry;
        if (!(fields >> entry.source >> entry.target >> entry.type)) continue;
        entry.source = octalDecoded(entry.source);
        entry.target = octalDecoded(entry.target);
        mounts.push_back(entry);
    }
    return mounts;
}

std::string GvfsRoot(const char* runtimeDir, unsigned uid) {
    const std::string runtime = runtimeDir && *runtimeDir ? runtimeDir : "/run/user/" + std::to_string(uid);
    return runtime + "/gvfs";
}

MountSources SystemMountSources() {
    MountSources sources;
    std::ifstream in("/proc/self/mounts");
    std::ostringstream text;
    text << in.rdbuf();
    sources.mountsText = text.str();
    sources.gvfsRoot = GvfsRoot(std::getenv("XDG_RUNTIME_DIR"), getuid());
    return sources;
}

int ShareFolderProblem(const std::string& directory) {
    // Found without their attributes, which on a network share would cost
    // a round trip each: the folder is opened as one (O_PATH opens
    // nothing), and the file's name is looked up.
    const int folder = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return 60021;
    const std::string root = WhereIs(folder);
    ::close(folder);
    if (Resolved(SharePathWithin(root, directory, ServerFile::Configuration)).empty()) return 60022;
    return 0;
}

std::string ResolveServerPath(const std::string& serverPath, const MountSources& mounts) {
    NetworkPath network;
    if (!ParseNetworkPath(serverPath, network)) return serverPath;
    const std::vector<std::string> wanted = componentsOf(network);

    int bestCovered = -1;
    std::string best;
    for (const auto& [folder, source] : MountedShares(mounts)) {
        const int covered = coveredParts(componentsOf(source), wanted);
        if (covered > bestCovered) {
            bestCovered = covered;
            best = joined(folder, wanted, covered);
        }
    }
    if (bestCovered < 0) throw ShareNotMounted{};
    return best;
}

std::string ResolveServerPath(const std::string& serverPath) {
    // A folder is taken as it is: no need to read the mount table for it.
    NetworkPath network;
    if (!ParseNetworkPath(serverPath, network)) return serverPath;
    return ResolveServerPath(serverPath, SystemMountSources());
}

namespace {

// The folders of directory below base, as parts.
std::vector<std::string> partsBelow(const fs::path& directory, const fs::path& base) {
    std::vector<std::string> parts;
    const fs::path relative = directory.lexically_relative(base);
    for (const fs::path& part : relative) {
        if (!part.empty() && part != ".") parts.push_back(part.string());
    }
    return parts;
}

// The network share a folder of this computer lies on, with the folders
// below the share: the innermost mount that holds the folder decides.
bool networkShareOf(const fs::path& directory, const MountSources& mounts, NetworkPath& network) {
    const MountEntry* holder = nullptr;
    size_t holderDepth = 0;
    const std::vector<MountEntry> entries = ParseMounts(mounts.mountsText);
    for (const MountEntry& entry : entries) {
        const fs::path target = fs::path(entry.target).lexically_normal();
        const size_t depth = static_cast<size_t>(std::distance(target.begin(), target.end()));
        if (liesIn(directory, target) && (!holder || depth >= holderDepth)) {
            holder = &entry;
            holderDepth = depth;
        }
    }
    if (holder && isNetworkMount(*holder) && ParseNetworkPath(holder->source, network)) {
        for (std::string& part : partsBelow(directory, fs::path(holder->target).lexically_normal())) {
            network.rest.push_back(std::move(part));
        }
        return true;
    }
    for (const auto& [folder, source] : gvfsMounts(mounts.gvfsRoot)) {
        const fs::path mounted = canonicalOf(folder);
        if (!liesIn(directory, mounted)) continue;
        network = source;
        network.rest = partsBelow(directory, mounted);
        return true;
    }
    return false;
}

}  // namespace

std::vector<MountedShare> MountedShares(const MountSources& mounts) {
    std::vector<MountedShare> shares = cifsMounts(mounts.mountsText);
    for (MountedShare& share : gvfsMounts(mounts.gvfsRoot)) shares.push_back(std::move(share));
    return shares;
}

std::string ShareAddress(const std::string& serverPath, const MountSources& mounts) {
    NetworkPath network;
    if (ParseNetworkPath(serverPath, network)) return SmbAddress(network);
    const fs::path directory = canonicalOf(serverPath);
    if (networkShareOf(directory, mounts, network)) return SmbAddress(network);
    return directory.string();
}

std::string ShareAddress(const std::string& serverPath) { return ShareAddress(serverPath, SystemMountSources()); }

std::string ServerName(const std::string& serverPath, const MountSources& mounts) {
    NetworkPath network;
    if (ParseNetworkPath(serverPath, network)) return network.host;
    const fs::path directory = canonicalOf(serverPath);
    if (networkShareOf(directory, mounts, network)) return network.host;
    const std::string name = directory.filename().string();
    return name.empty() ? directory.string() : name;
}

std::string ServerName(const std::string& serverPath) { return ServerName(serverPath, SystemMountSources()); }

