// A share reached as a folder of this computer: POSIX file access with the
// share's rules (containment, exclusive locks, writes that lose nothing).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
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

// The path that reopens what descriptor fd holds, whatever path led to it.
std::string reopenPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// The size the system already knows of the file pinned by fd (0 when it
// knows none): a hint for reading, never a round trip to ask for.
off_t sizeOf(int fd) {
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_SIZE, &info) != 0) return 0;
    return static_cast<off_t>(info.stx_size);
}

bool lockExclusively(int fd) {
    const auto giveUp = std::chrono::steady_clock::now() + LockPatience;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(LockRetryInterval);
    }
}

// Reads the whole file from its start; false on a read error. The size
// known is only a hint (the file may have changed since): a buffer of at
// least 64 KB takes a server's file, whatever it grew to, in one read.
bool readAll(int fd, std::string& bytes, off_t sizeHint) {
    constexpr size_t smallest = 64 * 1024;
    bytes.assign(std::max(sizeHint > 0 ? static_cast<size_t>(sizeHint) + 1 : 0, smallest), '\0');
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

// Writes bytes over the file open on fd, which holds previous: the new
// bytes padded to the old length in one write, and only then the file
// shortened, so that stopped at any point it reads as the old text or as
// the new one. A write that fails puts the previous bytes back.
void writeOver(int fd, const std::string& path, const std::string& previous, const std::string& bytes) {
    const bool shorter = bytes.size() < previous.size();
    const std::string padding = shorter ? WritePadding(bytes.size(), previous.size()) : std::string();
    if (writeOnce(fd, bytes, padding) && (!shorter || truncateTo(fd, bytes.size())) && flush(fd)) return;
    const FileException failure = systemError(path);
    if (writeOnce(fd, previous)) {
        truncateTo(fd, previous.size());
        flush(fd);
    }
    throw failure;
}

void lockOrThrow(int fd, const std::string& path) {
    if (!lockExclusively(fd)) throw errno == EWOULDBLOCK ? FileException(path, InUse) : systemError(path);
}

// Reads the file open (and locked) on fd and writes bytes over it, provided
// it still holds expected.
void replaceLocked(int fd, const std::string& path, off_t sizeHint, const std::string& expected,
                   const std::string& bytes) {
    std::string previous;
    if (!readAll(fd, previous, sizeHint)) throw systemError(path);
    if (previous != expected) throw FileChangedMeanwhile(path);
    writeOver(fd, path, previous, bytes);
}

// True when path still leads to the file open on fd, not to another put in
// its place. Asked of what the system knows already: the names were just
// looked up.
bool stillAt(const std::string& path, int fd) {
    const FileHandle where(::open(path.c_str(), O_PATH | O_CLOEXEC));
    struct statx now {}, held {};
    constexpr int known = AT_EMPTY_PATH | AT_STATX_DONT_SYNC;
    return where.get() >= 0 && ::statx(where.get(), "", known, STATX_INO, &now) == 0 &&
           ::statx(fd, "", known, STATX_INO, &held) == 0 && now.stx_ino == held.stx_ino &&
           now.stx_dev_major == held.stx_dev_major && now.stx_dev_minor == held.stx_dev_minor;
}

// A file held open, unlocked, from its reading to its writing: another
// program may write it meanwhile, so it is read again under the lock
// before it is written over. Should another file have taken its place, that
// one is written as any file is (share.Replace: found, checked and
// compared afresh).
class HeldFile : public Share::Update {
public:
    HeldFile(const Share& share, int fd, std::string path, off_t size)
        : share(share), file(fd), path(std::move(path)), size(size) {}
    void Replace(const std::string& expected, const std::string& bytes) override {
        FileHandle held(file.release());  // closed whatever happens
        lockOrThrow(held.get(), path);
        if (!stillAt(path, held.get())) {
            ::close(held.release());
            share.Replace(path, expected, bytes);
            return;
        }
        replaceLocked(held.get(), path, size, expected, bytes);
    }

private:
    const Share& share;
    FileHandle file;
    std::string path;
    off_t size;
};

class FolderShare : public Share {
public:
    FolderShare(std::string folder, std::string root) : folder(std::move(folder)), root(std::move(root)) {}

    std::string Location() const override { return folder; }

    std::string PathOf(const std::string& name) const override {
        if (!name.empty() && name[0] == '/') {
            const std::string full = Resolved(name);
            if (!full.empty() && !contains(full)) throw FileException(name, Outside);
            return name;
        }
        return SharePathWithin(root, root, name);
    }

    std::string NameOf(const std::string& path) const override {
        std::string full = Resolved(path);
        if (full.empty()) full = path;
        for (const std::string& base : {root, folder}) {
            const std::string prefix = !base.empty() && base.back() == '/' ? base : base + '/';
            if (full.compare(0, prefix.size(), prefix) == 0) return full.substr(prefix.size());
        }
        return full;
    }

    std::string Read(const std::string& path) const override {
        off_t size = 0;
        FileHandle file(open(path, O_RDONLY, size));
        std::string bytes;
        if (!readAll(file.get(), bytes, size)) throw systemError(path);
        return bytes;
    }

    bool ReadFirstLine(const std::string& path, std::string& line) const override {
        off_t size = 0;
        FileHandle file(open(path, O_RDONLY, size));
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
        const int where = checked(path);
        FileHandle pinned(where);
        const int fd = openRetrying(reopenPath(where), O_RDWR | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            // The desktop's SMB mounts take no read-write open of an
            // existing file, only one that empties it.
            if (errno != EOPNOTSUPP) throw systemError(path);
            replaceWhole(path, expected, bytes);
            return;
        }
        const FileHandle file(fd);
        lockOrThrow(fd, path);
        replaceLocked(fd, path, sizeOf(where), expected, bytes);
    }

    std::unique_ptr<Update> OpenForUpdate(const std::string& path, std::string& bytes) const override {
        FileHandle where(checked(path));
        FileHandle file(openRetrying(reopenPath(where.get()), O_RDWR | O_CLOEXEC | O_NOCTTY));
        if (file.get() < 0) return nullptr;  // read, then replaced, as any file
        lockOrThrow(file.get(), path);
        const off_t size = sizeOf(where.get());
        if (!readAll(file.get(), bytes, size)) throw systemError(path);
        ::flock(file.get(), LOCK_UN);
        return std::make_unique<HeldFile>(*this, file.release(), path, static_cast<off_t>(bytes.size()));
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
            struct statx info {};
            if (where.get() < 0 || !contains(WhereIs(where.get())) ||
                ::statx(where.get(), "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_TYPE, &info) != 0) {
                continue;
            }
            const EntryKind kind = S_ISREG(info.stx_mode)   ? EntryKind::File
                                   : S_ISDIR(info.stx_mode) ? EntryKind::Folder
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
        off_t size = 0;
        FileHandle locked(open(path, O_RDONLY, size));
        std::string previous;
        if (!readAll(locked.get(), previous, size)) throw systemError(path);
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

    // The path resolved without opening what it leads to (O_PATH opens
    // nothing), and checked: a regular file of the share. Returns the
    // descriptor that pins it, for the file to be reopened through, so that
    // the file opened is the one checked, whatever its path leads to by
    // then: a file outside is never touched, a pipe never meets a reader, a
    // device never opens.
    int checked(const std::string& path) const {
        FileHandle where(openRetrying(path, O_PATH | O_CLOEXEC));
        if (where.get() < 0) throw systemError(path);
        if (!contains(WhereIs(where.get()))) throw FileException(path, Outside);
        // The type of a file never changes, so the one the system knows
        // already will do (on a network share, asking again is a round trip).
        struct statx info {};
        if (::statx(where.get(), "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_TYPE, &info) != 0) {
            throw systemError(path);
        }
        if (!S_ISREG(info.stx_mode)) throw FileException(path, NotAFile);
        return where.release();
    }

    // Opens an existing regular file of the share and takes the exclusive
    // lock that stands for opening it without sharing. Any failure,
    // including a lock held elsewhere for too long, means the file cannot be
    // opened. size receives the size the system knows of it (a hint).
    int open(const std::string& path, int flags, off_t& size) const {
        const FileHandle where(checked(path));
        FileHandle file(openRetrying(reopenPath(where.get()), flags | O_CLOEXEC | O_NOCTTY));
        if (file.get() < 0) throw systemError(path);
        lockOrThrow(file.get(), path);
        size = sizeOf(where.get());
        return file.release();
    }

    std::string folder;
    std::string root;
};

}  // namespace

SharePtr OpenFolderShare(const std::string& folder) {
    std::string root = Resolved(folder);
    // A folder that cannot be resolved holds nothing to open; its own name
    // stands in, and every open of it fails on its own.
    if (root.empty()) root = folder;
    return std::make_shared<FolderShare>(folder, root);
}

SharePtr OpenLocalFiles() { return std::make_shared<FolderShare>("/", "/"); }
