#include "History.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "LocalState.h"
#include "StoreError.h"

namespace {

namespace fs = std::filesystem;

// The files of one write's folder.
constexpr const char* kRecord = "record";
constexpr const char* kBefore = "before";
constexpr const char* kAfter = "after";

std::string hashName(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

// Record fields are one line each: tab, line ends and backslash escaped.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        fields.push_back(unescaped(line.substr(start, tab - start)));
    }
    fields.push_back(unescaped(line.substr(start)));
    return fields;
}

std::string recordText(const HistoryEntry& entry) {
    std::string text;
    const auto field = [&text](const char* name, const std::string& value) {
        text += std::string(name) + "\t" + escaped(value) + "\n";
    };
    field("time", entry.time);
    field("program", entry.program);
    field("address", entry.address);
    field("serial", entry.serial);
    field("file", entry.changes.file);
    field("result", entry.kept ? "written" : "not kept");
    for (const Change& change : entry.changes.changes) {
        text += "change\t" + escaped(change.section) + "\t" + escaped(change.key) + "\t" + escaped(change.oldValue) +
                "\t" + escaped(change.newValue) + "\n";
    }
    return text;
}

HistoryEntry entryOf(int id, const std::string& text) {
    HistoryEntry entry;
    entry.id = id;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> fields = fieldsOf(line);
        const std::string& name = fields.front();
        const std::string value = fields.size() > 1 ? fields[1] : std::string();
        if (name == "time") entry.time = value;
        else if (name == "program") entry.program = value;
        else if (name == "address") entry.address = value;
        else if (name == "serial") entry.serial = value;
        else if (name == "file") entry.changes.file = value;
        else if (name == "result") entry.kept = value != "not kept";
        else if (name == "change" && fields.size() == 5) {
            entry.changes.changes.push_back({fields[1], fields[2], fields[3], fields[4]});
        }
    }
    return entry;
}

bool isId(const std::string& name, int& id) {
    if (name.empty() || name.size() > 9) return false;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
    return error == std::errc() && end == name.data() + name.size() && id > 0;
}

std::uintmax_t folderBytes(const std::string& folder) {
    std::uintmax_t total = 0;
    std::error_code error;
    for (const auto& file : fs::directory_iterator(folder, error)) {
        const std::uintmax_t size = file.file_size(error);
        if (!error) total += size;
    }
    return total;
}

}  // namespace

History::History(std::string address, int maxEntries, std::uintmax_t maxBytes)
    : address(std::move(address)), maxEntries(maxEntries), maxBytes(maxBytes) {}

std::string History::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // ISO 8601 writes the offset with a colon: +01:00.
    const std::string_view time = text;
    if (time.size() < 5) return std::string(time);
    return std::string(time.substr(0, time.size() - 2)).append(":").append(time.substr(time.size() - 2));
}

std::string History::shareFolder(bool create) const {
    const std::string base = LocalStateFolder();
    if (base.empty()) throw StoreError("", "neither XDG_STATE_HOME nor HOME is set");
    const std::string name = hashName(address);
    // Another address with the same hash takes the next free suffix.
    for (int suffix = 0;; ++suffix) {
        std::string folder = base + "/history/" + name;
        if (suffix) folder.append("-").append(std::to_string(suffix));
        std::string kept;
        if (ReadPrivateFile(folder + "/address", kept)) {
            if (kept == address) return folder;
            continue;
        }
        if (!create) return {};
        MakePrivateFolder(folder);
        WritePrivateFile(folder + "/address", address);
        return folder;
    }
}

std::string History::entryFolder(int id) const {
    const std::string folder = shareFolder(false);
    if (folder.empty()) throw StoreError("", "no change of this share has been recorded");
    return folder + "/" + std::to_string(id);
}

std::vector<int> History::ids() const {
    std::vector<int> found;
    const std::string folder = shareFolder(false);
    if (folder.empty()) return found;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder, error)) {
        int id = 0;
        if (item.is_directory(error) && isId(item.path().filename().string(), id)) found.push_back(id);
    }
    std::sort(found.begin(), found.end());
    return found;
}

