#include "ServerReports.h"

#include "ShareFile.h"

std::vector<std::string> ReportLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ReadReport(const Share& share, const ServerReport& report) {
    return ReportLines(ReadTextFile(share, share.PathOf(report.file)));
}
