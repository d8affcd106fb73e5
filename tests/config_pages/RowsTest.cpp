#include <QAbstractItemView>

#include "ControlHandler.h"
#include "DataExchange.h"
#include "PageFixture.h"

namespace {

const char* const kProductLine = "QUOR Tessaron CD-ROM Server V4.00 (c) QUOR   S/N: 1-2\n";

// A rectangle of the row layout, drawn for the reference font, as the page
// shows it at its own font.
QRect referenceRect(const TemplatePage& page, int left, int top, int right, int bottom) {
    const DialogUnits units = page.Units();
    return QRect(QPoint(units.ReferenceX(left), units.ReferenceY(top)),
                 QPoint(units.ReferenceX(right) - 1, units.ReferenceY(bottom) - 1));
}

// Rows are laid out in two columns of eight, scaled to the page's font; a
// label names its row, "-" marks an indented one and "*" one this program
// does not know, and the page then shows its mark.
TEST_F(PageTest, RowsShowNamesMarksAndStyles) {
    WriteConfig(std::string(kProductLine) +
                "[SMB]\nEnableNBT = yes ; yes/no\n  WINSServer = 1.2.3.4\nServerName = s1\n  NBTScope = x ; a/b\n"
                "Domain/GroupName = WG ; Cannot be changed\nA5 = 5\nA6 = 6\nA7 = 7\nA8 = 8\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& smb = Activate("SMB");
    QStringList labels;
    for (const QLabel* label : smb.findChildren<RowLabel*>()) labels << label->text();
    EXPECT_EQ(labels, QStringList({"Enable NBT", "-  * WINSServer", "Server Name", "-  * NBTScope", "Domain/Group Name",
                                   "* A5", "* A6", "* A7", "* A8"}));
    EXPECT_TRUE(smb.Item(TemplatePage::kUnsupportedMarkId)->isVisible());
    EXPECT_EQ(Combo(smb, "Enable NBT")->geometry(), referenceRect(smb, 128, 4, 208, 24));
    EXPECT_EQ(Edit(smb, "A8")->geometry(), referenceRect(smb, 380, 4, 490, 28));  // the second column
    EXPECT_NE(Combo(smb, "NBTScope"), nullptr);  // a "/" in the comment makes a list
    QLineEdit* name = Edit(smb, "Server Name");
    EXPECT_EQ(name->text(), "s1");  // what the server holds is shown as it is
    Type(name, "tessaron2");
    EXPECT_EQ(name->text(), "TESSARON2");
    EXPECT_TRUE(Edit(smb, "Domain/Group Name")->isReadOnly());
    EXPECT_FALSE(HasUpperCaseStyle(Edit(smb, "A5")));
}

TEST_F(PageTest, ChoiceListsShowTheStoredValue) {
    WriteConfig(std::string(kProductLine) +
                "[Server]\nSourceRouting = NO ; none/no\nTimeZone = Mars\nRestart = no ; yes/no\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Activate("Server");
    QComboBox* routing = Combo(server, "Source Routing");
    EXPECT_EQ(Entries(routing), QStringList({"none", "no", "NO"}));
    EXPECT_EQ(routing->currentText(), "NO");
    EXPECT_EQ(routing->maxVisibleItems(), 8);
    QComboBox* zone = Combo(server, "Time Zone");
    EXPECT_EQ(zone->count(), 70);
    EXPECT_EQ(zone->currentText(), "Mars");
    EXPECT_EQ(zone->maxVisibleItems(), 15);
    // The time zones drop down wider than the field.
    EXPECT_EQ(zone->width(), server.Units().ReferenceX(208) - server.Units().ReferenceX(128));
    EXPECT_EQ(zone->view()->minimumWidth(), server.Units().ReferenceX(120));
    EXPECT_LT(Combo(server, "Restart")->view()->minimumWidth(), server.Units().ReferenceX(120));
}

TEST_F(PageTest, KeyboardMovesThroughRowsInOrder) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    QLineEdit* first = Edit(ip, "Internet Address");
    first->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->hasFocus(); }, 1000));
    for (const char* name : {"Default Router", "NetMask", "Enable BOOTP", "Enable RARP"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->accessibleName(), name);
    }
}

}  // namespace
