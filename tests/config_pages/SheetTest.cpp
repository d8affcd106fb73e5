#include <QAbstractItemView>
#include <QAccessible>
#include <QTabBar>

#include "ConfigSheetLayout.h"
#include "ControlHandler.h"
#include "DataExchange.h"
#include "PageFixture.h"
#include "RowLayout.h"
#include "ScrollPane.h"

namespace {

using ConfigSheetLayout::PageSlice;

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
    };
    for (const auto& c : cases) EXPECT_EQ(ConfigSheetLayout::Paginate(shape(c.pattern)), c.pages) << c.pattern;
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

// A tab per section, a section too long for one tab cut into numbered tabs.
TEST_F(PageTest, OneTabPerSectionSliceInFileOrder) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabTitles(), QStringList({"Server", "SCSI", "IP", "SMB", "NFS", "HTTP/FTP", "SNMP", "NetWare (1)", "NetWare (2)"}));
    EXPECT_EQ(sheet->pos(), QPoint(18, 75));  // (15, 70) at the reference font, scaled as the templates are
    // Every tab fits the strip; none hides behind scroll arrows.
    EXPECT_LE(sheet->tabBar()->tabRect(sheet->count() - 1).right(), sheet->tabBar()->width());
    EXPECT_LE(sheet->geometry().right(), window->width() - 18);
    // The block "Enable NDS" opens does not fit the first NetWare tab.
    TemplatePage& second = Activate("NetWare (2)");
    EXPECT_EQ(Values(second).size(), 7);
    EXPECT_EQ(Values(second)[0]->accessibleName(), "Enable NDS");
    EXPECT_EQ(Spoken(second.Control<QPushButton>(TemplatePage::kSubmitId)), "Submit NetWare (2) Settings");  // as shown
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kResetId)->text(), "Reset NetWare (2) Settings");
    EXPECT_TRUE(presenter.shown.empty());
}

// By keyboard alone: Ctrl+Tab goes through every tab and round again, each
// new tab with its first control focused; a screen reader names every value
// control by its row, and at the default font no row label of the sample is
// cut.
TEST_F(PageTest, EveryTabWorksByKeyboardWithNamedUncutRows) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Settle();
    for (int step = 1; step <= 2 * sheet->count(); ++step) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "step " << step;
        QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
        Settle();
        ASSERT_EQ(sheet->GetActiveIndex(), step % sheet->count()) << "step " << step;
        TemplatePage* page = sheet->PageAt(step % sheet->count());
        EXPECT_TRUE(page->isAncestorOf(QApplication::focusWidget())) << page->GetTitle().toStdString();
        for (const RowLabel* label : page->findChildren<RowLabel*>()) EXPECT_FALSE(label->IsElided()) << label->text().toStdString();
        for (QWidget* value : Values(*page)) {
            EXPECT_FALSE(value->accessibleName().isEmpty());
            EXPECT_EQ(Spoken(value), value->accessibleName()) << value->objectName().toStdString();
        }
    }
}

// A file that cannot be read: the sheet is not opened (1005); a page is
// unavailable until its next activation (1004), also when its section is gone.
TEST_F(PageTest, AnUnreadableFileIsReported) {
    OpenMain();
    {
        Unreadable gone(share.PathOf("Config/Config.ini"));
        EXPECT_EQ(OpenSheet(), nullptr);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1005});
    }
    ASSERT_NE(OpenSheet(), nullptr);
    {
        Unreadable gone(share.PathOf("Config/Config.ini"));
        TemplatePage& ip = Activate("IP");
        EXPECT_TRUE(Values(ip).isEmpty());
        Submit(ip);  // nothing to submit, and the page may be left
    }
    Activate("SMB");
    EXPECT_EQ(Edit(Activate("IP"), "Internet Address")->text(), "192.168.1.50");
    WriteConfig("[Server]\nRestart = no\n[END]\n");
    Activate("NetWare (2)");
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1004, 124, 1004}));
}

