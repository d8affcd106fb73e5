#include "ShareFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "FileException.h"

namespace {

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
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) throw FileException{};
    FileHandle guard(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) throw FileException{};
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) throw FileException{};
    return guard.release();
}

// Reads from offset until end of file; false on a read error.
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

// Text mode: a carriage return directly before a line feed is dropped.
void dropCarriageReturns(std::string& bytes) {
    const char* first = static_cast<const char*>(std::memchr(bytes.data(), '\r', bytes.size()));
    if (!first) return;
    size_t out = static_cast<size_t>(first - bytes.data());
    for (size_t in = out; in < bytes.size(); ++in) {
        if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') continue;
        bytes[out++] = bytes[in];
    }
    bytes.resize(out);
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

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
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
        if (!equalIgnoringAsciiCase(name, component)) continue;
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
    if (!readAll(file.get(), bytes)) throw FileException{};
    dropCarriageReturns(bytes);
    return bytes;
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
            throw FileException{};
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
    if (!readAll(fd, previous)) throw FileException{};
    const std::string bytes = withCarriageReturns(text);
    if (writeAll(fd, bytes) && truncateTo(fd, bytes.size()) && flush(fd)) return;
    // Put the previous contents back so a failed write leaves the file as it was.
    if (writeAll(fd, previous)) {
        truncateTo(fd, previous.size());
        flush(fd);
    }
    throw FileException{};
}
