#include <QTabBar>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "PropertyPage.h"
#include "PropertySheet.h"

namespace {

// A page that records the sheet's calls and answers OnKillActive as told.
class RecordingPage : public PropertyPage {
public:
    explicit RecordingPage(std::vector<std::string>& log, std::string name)
        : PropertyPage(TemplateId::ParameterPage), log(log), name(std::move(name)) {
        SetTitle(QString::fromStdString(this->name));
    }
    bool OnInitDialog() override {
        log.push_back(name + ":init");
        return PropertyPage::OnInitDialog();
    }
    bool OnSetActive() override {
        log.push_back(name + ":set");
        return true;
    }
    bool OnKillActive() override {
        log.push_back(name + ":kill");
        return mayLeave;
    }
    bool mayLeave = true;

private:
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

// Ways a user or the program asks for another tab.
struct Way {
    const char* name;
    std::function<void(PropertySheetTest&, TestSheet&)> go;  // asks for tab 1 from tab 0
};

}  // namespace

TEST(PropertySheetCreation, CreatesOnlyTheFirstPageAndActivatesIt) {
    std::vector<std::string> log;
    TestSheet sheet(log);
    EXPECT_EQ(log, (std::vector<std::string>{"A:init", "A:set"}));
    EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(0));
    EXPECT_FALSE(sheet.Page(1).IsCreated());
    EXPECT_EQ(sheet.tabText(1), QStringLiteral("B"));
    sheet.Page(1).SetTitle(QStringLiteral("B (2)"));
    EXPECT_EQ(sheet.tabText(1), QStringLiteral("B (2)"));
    // The template's controls exist once the page is created.
    EXPECT_NE(sheet.Page(0).Item(1116), nullptr);
}

class PropertySheetWays : public PropertySheetTest, public testing::WithParamInterface<int> {};

static const Way ways[] = {
    {"click on the tab", [](PropertySheetTest&, TestSheet& s) {
         QTest::mouseClick(s.tabBar(), Qt::LeftButton, {}, s.tabBar()->tabRect(1).center());
     }},
    {"right arrow on the tab bar", [](PropertySheetTest&, TestSheet& s) {
         s.tabBar()->setFocus();
         QTest::keyClick(s.tabBar(), Qt::Key_Right);
     }},
    {"control tab in the page", [](PropertySheetTest&, TestSheet& s) {
         s.Page(0).setFocus();
         QTest::keyClick(&s.Page(0), Qt::Key_Tab, Qt::ControlModifier);
     }},
    {"program request", [](PropertySheetTest&, TestSheet& s) { s.SetActivePage(1); }},
    {"direct index change", [](PropertySheetTest&, TestSheet& s) { s.setCurrentIndex(1); }},
};

TEST_P(PropertySheetWays, RefusedLeaveKeepsThePage) {
    const Way& way = ways[GetParam()];
    SCOPED_TRACE(way.name);
    sheet.Page(0).mayLeave = false;
    way.go(*this, sheet);
    EXPECT_EQ(sheet.currentIndex(), 0);
    EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(0));
    EXPECT_EQ(log, std::vector<std::string>{"A:kill"});
    EXPECT_FALSE(sheet.Page(1).IsCreated());
}

TEST_P(PropertySheetWays, AllowedLeaveActivatesTheNewPage) {
    const Way& way = ways[GetParam()];
    SCOPED_TRACE(way.name);
    way.go(*this, sheet);
    EXPECT_EQ(sheet.currentIndex(), 1);
    EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(1));
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "B:init", "B:set"}));
}

INSTANTIATE_TEST_SUITE_P(Ways, PropertySheetWays, testing::Range(0, static_cast<int>(std::size(ways))));

TEST_F(PropertySheetTest, CanLeaveAsksTheShownPage) {
    EXPECT_TRUE(sheet.CanLeave());
    sheet.Page(0).mayLeave = false;
    EXPECT_FALSE(sheet.CanLeave());
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "A:kill"}));
}

TEST_F(PropertySheetTest, ComingBackToAPageActivatesItAgainWithoutInitialising) {
    ASSERT_TRUE(sheet.SetActivePage(2));
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "C:init", "C:set", "C:kill", "A:set"}));
    // Asking for the shown page changes nothing and asks nothing.
    log.clear();
    EXPECT_TRUE(sheet.SetActivePage(0));
    EXPECT_TRUE(log.empty());
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

TEST(PropertySheetLifetime, DestroyingPagesActivatesNothing) {
    std::vector<std::string> log;
    {
        TestSheet sheet(log);
        log.clear();
    }
    EXPECT_TRUE(log.empty());
}
