#include "Appliance.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <iostream>
#include <stdexcept>

#include "ServerIdentity.h"
#include "TextRules.h"

namespace {

std::runtime_error systemError(const std::string& path) {
    return std::runtime_error(path + ": " + std::strerror(errno));
}

std::string readBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) throw systemError(path);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            const std::runtime_error error = systemError(path);
            ::close(fd);
            throw error;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return bytes;
}

// Writes all of bytes; false, with errno set, when the file takes no more.
bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

// Adds bytes to the end of the file, creating it when it is missing.
void appendBytes(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) throw systemError(path);
    const bool written = writeAll(fd, bytes);
    const int failure = errno;
    if (::close(fd) != 0) throw systemError(path);
    errno = failure;
    if (!written) throw systemError(path);
}

// Where the server saves a file before the saved file takes its name.
std::string savingPathOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return path.substr(0, slash + 1) + Appliance::SavingPrefix + path.substr(slash + 1);
}

// Replaces the file by bytes so that it holds the old bytes or the new ones
// wherever the server stops: they are written in full, and synced, to a
// file beside it, which then takes its name. The permissions stay.
void saveBytes(const std::string& path, const std::string& bytes) {
    const std::string saving = savingPathOf(path);
    struct stat info {};
    const mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
    const int fd = ::open(saving.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) throw systemError(saving);
    // A file system that cannot sync at all still takes the file.
    bool saved = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && (::fsync(fd) == 0 || errno == EINVAL);
    int failure = errno;
    if (::close(fd) != 0 && saved) {
        saved = false;
        failure = errno;
    }
    if (saved && ::rename(saving.c_str(), path.c_str()) != 0) {
        saved = false;
        failure = errno;
    }
    if (!saved) {
        ::unlink(saving.c_str());
        errno = failure;
        throw systemError(path);
    }
    // The new name lasts only once the folder is on disk too.
    const int directory = ::open(path.substr(0, path.rfind('/')).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}

// The server writes its files with CR LF line ends.
std::string withCarriageReturns(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// The name under which folder holds name, without regard to case; of
// several the smallest byte-wise, so the listing order does not matter.
std::string matchIgnoringCase(const std::string& folder, const std::string& name) {
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return {};
    std::string best;
    while (const dirent* entry = ::readdir(listing)) {
        if (equalIgnoringCase(entry->d_name, name) && (best.empty() || entry->d_name < best)) best = entry->d_name;
    }
    ::closedir(listing);
    return best;
}

std::string firstLineOf(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool isRemark(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string::npos && line[first] == ';';
}

std::string freshStatistics(bool hd) {
    return std::string(hd ? "QUOR Tessaron HD Server" : "QUOR Tessaron CD-ROM Server") +
           " statistics\n"
           "Uptime: 0 days, 00:00:00\n"
           "\n"
           "Protocol      Sessions   Open files   Bytes read\n"
           "SMB                  0            0            0\n"
           "NetWare              0            0            0\n"
           "NFS                  0            0            0\n"
           "HTTP/FTP             0            0            0\n";
}

}  // namespace

Appliance::Appliance(const SimSettings& settings)
    : root(settings.stateDir), echoLog(settings.foreground), restartTime(settings.restartSeconds) {
    Entry entry;
    if (!Find("/Config/Config.ini", entry) || !S_ISREG(entry.info.st_mode)) {
        throw std::runtime_error(root + " holds no Config/Config.ini");
    }
    config = entry.relative;
    std::vector<std::string> files{config};
    if (Find("/Config/scsi.ini", entry) && S_ISREG(entry.info.st_mode)) files.push_back(entry.relative);
    if (Find("/Volumes", entry) && S_ISDIR(entry.info.st_mode)) collectFiles(entry.relative, 0, files);
    const std::string folder = config.substr(0, config.find('/'));
    logFile = Find("/Config/Logfile.txt", entry) ? entry.relative : folder + "/Logfile.txt";
    statistics = Find("/Config/Stat.txt", entry) ? entry.relative : folder + "/Stat.txt";
    for (const std::string& file : files) {
        ::unlink(savingPathOf(FullPath(file)).c_str());  // what a server stopped while saving left
        snapshot[file] = ReadFile(file);
        heads[file] = LeadingRemarks(snapshot[file]);
    }
    for (const std::string& refusal : settings.refusals) {
        try {
            rules.push_back(RefusalRule::Parse(
                refusal, [this](const std::string& s, const std::string& k) { return parameterExists(s, k); }));
        } catch (const std::invalid_argument& error) {
            throw std::runtime_error("--refuse " + refusal + ": " + error.what());
        }
    }

    const std::string text = snapshot[config];
    const std::string firstLine = firstLineOf(text);
    const ServerIdentity identity = IdentifyFirstLine(!text.empty(), firstLine);
    unit.hd = settings.hd.value_or(identity.accepted && identity.serverKind == 1);
    unit.version = settings.version.empty() ? VersionOfLine(firstLine) : settings.version;
    if (unit.version == "Unknown") unit.version = "4.00";
    unit.serial = settings.serial;
    if (unit.serial.empty()) {
        const std::string serial = SerialNumber(firstLine);
        unit.serial = serial.substr(std::min(serial.find_first_not_of(' '), serial.size()));
    }
    // The configuration file opens with the line naming this unit, in place
    // of the remark that named one before.
    std::vector<std::string>& head = heads[config];
    if (!head.empty() && isRemark(head[0])) head.erase(head.begin());
    head.insert(head.begin(), ProductLine(unit));
    ParameterHandler kept;
    kept.ReadText(text);
    writeServerForm(config, kept);
    snapshot[config] = ReadFile(config);
    log("Server started, software V" + unit.version);
}

bool Appliance::Find(const std::string& clientPath, Entry& entry) const {
    std::string full = root;
    std::string relative;
    struct stat info {};
    if (::lstat(full.c_str(), &info) != 0) return false;
    size_t start = 0;
    while (start < clientPath.size()) {
        size_t end = clientPath.find('/', start);
        if (end == std::string::npos) end = clientPath.size();
        const std::string name = clientPath.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        if (name == "." || name == ".." || IsSaving(name) || !S_ISDIR(info.st_mode)) return false;
        std::string found = name;
        if (::lstat((full + "/" + name).c_str(), &info) != 0) {
            found = matchIgnoringCase(full, name);
            if (found.empty() || ::lstat((full + "/" + found).c_str(), &info) != 0) return false;
        }
        full += "/" + found;
        relative += (relative.empty() ? "" : "/") + found;
    }
    if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) return false;
    entry.relative = relative;
    entry.info = info;
    return true;
}

std::string Appliance::ReadFile(const std::string& relative) const { return readBytes(FullPath(relative)); }

bool Appliance::IsSaving(const std::string& name) { return StartsWithIgnoringCase(name, SavingPrefix); }

bool Appliance::Restarting() {
    if (restartDue && std::chrono::steady_clock::now() >= *restartDue) completeRestart();
    return restartDue.has_value();
}

void Appliance::TakeWrittenFile(const std::string& relative, const std::string& bytes) {
    ParameterHandler kept;
    kept.ReadText(ReadFile(relative));
    if (!IsCompleteFile(bytes)) {
        log(relative + ": incomplete file ignored");
    } else {
        ParameterHandler written;
        written.ReadText(bytes);
        for (const std::string& line : KeepWrittenValues(kept, written, rules)) log(relative + ": " + line);
    }
    writeServerForm(relative, kept);
    if (relative != config) return;
    std::string restart;
    std::string factoryDefaults;
    kept.GetValue("Server", "Restart", restart);
    kept.GetValue("Server", "FactoryDefaults", factoryDefaults);
    if (restart == "yes" || factoryDefaults == "yes") beginRestart(factoryDefaults == "yes");
}

void Appliance::Finish() {
    if (restartDue) completeRestart();
}

void Appliance::collectFiles(const std::string& relative, int depth, std::vector<std::string>& files) const {
    DIR* listing = ::opendir(FullPath(relative).c_str());
    if (!listing) return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && !IsSaving(name)) names.push_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = relative + "/" + name;
        struct stat info {};
        if (::lstat(FullPath(path).c_str(), &info) != 0) continue;
        if (S_ISREG(info.st_mode)) files.push_back(path);
        if (S_ISDIR(info.st_mode) && depth < 8) collectFiles(path, depth + 1, files);
    }
}

