// A share reached as a folder of this computer: POSIX file access with the
// share's rules (containment, exclusive locks, writes that lose nothing).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "FileException.h"
#include "Share.h"
#include "ShareFile.h"

namespace {

constexpr const char* NotAFile = "not a regular file";
constexpr const char* InUse = "the file is in use by another program";
constexpr const char* Outside = "lies outside the server's share";

// A file another program holds is tried again this often, this long.
constexpr auto LockRetryInterval = std::chrono::milliseconds(100);
constexpr auto LockPatience = std::chrono::seconds(2);

// The failure of the system call just made, with its reason.
FileException systemError(const std::string& path) { return FileException(StoreError::System(path, errno)); }

// Owns one open file descriptor; closing also drops its lock.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd(fd) {}
    ~FileHandle() {
        if (fd >= 0) ::close(fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd; }
    int release() { return std::exchange(fd, -1); }

private:
    int fd;
};

// The path as the system resolves it (links and ".." followed), or "" when
// it cannot.
std::string resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

// The path that reopens what descriptor fd holds, whatever path led to it.
std::string reopenPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

bool lockExclusively(int fd) {
    const auto giveUp = std::chrono::steady_clock::now() + LockPatience;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(LockRetryInterval);
    }
}

// Reads the whole file from its start; false on a read error.
bool readAll(int fd, std::string& bytes, off_t sizeHint) {
    bytes.assign(sizeHint > 0 ? static_cast<size_t>(sizeHint) + 1 : 64 * 1024, '\0');
    size_t used = 0;
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = ::pread(fd, bytes.data() + used, bytes.size() - used, static_cast<off_t>(used));
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;
        const bool shortRead = static_cast<size_t>(got) < bytes.size() - used;
        used += static_cast<size_t>(got);
        // A regular file reads short only at its end: no read more to learn
        // that (on a network share, each read is a round trip).
        if (shortRead) break;
    }
    bytes.resize(used);
    return true;
}

