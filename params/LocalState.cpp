#include "LocalState.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "StoreError.h"
#include "TextRules.h"

namespace {

namespace fs = std::filesystem;

// Present when the user turned the history and the recent list off.
constexpr const char* kTurnedOff = "off";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Writes all of bytes; false with errno set when the system refuses.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string temporaryName(const std::string& path) {
    static std::mt19937_64 random{std::random_device{}()};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
}

}  // namespace

std::string LocalStateFolder() {
    std::string base = environment("XDG_STATE_HOME");
    // The base directory specification ignores a relative path.
    if (base.empty() || base.front() != '/') {
        const std::string home = environment("HOME");
        if (home.empty()) return {};
        base = home + "/.local/state";
    }
    return base + "/tessaron";
}

bool UserKeepsLocalState() {
    const std::string folder = LocalStateFolder();
    if (folder.empty()) return false;
    std::error_code ignored;
    return !fs::exists(folder + "/" + kTurnedOff, ignored);
}

bool TurnedOffByEnvironment() { return environment("TESSARON_HISTORY") == "off"; }

bool KeepsLocalState() { return !TurnedOffByEnvironment() && UserKeepsLocalState(); }

void SetUserKeepsLocalState(bool keep) {
    const std::string folder = LocalStateFolder();
    if (folder.empty()) throw StoreError("", "neither XDG_STATE_HOME nor HOME is set");
    const std::string marker = folder + "/" + kTurnedOff;
    if (keep) {
        if (::unlink(marker.c_str()) != 0 && errno != ENOENT) throw StoreError::System(marker, errno);
        return;
    }
    MakePrivateFolder(folder);
    WritePrivateFile(marker, "The history of changes and the recent shares are not kept.\n");
}

std::vector<std::string> RecentShares() {
    std::vector<std::string> recent;
    std::string text;
    if (!KeepsLocalState() || !ReadPrivateFile(LocalStateFolder() + "/recent", text)) return recent;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos && recent.size() < kRecentShares;
         start = end + 1) {
        if (end > start) recent.push_back(text.substr(start, end - start));
    }
    return recent;
}

std::string WithoutCredentials(const std::string& address) {
    if (!StartsWithIgnoringCase(address, "smb://")) return address;
    // They end at the last "@" before the first separator (as ParseNetworkPath reads them).
    const size_t at = address.rfind('@', address.find_first_of("/\\", 6));
    return "smb://" + address.substr(at == std::string::npos || at < 6 ? 6 : at + 1);
}

void NoteRecentShare(const std::string& address) {
    const std::string shown = WithoutCredentials(address);
    // The list is one address a line.
    if (!KeepsLocalState() || shown.empty() || shown.find_first_of("\r\n") != std::string::npos) return;
    std::string text = shown + "\n";
    int kept = 1;
    for (const std::string& other : RecentShares()) {
        if (other != shown && kept++ < kRecentShares) text += other + "\n";
    }
    MakePrivateFolder(LocalStateFolder());
    WritePrivateFile(LocalStateFolder() + "/recent", text);
}

void MakePrivateFolder(const std::string& folder) {
    const std::string top = LocalStateFolder();
    if (folder.size() > top.size() + 1 && folder.compare(0, top.size(), top) == 0 && folder[top.size()] == '/') {
        MakePrivateFolder(fs::path(folder).parent_path().string());
    } else if (folder != top) {
        throw StoreError(folder, "not a folder of the programs' own");
    } else {
        std::error_code error;
        fs::create_directories(fs::path(top).parent_path(), error);
        if (error) throw StoreError::System(top, error.value());
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw StoreError::System(folder, errno);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) throw StoreError::System(folder, errno);
    if (!S_ISDIR(info.st_mode)) throw StoreError(folder, "not a folder");
}

void WritePrivateFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = temporaryName(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) throw StoreError::System(temporary, errno);
    const bool written = writeAll(fd, bytes);
    const int writeError = errno;
    ::close(fd);
    if (!written) {
        ::unlink(temporary.c_str());
        throw StoreError::System(path, writeError);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        throw StoreError::System(path, renameError);
    }
}

bool ReadPrivateFile(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
}
