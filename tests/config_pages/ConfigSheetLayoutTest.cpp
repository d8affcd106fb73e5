#include "ConfigSheetLayout.h"

#include <gtest/gtest.h>

#include "ParameterSection.h"

using ConfigSheetLayout::PageSlice;

namespace {

// A section shape written as text: 'p' a plain parameter, 'i' an indented one.
std::vector<bool> shape(const std::string& pattern) {
    std::vector<bool> indented;
    for (char c : pattern) indented.push_back(c == 'i');
    return indented;
}

std::string repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

struct PaginationCase {
    const char* name;
    std::string pattern;
    std::vector<PageSlice> pages;
};

class Pagination : public testing::TestWithParam<PaginationCase> {};

TEST_P(Pagination, CutsSectionIntoSlices) {
    EXPECT_EQ(ConfigSheetLayout::Paginate(shape(GetParam().pattern)), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, Pagination,
    testing::Values(
        PaginationCase{"Empty", "", {}},
        PaginationCase{"One", "p", {{0, 1}}},
        PaginationCase{"SixteenPlain", repeat('p', 16), {{0, 16}}},
        PaginationCase{"SeventeenPlain", repeat('p', 17), {{0, 16}, {16, 1}}},
        PaginationCase{"ThirtyThreePlain", repeat('p', 33), {{0, 16}, {16, 16}, {32, 1}}},
        // A block of three that would cross the 16th row opens the next tab.
        PaginationCase{"BlockMovesWhole", repeat('p', 14) + "pii", {{0, 14}, {14, 3}}},
        PaginationCase{"BlockFitsExactly", repeat('p', 13) + "pii", {{0, 16}}},
        // A block of 16 fills a tab of its own.
        PaginationCase{"BlockOfSixteen", "p" + repeat('p', 1) + repeat('i', 15), {{0, 1}, {1, 16}}},
        // Longer blocks are laid out row by row and split anywhere.
        PaginationCase{"BlockOfTwenty", "p" + repeat('i', 19), {{0, 16}, {16, 4}}},
        PaginationCase{"BlockOfSeventeenAfterPlain", "pp" + repeat('i', 16), {{0, 16}, {16, 2}}},
        // Indented parameters without a plain head are single rows.
        PaginationCase{"LeadingIndented", repeat('i', 18), {{0, 16}, {16, 2}}},
        PaginationCase{"TwoBlocks", "p" + repeat('i', 9) + "p" + repeat('i', 9), {{0, 10}, {10, 10}}}),
    [](const testing::TestParamInfo<PaginationCase>& info) { return std::string(info.param.name); });

TEST(Pagination, EveryParameterLandsOnExactlyOnePage) {
    // Shapes of growing size with short and long blocks: the slices must tile
    // the section without gaps or overlaps, never exceed 16 rows, never be
    // empty and never split a block of 2 to 16 rows.
    for (int blockEvery : {7, 23}) {
        for (int n = 0; n < 120; ++n) {
            std::vector<bool> indented;
            for (int k = 0; k < n; ++k) indented.push_back(k % blockEvery != 0 && (k * 13) % 11 != 0);
            SCOPED_TRACE(testing::Message() << "n=" << n << " blocks every " << blockEvery);
            const auto pages = ConfigSheetLayout::Paginate(indented);
            int next = 0;
            for (const PageSlice& page : pages) {
                EXPECT_EQ(page.first, next);
                EXPECT_GE(page.count, 1);
                EXPECT_LE(page.count, 16);
                next += page.count;
                const int boundary = page.first + page.count;
                if (boundary >= n || !indented[boundary]) continue;
                // The next page starts inside a block: only a block longer
                // than a page may be cut.
                int head = boundary;
                while (head > 0 && indented[head]) --head;
                const int span = ConfigSheetLayout::BlockSpan(indented, head);
                EXPECT_FALSE(head + span > boundary && span >= 2 && span <= 16) << "block at " << head << " split";
            }
            EXPECT_EQ(next, n);
        }
    }
}

TEST(Pagination, ReadsIndentedFlagsOfSection) {
    ParameterSection section("NetWare");
    for (int k = 0; k < 17; ++k) section.Add(Parameter("K" + std::to_string(k), "v", "", k >= 14 ? 1 : 0));
    // Keys 13 (plain) and 14..16 (indented) form a block of four that does not
    // fit after row 12.
    EXPECT_EQ(ConfigSheetLayout::Paginate(section), (std::vector<PageSlice>{{0, 13}, {13, 4}}));
}

TEST(PageTitle, NumbersOnlySectionsOfSeveralPages) {
    struct Case {
        std::string title;
        int index;
        int count;
        std::string expected;
    };
    const Case cases[] = {
        {"NetWare", 0, 1, "NetWare"},
        {"NetWare", 0, 2, "NetWare (1)"},
        {"NetWare", 1, 2, "NetWare (2)"},
        // Server text is taken literally, format characters included.
        {"100%s %d %n", 2, 3, "100%s %d %n (3)"},
        {"", 0, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(ConfigSheetLayout::PageTitle(c.title, c.index, c.count), c.expected);
    }
}

}  // namespace
