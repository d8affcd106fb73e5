#include "ScrollPane.h"

#include <gtest/gtest.h>

namespace {

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
