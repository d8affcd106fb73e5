#pragma once

#include <string>
#include <vector>

#include "ParameterHandler.h"
#include "RefusalRule.h"

// How the simulated server writes its parameter files and which written
// values it keeps. Plain logic over texts; the file system lives elsewhere.

// The unit the simulator poses as.
struct UnitIdentity {
    bool hd = false;
    std::string version;
    std::string serial;
};

// The remark that opens the server's configuration file and names the unit.
std::string ProductLine(const UnitIdentity& unit);

// The lines of a file before its first section or parameter: the remarks
// and blank lines the server keeps at the head of the file.
std::vector<std::string> LeadingRemarks(const std::string& text);

// True when text ends with the "[END]" line every complete parameter file
// ends with; a writer that stopped part-way leaves a file without it.
bool IsCompleteFile(const std::string& text);

// The file in the server's own form (line feeds only): the head lines, each
// section under its header (the unnamed one without), one line per parameter
// and per item of a list, each with the remark the server publishes beside
// it, and the closing "[END]".
std::string ComposeServerForm(const std::vector<std::string>& head, const ParameterHandler& kept);

// The server reading a file a client wrote: each value of written that
// differs from kept is taken into kept unless a rule refuses it. Keys the
// server does not hold are ignored. Returns one log line per change taken,
// per value refused and per key ignored.
std::vector<std::string> KeepWrittenValues(ParameterHandler& kept, const ParameterHandler& written,
                                           const std::vector<RefusalRule>& rules);
