#include <QAbstractItemView>

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

TEST_F(PageTest, RowsFillTwoColumnsOfEight) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Activate("Server");
    ASSERT_EQ(server.Working().GetParameterCount(), 11);
    // Row 0: a read-only value ("Stat"), label beside it.
    EXPECT_EQ(server.LabelAt(0)->geometry(), referenceRect(server, 4, 8, 124, 32));
    EXPECT_EQ(server.ValueAt(0)->geometry(), referenceRect(server, 128, 4, 238, 28));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(server.ValueAt(0))->isReadOnly());
    // Row 1 ("EditCheck"): the label is a check box.
    ASSERT_NE(server.CheckAt(1), nullptr);
    EXPECT_EQ(server.LabelAt(1), nullptr);
    EXPECT_EQ(server.CheckAt(1)->geometry(), referenceRect(server, 4, 32, 124, 56));
    EXPECT_EQ(server.CheckAt(1)->text(), "Date");
    // Row 3, a choice list: narrower and lower than an edit.
    EXPECT_EQ(server.ValueAt(3)->geometry(), referenceRect(server, 128, 88, 208, 108));
    // Row 8 opens the second column at the top; row 10 is its third row.
    EXPECT_EQ(server.LabelAt(8)->geometry(), referenceRect(server, 256, 8, 376, 32));
    EXPECT_EQ(server.ValueAt(8)->geometry(), referenceRect(server, 380, 4, 460, 24));
    EXPECT_EQ(server.ValueAt(10)->geometry(), referenceRect(server, 380, 60, 490, 84));
    // Everything lies inside the pane, which lies inside the frame.
    const QRect frame = server.Item(TemplatePage::kFrameId)->geometry();
    EXPECT_TRUE(server.Item(TemplatePage::kFrameId)->isVisible());
    EXPECT_EQ(server.Pane()->geometry(), frame.adjusted(2, 2, -2, -2));
    for (int row = 0; row < 11; ++row) {
        EXPECT_TRUE(server.Pane()->viewport()->rect().contains(server.ValueAt(row)->geometry())) << row;
    }
    // Control IDs are the object names.
    EXPECT_EQ(server.ValueAt(10)->objectName(), "2210");
    EXPECT_EQ(server.CheckAt(2)->objectName(), "2302");
    EXPECT_EQ(server.LabelAt(9)->objectName(), "2009");
}

