#pragma once

#include <string>
#include <vector>

class ParameterSection;

// How the configuration sheet cuts a section into tabs. Plain logic over the
// parameters' indented flags, so it can be checked without any window.
namespace ConfigSheetLayout {

// Most rows one configuration page shows (two columns of eight).
constexpr int kRowsPerPage = 16;

// One tab: the index of its first parameter within the section and how many
// parameters it shows.
struct PageSlice {
    int first = 0;
    int count = 0;
    bool operator==(const PageSlice&) const = default;
};

// Rows taken by the block that starts at parameter k: an indented parameter is
// a block of its own; a plain one takes its run of indented followers with it.
int BlockSpan(const std::vector<bool>& indented, int k);

// Slices of at most 16 rows. A block of 2 to 16 rows is never split across
// tabs; a longer block is laid out row by row. No parameters, no tabs.
std::vector<PageSlice> Paginate(const std::vector<bool>& indented);
std::vector<PageSlice> Paginate(const ParameterSection& section);

// Tab title: the section's title alone, or "title (n)" with n counted from 1
// when the section needs more than one tab. The title is server text and is
// only ever appended, never used as a format.
std::string PageTitle(const std::string& title, int pageIndex, int pageCount);

}  // namespace ConfigSheetLayout
