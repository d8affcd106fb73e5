// tessaron-sim: a simulated appliance. Shows a folder of server files as the
// appliance's share and plays the server's part when a client writes them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Appliance.h"
#include "SimFileSystem.h"

namespace {

const char* const kUsage =
    "usage: tessaron-sim STATE_DIR MOUNTPOINT [--model cd|hd] [--version V] [--serial S]\n"
    "                    [--latency MS] [--restart-seconds N] [--refuse SECTION/KEY=PATTERN]...\n"
    "                    [--stats FILE] [--trace] [--no-read-write-open] [--foreground]\n"
    "       tessaron-sim --version | --help\n"
    "Serves the server files in STATE_DIR (which it rewrites) at the empty folder\n"
    "MOUNTPOINT as a QUOR Tessaron appliance's share. Stop it with Ctrl+C, kill, or\n"
    "fusermount3 -u MOUNTPOINT.\n";

constexpr int kUsageError = 64;

// A reason to stop before serving, with the exit code.
struct Refusal {
    std::string message;
    int code = 1;
};

int wholeNumber(const std::string& option, const std::string& text, int largest) {
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || number < 0 || number > largest) {
        throw Refusal{option + " takes a whole number from 0 to " + std::to_string(largest), kUsageError};
    }
    return static_cast<int>(number);
}

// Text for the product line: one line, no control characters.
std::string lineText(const std::string& option, const std::string& text, bool blanks) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f || (!blanks && c == ' ')) {
            throw Refusal{option + " takes printable text" + (blanks ? "" : " without blanks"), kUsageError};
        }
    }
    if (text.empty()) throw Refusal{option + " takes a non-empty text", kUsageError};
    return text;
}

SimSettings readArguments(int argc, char** argv) {
    // Alone, --version asks for the program's version; with a share to
    // serve, it names the software version of the simulated unit.
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "tessaron-sim 1.00\n";
        std::exit(0);
    }
    SimSettings settings;
    std::vector<std::string> folders;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw Refusal{arg + " needs a value", kUsageError};
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (arg == "--model") {
            const std::string model = value();
            if (model != "cd" && model != "hd") throw Refusal{"--model takes cd or hd", kUsageError};
            settings.hd = model == "hd";
        } else if (arg == "--version") {
            settings.version = lineText(arg, value(), false);
        } else if (arg == "--serial") {
            settings.serial = lineText(arg, value(), true);
        } else if (arg == "--latency") {
            settings.latencyMs = wholeNumber(arg, value(), 10000);
        } else if (arg == "--restart-seconds") {
            settings.restartSeconds = wholeNumber(arg, value(), 3600);
        } else if (arg == "--refuse") {
            settings.refusals.push_back(value());
        } else if (arg == "--stats") {
            settings.statsFile = value();
        } else if (arg == "--trace") {
            settings.trace = true;
        } else if (arg == "--no-read-write-open") {
            settings.noReadWriteOpen = true;
        } else if (arg == "--foreground" || arg == "-f") {
            settings.foreground = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Refusal{"unknown option " + arg, kUsageError};
        } else {
            folders.push_back(arg);
        }
    }
    if (folders.size() != 2) throw Refusal{"expected STATE_DIR and MOUNTPOINT", kUsageError};
    settings.stateDir = folders[0];
    settings.mountPoint = folders[1];
    return settings;
}

std::string absolutePath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) throw Refusal{path + ": " + std::strerror(errno)};
    std::string result = resolved;
    std::free(resolved);
    return result;
}

bool inside(const std::string& path, const std::string& folder) {
    return path == folder || path.rfind(folder == "/" ? folder : folder + "/", 0) == 0;
}

// The mount point has to be an empty folder that nothing is mounted on.
void checkMountPoint(const std::string& path) {
    struct stat info {};
    struct stat parent {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOTCONN) {
            throw Refusal{path + " is still mounted by a simulator that ended without unmounting; run: "
                                 "fusermount3 -u " + path};
        }
        throw Refusal{path + ": " + std::strerror(errno)};
    }
    if (!S_ISDIR(info.st_mode)) throw Refusal{path + ": not a folder"};
    if (::stat((path + "/..").c_str(), &parent) == 0 && parent.st_dev != info.st_dev) {
        throw Refusal{path + " is already a mount point (is another tessaron-sim serving it?)"};
    }
    DIR* listing = ::opendir(path.c_str());
    if (!listing) throw Refusal{path + ": " + std::strerror(errno)};
    bool empty = true;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") empty = false;
    }
    ::closedir(listing);
    if (!empty) throw Refusal{path + ": not an empty folder"};
}

// Holds an exclusive lock on a folder for the life of the process (and of
// its background child), so that two simulators never share one.
void lockFolder(const std::string& path, const std::string& busy) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw Refusal{path + ": " + std::strerror(errno)};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) throw Refusal{busy};
}

// The file --stats names, opened before anything else is touched. The
// simulator would overwrite a file of the share it serves, or wait on itself
// writing into its own mount: a file in the state folder or the mount point
// is refused, as is anything but a regular file. -1 when none is named.
int openStatsFile(const SimSettings& settings) {
    const std::string& path = settings.statsFile;
    if (path.empty()) return -1;
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const auto refused = [&](const std::string& why) { return Refusal{"--stats " + path + ": " + why}; };
    if (name.empty() || name == "." || name == "..") throw refused("not a file name");
    char* resolved = ::realpath(folder.c_str(), nullptr);
    if (!resolved) throw refused(std::strerror(errno));
    std::string full = std::string(resolved) + "/" + name;
    std::free(resolved);
    if ((resolved = ::realpath(full.c_str(), nullptr))) {  // an existing file, links followed
        full = resolved;
        std::free(resolved);
    }
    if (inside(full, settings.stateDir) || inside(full, settings.mountPoint)) {
        throw refused("the file must lie outside the state folder and the mount point");
    }
    const int fd = ::open(full.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
    if (fd < 0) throw refused(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw refused("not a regular file");
    }
    return fd;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        SimSettings settings = readArguments(argc, argv);
        settings.stateDir = absolutePath(settings.stateDir);
        settings.mountPoint = absolutePath(settings.mountPoint);
        // The simulator reads the state folder while serving: a mount inside
        // it, or it inside the mount, would have the simulator wait on itself.
        if (inside(settings.mountPoint, settings.stateDir) || inside(settings.stateDir, settings.mountPoint)) {
            throw Refusal{"the mount point and the state folder must lie outside each other"};
        }
        checkMountPoint(settings.mountPoint);
        lockFolder(settings.mountPoint, settings.mountPoint + ": another tessaron-sim is mounting there");
        lockFolder(settings.stateDir, settings.stateDir + ": another tessaron-sim serves this state folder");
        const int statsFd = openStatsFile(settings);
        Appliance appliance(settings);
        return ServeShare(appliance, settings, statsFd);
    } catch (const Refusal& refusal) {
        std::cerr << "tessaron-sim: " << refusal.message << '\n';
        if (refusal.code == kUsageError) std::cerr << kUsage;
        return refusal.code;
    } catch (const std::exception& error) {
        std::cerr << "tessaron-sim: " << error.what() << '\n';
        return 1;
    }
}
