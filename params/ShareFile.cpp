#include "ShareFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "FileException.h"
#include "TextRules.h"

namespace {

constexpr const char* NotAFile = "not a regular file";
constexpr const char* InUse = "the file is in use by another program";

// The failure of the system call just made, with its reason.
FileException systemError(const std::string& path) { return FileException(path, SystemReason(errno)); }

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
    int release() {
        const int result = fd;
        fd = -1;
        return result;
    }

private:
    int fd;
};

// Opens an existing regular file and takes the exclusive lock that stands for
// opening it without sharing. Any failure, including a lock held elsewhere,
// means the file cannot be opened.
int openLocked(const std::string& path, int flags) {
    // Not blocking on open, so a pipe or device put in a file's place cannot
    // hang the program; it is refused below like any other non-file.
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) throw systemError(path);
    FileHandle guard(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) throw systemError(path);
    if (!S_ISREG(info.st_mode)) throw FileException(path, NotAFile);
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) throw systemError(path);
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) throw errno == EWOULDBLOCK ? FileException(path, InUse) : systemError(path);
    return guard.release();
}

// Reads the whole file from its start; false on a read error.
bool readAll(int fd, std::string& bytes) {
    struct stat info {};
    size_t capacity = 64 * 1024;
    if (::fstat(fd, &info) == 0 && info.st_size > 0) capacity = static_cast<size_t>(info.st_size) + 1;
    bytes.clear();
    bytes.resize(capacity);
    size_t used = 0;
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = ::pread(fd, bytes.data() + used, bytes.size() - used, static_cast<off_t>(used));
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;
        used += static_cast<size_t>(got);
    }
    bytes.resize(used);
    return true;
}

// Writes all of bytes at offset 0, resuming after short writes.
bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
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

// The lowest set bit below is the first byte in memory.
static_assert(std::endian::native == std::endian::little, "byte scanning assumes little-endian words");

// Marks the high bit of every byte of word that is a carriage return (and
// possibly of bytes above one, which the caller does not look at).
uint64_t carriageReturnsIn(uint64_t word) {
    constexpr uint64_t ones = 0x0101010101010101ULL;
    const uint64_t marked = word ^ (ones * '\r');
    return (marked - ones) & ~marked & (ones << 7);
}

// Text mode: a carriage return directly before a line feed is dropped.
// Works in place and returns the new size. Goes eight bytes at a time and
// jumps straight to the first carriage return of a word, since the lines
// of a server file are short and each ends in one.
size_t dropCarriageReturns(char* data, size_t size) {
    size_t in = 0;
    size_t out = 0;
    while (in + 8 <= size) {
        uint64_t word;
        std::memcpy(&word, data + in, 8);
        const uint64_t found = carriageReturnsIn(word);
        if (!found) {
            // Bytes only ever move towards the front, so this store cannot
            // clobber a byte not yet read.
            std::memcpy(data + out, &word, 8);
            in += 8;
            out += 8;
            continue;
        }
        const size_t before = static_cast<size_t>(std::countr_zero(found)) / 8;
        for (size_t i = 0; i < before; ++i) data[out++] = data[in++];
        ++in;  // the carriage return itself
        if (in < size && data[in] == '\n') continue;
        data[out++] = '\r';
    }
    while (in < size) {
        const char c = data[in++];
        if (c == '\r' && in < size && data[in] == '\n') continue;
        data[out++] = c;
    }
    return out;
}

// Text mode: each line feed becomes carriage return and line feed.
std::string withCarriageReturns(const std::string& text) {
    size_t lineFeeds = 0;
    for (char c : text) lineFeeds += (c == '\n');
    std::string bytes;
    bytes.reserve(text.size() + lineFeeds);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The name under which directory holds component, matched without regard to
// ASCII case. Of several such names the smallest byte-wise wins, so the
// choice does not depend on the order the directory lists them in.
std::string resolveComponent(const std::string& directory, const std::string& component) {
    DIR* listing = ::opendir(directory.empty() ? "/" : directory.c_str());
    if (!listing) return component;
    std::string best;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (!EqualIgnoringCase(name, component)) continue;
        if (best.empty() || name < best) best = name;
    }
    ::closedir(listing);
    return best.empty() ? component : best;
}

}  // namespace

