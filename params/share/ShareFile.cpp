#include "ShareFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "FileException.h"
#include "TextRules.h"

namespace {

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

// Whether path names anything (a link itself counts). Found without its
// attributes: on a network share a name looked up lately costs nothing.
bool exists(const std::string& path) {
    const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The name under which directory holds component, matched without regard to
// ASCII case. Of several such names the smallest byte-wise wins, so the
// choice does not depend on the order the directory lists them in. A
// directory outside root is not looked into.
std::string resolveComponent(const std::string& root, const std::string& directory, const std::string& component) {
    DIR* listing = OpenFolderWithin(root, directory.empty() ? "/" : directory);
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
    return SharePathWithin(Resolved(serverPath.empty() ? "/" : serverPath), serverPath, relative);
}

std::string SharePathWithin(const std::string& root, const std::string& serverPath, const std::string& relative) {
    std::string path = serverPath;
    while (path.size() > 0 && path.back() == '/') path.pop_back();
    const bool endsInSeparator = !relative.empty() && (relative.back() == '\\' || relative.back() == '/');
    const std::vector<std::string> components = SplitPathComponents(relative, "\\/");
    // Most names are written as the share has them: then all of them are
    // found at once, and no folder is listed.
    std::string written = path;
    for (const std::string& component : components) written += '/' + component;
    if (!components.empty() && exists(written)) return endsInSeparator ? written + '/' : written;
    bool resolving = true;
    for (const std::string& component : components) {
        const std::string directory = path;
        path += '/';
        if (resolving && component != "." && component != ".." && !exists(path + component)) {
            const std::string found = resolveComponent(root, directory, component);
            // Below a folder that is not there, nothing else can be found.
            resolving = found != component;
            path += found;
        } else {
            path += component;
        }
    }
    if (endsInSeparator) path += '/';
    if (path.empty()) path = serverPath.empty() ? "" : "/";
    return path;
}

std::string Resolved(const std::string& path) {
    const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) return {};
    std::string where = WhereIs(fd);
    ::close(fd);
    return where;
}

std::string WeaklyResolved(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) return {};
    std::vector<fs::path> parts(absolute.begin(), absolute.end());
    for (size_t known = parts.size(); known > 0; --known) {
        fs::path prefix;
        for (size_t i = 0; i < known; ++i) prefix /= parts[i];
        const std::string where = Resolved(prefix.string());
        if (where.empty()) continue;
        fs::path full = where;
        for (size_t i = known; i < parts.size(); ++i) full /= parts[i];
        return full.lexically_normal().string();
    }
    return absolute.lexically_normal().string();
}

std::string WhereIs(int fd) {
    char buffer[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return {};
    return std::string(buffer, static_cast<size_t>(length));
}

bool LiesWithin(const std::string& root, const std::string& full) {
    if (root.empty() || full.empty() || full[0] != '/') return false;
    if (root == "/") return true;
    return full == root ||
           (full.size() > root.size() && full.compare(0, root.size(), root) == 0 && full[root.size()] == '/');
}

DIR* OpenFolderWithin(const std::string& root, const std::string& folder) {
    // O_PATH opens nothing: it only pins the folder the path leads to.
    const int where = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (where < 0) return nullptr;
    if (!LiesWithin(root, WhereIs(where))) {
        ::close(where);
        errno = EXDEV;
        return nullptr;
    }
    const int fd = ::openat(where, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int openError = errno;
    ::close(where);
    if (fd < 0) {
        errno = openError;
        return nullptr;
    }
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
        const int listError = errno;
        ::close(fd);
        errno = listError;
    }
    return listing;
}

std::string TextOfBytes(std::string bytes) {
    bytes.resize(dropCarriageReturns(bytes.data(), bytes.size()));
    return bytes;
}

void ForEachTextPiece(std::string_view bytes, const std::function<void(std::string_view)>& consume) {
    // Pieces small enough to stay in cache, each ending at a line end (and
    // so never splitting a carriage return from its line feed).
    constexpr size_t pieceSize = 64 * 1024;
    std::vector<char> buffer;
    while (!bytes.empty()) {
        size_t length = std::min(bytes.size(), pieceSize);
        if (length < bytes.size()) {
            const size_t lastLineFeed = bytes.substr(0, length).rfind('\n');
            length = lastLineFeed == std::string_view::npos ? bytes.find('\n', length) : lastLineFeed;
            length = length == std::string_view::npos ? bytes.size() : length + 1;
        }
        buffer.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        consume(std::string_view(buffer.data(), dropCarriageReturns(buffer.data(), buffer.size())));
        bytes.remove_prefix(length);
    }
}

std::string BytesOfText(const std::string& text) {
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

std::string WritePadding(size_t newSize, size_t oldSize) {
    if (newSize >= oldSize) return {};
    // Blank lines after the new text read as nothing at all.
    std::string padding = (oldSize - newSize) % 2 != 0 ? " " : "";
    padding.reserve(oldSize - newSize);
    while (padding.size() < oldSize - newSize) padding += "\r\n";
    return padding;
}

std::string ReadTextFile(const Share& share, const std::string& path) { return TextOfBytes(share.Read(path)); }
