#include "ConfigSheetLayout.h"

#include "ParameterSection.h"

namespace ConfigSheetLayout {

int BlockSpan(const std::vector<bool>& indented, int k) {
    const int n = static_cast<int>(indented.size());
    if (indented[k]) return 1;
    int span = 1;
    while (k + span < n && indented[k + span]) ++span;
    return span;
}

std::vector<PageSlice> Paginate(const std::vector<bool>& indented) {
    const int n = static_cast<int>(indented.size());
    std::vector<PageSlice> pages;
    int start = 0;
    while (start < n) {
        int rows = 0;
        while (rows < kRowsPerPage && start + rows < n) {
            const int span = BlockSpan(indented, start + rows);
            if (span >= 2 && span <= kRowsPerPage) {
                if (rows + span > kRowsPerPage) break;  // the block opens the next tab
                rows += span;
            } else {
                rows += 1;
            }
        }
        pages.push_back({start, rows});
        start += rows;
    }
    return pages;
}

std::vector<PageSlice> Paginate(const ParameterSection& section) {
    std::vector<bool> indented;
    indented.reserve(section.GetParameterCount());
    for (int i = 0; i < section.GetParameterCount(); ++i) {
        indented.push_back(section.ParameterAt(i).GetIndented() != 0);
    }
    return Paginate(indented);
}

std::string PageTitle(const std::string& title, int pageIndex, int pageCount) {
    if (pageCount <= 1) return title;
    return title + " (" + std::to_string(pageIndex + 1) + ")";
}

}  // namespace ConfigSheetLayout
