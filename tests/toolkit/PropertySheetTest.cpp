#include <QTabBar>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "PropertyPage.h"
#include "PropertySheet.h"

namespace {

// A page that records the sheet's calls and answers OnKillActive as told.
struct RecordingPage : PropertyPage {
    RecordingPage(std::vector<std::string>& log, std::string name)
        : PropertyPage(TemplateId::ParameterPage), log(log), name(std::move(name)) {
        SetTitle(QString::fromStdString(this->name));
    }
    bool OnInitDialog() override { return log.push_back(name + ":init"), PropertyPage::OnInitDialog(); }
    bool OnSetActive() override { return log.push_back(name + ":set"), true; }
    bool OnKillActive() override { return log.push_back(name + ":kill"), mayLeave; }
    bool mayLeave = true;
    std::vector<std::string>& log;
    std::string name;
};

class TestSheet : public PropertySheet {
public:
    explicit TestSheet(std::vector<std::string>& log) : PropertySheet(nullptr) {
        for (const char* name : {"A", "B", "C"}) {
            pages.push_back(std::make_unique<RecordingPage>(log, name));
            AddPage(pages.back().get());
        }
        Create();
    }
    RecordingPage& Page(int i) { return *pages[static_cast<size_t>(i)]; }
    std::vector<std::unique_ptr<RecordingPage>> pages;
};

class PropertySheetTest : public testing::Test {
protected:
    void SetUp() override {
        sheet.show();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
        log.clear();
    }
    QPoint tabCentre(int index) { return sheet.tabBar()->tabRect(index).center(); }

    std::vector<std::string> log;
    TestSheet sheet{log};
};

}  // namespace

TEST(PropertySheetCreation, CreatesOnlyTheFirstPageAndActivatesIt) {
    std::vector<std::string> log;
    {
        TestSheet sheet(log);
        EXPECT_EQ(log, (std::vector<std::string>{"A:init", "A:set"}));
        EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(0));
        EXPECT_FALSE(sheet.Page(1).IsCreated());
        sheet.Page(1).SetTitle(QStringLiteral("B (2)"));
        EXPECT_EQ(sheet.tabText(1), QStringLiteral("B (2)"));
        log.clear();
    }
    EXPECT_TRUE(log.empty());  // destroying the pages activates nothing
    PropertySheet empty(nullptr);
    empty.Create();
    RecordingPage added(log, "D");  // a page added later to an empty sheet is shown at once
    empty.AddPage(&added);
    EXPECT_EQ(empty.GetActivePage(), &added);
}

// Every way of asking for another tab asks the shown page first; a refusal
// keeps the page, without showing the other tab even for a moment.
TEST_F(PropertySheetTest, EveryWayToAnotherTabAsksTheShownPage) {
    const struct {
        const char* name;
        std::function<void()> go;
        int target;
        bool quiet;  // no other tab shown for a moment when refused
    } ways[] = {
        {"click on the tab", [&] { QTest::mouseClick(sheet.tabBar(), Qt::LeftButton, {}, tabCentre(1)); }, 1, true},
        {"right arrow on the tab bar", [&] {
             sheet.tabBar()->setFocus();
             QTest::keyClick(sheet.tabBar(), Qt::Key_Right);
         }, 1, true},
        {"control tab in the page", [&] { QTest::keyClick(&sheet.Page(0), Qt::Key_Tab, Qt::ControlModifier); }, 1, true},
        {"control page down in the page", [&] { QTest::keyClick(&sheet.Page(0), Qt::Key_PageDown, Qt::ControlModifier); }, 1, true},
        {"control shift tab as a key press", [&] {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
             QApplication::sendEvent(&sheet, &press);
         }, 2, true},
        {"program request", [&] { sheet.SetActivePage(1); }, 1, true},
        {"direct index change", [&] { sheet.setCurrentIndex(1); }, 1, false},
    };
    int changes = 0;
    QObject watching;  // the connection goes with the test
    QObject::connect(&sheet, &QTabWidget::currentChanged, &watching, [&] { ++changes; });
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        for (const bool mayLeave : {false, true}) {
            sheet.SetActivePage(0);
            sheet.Page(0).setFocus();
            log.clear();
            changes = 0;
            sheet.Page(0).mayLeave = mayLeave;
            way.go();
            EXPECT_EQ(sheet.currentIndex(), mayLeave ? way.target : 0);
            EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(mayLeave ? way.target : 0));
            EXPECT_EQ(log.front(), "A:kill");
            EXPECT_EQ(log.back(), mayLeave ? std::string(1, char('A' + way.target)) + ":set" : "A:kill");
            if (!mayLeave && way.quiet) { EXPECT_EQ(changes, 0); }
        }
    }
}

// Coming back to a page activates it again without initialising it; asking
// for the shown page changes nothing and asks nothing; leaving the sheet asks
// the shown page.
TEST_F(PropertySheetTest, ComingBackAndLeaving) {
    ASSERT_TRUE(sheet.SetActivePage(2));
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "C:init", "C:set", "C:kill", "A:set"}));
    log.clear();
    EXPECT_TRUE(sheet.CanLeave());
    sheet.Page(0).mayLeave = false;
    EXPECT_FALSE(sheet.CanLeave());
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "A:kill"}));
}

TEST_F(PropertySheetTest, KeysAtTheEndsAndTheWheelDoNotLeave) {
    sheet.tabBar()->setFocus();
    QTest::keyClick(sheet.tabBar(), Qt::Key_Left);  // already the first tab
    QWheelEvent wheel(QPointF(tabCentre(0)), sheet.tabBar()->mapToGlobal(QPointF(tabCentre(0))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(sheet.tabBar(), &wheel);
    EXPECT_EQ(sheet.currentIndex(), 0);
    EXPECT_TRUE(log.empty());
    QTest::keyClick(sheet.tabBar(), Qt::Key_End);
    EXPECT_EQ(sheet.currentIndex(), 2);
}

