#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ChangeSet.h"

// One write of a server file as the history keeps it.
struct HistoryEntry {
    int id = 0;
    std::string time;     // ISO 8601 with the offset from UTC
    std::string program;  // tessaron-config or tessaron-ctl
    std::string address;  // the share's address
    std::string serial;   // what the configuration file said then, or ""
    bool kept = true;     // the read-back showed the server kept the values
    ChangeSet changes;    // changes.file names the file
};

// The local history of one share's writes: for each write, what it changed
// and the file's bytes before and after it, so that a change can be undone
// and an emptied or damaged file restored. Kept under the local state folder
// (history/), readable by the user alone, one folder per share named by a
// hash of its address (never by text from the share); bounded to the newest
// writes. Failures raise StoreError; a caller never lets one fail a write.
class History {
public:
    static constexpr int kMaxEntries = 500;
    static constexpr std::uintmax_t kMaxBytes = 100u * 1024 * 1024;

    // The history of the share known by address, under the local state
    // folder; bounded to the newest maxEntries writes and maxBytes in all.
    explicit History(std::string address, int maxEntries = kMaxEntries, std::uintmax_t maxBytes = kMaxBytes);

    // Records a write (the time is now when entry has none) and drops the
    // oldest writes beyond the bounds; answers the write's id.
    int Record(HistoryEntry entry, const std::string& before, const std::string& after);

    // The writes kept, newest first; of one file only when file is given.
    std::vector<HistoryEntry> Entries(const std::string& file = {}) const;
    std::optional<HistoryEntry> Find(int id) const;
    // The bytes the file held before write id, and the bytes it wrote.
    std::string BytesBefore(int id) const;
    std::string BytesAfter(int id) const;
    // Every serial number the share's configuration file gave, oldest first.
    std::vector<std::string> Serials() const;

    // The time now, as entries give it.
    static std::string Now();

private:
    std::string shareFolder(bool create) const;
    std::string entryFolder(int id) const;
    std::vector<int> ids() const;
    void noteSerial(const std::string& folder, const std::string& serial) const;
    void prune(const std::string& folder) const;

    std::string address;
    int maxEntries;
    std::uintmax_t maxBytes;
};
