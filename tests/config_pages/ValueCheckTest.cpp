#include "DataExchange.h"
#include "PageFixture.h"

namespace {

struct CheckCase {
    const char* name;
    const char* tab;
    const char* key;
    QString typed;
    int message;  // string ID of the message the check shows
    bool tick = false;  // "EditCheck" rows: tick the box first
};

class ChangedValueCheck : public PageTest, public testing::WithParamInterface<CheckCase> {};

// A changed value that breaks its rule stops the submit with the rule's
// message; the field gets the focus with its text selected; nothing is written.
TEST_P(ChangedValueCheck, RefusesWithMessageAndFocus) {
    const CheckCase& c = GetParam();
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate(c.tab);
    if (c.tick) page.CheckAt(Row(page, c.key))->click();
    QLineEdit* edit = Edit(page, c.key);
    ASSERT_NE(edit, nullptr);
    Type(edit, c.typed);
    const std::string before = ConfigText();
    Activate(c.tab);  // nothing happens when the shown tab is asked for again
    presenter.shown.clear();
    Submit(page);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.message});
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), edit->text());
    EXPECT_FALSE(edit->text().isEmpty());
    EXPECT_EQ(ConfigText(), before);
    EXPECT_FALSE(app.GetParametersChanged());
    // Leaving is refused as well, without a second question.
    presenter.shown.clear();
    EXPECT_FALSE(Sheet()->CanLeave());
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.message});
}

const QString kOmega = QString(QChar(0x03A9));

INSTANTIATE_TEST_SUITE_P(
    Rules, ChangedValueCheck,
    testing::Values(CheckCase{"IpTooShort", "IP", "NetMask", "1.2.3", 1022},
                    CheckCase{"IpOutOfRange", "IP", "DefaultRouter", "256.1.1.1", 1022},
                    CheckCase{"IpTooLong", "IP", "InternetAddress", "192.168.100.1000", TooManyCharactersPromptId},
                    CheckCase{"IntOutOfRange", "SCSI", "JukeBoxLockTime", "70000", NumberOutOfRangePromptId},
                    CheckCase{"IntLeadingZero", "SCSI", "JukeBoxLockTime", "080", 1022},
                    CheckCase{"IntNotNumber", "NFS", "DefaultUid", "2147483648", 1022},
                    CheckCase{"NoWhiteWithBlank", "HTTP/FTP", "BaseURL", "/c d", 1022},
                    CheckCase{"NoWhiteTooLong", "HTTP/FTP", "Password", "12345678901234567", TooManyCharactersPromptId},
                    CheckCase{"TextTooLong", "SMB", "ServerName", "ABCDEFGHIJKLMNOP", TooManyCharactersPromptId},
                    CheckCase{"NameWithBlank", "NetWare (1)", "ServerName", "my server", 1022},
                    CheckCase{"NetWareAddressShort", "NetWare (1)", "InternalNetAddress", "1-2-3-4", 1022},
                    CheckCase{"NetWareAddressNotHex", "NetWare (1)", "InternalNetAddress", "01-02-03-0G", 1022},
                    CheckCase{"DateTicked", "Server", "Date", "97-13-01", 1025, true},
                    CheckCase{"TimeTicked", "Server", "Time", "24:00:00", 1024, true},
                    // The server's file holds bytes of one character set: a
                    // character it lacks cannot be written, checked or not.
                    CheckCase{"CharacterWithoutByte", "SNMP", "SystemContact", "Help" + kOmega, 1022},
                    CheckCase{"CharacterWithoutByteUnchecked", "Server", "LogLevel", kOmega, 1022},
                    CheckCase{"CharacterWithoutByteNoCheck", "NetWare (2)", "NDSAdminPassword", kOmega, 1022}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(PageTest, UnchangedInvalidValuesAreNotChecked) {
    std::string text = ConfigText();
    text.replace(text.find("InternetAddress = 192.168.1.50"), 30, "InternetAddress = 300.1.1.1");
    text.replace(text.find("JukeBoxLockTime = 30"), 20, "JukeBoxLockTime = 080");
    share.Write("Config/Config.ini", text);
    ASSERT_NE(OpenSheet(), nullptr);

    TemplatePage& ip = Activate("IP");
    EXPECT_TRUE(presenter.shown.empty());  // activation checks nothing it did not change
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
    EXPECT_EQ(FileValue("IP", "InternetAddress"), "300.1.1.1");

    // Typing the same invalid value again is no change either.
    presenter.shown.clear();
    TemplatePage& scsi = Activate("SCSI");
    Type(Edit(scsi, "JukeBoxLockTime"), "080");
    Submit(scsi);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});
    // A changed value is checked: the invalid one is refused.
    presenter.shown.clear();
    Type(Edit(scsi, "JukeBoxLockTime"), "081");
    Submit(scsi);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1022});
}

TEST_F(PageTest, ValuesAreNormalisedBeforeTheyAreCompared) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    // The same address with leading zeros and blanks is no change.
    Type(Edit(ip, "DefaultRouter"), " 192.168.001.001 ");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});
    EXPECT_EQ(Edit(ip, "DefaultRouter")->text(), "192.168.1.1");
}

TEST_F(PageTest, CharactersOfTheServersSetAreWrittenAsItsBytes) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& snmp = Activate("SNMP");
    Type(Edit(snmp, "SystemLocation"), QString::fromUtf8("Caf\u00e9_\u20ac"));
    Submit(snmp);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_NE(ConfigText().find("SystemLocation = Caf\xe9_\x80\r\n"), std::string::npos);
    EXPECT_EQ(Edit(snmp, "SystemLocation")->text(), QString::fromUtf8("Caf\u00e9_\u20ac"));
}

TEST_F(PageTest, NoCheckValuesAreTakenAsTyped) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    Type(Edit(page, "NDSAdminPassword"), " secret word ");
    Submit(page);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("NetWare", "NDSAdminPassword"), "SECRET WORD");
}

}  // namespace
