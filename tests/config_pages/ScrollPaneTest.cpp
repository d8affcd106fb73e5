#include "ScrollPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "RowLayout.h"

namespace {

constexpr int H = RowLayout::kControlHeight;
constexpr int P = RowLayout::kRowPitch;

struct Recorder : ScrollPane::CommandTarget {
    std::vector<std::pair<int, int>> commands;
    void OnChildCommand(int id, int code) override { commands.emplace_back(id, code); }
};

// A pane with `rows` edit rows laid out as the pages lay them out, shown in a
// window of its own.
struct PaneFixture {
    Recorder recorder;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    ScrollPane* pane = nullptr;
    std::vector<QLineEdit*> edits;

    PaneFixture(int rows, QSize paneSize, bool scrolled) {
        window->resize(paneSize + QSize(20, 20));
        pane = new ScrollPane(&recorder, 2200, 2400, window.get());
        pane->setGeometry(QRect(QPoint(10, 10), paneSize));
        for (int i = 0; i < rows; ++i) {
            auto* edit = new QLineEdit(pane->Content());
            edit->setObjectName(QString::number(2200 + i));
            edit->setGeometry(128, 4 + i * P, 110, H);
            pane->AttachControl(edit);
            edits.push_back(edit);
        }
        if (scrolled) {
            pane->SetScrollSizes(ScrollPane::kMappingText, QSize(paneSize.width() - 30, rows * P + 4),
                                 QSize(0, 8 * (H + 4)), QSize(0, H + 4));
        }
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

// Which bars a content needs: one bar may take the room that makes the other needed.
TEST(ScrollPane, DecidesBarsAndClampsThePosition) {
    const struct {
        QSize total, client;
        QPoint position;
        bool horizontal, vertical;
        QSize range;
        QPoint clamped;
    } cases[] = {
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

TEST(ScrollPane, ThirtyRowsScrollByLinePageTopAndBottom) {
    PaneFixture f(30, QSize(300, 228), true);
    ASSERT_TRUE(f.pane->BarsShown());
    EXPECT_EQ(f.pane->TotalSize().height(), 844);
    EXPECT_EQ(f.pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(f.pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const int limit = 844 - f.pane->viewport()->height();

    struct Step {
        unsigned code;
        int thumb;
        int expected;
    };
    const Step steps[] = {
        {ScrollPane::Vertical(ScrollPane::LineDown), 0, 28},
        {ScrollPane::Vertical(ScrollPane::PageDown), 0, 28 + 224},
        {ScrollPane::Vertical(ScrollPane::PageUp), 0, 28},
        {ScrollPane::Vertical(ScrollPane::LineUp), 0, 0},
        {ScrollPane::Vertical(ScrollPane::LineUp), 0, 0},
        {ScrollPane::Vertical(ScrollPane::ThumbTrack), 333, 333},
        {ScrollPane::Vertical(ScrollPane::EndScroll), 0, 333},
        {ScrollPane::Vertical(ScrollPane::Bottom), 0, limit},
        {ScrollPane::Vertical(ScrollPane::LineDown), 0, limit},
        {ScrollPane::Vertical(ScrollPane::Top), 0, 0},
        // No horizontal bar: horizontal requests move nothing.
        {ScrollPane::Horizontal(ScrollPane::PageDown), 0, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "code " << step.code);
        const int before = f.pane->ScrollPosition().y();
        const bool moved = f.pane->Scroll(step.code, step.thumb);
        EXPECT_EQ(f.pane->ScrollPosition(), QPoint(0, step.expected));
        EXPECT_EQ(moved, before != step.expected);
        // The content moved with the position.
        EXPECT_EQ(f.edits[0]->y(), 4 - step.expected);
        EXPECT_EQ(f.pane->verticalScrollBar()->value(), step.expected);
    }
}

TEST(ScrollPane, BarActionsUseThePanesSteps) {
    PaneFixture f(30, QSize(300, 228), true);
    QScrollBar* bar = f.pane->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(f.pane->ScrollPosition().y(), 224);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(f.pane->ScrollPosition().y(), 196);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(f.pane->ScrollPosition().y(), bar->maximum());
    EXPECT_EQ(f.edits[29]->geometry().bottom() + 1, 844 - bar->maximum() - 4);
}

TEST(ScrollPane, ShortContentShowsNoBarAndNeverScrolls) {
    PaneFixture f(5, QSize(300, 228), true);
    EXPECT_FALSE(f.pane->BarsShown());
    EXPECT_FALSE(f.pane->Scroll(ScrollPane::Vertical(ScrollPane::Bottom), 0));
    EXPECT_FALSE(f.pane->ScrollBy(QPoint(0, 40)));
    EXPECT_EQ(f.pane->ScrollPosition(), QPoint(0, 0));
    // Wide content gets the horizontal bar, and its steps default to tenths of the page.
    f.pane->SetScrollSizes(ScrollPane::kMappingText, QSize(-1000, 100));
    EXPECT_EQ(f.pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(f.pane->Scroll(ScrollPane::Horizontal(ScrollPane::LineDown), 0));
    EXPECT_EQ(f.pane->ScrollPosition(), QPoint(10, 0));
}

TEST(ScrollPane, FocusedRowIsScrolledIntoViewInLineSteps) {
    PaneFixture f(30, QSize(300, 228), true);
    const int view = f.pane->viewport()->height();
    // Each target row, then the expected position: the smallest multiple of
    // the line step that shows the whole control.
    for (int row : {10, 20, 29, 12, 0}) {
        SCOPED_TRACE(row);
        const int top = 4 + row * P;
        f.edits[row]->setFocus();
        QApplication::processEvents();
        const int pos = f.pane->ScrollPosition().y();
        EXPECT_EQ(pos % (H + 4) == 0 || pos == f.pane->verticalScrollBar()->maximum(), true) << pos;
        EXPECT_GE(top - pos, 0);
        EXPECT_LE(top + H - pos, view);
        // Nothing was scrolled further than needed: one line less would hide it.
        if (pos > 0 && pos % (H + 4) == 0) {
            const int less = pos - (H + 4);
            EXPECT_TRUE(top + H - less > view || top - less < 0 || top - pos < H + 4);
        }
    }
}

TEST(ScrollPane, ForwardsClicksAndSelectionChangesOnly) {
    PaneFixture f(1, QSize(300, 228), false);
    auto* check = new QCheckBox("Date", f.pane->Content());
    check->setObjectName("2301");
    check->setGeometry(4, 32, 120, H);
    auto* combo = new QComboBox(f.pane->Content());
    combo->setObjectName("2202");
    combo->addItems({"yes", "no"});
    combo->setGeometry(128, 60, 80, 20);
    f.pane->AttachControl(check);
    f.pane->AttachControl(combo);
    check->show();
    combo->show();

    QTest::keyClicks(f.edits[0], "typing is not forwarded");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, H / 2));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    combo->setCurrentIndex(0);  // a change made by the program is not a user selection
    EXPECT_EQ(f.recorder.commands, (std::vector<std::pair<int, int>>{{2301, 0}, {2202, 1}}));
    EXPECT_TRUE(check->isChecked());
}

}  // namespace