TEST_F(PageTest, LabelsCarryNamesAndMarks) {
    WriteConfig(std::string(kProductLine) +
                "[SMB]\nEnableNBT = yes ; yes/no\n  WINSServer = 1.2.3.4\nServerName = S1\n  NBTScope = x ; a/b\n"
                "[IP]\nInternetAddress = 10.0.0.1\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& smb = Activate("SMB");
    const auto labelText = [&](int row) {
        return qobject_cast<QLabel*>(smb.LabelAt(row))->text();
    };
    EXPECT_EQ(labelText(0), "Enable NBT");
    EXPECT_EQ(labelText(1), "-  * WINSServer");
    EXPECT_EQ(labelText(2), "Server Name");
    EXPECT_EQ(labelText(3), "-  * NBTScope");
    EXPECT_EQ(smb.LabelAt(1)->x(), smb.Units().ReferenceX(8));
    EXPECT_NE(qobject_cast<QComboBox*>(smb.ValueAt(3)), nullptr);  // a "/" in the comment makes a list
    EXPECT_TRUE(smb.Item(TemplatePage::kUnsupportedMarkId)->isVisible());

    // A page of known parameters only has no mark.
    TemplatePage& ip = Activate("IP");
    EXPECT_FALSE(ip.Item(TemplatePage::kUnsupportedMarkId)->isVisible());
    EXPECT_EQ(qobject_cast<QLabel*>(ip.LabelAt(0))->text(), "Internet Address");
}

TEST_F(PageTest, EditStylesFollowTheParameter) {
    WriteConfig(std::string(kProductLine) +
                "[SMB]\nServerName = s1\nDomain/GroupName = WG ; Cannot be changed\nOther = x\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& smb = Activate("SMB");
    QLineEdit* name = Edit(smb, "ServerName");
    EXPECT_TRUE(HasUpperCaseStyle(name));
    EXPECT_FALSE(name->isReadOnly());
    EXPECT_EQ(name->text(), "s1");  // what the server holds is shown as it is
    Type(name, "tessaron2");
    EXPECT_EQ(name->text(), "TESSARON2");
    EXPECT_TRUE(Edit(smb, "Domain/GroupName")->isReadOnly());
    EXPECT_FALSE(HasUpperCaseStyle(Edit(smb, "Other")));
}

struct ComboCase {
    const char* name;
    std::string line;  // the parameter's line in section [Server]
    const char* key;
    QStringList entries;
    QString selected;
    int dropRows;
};

class ComboRows : public PageTest, public testing::WithParamInterface<ComboCase> {};

TEST_P(ComboRows, FillAndSelect) {
    const ComboCase& c = GetParam();
    WriteConfig(std::string(kProductLine) + "[Server]\n" + c.line + "\n[NetWare]\n" + c.line + "\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate(c.key == std::string("TimeSyncSources") ? "NetWare" : "Server");
    QComboBox* combo = Combo(page, c.key);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(Entries(combo), c.entries);
    EXPECT_EQ(combo->currentText(), c.selected);
    EXPECT_EQ(combo->maxVisibleItems(), c.dropRows);
    // The loading exchange that follows leaves the value as the list shows it.
    EXPECT_EQ(FromServerText(page.Working().GetValueAt(Row(page, c.key))), c.selected);
}

QStringList timeZones() {
    QStringList zones = QString("UTC/UTC+1_(No_DST)/UTC+2_(No_DST)/UTC+3_(No_DST)/UTC+4_(No_DST)/UTC+5_(No_DST)/"
                                "UTC+6_(No_DST)/UTC+7_(No_DST)/UTC+8_(No_DST)/UTC+9_(No_DST)/UTC+10_(No_DST)/"
                                "UTC+11_(No_DST)/UTC+12_(No_DST)/UTC-1_(No_DST)/UTC-2_(No_DST)/UTC-3_(No_DST)/"
                                "UTC-4_(No_DST)/UTC-5_(No_DST)/UTC-6_(No_DST)/UTC-7_(No_DST)/UTC-8_(No_DST)/"
                                "UTC-9_(No_DST)/UTC-10_(No_DST)/UTC-11_(No_DST)/UTC-12_(No_DST)/GB_Eire/"
                                "Western_Europe/Iceland/Central_Europe/Poland/Eastern_Europe/Turkey/Western_Russia/"
                                "US_CAN_Eastern/US_CAN_Central/Saskatchewan/US_CAN_Mountain/US_Arizona/"
                                "US_CAN_Pacific/US_Alaska/US_Aleutian/Cuba/Egypt/Libya/Sudan/Tunisia/"
                                "Brazil_Noronha/Brazil_Sao_Paulo/Brazil_Manaus/Brazil_Rio_Branco/Chile/"
                                "Chile_Easter_Isl/Paraguay/Aust_Adelaide/Aust_Darwin/Aust_Hobart/Aust_Perth/"
                                "Aust_Sidney/New_Zealand/Armenia_Azer/Burma/China_PRC/India/Iran/Iraq/Jordan/"
                                "Kazak_Kirgi/Lebanon/Syria")
                            .split('/');
    return zones;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ComboRows,
    testing::Values(
        ComboCase{"CommentChoices", "SourceRouting = no ; yes/no", "SourceRouting", {"yes", "no"}, "no", 7},
        ComboCase{"ValueOutsideChoices", "SourceRouting = maybe ; yes/no", "SourceRouting", {"yes", "no", "maybe"},
                  "maybe", 8},
        // The entry equal to the value is shown, not one that merely begins with it.
        ComboCase{"EqualEntryShown", "SourceRouting = NO ; none/no", "SourceRouting", {"none", "no", "NO"}, "NO", 8},
        ComboCase{"NoChoicesAtAll", "SourceRouting = on", "SourceRouting", {"on"}, "on", 6},
        ComboCase{"TimeZones", "TimeZone = UTC ; zone", "TimeZone", timeZones(), "UTC", 15},
        ComboCase{"TimeZoneNotListed", "TimeZone = Mars ; zone", "TimeZone", timeZones() << "Mars", "Mars", 15},
        ComboCase{"AddressPlaceholder", "TimeSyncSources = SAP ; SAP/SERVER_LIST/XX-XX-XX-XX", "TimeSyncSources",
                  {"SAP", "SERVER_LIST", "XX-XX-XX-XX"}, "SAP", 8},
        ComboCase{"AddressFromTypeString", "TimeSyncSources = 01-02-03-04 ; XX-XX-XX-XX", "TimeSyncSources",
                  {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX"}, "01-02-03-04", 9}),
    [](const testing::TestParamInfo<ComboCase>& info) { return std::string(info.param.name); });

TEST_F(PageTest, TimeZoneListDropsDownWider) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Activate("Server");
    QComboBox* zone = Combo(server, "TimeZone");
    QComboBox* other = Combo(server, "Restart");
    const DialogUnits units = server.Units();
    EXPECT_EQ(zone->width(), units.ReferenceX(208) - units.ReferenceX(128));
    EXPECT_EQ(zone->view()->minimumWidth(), units.ReferenceX(120));
    EXPECT_LT(other->view()->minimumWidth(), units.ReferenceX(120));
    EXPECT_EQ(zone->currentText(), "Central_Europe");
}

TEST_F(PageTest, KeyboardMovesThroughRowsInOrder) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    QLineEdit* first = Edit(ip, "InternetAddress");
    first->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->hasFocus(); }, 1000));
    for (const char* key : {"DefaultRouter", "NetMask", "BOOTPEnable", "RARPEnable"}) {
        SCOPED_TRACE(key);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), ip.ValueAt(Row(ip, key)));
    }
    // A choice list is changed with the arrow keys; the value follows at once.
    QComboBox* rarp = Combo(ip, "RARPEnable");
    EXPECT_EQ(rarp->currentText(), "no");
    QTest::keyClick(rarp, Qt::Key_Up);
    EXPECT_EQ(rarp->currentText(), "yes");
    EXPECT_EQ(ip.Working().GetValueAt(Row(ip, "RARPEnable")), "yes");
    // Ctrl+Tab moves to the next tab, from a choice list too; the change
    // is pending, and No drops it.
    const std::string before = ConfigText();
    presenter.answers = {MessageResult::No};
    QTest::keyClick(rarp, Qt::Key_Tab, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{104});
    EXPECT_EQ(Sheet()->tabText(Sheet()->GetActiveIndex()), "SMB");
    EXPECT_EQ(ConfigText(), before);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : Sheet(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(Sheet()->tabText(Sheet()->GetActiveIndex()), "IP");
}

TEST_F(PageTest, LeavingTearsRowsDownAndComingBackRebuildsThemFromTheFile) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    QPointer<QWidget> oldEdit = Edit(ip, "InternetAddress");
    Activate("SMB");
    Settle();
    EXPECT_TRUE(oldEdit.isNull());
    EXPECT_EQ(ip.Pane(), nullptr);
    EXPECT_FALSE(ip.Item(TemplatePage::kFrameId)->isVisible());

    // Another program changes the file meanwhile: the page shows the change.
    std::string text = ConfigText();
    text.replace(text.find("192.168.1.50"), 12, "192.168.1.77");
    share.Write("Config/Config.ini", text);
    Activate("IP");
    EXPECT_EQ(Edit(ip, "InternetAddress")->text(), "192.168.1.77");
}

}  // namespace
