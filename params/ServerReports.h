#pragma once

#include <functional>
#include <string>
#include <string_view>
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

// A report's text held once, with the lines of ReportLines found in it on
// demand: the text is not split into strings, and where its lines start is
// kept only for every few lines (and every few kilobytes), so the whole
// costs little more than the text even when its lines are empty. Any line is
// found in a few kilobytes of scanning.
class ReportText {
public:
    ReportText() = default;
    explicit ReportText(std::string text);

    size_t LineCount() const { return lineCount; }
    // Line index (below LineCount()), without its line end.
    std::string_view Line(size_t index) const;
    // Every line in order.
    void ForEachLine(const std::function<void(std::string_view)>& visit) const;

private:
    // Where a line starts: its number and its offset in the text.
    struct Mark {
        size_t line;
        size_t offset;
    };
    std::string text;
    std::vector<Mark> marks;
    size_t lineCount = 0;
};

// The text of a report on the share. Raises FileException when it cannot be
// read.
ReportText ReadReport(const Share& share, const ServerReport& report);

// Hands a report on the share to print piece by piece, as its lines each
// ended by a line feed (a last line without one gets one), so that a large
// report is never held but as the file's bytes. Raises FileException when
// the report cannot be read, before anything is printed.
void StreamReport(const Share& share, const ServerReport& report, const std::function<void(std::string_view)>& print);