bool Appliance::parameterExists(const std::string& section, const std::string& key) const {
    for (const auto& [file, bytes] : snapshot) {
        ParameterHandler handler;
        handler.ReadText(bytes);
        std::string value;
        if (handler.GetValue(section, key, value)) return true;
    }
    return false;
}

void Appliance::writeServerForm(const std::string& relative, const ParameterHandler& kept) {
    saveBytes(FullPath(relative), withCarriageReturns(ComposeServerForm(heads[relative], kept)));
}

void Appliance::beginRestart(bool factoryDefaults) {
    ++run;
    restartDue = std::chrono::steady_clock::now() + restartTime;
    factoryDefaultsDue = factoryDefaults;
    log(factoryDefaults ? "Restarting with the factory defaults" : "Restarting");
}

void Appliance::completeRestart() {
    restartDue.reset();
    if (factoryDefaultsDue) {
        factoryDefaultsDue = false;
        for (const auto& [file, bytes] : snapshot) saveBytes(FullPath(file), bytes);
        log("Factory defaults restored");
    }
    ParameterHandler kept;
    kept.ReadText(ReadFile(config));
    kept.SetValue("Server", "Restart", "no");
    kept.SetValue("Server", "FactoryDefaults", "no");
    writeServerForm(config, kept);
    try {
        saveBytes(FullPath(statistics), withCarriageReturns(freshStatistics(unit.hd)));
    } catch (const std::runtime_error&) {
        // Statistics the server cannot publish are no reason to stay down.
    }
    log("Server started, software V" + unit.version);
}

void Appliance::log(const std::string& line) const {
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (::localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%y-%m-%d %H:%M:%S", &local);
    const std::string entry = std::string(stamp) + "  " + line;
    if (echoLog) std::cout << entry << std::endl;
    try {
        appendBytes(FullPath(logFile), entry + "\r\n");
    } catch (const std::runtime_error&) {
        // A log the server cannot write does not stop it.
    }
}