// open(2), tried again when a signal interrupts it.
int openRetrying(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// All of bytes, then padding, at offset 0 in a single write: a write cut
// short is a failure, never continued, so that no moment leaves the start of
// the new text in front of a part of the old one written later.
bool writeOnce(int fd, const std::string& bytes, const std::string& padding = {}) {
    const size_t total = bytes.size() + padding.size();
    if (total == 0) return true;
    iovec parts[2] = {{const_cast<char*>(bytes.data()), bytes.size()},
                      {const_cast<char*>(padding.data()), padding.size()}};
    ssize_t put;
    do {
        put = ::pwritev(fd, parts, padding.empty() ? 1 : 2, 0);
    } while (put < 0 && errno == EINTR);
    if (put >= 0 && static_cast<size_t>(put) != total) errno = EIO;
    return put >= 0 && static_cast<size_t>(put) == total;
}

bool truncateTo(int fd, size_t length) {
    int result;
    do {
        result = ::ftruncate(fd, static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool flush(int fd) {
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // Some file systems cannot sync at all; that is no failure of the write.
    return result == 0 || errno == EINVAL || errno == EROFS;
}

class FolderShare : public Share {
public:
    FolderShare(std::string folder, std::string root) : folder(std::move(folder)), root(std::move(root)) {}

    std::string Location() const override { return folder; }

    std::string PathOf(const std::string& name) const override {
        if (!name.empty() && name[0] == '/') {
            const std::string full = resolved(name);
            if (!full.empty() && !contains(full)) throw FileException(name, Outside);
            return name;
        }
        return SharePath(root, name);
    }

    std::string NameOf(const std::string& path) const override {
        std::string full = resolved(path);
        if (full.empty()) full = path;
        for (const std::string& base : {root, folder}) {
            const std::string prefix = !base.empty() && base.back() == '/' ? base : base + '/';
            if (full.compare(0, prefix.size(), prefix) == 0) return full.substr(prefix.size());
        }
        return full;
    }

    std::string Read(const std::string& path) const override {
        struct stat info {};
        FileHandle file(open(path, O_RDONLY, info));
        std::string bytes;
        if (!readAll(file.get(), bytes, info.st_size)) throw systemError(path);
        return bytes;
    }

    bool ReadFirstLine(const std::string& path, std::string& line) const override {
        struct stat info {};
        FileHandle file(open(path, O_RDONLY, info));
        line.clear();
        char buffer[4096];
        off_t offset = 0;
        for (;;) {
            const ssize_t got = ::pread(file.get(), buffer, sizeof buffer, offset);
            if (got < 0) {
                if (errno == EINTR) continue;
                throw systemError(path);
            }
            if (got == 0) break;
            offset += got;
            const auto* end = static_cast<const char*>(std::memchr(buffer, '\n', static_cast<size_t>(got)));
            if (end) {
                line.append(buffer, static_cast<size_t>(end - buffer));
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return true;
            }
            line.append(buffer, static_cast<size_t>(got));
        }
        return offset > 0;
    }

    void Replace(const std::string& path, const std::string& expected, const std::string& bytes) const override {
        struct stat info {};
        int opened = -1;
        try {
            opened = open(path, O_RDWR, info);
        } catch (const FileException& error) {
            // The desktop's SMB mounts take no read-write open of an
            // existing file, only one that empties it.
            if (error.SystemCode() != EOPNOTSUPP) throw;
            replaceWhole(path, expected, bytes);
            return;
        }
        FileHandle file(opened);
        const int fd = file.get();
        std::string previous;
        if (!readAll(fd, previous, info.st_size)) throw systemError(path);
        if (previous != expected) throw FileChangedMeanwhile(path);
        // The new bytes go over the old ones in one write, padded to the old
        // length, and only then is the file shortened: stopped at any point,
        // it reads as the old text or as the new one.
        const bool shorter = bytes.size() < previous.size();
        const std::string padding = shorter ? WritePadding(bytes.size(), previous.size()) : std::string();
        if (writeOnce(fd, bytes, padding) && (!shorter || truncateTo(fd, bytes.size())) && flush(fd)) return;
        const FileException failure = systemError(path);
        // Put the previous bytes back so a failed write leaves the file as it was.
        if (writeOnce(fd, previous)) {
            truncateTo(fd, previous.size());
            flush(fd);
        }
        throw failure;
    }

    std::vector<Entry> List(const std::string& path) const override {
        DIR* listing = OpenFolderWithin(root, path);
        if (!listing) throw errno == EXDEV ? FileException(path, Outside) : systemError(path);
        std::vector<Entry> entries;
        const int folder = ::dirfd(listing);
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            // Each entry is resolved without being opened, so a link that
            // leads out of the share is left out without being touched.
            FileHandle where(::openat(folder, name.c_str(), O_PATH | O_CLOEXEC));
            struct stat info {};
            if (where.get() < 0 || !contains(WhereIs(where.get())) || ::fstat(where.get(), &info) != 0) continue;
            const EntryKind kind = S_ISREG(info.st_mode)   ? EntryKind::File
                                   : S_ISDIR(info.st_mode) ? EntryKind::Folder
                                                           : EntryKind::Other;
            entries.push_back({name, kind});
        }
        ::closedir(listing);
        return entries;
    }

private:
    // Replace through a truncating open, for file systems that take no
    // read-write open of an existing file. The file is read, compared and
    // locked through one handle and written through another; between the
    // truncating open and the one write that follows it the file is empty,
    // so here a write stopped at that moment loses the file's text.
    void replaceWhole(const std::string& path, const std::string& expected, const std::string& bytes) const {
        struct stat info {};
        FileHandle locked(open(path, O_RDONLY, info));
        std::string previous;
        if (!readAll(locked.get(), previous, info.st_size)) throw systemError(path);
        if (previous != expected) throw FileChangedMeanwhile(path);
        // Reopened through the locked handle, so the file truncated is the
        // one checked to lie in the share, whatever its path leads to now.
        const int fd = openRetrying(reopenPath(locked.get()), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) throw systemError(path);
        FileHandle file(fd);
        if (writeOnce(fd, bytes) && flush(fd)) return;
        const FileException failure = systemError(path);
        if (truncateTo(fd, 0) && writeOnce(fd, previous)) flush(fd);
        throw failure;
    }

    bool contains(const std::string& full) const { return LiesWithin(root, full); }

    // Opens an existing regular file of the share and takes the exclusive
    // lock that stands for opening it without sharing. Any failure,
    // including a lock held elsewhere for too long, means the file cannot be
    // opened. info receives the file's status.
    int open(const std::string& path, int flags, struct stat& info) const {
        // The path is resolved without opening what it leads to (O_PATH
        // opens nothing), and only what lies in the share and is a regular
        // file is then opened: a file outside is never touched, a pipe never
        // meets a reader, a device never opens.
        FileHandle where(openRetrying(path, O_PATH | O_CLOEXEC));
        if (where.get() < 0) throw systemError(path);
        if (!contains(WhereIs(where.get()))) throw FileException(path, Outside);
        if (::fstat(where.get(), &info) != 0) throw systemError(path);
        if (!S_ISREG(info.st_mode)) throw FileException(path, NotAFile);
        // Reopened through the descriptor, so the file opened is the one
        // checked, whatever its path leads to by now.
        FileHandle file(openRetrying(reopenPath(where.get()), flags | O_CLOEXEC | O_NOCTTY));
        if (file.get() < 0) throw systemError(path);
        if (!lockExclusively(file.get())) throw errno == EWOULDBLOCK ? FileException(path, InUse) : systemError(path);
        return file.release();
    }

    std::string folder;
    std::string root;
};

}  // namespace

SharePtr OpenFolderShare(const std::string& folder) {
    std::string root = resolved(folder);
    // A folder that cannot be resolved holds nothing to open; its own name
    // stands in, and every open of it fails on its own.
    if (root.empty()) root = folder;
    return std::make_shared<FolderShare>(folder, root);
}

SharePtr OpenLocalFiles() { return std::make_shared<FolderShare>("/", "/"); }