int History::Record(HistoryEntry entry, const std::string& before, const std::string& after) {
    const std::string folder = shareFolder(true);
    if (entry.time.empty()) entry.time = Now();
    entry.address = address;
    noteSerial(folder, entry.serial);

    // Written in full under a temporary name, then given the next free id:
    // a reader never sees half a write, and two programs recording at once
    // take different ids.
    const std::string temporary = folder + "/.new-" + std::to_string(::getpid()) + "-" + hashName(Now() + after);
    MakePrivateFolder(temporary);
    WritePrivateFile(temporary + "/" + kBefore, before);
    WritePrivateFile(temporary + "/" + kAfter, after);
    const std::vector<int> existing = ids();
    for (int id = existing.empty() ? 1 : existing.back() + 1;; ++id) {
        entry.id = id;
        WritePrivateFile(temporary + "/" + kRecord, recordText(entry));
        if (::rename(temporary.c_str(), (folder + "/" + std::to_string(id)).c_str()) == 0) break;
        if (errno != EEXIST && errno != ENOTEMPTY) {
            const int error = errno;
            std::error_code ignored;
            fs::remove_all(temporary, ignored);
            throw StoreError::System(folder, error);
        }
    }
    prune(folder);
    return entry.id;
}

void History::noteSerial(const std::string& folder, const std::string& serial) const {
    if (serial.empty()) return;
    std::string serials;
    ReadPrivateFile(folder + "/serials", serials);
    std::istringstream lines(serials);
    for (std::string line; std::getline(lines, line);) {
        if (unescaped(line) == serial) return;
    }
    WritePrivateFile(folder + "/serials", serials + escaped(serial) + "\n");
}

void History::prune(const std::string& folder) const {
    std::vector<int> kept = ids();
    std::vector<std::uintmax_t> sizes;
    std::uintmax_t total = 0;
    for (const int id : kept) total += sizes.emplace_back(folderBytes(folder + "/" + std::to_string(id)));
    // The oldest go first; the newest write always stays.
    size_t oldest = 0;
    while (kept.size() - oldest > 1 &&
           (kept.size() - oldest > static_cast<size_t>(maxEntries) || total > maxBytes)) {
        std::error_code ignored;
        fs::remove_all(folder + "/" + std::to_string(kept[oldest]), ignored);
        total -= sizes[oldest++];
    }
}

std::vector<HistoryEntry> History::Entries(const std::string& file) const {
    std::vector<HistoryEntry> entries;
    const std::vector<int> found = ids();
    for (auto id = found.rbegin(); id != found.rend(); ++id) {
        if (std::optional<HistoryEntry> entry = Find(*id); entry && (file.empty() || entry->changes.file == file)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

std::optional<HistoryEntry> History::Find(int id) const {
    if (id <= 0 || shareFolder(false).empty()) return std::nullopt;
    std::string text;
    if (!ReadPrivateFile(entryFolder(id) + "/" + kRecord, text)) return std::nullopt;
    return entryOf(id, text);
}

std::string History::BytesBefore(int id) const {
    std::string bytes;
    const std::string path = entryFolder(id) + "/" + kBefore;
    if (!ReadPrivateFile(path, bytes)) throw StoreError::System(path, errno);
    return bytes;
}

std::string History::BytesAfter(int id) const {
    std::string bytes;
    const std::string path = entryFolder(id) + "/" + kAfter;
    if (!ReadPrivateFile(path, bytes)) throw StoreError::System(path, errno);
    return bytes;
}

std::vector<std::string> History::Serials() const {
    std::vector<std::string> serials;
    const std::string folder = shareFolder(false);
    std::string text;
    if (folder.empty() || !ReadPrivateFile(folder + "/serials", text)) return serials;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) serials.push_back(unescaped(line));
    return serials;
}
