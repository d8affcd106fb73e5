#include <gtest/gtest.h>

#include "ConfigSheetLayout.h"
#include "ParameterSection.h"
#include "RowLayout.h"
#include "ScrollPane.h"

using ConfigSheetLayout::PageSlice;

namespace {

// A section shape written as text: 'p' a plain parameter, 'i' an indented one.
std::vector<bool> shape(const std::string& pattern) {
    std::vector<bool> indented;
    for (char c : pattern) indented.push_back(c == 'i');
    return indented;
}

std::string repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

TEST(Pagination, CutsASectionIntoSlicesOfSixteenKeepingBlocksWhole) {
    const struct { std::string pattern; std::vector<PageSlice> pages; } cases[] = {
        {"", {}},
        {repeat('p', 16), {{0, 16}}},
        {repeat('p', 33), {{0, 16}, {16, 16}, {32, 1}}},
        {repeat('p', 14) + "pii", {{0, 14}, {14, 3}}},  // a block that would cross row 16 opens the next tab
        {repeat('p', 13) + "pii", {{0, 16}}},
        {"pp" + repeat('i', 15), {{0, 1}, {1, 16}}},     // a block of 16 fills a tab of its own
        {"pp" + repeat('i', 16), {{0, 16}, {16, 2}}},    // longer blocks are split anywhere
        {repeat('i', 18), {{0, 16}, {16, 2}}},           // indented rows without a plain head are single rows
        {"p" + repeat('i', 9) + "p" + repeat('i', 9), {{0, 10}, {10, 10}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ConfigSheetLayout::Paginate(shape(c.pattern)), c.pages) << c.pattern;
    ParameterSection section("NetWare");
    for (int k = 0; k < 17; ++k) section.Add(Parameter("K" + std::to_string(k), "v", "", k >= 14 ? 1 : 0));
    EXPECT_EQ(ConfigSheetLayout::Paginate(section), (std::vector<PageSlice>{{0, 13}, {13, 4}}));
}

// Shapes of growing size with short and long blocks: the slices tile the
// section without gaps or overlaps, never exceed 16 rows, are never empty
// and never split a block of 2 to 16 rows.
TEST(Pagination, EveryParameterLandsOnExactlyOnePage) {
    for (int blockEvery : {7, 23}) {
        for (int n = 0; n < 120; ++n) {
            std::vector<bool> indented;
            for (int k = 0; k < n; ++k) indented.push_back(k % blockEvery != 0 && (k * 13) % 11 != 0);
            SCOPED_TRACE(testing::Message() << "n=" << n << " blocks every " << blockEvery);
            int next = 0;
            for (const PageSlice& page : ConfigSheetLayout::Paginate(indented)) {
                EXPECT_EQ(page.first, next);
                EXPECT_GE(page.count, 1);
                EXPECT_LE(page.count, 16);
                next += page.count;
                if (next >= n || !indented[next]) continue;
                int head = next;  // the next page starts inside a block: only one longer than a page may be cut
                while (head > 0 && indented[head]) --head;
                const int span = ConfigSheetLayout::BlockSpan(indented, head);
                EXPECT_FALSE(head + span > next && span >= 2 && span <= 16) << "block at " << head << " split";
            }
            EXPECT_EQ(next, n);
        }
    }
}

TEST(Pagination, OnlySectionsOfSeveralPagesAreNumbered) {
    EXPECT_EQ(ConfigSheetLayout::PageTitle("NetWare", 0, 1), "NetWare");
    EXPECT_EQ(ConfigSheetLayout::PageTitle("NetWare", 1, 2), "NetWare (2)");
    EXPECT_EQ(ConfigSheetLayout::PageTitle("100%s %d %n", 2, 3), "100%s %d %n (3)");  // server text, taken literally
}

// Combo lists drop down five rows more than they hold, fifteen at most.
TEST(RowLayout, ComboDropRows) {
    const std::pair<int, int> dropRows[] = {{0, 5}, {3, 8}, {9, 14}, {10, 15}, {69, 15}};
    for (auto [entries, rows] : dropRows) EXPECT_EQ(RowLayout::ComboDropRows(entries), rows) << entries;
}




// Which bars a content needs: one bar may take the room that makes the
// other needed; the position stays within the range.
TEST(ScrollPane, DecidesBarsAndClampsThePosition) {
    const struct { QSize total, client; QPoint position; bool horizontal, vertical; QSize range; QPoint clamped; } cases[] = {
        {{200, 100}, {300, 228}, {5, 5}, false, false, {-100, -128}, {0, 0}},
        {{270, 844}, {300, 228}, {0, 700}, false, true, {-14, 616}, {0, 616}},
        {{290, 844}, {300, 228}, {0, 0}, true, true, {6, 632}, {0, 0}},
        {{400, 220}, {300, 228}, {150, 0}, true, true, {116, 8}, {116, 0}},
        {{301, 100}, {300, 228}, {5, 3}, true, false, {1, -112}, {1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total.width() << "x" << c.total.height());
        const auto d = ScrollPane::DecideBars(c.total, c.client, QSize(16, 16), c.position);
        EXPECT_EQ(d.horizontal, c.horizontal);
        EXPECT_EQ(d.vertical, c.vertical);
        EXPECT_EQ(d.range, c.range);
        EXPECT_EQ(d.position, c.clamped);
    }
}

}  // namespace
