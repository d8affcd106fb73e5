#pragma once

#include <QString>

#include <string>

#include "ChangeSet.h"
#include "History.h"

class ConfigApp;

// What the windows do with the share's history of writes: name its changes,
// take a write back, and write a file found empty back as a write left it.

// The name a change goes by in the windows: the parameter's display name
// (its key when the program knows none), with its section in brackets.
QString ChangeName(const std::string& file, const Change& change);
// A write's time as the windows show it: local time, to the second.
QString ShownTime(const std::string& time);
// The server's serial number kept with a write, without the blanks around
// it; "unknown" when none was kept.
QString ShownSerial(const std::string& serial);

// Sets the parameters a write changed back to their values before it,
// through a submit of the file as it is now: the same confirmations, the
// lost-update check and the read-back, recorded as any write. Refused,
// naming them, when a later change came over any of them.
enum class UndoOutcome {
    NotWritten,
    Written,     // whether the server kept the values or not (it was said)
    Restarting,  // it carried a factory reset the file asked for: the program ends
};
UndoOutcome UndoWrite(ConfigApp& app, const HistoryEntry& entry);

// A parameter file found empty (path as the share's PathOf gives it): when
// the history holds a write of it, says so and offers to write back what
// that write left in it, over the empty file only. True when written back.
bool OfferRestore(ConfigApp& app, const std::string& path);
