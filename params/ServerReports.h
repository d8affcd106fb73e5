#pragma once

#include <string>
#include <vector>

#include "ServerFiles.h"
#include "Share.h"

// The plain-text reports a server publishes on its share: statistics, the
// event log and the description of its SCSI bus. The program shows them as
// the server wrote them and never writes them.

// A report's file, and the message that says it cannot be read.
struct ServerReport {
    const char* file;
    int unreadableMessage;
};
inline constexpr ServerReport StatisticsReport{ServerFile::Statistics, 1002};
inline constexpr ServerReport EventLogReport{ServerFile::EventLog, 1026};
inline constexpr ServerReport ScsiTextReport{ServerFile::ScsiText, 1013};

// The lines of a report's text (carriage returns before line feeds already
// dropped): each line feed ends a line and is not part of it, a last line
// without one still counts, and nothing else is changed - blanks, tabs and
// empty lines stay. An empty text has no lines.
std::vector<std::string> ReportLines(const std::string& text);

// The lines of a report on the share. Raises FileException when it cannot
// be read.
std::vector<std::string> ReadReport(const Share& share, const ServerReport& report);
