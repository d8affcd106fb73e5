#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ChangeSet.h"
#include "History.h"
#include "ParameterHandler.h"

// What the programs do with the history of a share's writes: record each
// write, find the last one of a file, plan the undoing of one, and compare
// two stores parameter by parameter. The windows and the command line both
// use these, so that each rule lives here once.

// Who writes to which share: what the history keeps with each write.
struct WriteOrigin {
    std::string program;  // "tessaron-config" or "tessaron-ctl"
    std::string address;  // the share's address (ShareAddress)
    std::string serial;   // what the configuration file said then, "" when unknown
};

// Records a write in the share's history, when the history is kept. A
// history that cannot be written never fails the write: the answer is false
// with the reason in problem, for the caller to warn about once.
bool RecordWrite(const WriteOrigin& origin, const ChangeSet& changes, const std::string& before,
                 const std::string& after, bool kept, std::string& problem);

// The serial number the share's configuration file gives as a write of file
// is made: read from bytesBefore when file is that configuration file, else
// from the share's; "" when it cannot be read or is empty.
std::string SerialAtWrite(const Share& share, const std::string& file, const std::string& bytesBefore);

// The newest write of file the share's history holds (when the history is
// kept): the one to restore a file found empty from.
std::optional<HistoryEntry> LastWriteOf(const std::string& address, const std::string& file);

// Taking a write back: the parameters it changed set to their values before
// it, each found in the file as it is now.
struct UndoPlan {
    // What to set: section, key, the value now (old) and the value before
    // the write (new).
    std::vector<Change> edits;
    // Parameters that no longer hold what the write gave them, because
    // another change came later: the value the write gave (old) and the one
    // the file holds now (new; "" when the parameter is gone).
    std::vector<Change> conflicts;
    // Requests and clock settings, which an undo never sends again.
    std::vector<Change> skipped;
    // What taking the write back anyway sets besides the edits: each
    // conflicting parameter the file still has, from its value now (old) to
    // its value before the write (new), where the two differ.
    std::vector<Change> forced;
};
UndoPlan PlanUndo(const HistoryEntry& entry, const ParameterHandler& now);

// One difference between two stores: a parameter with another value on
// either side, or one that only one side has (nullopt on the other); a
// section only one side has is one difference with the key "*".
struct Difference {
    std::string section;
    std::string key;
    std::optional<std::string> mine;
    std::optional<std::string> other;
    bool operator==(const Difference&) const = default;
};
// The differences, in mine's order and then other's: order, remarks and the
// spelling of equal values do not count.
std::vector<Difference> CompareStores(const ParameterHandler& mine, const ParameterHandler& other);

// What writing after over before changes, parameter by parameter as
// CompareStores sees it: each parameter of a section only one side has is a
// change of its own, and a value one side lacks is "".
std::vector<Change> ChangesBetween(const ParameterHandler& before, const ParameterHandler& after);
