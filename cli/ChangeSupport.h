#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "CatalogueKind.h"
#include "ChangeSet.h"
#include "Console.h"
#include "History.h"
#include "ParameterHandler.h"
#include "Share.h"

namespace CLI {
class App;
}

// How the command line shows what a write changes, and keeps its writes in
// the share's history of changes.

// Prints a change set on standard output: one line per change,
// FILE<tab>SECTION<tab>KEY<tab>OLD<tab>NEW, password values masked and
// control characters escaped; or (json) one object {"file", "changes":
// [{"section", "key", "old", "new"}]}, with "confirmations" when given.
void PrintChangeSet(const Console& console, const ChangeSet& changes, bool json,
                    const std::vector<std::string>* confirmations = nullptr);

// The changes of a change set as a JSON array of {"section", "key", "old",
// "new"}, password values masked.
void PrintChangeList(std::ostream& out, const ChangeSet& changes);

// Ends a trial run that wrote nothing: prints the change set (with the
// confirmations in JSON, else each said on standard error). Returns 0, or 1
// after message missing when the confirmations were not given.
int EndDryRun(const Console& console, const ChangeSet& changes, const std::vector<std::string>& confirmations,
              bool confirmed, int missing, bool json);

// A command that takes --dry-run takes --json only with it: raises a
// CLI::ParseError otherwise.
void RequireDryRunForJson(const CLI::App& command, bool dryRun);

// Records a write the command made to a file of share, known by the
// share's address, in the history of changes (when it is kept). A history
// that cannot be written is said once on standard error; the write stands.
void RecordCtlWrite(const Console& console, const std::string& address, const Share& share, const ChangeSet& changes,
                    const std::string& before, const std::string& after, bool kept);

// After a parameter file was found empty (path as its share gives it):
// when the share's history holds a write of it, says so and prints the
// restore command that writes those bytes back.
void OfferRestore(const Console& console, const std::string& path);

// The history of changes is kept; false after saying it is turned off.
bool HistoryKept(const Console& console);

// Finds write id (the newest write when id is 0) in the history of the
// share known by address. Returns 0, else the exit code after saying that
// the history is off, holds no such write, or cannot be read.
int FindWrite(const Console& console, const std::string& address, int id, HistoryEntry& entry);

// A file's bytes as a store, read with the catalogue of kind.
ParameterHandler StoreOfBytes(const std::string& bytes, CatalogueKind kind);

// text as one word of a shell's command line, quoted where it needs it.
std::string ShellWord(const std::string& text);