std::string SharePath(const std::string& serverPath, const std::string& relative) {
    std::string path = serverPath;
    while (path.size() > 0 && path.back() == '/') path.pop_back();
    bool resolving = true;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of("\\/", start);
        if (end == std::string::npos) end = relative.size();
        const std::string component = relative.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        const std::string directory = path;
        path += '/';
        if (resolving && component != "." && component != ".." && !exists(path + component)) {
            const std::string found = resolveComponent(directory, component);
            // Below a folder that is not there, nothing else can be found.
            resolving = found != component;
            path += found;
        } else {
            path += component;
        }
    }
    if (!relative.empty() && (relative.back() == '\\' || relative.back() == '/')) path += '/';
    if (path.empty()) path = serverPath.empty() ? "" : "/";
    return path;
}

std::string ReadTextFile(const std::string& path) {
    FileHandle file(openLocked(path, O_RDONLY));
    std::string bytes;
    if (!readAll(file.get(), bytes)) throw systemError(path);
    bytes.resize(dropCarriageReturns(bytes.data(), bytes.size()));
    return bytes;
}

void ReadTextFileInPieces(const std::string& path, const std::function<void(std::string_view)>& consume) {
    FileHandle file(openLocked(path, O_RDONLY));
    // Small enough to come from the heap rather than fresh pages on every
    // call, large enough that each read moves many lines.
    struct stat info {};
    size_t size = 64 * 1024;
    if (::fstat(file.get(), &info) == 0 && info.st_size >= 0 && static_cast<size_t>(info.st_size) < size) {
        size = std::max<size_t>(static_cast<size_t>(info.st_size) + 1, 4096);
    }
    std::vector<char> buffer(size);
    size_t held = 0;  // the start of a line not yet complete
    off_t offset = 0;
    for (;;) {
        if (held == buffer.size()) buffer.resize(buffer.size() * 2);
        const ssize_t got = ::pread(file.get(), buffer.data() + held, buffer.size() - held, offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw systemError(path);
        }
        if (got == 0) break;
        offset += got;
        const size_t filled = held + static_cast<size_t>(got);
        // The bytes held over contain no line feed, so only the new ones are searched.
        const void* lastLineFeed = ::memrchr(buffer.data() + held, '\n', static_cast<size_t>(got));
        held = filled;
        if (!lastLineFeed) continue;
        // Hand over the complete lines (their carriage returns included, so
        // none is split from its line feed) and keep the rest for next time.
        const size_t complete = static_cast<size_t>(static_cast<const char*>(lastLineFeed) - buffer.data()) + 1;
        consume(std::string_view(buffer.data(), dropCarriageReturns(buffer.data(), complete)));
        std::memmove(buffer.data(), buffer.data() + complete, filled - complete);
        held = filled - complete;
    }
    if (held > 0) consume(std::string_view(buffer.data(), dropCarriageReturns(buffer.data(), held)));
}

bool ReadFirstLine(const std::string& path, std::string& line) {
    FileHandle file(openLocked(path, O_RDONLY));
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
        const char* end = static_cast<const char*>(std::memchr(buffer, '\n', static_cast<size_t>(got)));
        if (end) {
            line.append(buffer, static_cast<size_t>(end - buffer));
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        line.append(buffer, static_cast<size_t>(got));
    }
    return offset > 0;
}

void WriteTextFile(const std::string& path, const std::string& text) {
    FileHandle file(openLocked(path, O_RDWR));
    const int fd = file.get();
    std::string previous;
    if (!readAll(fd, previous)) throw systemError(path);
    const std::string bytes = withCarriageReturns(text);
    if (writeAll(fd, bytes) && truncateTo(fd, bytes.size()) && flush(fd)) return;
    const FileException failure = systemError(path);
    // Put the previous contents back so a failed write leaves the file as it was.
    if (writeAll(fd, previous)) {
        truncateTo(fd, previous.size());
        flush(fd);
    }
    throw failure;
}
