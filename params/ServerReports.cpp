#include "ServerReports.h"

#include <algorithm>

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

namespace {

// A line start is kept at least this often, in lines and in bytes.
constexpr size_t MarkEveryLines = 64;
constexpr size_t MarkEveryBytes = 4096;

}  // namespace

ReportText::ReportText(std::string reportText) : text(std::move(reportText)) {
    if (text.empty()) return;
    marks.push_back({0, 0});
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        ++lineCount;
        if (end == std::string::npos || end + 1 == text.size()) break;
        start = end + 1;
        const Mark& last = marks.back();
        if (lineCount - last.line >= MarkEveryLines || start - last.offset >= MarkEveryBytes) {
            marks.push_back({lineCount, start});
        }
    }
    marks.shrink_to_fit();
}

std::string_view ReportText::Line(size_t index) const {
    // The last mark at or before the line, then on from there.
    const auto after = std::upper_bound(marks.begin(), marks.end(), index,
                                        [](size_t line, const Mark& mark) { return line < mark.line; });
    const Mark& mark = *(after - 1);
    size_t start = mark.offset;
    for (size_t line = mark.line; line < index; ++line) start = text.find('\n', start) + 1;
    const size_t end = std::min(text.find('\n', start), text.size());
    return std::string_view(text).substr(start, end - start);
}

void ReportText::ForEachLine(const std::function<void(std::string_view)>& visit) const {
    const std::string_view all(text);
    size_t start = 0;
    for (size_t line = 0; line < lineCount; ++line) {
        const size_t end = std::min(all.find('\n', start), all.size());
        visit(all.substr(start, end - start));
        start = end + 1;
    }
}

ReportText ReadReport(const Share& share, const ServerReport& report) {
    return ReportText(ReadTextFile(share, share.PathOf(report.file)));
}

void StreamReport(const Share& share, const ServerReport& report, const std::function<void(std::string_view)>& print) {
    const std::string bytes = share.Read(share.PathOf(report.file));
    ForEachTextPiece(bytes, print);
    if (!bytes.empty() && bytes.back() != '\n') print("\n");
}
