#pragma once

#include <string>
#include <vector>

#include "CatalogueKind.h"
#include "Console.h"
#include "Parameter.h"
#include "Share.h"

class ParameterHandler;
class SubmitPlan;

// What a command that writes through a SubmitPlan was told.
struct SubmitChoice {
    bool yes = false;     // --yes: the confirmations are given
    bool dryRun = false;  // --dry-run: show what would be written, write nothing
    bool json = false;    // with dryRun: show it as one JSON object
};

// Submits a plan over the file at path of files (read with the catalogue of
// kind) as set does: says when nothing changes, asks for --yes where a
// confirmation is needed, writes the file once, reads it back and says how
// the server took the values, and records the write in the share's
// history. A trial run checks the same, writes nothing and prints the
// change set instead. Returns the exit code.
int SubmitChanges(const Console& console, SubmitPlan& plan, const SharePtr& files, const std::string& path,
                  CatalogueKind kind, const SubmitChoice& choice);

// Writes the plan, confirmed, to the file at path of files: the write, the
// read-back and what the server kept, said as set says it, and the record
// in the share's history. Returns the exit code: 0, 4 (not kept, or changed
// meanwhile by another program) or 2 (not written or not read back).
int WriteChanges(const Console& console, SubmitPlan& plan, const SharePtr& files, const std::string& path,
                 CatalogueKind kind);

// One parameter to submit: as edited, and the value it was read with.
struct ParameterEdit {
    std::string section;
    Parameter edited;
    std::string loadedValue;
};

// Submits the edits of a store read from its file, as SubmitChanges does.
int SubmitEdits(const Console& console, ParameterHandler store, const std::vector<ParameterEdit>& edits,
                CatalogueKind kind, const SubmitChoice& choice);