// Each page sets the help context of its section; the topics of the
// list-driven pages depend on the server's version.
TEST_F(PageTest, EachPageSetsTheHelpOfItsSection) {
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(app.GetHelpContext(), 3);
    Activate("SNMP");
    EXPECT_EQ(app.GetHelpContext(), 9);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.06"), 14);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.07"), 16);
}

// A rectangle of the row layout, drawn for the reference font, as the page
// shows it at its own font.
QRect referenceRect(const TemplatePage& page, int left, int top, int right, int bottom) {
    const DialogUnits units = page.Units();
    return QRect(QPoint(units.ReferenceX(left), units.ReferenceY(top)),
                 QPoint(units.ReferenceX(right) - 1, units.ReferenceY(bottom) - 1));
}

// Rows are laid out in two columns of eight, scaled to the page's font; a
// label names its row, "-" marks an indented one and "*" one this program
// does not know, and the page then shows its mark; Tab follows the rows.
TEST_F(PageTest, RowsShowNamesMarksAndStyles) {
    WriteConfig("QUOR Tessaron CD-ROM Server V4.00 (c) QUOR   S/N: 1-2\n"
                "[Server]\nSourceRouting = NO ; none/no\nTimeZone = Mars\nRestart = no ; yes/no\n"
                "[SMB]\nEnableNBT = yes ; yes/no\n  WINSServer = 1.2.3.4\nServerName = s1\n  NBTScope = x ; a/b\n"
                "Domain/GroupName = WG ; Cannot be changed\nA5 = 5\nA6 = 6\nA7 = 7\nA8 = 8\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    // Choice lists show the stored value and drop down at most 15 rows; the
    // time zones drop down wider than the field.
    TemplatePage& server = Activate("Server");
    QComboBox* routing = Combo(server, "Source Routing");
    EXPECT_EQ(routing->currentText(), "NO");
    EXPECT_EQ(routing->maxVisibleItems(), 8);
    QComboBox* zone = Combo(server, "Time Zone");
    EXPECT_EQ(zone->maxVisibleItems(), 15);
    EXPECT_EQ(zone->width(), server.Units().ReferenceX(208) - server.Units().ReferenceX(128));
    EXPECT_EQ(zone->view()->minimumWidth(), server.Units().ReferenceX(120));
    EXPECT_LT(Combo(server, "Restart")->view()->minimumWidth(), server.Units().ReferenceX(120));
    TemplatePage& smb = Activate("SMB");
    QStringList labels;
    for (const QLabel* label : smb.findChildren<RowLabel*>()) labels << label->text();
    EXPECT_EQ(labels, QStringList({"Enable NBT", "-  * WINSServer", "Server Name", "-  * NBTScope", "Domain/Group Name",
                                   "* A5", "* A6", "* A7", "* A8"}));
    EXPECT_TRUE(smb.Item(TemplatePage::kUnsupportedMarkId)->isVisible());
    EXPECT_EQ(Combo(smb, "Enable NBT")->geometry(), referenceRect(smb, 128, 4, 208, 24));
    EXPECT_EQ(Edit(smb, "A8")->geometry(), referenceRect(smb, 380, 4, 490, 28));  // the second column
    EXPECT_EQ(smb.findChild<QWidget*>(QStringLiteral("2008"))->geometry(), referenceRect(smb, 256, 8, 376, 32));
    EXPECT_NE(Combo(smb, "NBTScope"), nullptr);  // a "/" in the comment makes a list
    QWidget* field = Combo(smb, "Enable NBT");     // the keyboard goes through the rows in order
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 1000));
    for (const char* next : {"WINSServer", "Server Name", "NBTScope"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->accessibleName(), next);
    }
    QLineEdit* name = Edit(smb, "Server Name");
    EXPECT_EQ(name->text(), "s1");  // what the server holds is shown as it is
    Type(name, "tessaron2");
    EXPECT_EQ(name->text(), "TESSARON2");
    EXPECT_TRUE(Edit(smb, "Domain/Group Name")->isReadOnly());
    EXPECT_FALSE(HasUpperCaseStyle(Edit(smb, "A5")));
}

}  // namespace
